// Arbitrary files handed to the configuration reader: it must never read or write
// outside its buffers, whatever the file holds (ASan and UBSan watch).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/palto-fuzz-config-" + std::to_string(::getpid()) + ".dcf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    const palto::ConfigFile config(path);
    for (const char* section : {"All", "all", "", "x"}) {
        for (const char* key : {"ZAVOnlyFeature", "zavonlyfeature", "", "a"}) {
            const std::string& value = config.GetValue(section, key);
            if (value.find('\0') != std::string::npos) __builtin_trap();  // a zero byte ends a line's text
        }
    }
    std::remove(path.c_str());
    return 0;
}
