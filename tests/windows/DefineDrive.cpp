// define_drive: makes a drive letter of the tests' Wine prefix a CD/DVD drive on a Unix
// folder, through Wine's mount manager, as Wine's own configuration tool does. A drive
// type written into the registry would count only once Wine's services start again.
//
//   define_drive LETTER cdrom UNIX-FOLDER
//
// The test run does this once, before any test program starts: the mount manager's
// change reaches every process of the prefix, and a process started at that moment
// can fail to start (CreateProcess says ERROR_INTERNAL_ERROR).
#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The control code and request of Wine's mount manager that define a drive (Wine's
// ddk/mountmgr.h; the mingw-w64 copy is older).
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

// 0 when the drive is defined, else the system's error code.
DWORD DefineUnixDrive(wchar_t letter, ULONG type, const std::string& folder)
{
    std::vector<char> buffer(sizeof(UnixDriveRequest) + folder.size() + 1);
    auto* request = reinterpret_cast<UnixDriveRequest*>(buffer.data());
    request->size = static_cast<ULONG>(buffer.size());
    request->type = type;
    request->letter = letter;
    request->mountPointOffset = sizeof(UnixDriveRequest);
    std::memcpy(buffer.data() + sizeof(UnixDriveRequest), folder.c_str(), folder.size() + 1);
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return ::GetLastError();
    DWORD returned = 0;
    const bool defined = ::DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                           nullptr, 0, &returned, nullptr);
    const DWORD error = defined ? 0 : ::GetLastError();
    ::CloseHandle(manager);
    return error;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 || std::strlen(argv[1]) != 1 || std::strcmp(argv[2], "cdrom") != 0 || !argv[3][0]) {
        std::fprintf(stderr, "usage: define_drive LETTER cdrom UNIX-FOLDER\n");
        return 2;
    }
    const wchar_t letter = static_cast<wchar_t>(argv[1][0] | 0x20);
    const std::wstring root{static_cast<wchar_t>(letter - 0x20), L':', L'\\'};
    if (const DWORD error = DefineUnixDrive(letter, DRIVE_CDROM, argv[3])) {
        std::fprintf(stderr, "define_drive: the mount manager refused %c: (error %lu)\n", argv[1][0], error);
        return 1;
    }
    if (::GetDriveTypeW(root.c_str()) != DRIVE_CDROM) {
        std::fprintf(stderr, "define_drive: %c: is defined but not a CD/DVD drive\n", argv[1][0]);
        return 1;
    }
    return 0;
}
