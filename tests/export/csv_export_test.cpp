// CSV and blank-separated export, and the proposed file name.

#include "export/proposed_name.h"
#include "export/start_export.h"
#include "export_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace veltrin {
namespace {

using test::ReadFile;
using test::TempDir;

Sample MakeSample(std::int32_t timeMs, double accX, double accY, double accZ, double ias,
                  double altitude)
{
    Sample s;
    s.timeMs = timeMs;
    s.accX = accX;
    s.accY = accY;
    s.accZ = accZ;
    s.ias = ias;
    s.altitude = altitude;
    return s;
}

StartRecord SampleStart()
{
    StartRecord start;
    start.loaded = true;
    start.samples = {MakeSample(1000, 0.0, 0.0, 1.0, 0.0, 0.0),
                     MakeSample(2500, 0.12, -0.05, 1.01, 95.3, 512.0),
                     MakeSample(3000, -12.345, -0.004, -1.005, -3.25, -20.5),
                     MakeSample(1001001, 123.0, 0.0, 0.0, 1234567.8, 12345678.0)};
    return start;
}

TEST(CsvExport, SemicolonVariantHasHeaderDecimalCommasAndFieldWidths)
{
    TempDir dir;
    ASSERT_TRUE(ExportCsv(SampleStart(), dir / "flight.csv").Ok());
    EXPECT_EQ(ReadFile(dir / "flight.csv"),
              "Time;AccX;AccY;AccZ;IAS;Altitude\r\n"
              "    0,000;  0,00;  0,00;  1,00;   0,0;     0\r\n"
              "    1,500;  0,12; -0,05;  1,01;  95,3;   512\r\n"
              "    2,000;-12,35; -0,00; -1,00;  -3,2;   -20\r\n"
              " 1000,001;123,00;  0,00;  0,00;1234567,8;12345678\r\n");
}

TEST(CsvExport, BlankVariantKeepsDecimalPoints)
{
    TempDir dir;
    ASSERT_TRUE(ExportCsv(SampleStart(), dir / "flight.dat").Ok());
    EXPECT_EQ(ReadFile(dir / "flight.dat"),
              "    0.000   0.00   0.00   1.00    0.0      0\r\n"
              "    1.500   0.12  -0.05   1.01   95.3    512\r\n"
              "    2.000 -12.35  -0.00  -1.00   -3.2    -20\r\n"
              " 1000.001 123.00   0.00   0.00 1234567.8 12345678\r\n");
}

TEST(CsvExport, RelativeTimeWrapsLikeThe32BitRecorderClock)
{
    StartRecord start;
    start.samples = {MakeSample(std::numeric_limits<std::int32_t>::max(), 0, 0, 0, 0, 0),
                     MakeSample(std::numeric_limits<std::int32_t>::min(), 0, 0, 0, 0, 0)};
    StringOutput out;
    WriteCsv(start, CsvVariant::Blank, out);
    EXPECT_EQ(out.Text().substr(out.Text().find('\n') + 1, 9), "    0.001");
}

TEST(CsvExport, StartWithoutSamples)
{
    TempDir dir;
    test::WriteFile(dir / "a.csv", "old");
    test::WriteFile(dir / "a.dat", "old");
    ASSERT_TRUE(ExportCsv(StartRecord{}, dir / "a.csv").Ok());
    ASSERT_TRUE(ExportCsv(StartRecord{}, dir / "a.dat").Ok());
    EXPECT_EQ(ReadFile(dir / "a.csv"), "Time;AccX;AccY;AccZ;IAS;Altitude\r\n");
    EXPECT_EQ(ReadFile(dir / "a.dat"), "");
}

TEST(CsvVariantForPath, ExtensionCsvInAnyCaseSelectsSemicolons)
{
    const struct {
        const char* path;
        CsvVariant variant;
    } cases[] = {{"/x/a.csv", CsvVariant::Semicolon},
                 {"a.CsV", CsvVariant::Semicolon},
                 {"dir.dat/b.CSV", CsvVariant::Semicolon},
                 {"a.dat", CsvVariant::Blank},
                 {"a.txt", CsvVariant::Blank},
                 {"csv", CsvVariant::Blank},
                 {"a.csv.bak", CsvVariant::Blank},
                 {"a.csvx", CsvVariant::Blank}};
    for (const auto& c : cases)
        EXPECT_EQ(CsvVariantForPath(c.path), c.variant) << c.path;
}

// Sets TZ for one test and restores it afterwards.
class TimeZoneGuard {
public:
    explicit TimeZoneGuard(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneGuard()
    {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> old_;
};

TEST(ProposedFileName, IsTheUtcMinuteWhateverTheLocalZone)
{
    TimeZoneGuard tokyo("Asia/Tokyo");
    EXPECT_EQ(ProposedFileName(test::kAugust26 + 14 * 3600 + 5 * 60 + 59), "vlt_20120826_1405");
    EXPECT_EQ(ProposedFileName(1356912000 + 23 * 3600 + 59 * 60), "vlt_20121231_2359");
}

}  // namespace
}  // namespace veltrin
