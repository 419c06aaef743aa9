// A C stdio file that closes itself.
#pragma once

#include <cstdio>
#include <memory>

namespace palto {

struct StdioFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

}  // namespace palto
