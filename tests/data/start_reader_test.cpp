#include "data/start_reader.h"
#include "data/start_data_stream.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrin {
namespace {

using test::Framed;
using test::TempDir;
using test::WriteFile;

const std::string kFixInvalid =
    Framed("$GPGGA,123519,4807.038,N,01131.000,E,0,00,,545.4,M,46.9,M,,");
const std::string kFixValid =
    Framed("$GPGGA,123520,4807.040,N,01131.002,E,1,08,0.9,546.0,M,46.9,M,,");
const std::string kSample = Framed("$VLTDR,10.000,0.1,0.0,1.2,80.0,0,0,300,0");

StartRecord Read(const std::string& bytes)
{
    StartRecord start;
    LoadStartDataFromBytes(start, bytes);
    return start;
}

TEST(LoadStartData, ThreeLineExample)
{
    TempDir dir;
    StartRecord start;
    start.path = dir.path() / "S101500";
    WriteFile(start.path, kFixInvalid + "\r\n" + kSample + "\r\n" + kFixValid + "\r\n");
    ASSERT_TRUE(LoadStartData(start));
    EXPECT_TRUE(start.loaded);
    ASSERT_EQ(start.samples.size(), 1U);
    ASSERT_EQ(start.fixes.size(), 2U);
    EXPECT_EQ(start.samples[0].timeMs, 10000);
    EXPECT_EQ(start.samples[0].accZ, static_cast<double>(1.2F));

    const GpsFix& before = start.fixes[0];
    EXPECT_FALSE(before.valid);
    EXPECT_EQ(before.altitude, 0.0);
    EXPECT_EQ(before.ias, 0.0);
    EXPECT_EQ(before.accZ, 1.0);
    EXPECT_DOUBLE_EQ(before.utcTime, 45319.0);  // an invalid fix keeps what it held
    EXPECT_EQ(before.sampleIndex, -1);

    const GpsFix& after = start.fixes[1];
    EXPECT_TRUE(after.valid);
    EXPECT_EQ(after.altitude, 300.0);
    EXPECT_EQ(after.ias, 80.0);
    EXPECT_EQ(after.accZ, static_cast<double>(1.2F));
    EXPECT_DOUBLE_EQ(after.gpsAltitude, 546.0);
    EXPECT_EQ(after.sampleIndex, 0);
}

TEST(LoadStartData, LineEndsAndTrailingBlanksDoNotMatter)
{
    const std::string endings[] = {"\n", "\r\n", "  \r\n", " \n", "\r\r\n", "\n\n\r\n"};
    for (const std::string& ending : endings) {
        SCOPED_TRACE(::testing::PrintToString(ending));
        const StartRecord start = Read(kSample + ending + kSample + ending);
        EXPECT_EQ(start.samples.size(), 2U);
    }
    // The last line needs no line end; a NUL ends a line's text.
    EXPECT_EQ(Read(kSample + "\n" + kSample).samples.size(), 2U);
    EXPECT_EQ(Read(kSample + std::string("\0junk\n", 6)).samples.size(), 1U);
    EXPECT_EQ(Read("").samples.size(), 0U);
}

TEST(LoadStartData, LongLinesArriveInPiecesOf255)
{
    // A sentence of exactly 255 characters fills one piece, even before CR LF.
    std::string body = "$VLTDR,1.0,0.5,0.5,1.5,90,0,0,100,0,";
    body += std::string(255 - 3 - body.size(), '0');
    const std::string exact = Framed(body);
    ASSERT_EQ(exact.size(), 255U);
    EXPECT_EQ(Read(exact + "\r\n" + kSample + "\r\n").samples.size(), 2U);

    // One character more and the sentence is cut into two pieces, neither valid.
    const std::string tooLong = Framed(body + "0");
    EXPECT_EQ(Read(tooLong + "\r\n" + kSample + "\n").samples.size(), 1U);

    // A piece boundary starts a new line: a sentence after 255 characters of junk counts.
    const StartRecord start =
        Read(std::string(255, 'x') + kSample + "\n" + std::string(510, 'y') + kFixValid);
    EXPECT_EQ(start.samples.size(), 1U);
    EXPECT_EQ(start.fixes.size(), 1U);
}

TEST(LoadStartData, BlockBoundariesChangeNothing)
{
    std::string bytes;
    for (int i = 0; i < 20; ++i) {
        bytes += kSample + "\r\n" + kFixValid + (i % 3 == 0 ? "\r\r\n" : "\n") +
                 std::string(300 + static_cast<std::size_t>(i), 'z') + "\n";
    }
    bytes += std::string(255, 'q') + kSample + "\r";
    const StartRecord whole = Read(bytes);
    for (const std::size_t blockSize : {1U, 2U, 7U, 255U, 256U, 4096U}) {
        SCOPED_TRACE(blockSize);
        StartRecord start;
        StartDataStream stream(start);
        for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
            stream.Feed(std::string_view(bytes).substr(at, blockSize));
        }
        stream.Finish();
        EXPECT_EQ(start.samples.size(), whole.samples.size());
        EXPECT_EQ(start.fixes.size(), whole.fixes.size());
        EXPECT_EQ(start.fixes.back().sampleIndex, whole.fixes.back().sampleIndex);
    }
    EXPECT_EQ(whole.samples.size(), 21U);
    EXPECT_EQ(whole.fixes.size(), 20U);
    EXPECT_EQ(whole.fixes.back().sampleIndex, 19);
}

TEST(LoadStartData, ReadsOnceAndRetriesAFileThatWasMissing)
{
    TempDir dir;
    StartRecord start;
    start.path = dir.path() / "S101500";
    EXPECT_FALSE(LoadStartData(start));
    EXPECT_FALSE(start.loaded);
    EXPECT_TRUE(start.samples.empty());

    WriteFile(start.path, kSample + "\n");
    EXPECT_TRUE(LoadStartData(start));
    EXPECT_EQ(start.samples.size(), 1U);

    WriteFile(start.path, kSample + "\n" + kSample + "\n");
    EXPECT_TRUE(LoadStartData(start));
    EXPECT_EQ(start.samples.size(), 1U);  // not read again
}

TEST(LoadStartData, SamplesOnlyAndOtherLinesSkipped)
{
    const StartRecord start =
        Read("garbage\n" + Framed("$GPRMC,123519,A") + "\n" + kSample + "\n" + "$VLTDR,1,2,3*00\n" +
             Framed("  $VLTDR,1,2,3") + "\n" + kSample + "\n");
    EXPECT_EQ(start.samples.size(), 2U);
    EXPECT_TRUE(start.fixes.empty());
    EXPECT_EQ(start.maxAltitude, 300.0);
}

TEST(LoadStartData, LandingAndStatisticsFromTheFile)
{
    StartRecord start;
    start.startTime = 1345991702;  // 26.08.2012 14:35:02
    LoadStartDataFromBytes(start, Framed("$VLTDR,1,0,0,1.0,50,0,0,100,1") + "\n" +
                                      Framed("$VLTDR,3.5,0,0,2.5,120,0,0,400,1") + "\n" +
                                      Framed("$VLTLD,100,0,120000") + "\n" +
                                      Framed("$VLTDR,4,0,0,-0.5,90,0,0,200,1") + "\n" +
                                      Framed("$VLTLD,100,0,153012") + "\n");
    EXPECT_TRUE(start.loaded);
    EXPECT_EQ(start.landingTime, 1345995012);  // the last "$VLTLD" wins
    EXPECT_EQ(start.minAccZ, -0.5);
    EXPECT_EQ(start.maxAccZ, 2.5);
    EXPECT_EQ(start.maxIas, 120.0);
    EXPECT_EQ(start.maxAltitude, 400.0);
    ASSERT_EQ(start.samples.size(), 3U);
    EXPECT_FALSE(start.samples[0].eventMark);
    EXPECT_TRUE(start.samples[1].eventMark);
    EXPECT_FALSE(start.samples[2].eventMark);
}

// Reads `start` on a thread of its own; false when the reading had not ended
// after a few seconds (the pipe is then opened for writing so that it ends).
bool ReadsWithoutBlocking(StartRecord& start, StartReadResult& result)
{
    auto reading = std::async(std::launch::async, [&start] { return ReadStartData(start); });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready) {
        result = reading.get();
        return true;
    }
    const int writer = ::open(start.path.c_str(), O_WRONLY | O_NONBLOCK);
    reading.wait();
    if (writer >= 0) {
        ::close(writer);
    }
    return false;
}

TEST(LoadStartData, RegressionNamedPipeInPlaceOfTheFileBlocksForEver)
{
    TempDir dir;
    StartRecord start;
    start.path = dir.path() / "S101500";
    WriteFile(start.path, kSample + "\r\n");
    // The file is replaced by a named pipe after the directory was loaded.
    std::filesystem::remove(start.path);
    ASSERT_EQ(::mkfifo(start.path.c_str(), 0600), 0);
    StartReadResult result;
    ASSERT_TRUE(ReadsWithoutBlocking(start, result)) << "reading a named pipe waited for a writer";
    EXPECT_EQ(result.error, StartReadError::NotRegularFile);
    EXPECT_FALSE(start.loaded);
    EXPECT_FALSE(LoadStartData(start));

    // Once a file is back, a later call reads it.
    std::filesystem::remove(start.path);
    WriteFile(start.path, kSample + "\r\n");
    EXPECT_TRUE(LoadStartData(start));
    EXPECT_EQ(start.samples.size(), 1U);
}

TEST(LoadStartData, FolderOrMissingFileIsNotRead)
{
    TempDir dir;
    StartRecord folder;
    folder.path = dir.path() / "S101500";
    std::filesystem::create_directories(folder.path);
    EXPECT_EQ(ReadStartData(folder).error, StartReadError::NotRegularFile);
    EXPECT_FALSE(folder.loaded);

    StartRecord missing;
    missing.path = dir.path() / "S101600";
    const StartReadResult result = ReadStartData(missing);
    EXPECT_EQ(result.error, StartReadError::CannotOpen);
    EXPECT_EQ(result.reason, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(missing.loaded);
}

}  // namespace
}  // namespace veltrin
