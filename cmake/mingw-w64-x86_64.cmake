# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# which GCC 12 needs for std::thread) and runs the results under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PALTO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PALTO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PALTO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PALTO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PALTO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs and tools built here run under Wine, through the project's wrapper.
get_filename_component(_palto_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_palto_root}/scripts/wine")
