#pragma once
// A fresh temporary folder per test, removed afterwards.

#include "recorder/card/card_files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace veltrin::card {

class CardFolderTest : public testing::Test {
protected:
    std::filesystem::path Write(const std::string& relative, std::string_view content)
    {
        const std::filesystem::path path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string Read(const std::filesystem::path& path)
    {
        return ReadFileContent(path).value_or("<unreadable>");
    }

    test::TempDir folder_{"veltrin-card"};
    const std::filesystem::path& root_ = folder_.path();
};

}  // namespace veltrin::card
