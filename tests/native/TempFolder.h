// A folder of its own under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace palto::test {

class TempFolder {
public:
    TempFolder()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("palto-") + (info ? info->test_suite_name() + std::string("-") + info->name() : "test");
        for (char& c : name) if (c == '/') c = '-';
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string Path(std::string_view file) const { return (m_path / file).string(); }

    // Writes `data` byte for byte into a file of the folder and returns its path.
    std::string Write(std::string_view file, std::string_view data) const
    {
        std::ofstream(Path(file), std::ios::binary).write(data.data(), static_cast<std::streamsize>(data.size()));
        return Path(file);
    }

    std::string Read(std::string_view file) const
    {
        std::ifstream in(Path(file), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
};

}  // namespace palto::test
