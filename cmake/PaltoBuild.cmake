# Compiler settings and target helpers shared by both presets.

add_compile_options(-Wall -Wextra)

option(PALTO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PALTO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Everything the wizard needs is inside its files: no MinGW or C++ runtime DLL.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Each function and object in a section of its own, so that the linker leaves out
  # what nothing calls: the program goes onto recovery media that hold little.
  add_compile_options(-Os -ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
  set(CMAKE_LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
  set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
  # Threads of the wizard are created with the executable's default stack: the
  # restore worker keeps a 740,136-byte record on its stack.
  set(PALTO_STACK_LINK_OPTION "SHELL:-Xlinker --stack -Xlinker 10000000,10000000")
endif()

# A resource-only DLL: the compiled .rc alone, no C runtime, no entry point.
function(palto_resource_module name rc_file)
  add_library(${name} SHARED ${rc_file})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}")
  target_link_options(${name} PRIVATE -nostdlib -Wl,--entry,0)
endfunction()
