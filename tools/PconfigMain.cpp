// pconfig: see Pconfig.h and docs/pconfig.md.
#include <iostream>
#include <string>
#include <vector>

#include "tools/Pconfig.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // decoded text goes out byte for byte
#endif
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = palto::pconfig::Run(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "pconfig: cannot write to standard output\n";
        return palto::pconfig::kFileFailed;
    }
    return code;
}
