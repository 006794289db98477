// A generated card as the viewer sees it: framing of every line, repeatability,
// and flights that load into plausible starts.
#include "sim/card_writer.h"

#include "data/calendar.h"
#include "data/directory_loader.h"
#include "data/sentence_parser.h"
#include "data/start_reader.h"
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using sim::CardOptions;
using sim::CardResult;
using test::TempDir;

constexpr double kAirfieldLatitude = 50.0236;
constexpr double kAirfieldLongitude = 8.9841;

CardOptions SmallCard(std::uint64_t seed)
{
    CardOptions options;
    options.seed = seed;
    options.days = 2;
    options.starts = 5;
    options.minMinutes = 7.0;
    options.maxMinutes = 9.0;
    return options;
}

double DistanceMetres(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double kRadius = 6371000.0;
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (lat2 - lat1) * kRad;
    const double dLon = (lon2 - lon1) * kRad;
    const double h =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kRadius * std::asin(std::sqrt(h));
}

// One card written and loaded once for all tests that only read it.
class SimCard : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<TempDir>();
        result_ = std::make_unique<CardResult>(sim::WriteCard(dir_->path(), SmallCard(5)));
        recording_ = std::make_unique<Recording>();
        LoadDirectory(dir_->path() / "VELT", *recording_);
        for (auto& start : *recording_) {
            LoadStartData(start);
        }
    }
    static void TearDownTestSuite()
    {
        recording_.reset();
        result_.reset();
        dir_.reset();
    }

    static std::unique_ptr<TempDir> dir_;
    static std::unique_ptr<CardResult> result_;
    static std::unique_ptr<Recording> recording_;
};

std::unique_ptr<TempDir> SimCard::dir_;
std::unique_ptr<CardResult> SimCard::result_;
std::unique_ptr<Recording> SimCard::recording_;

TEST_F(SimCard, WritesOneFilePerStartAndBothEventFiles)
{
    ASSERT_TRUE(result_->ok) << result_->error;
    const auto files = test::FilesBelow(dir_->path());
    EXPECT_EQ(files.size(), 5U + 2U);
    EXPECT_TRUE(std::filesystem::exists(dir_->path() / "VELT" / "EVENTS.LOG"));
    EXPECT_TRUE(std::filesystem::exists(dir_->path() / "VELT" / "LASTEV.LOG"));
    ASSERT_EQ(recording_->size(), 5U);
}

TEST_F(SimCard, EveryLineCarriesItsChecksumAndEndsWithCrLf)
{
    for (const auto& file : test::FilesBelow(dir_->path())) {
        const auto lines = test::SplitLines(test::ReadBytes(file));
        ASSERT_FALSE(lines.empty()) << file;
        for (const auto& line : lines) {
            ASSERT_GE(line.size(), 2U) << file;
            ASSERT_EQ(line.substr(line.size() - 2), "\r\n") << file << ": " << line;
            const std::string_view body(line.data(), line.size() - 2);
            ASSERT_EQ(body.find_first_of("\r\n"), std::string_view::npos) << file;
            ASSERT_TRUE(VerifyChecksum(body)) << file << ": " << body;
        }
    }
}

TEST_F(SimCard, StartsLoadWithValuesWithinTheAircraftsEnvelope)
{
    ASSERT_EQ(recording_->size(), result_->starts.size());
    for (const auto& start : *recording_) {
        SCOPED_TRACE(start.path.string());
        ASSERT_TRUE(start.loaded);
        ASSERT_GT(start.samples.size(), 1000U);
        EXPECT_GE(start.minAccZ, -2.05);
        EXPECT_LT(start.minAccZ, 1.0);
        EXPECT_GT(start.maxAccZ, 1.0);
        EXPECT_LE(start.maxAccZ, 5.05);
        EXPECT_GT(start.maxIas, 100.0);
        EXPECT_LE(start.maxIas, 260.0);
        EXPECT_GT(start.maxAltitude, 250.0);
        EXPECT_LE(start.maxAltitude, 2500.0);
        const auto lowest = std::min_element(
            start.samples.begin(), start.samples.end(),
            [](const Sample& a, const Sample& b) { return a.altitude < b.altitude; });
        EXPECT_GE(lowest->altitude, 100.0);
        // The recording begins and ends at rest on the ground.
        EXPECT_EQ(start.samples.front().ias, 0.0);
        EXPECT_EQ(start.samples.back().ias, 0.0);
        EXPECT_NEAR(start.samples.back().altitude, start.samples.front().altitude, 3.0);
        // Samples follow each other at the recorder's rate: 40 to 100 ms.
        const auto step = start.samples[1].timeMs - start.samples[0].timeMs;
        EXPECT_GE(step, 40);
        EXPECT_LE(step, 100);
    }
}

TEST_F(SimCard, EventMarksMatchTheEventFiles)
{
    std::size_t marks = 0;
    for (const auto& start : *recording_) {
        marks +=
            static_cast<std::size_t>(std::count_if(start.samples.begin(), start.samples.end(),
                                                   [](const Sample& s) { return s.eventMark; }));
    }
    EXPECT_GT(marks, 0U);
    ASSERT_FALSE(result_->events.empty());
    // A mark joins runs less than 2 s apart, so there are never more marks than events.
    EXPECT_LE(marks, result_->events.size());

    const auto events = test::SplitLines(test::ReadBytes(dir_->path() / "VELT" / "EVENTS.LOG"));
    ASSERT_EQ(events.size(), result_->events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const auto& event = result_->events[i];
        const auto c = BreakDownUtc(event.time).value();
        const std::string stamp = std::to_string(c.day) + "." + std::to_string(c.month) + "." +
                                  std::to_string(c.year) + " " + std::to_string(c.hour) + ":";
        EXPECT_EQ(events[i].rfind(stamp, 0), 0U) << events[i];
        EXPECT_EQ(event.number, static_cast<int>(i) + 1);
    }
    const auto latest = test::SplitLines(test::ReadBytes(dir_->path() / "VELT" / "LASTEV.LOG"));
    ASSERT_FALSE(latest.empty());
    EXPECT_EQ(latest.back(), events.back());
}

TEST_F(SimCard, HoldsAStartInHourZeroAndOneLandingAfterMidnight)
{
    bool hourZero = false;
    bool afterMidnight = false;
    for (const auto& start : *recording_) {
        SCOPED_TRACE(start.path.string());
        ASSERT_NE(start.landingTime, 0);
        hourZero = hourZero || BreakDownUtc(start.startTime)->hour == 0;
        if (start.landingTime < start.startTime) {
            // The landing rule keeps the start's date; the flight landed early next day.
            afterMidnight = true;
            EXPECT_EQ(BreakDownUtc(start.landingTime)->hour, 0);
            EXPECT_GE(BreakDownUtc(start.startTime)->hour, 23);
        } else {
            EXPECT_LT(start.landingTime - start.startTime, 3600);
        }
    }
    EXPECT_TRUE(hourZero);
    EXPECT_TRUE(afterMidnight);
}

TEST_F(SimCard, GpsTrackIsAClosedCircuitFlownAtTheAirSpeed)
{
    for (const auto& start : *recording_) {
        SCOPED_TRACE(start.path.string());
        const auto& fixes = start.fixes;
        ASSERT_GT(fixes.size(), 300U);
        EXPECT_FALSE(fixes.front().valid);  // the receiver is still searching at power-up
        const auto first =
            std::find_if(fixes.begin(), fixes.end(), [](const GpsFix& f) { return f.valid; });
        const auto last =
            std::find_if(fixes.rbegin(), fixes.rend(), [](const GpsFix& f) { return f.valid; });
        ASSERT_NE(first, fixes.end());
        EXPECT_LT(DistanceMetres(first->latitude, first->longitude, kAirfieldLatitude,
                                 kAirfieldLongitude),
                  1000.0);
        EXPECT_LT(
            DistanceMetres(first->latitude, first->longitude, last->latitude, last->longitude),
            300.0);

        // A short gap of invalid fixes in the middle of the flight.
        bool gap = false;
        for (auto it = first; it != last.base(); ++it) {
            gap = gap || !it->valid;
        }
        EXPECT_TRUE(gap);

        // Ground speed from consecutive fixes one second apart against the air speed.
        std::vector<double> ratios;
        for (std::size_t i = 1; i < fixes.size(); ++i) {
            const auto& a = fixes[i - 1];
            const auto& b = fixes[i];
            if (!a.valid || !b.valid || b.ias < 80.0 ||
                std::fabs(b.utcTime - a.utcTime - 1.0) > 1e-6) {
                continue;
            }
            const double kmh =
                DistanceMetres(a.latitude, a.longitude, b.latitude, b.longitude) * 3.6;
            ratios.push_back(kmh / b.ias);
        }
        ASSERT_GT(ratios.size(), 100U);
        std::sort(ratios.begin(), ratios.end());
        EXPECT_GT(ratios[ratios.size() / 2], 0.95);
        EXPECT_LT(ratios[ratios.size() / 2], 1.2);
        EXPECT_GT(ratios[ratios.size() / 20], 0.7);
        EXPECT_LT(ratios[ratios.size() * 19 / 20], 1.4);
    }
}

TEST(SimCardFiles, SameSeedGivesTheSameBytesAnotherSeedOthers)
{
    TempDir a;
    TempDir b;
    TempDir c;
    ASSERT_TRUE(sim::WriteCard(a.path(), SmallCard(11)).ok);
    ASSERT_TRUE(sim::WriteCard(b.path(), SmallCard(11)).ok);
    ASSERT_TRUE(sim::WriteCard(c.path(), SmallCard(12)).ok);
    const auto filesA = test::FilesBelow(a.path());
    const auto filesB = test::FilesBelow(b.path());
    ASSERT_EQ(filesA.size(), filesB.size());
    for (std::size_t i = 0; i < filesA.size(); ++i) {
        EXPECT_EQ(filesA[i].lexically_relative(a.path()), filesB[i].lexically_relative(b.path()));
        EXPECT_TRUE(test::ReadBytes(filesA[i]) == test::ReadBytes(filesB[i])) << filesA[i];
    }
    const auto filesC = test::FilesBelow(c.path());
    ASSERT_FALSE(filesC.empty());
    EXPECT_FALSE(filesC[0].lexically_relative(c.path()) == filesA[0].lexically_relative(a.path()) &&
                 test::ReadBytes(filesC[0]) == test::ReadBytes(filesA[0]));
}

TEST(SimCardFiles, OutputDoesNotDependOnTheNumericLocale)
{
    TempDir plain;
    TempDir german;
    ASSERT_TRUE(sim::WriteCard(plain.path(), SmallCard(3)).ok);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "German locale not installed";
    }
    const bool written = sim::WriteCard(german.path(), SmallCard(3)).ok;
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(written);
    const auto filesPlain = test::FilesBelow(plain.path());
    const auto filesGerman = test::FilesBelow(german.path());
    ASSERT_EQ(filesPlain.size(), filesGerman.size());
    for (std::size_t i = 0; i < filesPlain.size(); ++i) {
        EXPECT_TRUE(test::ReadBytes(filesPlain[i]) == test::ReadBytes(filesGerman[i]))
            << filesPlain[i];
    }
}

TEST(SimCardFiles, RefusesToWriteOverAnExistingCard)
{
    TempDir dir;
    ASSERT_TRUE(sim::WriteCard(dir.path(), SmallCard(1)).ok);
    const auto before = test::ReadBytes(dir.path() / "VELT" / "EVENTS.LOG");
    const auto again = sim::WriteCard(dir.path(), SmallCard(2));
    EXPECT_FALSE(again.ok);
    EXPECT_NE(again.error.find("already"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(dir.path() / "VELT" / "EVENTS.LOG"), before);
}

TEST(SimCardPlan, RejectsOptionsItCannotHonour)
{
    struct Case {
        const char* name;
        CardOptions options;
    };
    std::vector<Case> cases;
    CardOptions crowded = SmallCard(1);
    crowded.days = 1;
    crowded.starts = 60;
    crowded.minMinutes = crowded.maxMinutes = 30.0;
    cases.push_back({"too many starts for one day", crowded});
    CardOptions badDate = SmallCard(1);
    badDate.month = 2;
    badDate.day = 30;
    cases.push_back({"30 February", badDate});
    CardOptions tooShort = SmallCard(1);
    tooShort.minMinutes = 2.0;
    cases.push_back({"shorter than a circuit", tooShort});
    for (const auto& c : cases) {
        std::string error;
        EXPECT_TRUE(sim::PlanCard(c.options, error).empty()) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

TEST(SimCardPlan, StartsNeitherOverlapNorLeaveTheirDay)
{
    CardOptions options = SmallCard(9);
    options.days = 3;
    options.starts = 12;
    options.longFlightHours = 3.0;
    std::string error;
    const auto plan = sim::PlanCard(options, error);
    ASSERT_EQ(plan.size(), 12U) << error;
    for (std::size_t i = 1; i < plan.size(); ++i) {
        const auto& previous = plan[i - 1].settings;
        EXPECT_GT(plan[i].settings.startTime,
                  previous.startTime + static_cast<CalendarSeconds>(previous.flight.durationS))
            << plan[i].fileName;
    }
    const bool hasLong = std::any_of(plan.begin(), plan.end(), [](const sim::PlannedStart& s) {
        return s.settings.flight.durationS == 3.0 * 3600.0;
    });
    EXPECT_TRUE(hasLong);
}

TEST(SimCardPlan, ThousandStartsOverManyDaysOfRealisticLength)
{
    CardOptions options;
    options.seed = 4;
    options.starts = 1000;
    options.days = 200;
    options.minMinutes = 10.0;
    options.maxMinutes = 120.0;
    std::string error;
    const auto plan = sim::PlanCard(options, error);
    ASSERT_EQ(plan.size(), 1000U) << error;
    std::vector<std::string> days;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const auto& settings = plan[i].settings;
        SCOPED_TRACE(plan[i].dayDirectory + "/" + plan[i].fileName);
        EXPECT_GE(settings.flight.durationS, 600.0);
        EXPECT_LE(settings.flight.durationS, 7200.0);
        EXPECT_TRUE(settings.flight.rateHz == 10 || settings.flight.rateHz == 20 ||
                    settings.flight.rateHz == 25);
        if (i > 0) {
            const auto& previous = plan[i - 1].settings;
            EXPECT_GT(settings.startTime,
                      previous.startTime + static_cast<CalendarSeconds>(previous.flight.durationS));
        }
        if (days.empty() || days.back() != plan[i].dayDirectory) {
            days.push_back(plan[i].dayDirectory);
        }
    }
    EXPECT_EQ(days.size(), 200U);  // five starts on each flying day
    // Flying days lie one to five days apart.
    const auto span = plan.back().settings.startTime - plan.front().settings.startTime;
    EXPECT_GT(span, 199 * 86400);
    EXPECT_LT(span, 5 * 200 * 86400);
}

TEST(SimCardFiles, SeveralThreadsWriteTheSameBytesAsOne)
{
    // More days and starts than a card could have before; short starts at 1 Hz.
    CardOptions options = SmallCard(21);
    options.days = 70;
    options.starts = 140;
    options.minMinutes = 7.0;
    options.maxMinutes = 8.0;
    options.rateHz = 1;
    options.recorder.positiveLoadLimit = 2.0;  // so that most starts have events
    TempDir one;
    TempDir three;
    options.threads = 1;
    const CardResult inTurn = sim::WriteCard(one.path(), options);
    options.threads = 3;
    const CardResult atOnce = sim::WriteCard(three.path(), options);
    ASSERT_TRUE(inTurn.ok) << inTurn.error;
    ASSERT_TRUE(atOnce.ok) << atOnce.error;
    EXPECT_EQ(atOnce.bytes, inTurn.bytes);
    ASSERT_EQ(atOnce.events.size(), inTurn.events.size());
    EXPECT_GT(inTurn.events.size(), 140U);
    for (std::size_t i = 0; i < atOnce.events.size(); ++i) {
        EXPECT_EQ(atOnce.events[i].number, static_cast<int>(i) + 1);
    }
    const auto filesOne = test::FilesBelow(one.path());
    const auto filesThree = test::FilesBelow(three.path());
    ASSERT_EQ(filesOne.size(), 140U + 2U);
    ASSERT_EQ(filesThree.size(), filesOne.size());
    for (std::size_t i = 0; i < filesOne.size(); ++i) {
        ASSERT_EQ(filesThree[i].lexically_relative(three.path()),
                  filesOne[i].lexically_relative(one.path()));
        EXPECT_TRUE(test::ReadBytes(filesThree[i]) == test::ReadBytes(filesOne[i])) << filesOne[i];
    }
    Recording recording;
    LoadDirectory(three.path() / "VELT", recording);
    EXPECT_EQ(recording.size(), 140U);
}

}  // namespace
}  // namespace veltrin
