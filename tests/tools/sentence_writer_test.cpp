// Field formatting of the generator's sentences and its all-or-nothing files.
#include "sim/sentence_writer.h"

#include "data/sentence_parser.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrin {
namespace {

using sim::OutputFile;
using sim::SentenceBuilder;
using test::TempDir;

// The line without its "*hh" and line end.
std::string Body(std::string_view line)
{
    return std::string(line.substr(0, line.find('*')));
}

TEST(SentenceBuilder, WritesPositionsAsDegreesAndMinutes)
{
    const struct {
        double latitude;
        double longitude;
        const char* expected;
    } cases[] = {
        {50.0236, 8.9841, "$X,5001.4160,N,00859.0460,E"},
        {-33.5, -70.25, "$X,3330.0000,S,07015.0000,W"},
        // Minutes that round up to 60 carry into the degrees.
        {49.99999999, 8.999999999, "$X,5000.0000,N,00900.0000,E"},
        {0.0, 0.0, "$X,0000.0000,N,00000.0000,E"},
    };
    SentenceBuilder b;
    for (const auto& c : cases) {
        EXPECT_EQ(Body(b.Start("$X").Latitude(c.latitude).Longitude(c.longitude).Finish()),
                  c.expected);
    }
}

TEST(SentenceBuilder, WritesTimesAndNumbersAsTheRecorderDoes)
{
    SentenceBuilder b;
    EXPECT_EQ(Body(b.Start("$X").TimeOfDay(45319).TimeOfDay(86400 + 5).Finish()),
              "$X,123519.00,000005.00");
    EXPECT_EQ(
        Body(b.Start("$X").RecorderTime(1500).RecorderTime(7).RecorderTime(123456789).Finish()),
        "$X,1.500,0.007,123456.789");
    // A value that rounds to zero carries no minus sign.
    EXPECT_EQ(Body(b.Start("$X").Fixed(-0.004, 2).Fixed(-0.006, 2).Fixed(95.55, 1).Finish()),
              "$X,0.00,-0.01,95.5");
    EXPECT_EQ(Body(b.Start("$X").Int(7, 2).Int(512).Empty().Text("M").Finish()), "$X,07,512,,M");
}

TEST(SentenceBuilder, FramesLinesTheParserAccepts)
{
    SentenceBuilder b;
    const std::string line(b.Start("$VLTDR")
                               .RecorderTime(1500)
                               .Fixed(0.1, 2)
                               .Fixed(-0.02, 2)
                               .Fixed(1.05, 2)
                               .Fixed(95.5, 1)
                               .Fixed(1.2, 1)
                               .Fixed(17.5, 1)
                               .Int(512)
                               .Int(1)
                               .Finish());
    ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
    const std::string_view body(line.data(), line.size() - 2);
    EXPECT_TRUE(VerifyChecksum(body));
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, body));
    const auto* dr = s.Get<DrFields>();
    ASSERT_NE(dr, nullptr);
    EXPECT_EQ(dr->timeMs, 1500);
    EXPECT_DOUBLE_EQ(dr->accZ, static_cast<double>(1.05f));
    EXPECT_EQ(dr->altitude, 512);
    EXPECT_EQ(dr->flags, 1);

    // Lines that are no sentence get the same framing over everything after
    // their first character.
    const std::string raw(b.Start("").Raw("5.3.2012 7:04:09 EV").Finish());
    EXPECT_TRUE(VerifyChecksum(std::string_view(raw.data(), raw.size() - 2)));
}

TEST(OutputFile, AppearsOnlyWhenCommitted)
{
    TempDir dir;
    const auto path = dir.path() / "S101500.LOG";
    {
        OutputFile out;
        ASSERT_TRUE(out.Open(path));
        out.Write(std::string(3U << 20, 'x'));  // larger than the buffer
        out.Write("end");
        EXPECT_FALSE(std::filesystem::exists(path));
        ASSERT_TRUE(out.Commit());
        EXPECT_EQ(out.BytesWritten(), (3U << 20) + 3U);
    }
    EXPECT_EQ(std::filesystem::file_size(path), (3U << 20) + 3U);
    {
        OutputFile abandoned;
        ASSERT_TRUE(abandoned.Open(dir.path() / "S111500.LOG"));
        abandoned.Write("half a flight");
    }
    // Neither the abandoned file nor any temporary file is left behind.
    EXPECT_EQ(test::FilesBelow(dir.path()).size(), 1U);
}

TEST(OutputFile, ReportsAFolderItCannotWriteInto)
{
    TempDir dir;
    OutputFile out;
    EXPECT_FALSE(out.Open(dir.path() / "missing" / "S101500.LOG"));
    out.Write("lost");
    EXPECT_FALSE(out.Commit());
}

}  // namespace
}  // namespace veltrin
