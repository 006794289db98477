#include "recorder/card/command_file.h"

#include "card_test_folder.h"

#include <cstdint>
#include <string>

namespace veltrin::card {
namespace {

std::uint32_t Fnv1a(std::string_view bytes)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

TEST(NormalisedEventTime, NormalisesTheLeadingDateAndTime)
{
    struct Case {
        const char* line;
        const char* expected;  // nullptr: no time
    };
    const Case cases[] = {
        {"5.3.2012 7:04:09 Overload +6.2g", "05.03.2012 07:04:09"},
        {"05.03.2012 07:04:09", "05.03.2012 07:04:09"},
        {"  5.3.2012   7:4:9", "05.03.2012 07:04:09"},
        {"31.12.99 23:59:59", "31.12.0099 23:59:59"},
        {"5.3.2012 7:04", nullptr},
        {"5-3-2012 7:04:09", nullptr},
        {"5.3.2012 7.04.09", nullptr},
        {"Event 5.3.2012 7:04:09", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> time = NormalisedEventTime(c.line);
        if (c.expected == nullptr)
            EXPECT_FALSE(time.has_value()) << c.line;
        else
            EXPECT_EQ(time.value_or("<none>"), c.expected) << c.line;
    }
}

TEST(CommandFileKey, IsFnv1aOverPasswordSerialAndNormalisedTime)
{
    EXPECT_EQ(Fnv1a("foobar"), 0xbf9cf968u);  // published FNV-1a test vector
    EXPECT_EQ(CommandFileKey("", "", ""), 2166136261u);
    EXPECT_EQ(CommandFileKey("geheim", "V2-0815", "5.3.2012 7:04:09 +5.9g"),
              Fnv1a("geheimV2-081505.03.2012 07:04:09"));
    // A line without a time leaves the key over password and serial number.
    EXPECT_EQ(CommandFileKey("geheim", "V2-0815", "no events"), Fnv1a("geheimV2-0815"));
    // An empty serial number is accepted.
    EXPECT_EQ(CommandFileKey("geheim", "", "5.3.2012 7:04:09"), Fnv1a("geheim05.03.2012 07:04:09"));
}

TEST(CommandFileKey, ChangesWithEveryCharacterOfItsInputs)
{
    const std::string password = "geheim";
    const std::string serial = "V2-0815";
    const std::string event = "05.03.2012 07:04:09";
    const std::uint32_t key = CommandFileKey(password, serial, event);
    auto changed = [](std::string text, std::size_t i) {
        text[i] = static_cast<char>(text[i] == '1' ? '2' : '1');
        return text;
    };
    for (std::size_t i = 0; i < password.size(); ++i)
        EXPECT_NE(CommandFileKey(changed(password, i), serial, event), key) << "password " << i;
    for (std::size_t i = 0; i < serial.size(); ++i)
        EXPECT_NE(CommandFileKey(password, changed(serial, i), event), key) << "serial " << i;
    for (const std::size_t i : {0u, 1u, 3u, 4u, 6u, 9u, 11u, 12u, 14u, 15u, 17u, 18u})
        EXPECT_NE(CommandFileKey(password, serial, changed(event, i)), key) << "event " << i;
}

using CommandFile = CardFolderTest;

TEST_F(CommandFile, WritesThreeLinesWithCrLf)
{
    const auto path = root_ / "CONFIG.INI";
    ASSERT_TRUE(WriteCommandFile(path, "geheim", "V2-0815", "5.3.2012 7:04:09"));
    EXPECT_EQ(Read(path), "[VELTRIN]\r\nCOMMAND=16\r\nKEY=" +
                              std::to_string(Fnv1a("geheimV2-081505.03.2012 07:04:09")) + "\r\n");
}

TEST_F(CommandFile, SecondWriteOverwritesAndLeavesNoTemporaryFile)
{
    const auto path = root_ / "CONFIG.INI";
    ASSERT_TRUE(WriteCommandFile(path, "one", "", ""));
    ASSERT_TRUE(WriteCommandFile(path, "two", "", ""));
    EXPECT_EQ(Read(path),
              "[VELTRIN]\r\nCOMMAND=16\r\nKEY=" + std::to_string(Fnv1a("two")) + "\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(CommandFile, RegressionUnwritableFolderReportedSuccess)
{
    const auto notAFolder = Write("VELT", "a regular file where the folder should be");
    EXPECT_FALSE(WriteCommandFile(notAFolder / "CONFIG.INI", "pw", "sn", ""));
}

TEST_F(CommandFile, RegressionFailedWriteLeftAHalfWrittenFile)
{
    const auto path = root_ / "CONFIG.INI";
    ASSERT_TRUE(WriteCommandFile(path, "one", "", ""));
    const std::string before = Read(path);
    std::filesystem::create_directory(root_ / "CONFIG.INI.tmp");  // blocks the temporary file
    EXPECT_FALSE(WriteCommandFile(path, "two", "", ""));
    EXPECT_EQ(Read(path), before);
}

}  // namespace
}  // namespace veltrin::card
