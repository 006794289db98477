// Exports of a whole recorded start: well-formed XML, and the same bytes
// whatever the process locale.

#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace veltrin {
namespace {

using test::ReadFile;
using test::TempDir;

// The start with the most track points on the bundled sample card; none when
// the card is missing.
std::optional<StartRecord> RecordedStart()
{
    Recording recording;
    LoadDirectory(std::filesystem::path(VELTRIN_SAMPLES_DIR) / "VELT", recording);
    StartRecord* best = nullptr;
    for (StartRecord& start : recording) {
        if (LoadStartData(start) && (best == nullptr || start.fixes.size() > best->fixes.size()))
            best = &start;
    }
    if (best == nullptr || best->fixes.empty())
        return std::nullopt;
    return *best;
}

struct Outputs {
    std::string csv, dat, line, track;
};

Outputs ExportAll(const StartRecord& start)
{
    TempDir dir;
    KmlWriter writer(test::FixedEnvironment({}));
    EXPECT_TRUE(ExportCsv(start, dir / "a.csv").Ok());
    EXPECT_TRUE(ExportCsv(start, dir / "a.dat").Ok());
    EXPECT_TRUE(ExportKml(start, dir / "line.kml", false, writer).Ok());
    EXPECT_TRUE(ExportKml(start, dir / "track.kml", true, writer).Ok());
    return {ReadFile(dir / "a.csv"), ReadFile(dir / "a.dat"), ReadFile(dir / "line.kml"),
            ReadFile(dir / "track.kml")};
}

TEST(WholeStartExport, BothKmlDocumentsAreWellFormedXml)
{
    const char* xmllint = "/usr/bin/xmllint";
    if (!std::filesystem::exists(xmllint))
        GTEST_SKIP() << "xmllint is not installed";
    const std::optional<StartRecord> start = RecordedStart();
    if (!start)
        GTEST_SKIP() << "the sample card is missing";
    TempDir scratch;
    KmlWriter writer(test::FixedEnvironment({{"KML_REMOVECNT", "3"}}));
    for (bool extended : {false, true}) {
        const std::filesystem::path file = scratch / (extended ? "track.kml" : "line.kml");
        ASSERT_TRUE(ExportKml(*start, file, extended, writer).Ok());
        const std::string command = std::string(xmllint) + " --noout '" + file.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

TEST(WholeStartExport, OutputsAreTheSameUnderAGermanLocale)
{
    const std::optional<StartRecord> start = RecordedStart();
    if (!start)
        GTEST_SKIP() << "the sample card is missing";
    const Outputs plain = ExportAll(*start);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const Outputs german = ExportAll(*start);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german.csv, plain.csv);
    EXPECT_EQ(german.dat, plain.dat);
    EXPECT_EQ(german.line, plain.line);
    EXPECT_EQ(german.track, plain.track);
    EXPECT_NE(plain.dat.find('.'), std::string::npos);  // decimal points really were written
}

}  // namespace
}  // namespace veltrin
