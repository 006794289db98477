#pragma once
// A fresh temporary folder per test, removed afterwards.

#include "recorder/card/card_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace veltrin::card {

class CardFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/veltrin-card-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

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

    std::filesystem::path root_;
};

}  // namespace veltrin::card
