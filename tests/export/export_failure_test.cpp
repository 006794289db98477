// A failed export reports why and leaves an existing file as it was.

#include "export/atomic_file.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace veltrin {
namespace {

using test::Fix;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

StartRecord BusyStart(int samples, int fixes)
{
    StartRecord start;
    start.startTime = test::kAugust26;
    for (int i = 0; i < samples; ++i) {
        Sample s;
        s.timeMs = i * 40;
        s.accZ = 1.0 + i % 7 * 0.1;
        s.altitude = 300 + i % 100;
        start.samples.push_back(s);
    }
    for (int i = 0; i < fixes; ++i)
        start.fixes.push_back(Fix(true, 48.0 + i * 1e-4, 11.0, 500.0));
    return start;
}

std::size_t EntriesIn(const std::filesystem::path& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

TEST(ExportFailure, RegressionFolderThatCannotHoldFilesFailedSilently)
{
    TempDir dir;
    WriteFile(dir / "plain-file", "x");
    const std::filesystem::path inside = dir / "plain-file" / "flight.csv";
    KmlWriter writer(test::FixedEnvironment({}));

    const ExportResult csv = ExportCsv(BusyStart(3, 0), inside);
    const ExportResult kml =
        ExportKml(BusyStart(0, 3), inside.parent_path() / "t.kml", false, writer);
    for (const ExportResult& result : {csv, kml}) {
        EXPECT_EQ(result.status, ExportStatus::CannotCreate);
        EXPECT_EQ(result.reason, "Die Datei konnte nicht angelegt werden.");
        EXPECT_FALSE(result.detail.empty());
    }
    EXPECT_FALSE(writer.Started());

    std::filesystem::create_directory(dir / "folder.csv");
    EXPECT_EQ(ExportCsv(BusyStart(3, 0), dir / "folder.csv").status, ExportStatus::CannotCreate);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.csv"));
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

TEST(ExportFailure, RegressionWriteErrorPartWayLeftAHalfWrittenCsvFile)
{
    TempDir dir;
    WriteFile(dir / "flight.csv", "old contents");
    for (std::size_t failAfter :
         {std::size_t{100}, std::size_t{3} << 20}) {  // before and after the first buffer
        AtomicFile file;
        ASSERT_TRUE(file.Open(dir / "flight.csv").Ok());
        file.FailWritesAfter(failAfter);
        WriteCsv(BusyStart(200000, 0), CsvVariant::Semicolon, file);
        const ExportResult result = file.Commit();
        EXPECT_EQ(result.status, ExportStatus::WriteFailed);
        EXPECT_EQ(result.reason, "Schreibfehler (Datenträger voll?).");
        EXPECT_EQ(ReadFile(dir / "flight.csv"), "old contents");
        EXPECT_EQ(EntriesIn(dir.path()), 1u) << "temporary file left behind";
    }
}

TEST(ExportFailure, RegressionWriteErrorPartWayLeftAHalfWrittenKmlFile)
{
    TempDir dir;
    WriteFile(dir / "track.kml", "old contents");
    KmlWriter writer(test::FixedEnvironment({}));
    for (bool extended : {false, true}) {
        writer.InjectWriteFailureAfter(500);
        const ExportResult result =
            ExportKml(BusyStart(0, 50), dir / "track.kml", extended, writer);
        EXPECT_EQ(result.status, ExportStatus::WriteFailed);
        EXPECT_EQ(ReadFile(dir / "track.kml"), "old contents");
        EXPECT_EQ(EntriesIn(dir.path()), 1u);
    }
    ASSERT_TRUE(ExportKml(BusyStart(0, 50), dir / "track.kml", false, writer).Ok());
    const std::string document = ReadFile(dir / "track.kml");
    EXPECT_EQ(document.rfind("<?xml", 0), 0u);
    EXPECT_EQ(document.substr(document.size() - 8), "</kml>\r\n");
}

TEST(AtomicFile, FileLeftUncommittedIsDiscarded)
{
    TempDir dir;
    WriteFile(dir / "out.txt", "old");
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(dir / "out.txt").Ok());
        file.Write("new");
        file.Flush();
    }
    EXPECT_EQ(ReadFile(dir / "out.txt"), "old");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, RegressionNameNearTheLengthLimitFailedForItsTemporaryName)
{
    TempDir dir;
    const std::string longest = std::string(251, 'x') + ".csv";  // 255 bytes, the usual limit
    const ExportResult written = ExportCsv(BusyStart(2, 0), dir / longest);
    ASSERT_TRUE(written.Ok()) << written.Message();
    EXPECT_EQ(ReadFile(dir / longest).rfind("Time;AccX;AccY;AccZ;IAS;Altitude\r\n", 0), 0u);
    EXPECT_EQ(EntriesIn(dir.path()), 1u) << "temporary file left behind";

    const ExportResult refused = ExportCsv(BusyStart(2, 0), dir / ("y" + longest));
    EXPECT_EQ(refused.status, ExportStatus::CannotCreate);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace veltrin
