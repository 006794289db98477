#include "analysis/track_position.h"

#include "data/start_data_stream.h"
#include "data/start_rules.h"
#include "support/framed_sentence.h"
#include "support/made_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrin {
namespace {

constexpr std::int32_t kFirstSampleMs = 5000;  // the graphs count from here
constexpr int kStepMs = 100;

struct MadeFix {
    bool valid;
    double utcTime;
    double latitude;
    double longitude;
    std::ptrdiff_t sampleIndex;
};

// A start with a sample every 100 ms from 5 s recorder time on and the given fixes.
StartRecord MadeStart(const std::vector<MadeFix>& fixes, int samples = 60)
{
    StartRecord start;
    for (int i = 0; i < samples; ++i) {
        Sample sample;
        sample.timeMs = kFirstSampleMs + i * kStepMs;
        start.samples.push_back(sample);
    }
    for (const MadeFix& made : fixes) {
        GpsFix fix;
        fix.valid = made.valid;
        fix.utcTime = made.utcTime;
        fix.latitude = made.valid ? made.latitude : 0.0;
        fix.longitude = made.valid ? made.longitude : 0.0;
        fix.sampleIndex = made.sampleIndex;
        start.fixes.push_back(fix);
    }
    return start;
}

// Fixes once a second, on samples 0, 10, 20 ...: two with a position, a gap of
// two without, and one with a position again.
const std::vector<MadeFix> kGapTrack = {
    {true, 100, 48.0, 11.0, 0}, {true, 101, 48.1, 11.2, 10}, {false, 102, 0, 0, 20},
    {false, 103, 0, 0, 30},     {true, 104, 48.4, 11.8, 40},
};

void ExpectNear(const std::optional<Position>& actual, double latitude, double longitude)
{
    ASSERT_TRUE(actual.has_value());
    EXPECT_NEAR(actual->latitude, latitude, 1e-12);
    EXPECT_NEAR(actual->longitude, longitude, 1e-12);
}

TEST(TrackTimeline, PointsSitAtTheirSamplesTimeOnTheGraphAxis)
{
    const StartRecord start = MadeStart(kGapTrack);
    const TrackTimeline track(start);
    ASSERT_EQ(track.Points().size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const TimelinePoint& point = track.Points()[k];
        EXPECT_EQ(point.timeMs, static_cast<std::int64_t>(k) * 1000);
        EXPECT_EQ(point.fixIndex, k);
        EXPECT_EQ(point.sampleIndex, static_cast<std::ptrdiff_t>(k) * 10);
        // At a track point: its own position, PositionAt's for one without fix.
        const Position own = PositionAt(start.fixes, static_cast<std::ptrdiff_t>(k));
        ExpectNear(track.PositionAtTime(point.timeMs), own.latitude, own.longitude);
    }
    EXPECT_FALSE(track.Points()[2].valid);
    ExpectNear(track.PositionAtTime(1000), 48.1, 11.2);
}

TEST(TrackTimeline, PositionsBetweenPointsAreInterpolatedInTime)
{
    const TrackTimeline track(MadeStart(kGapTrack));
    ExpectNear(track.PositionAtTime(500), 48.05, 11.1);
    ExpectNear(track.PositionAtTime(250), 48.025, 11.05);
    ExpectNear(track.PositionAtTime(999), 48.0999, 11.1998);
    // Across the gap without fix the track runs straight on from fix to fix,
    // as the gap's points lie evenly in time between them.
    for (const std::int64_t t : {1500, 2000, 2300, 3000, 3999}) {
        SCOPED_TRACE(t);
        const double m = static_cast<double>(t - 1000) / 3000.0;
        ExpectNear(track.PositionAtTime(t), 48.1 + m * 0.3, 11.2 + m * 0.6);
    }
}

TEST(TrackTimeline, BeforeTheFirstAndAfterTheLastFixTheEndsStand)
{
    // Points without fix lead and trail the track; one fix is read before any sample.
    const StartRecord start = MadeStart({{false, 99, 0, 0, -1},
                                         {false, 100, 0, 0, 5},
                                         {true, 101, -33.5, -70.25, 15},
                                         {true, 102, -33.6, -70.5, 25},
                                         {false, 103, 0, 0, 35},
                                         {false, 104, 0, 0, 45}});
    const TrackTimeline track(start);
    ASSERT_EQ(track.Points().size(), 6u);
    EXPECT_EQ(track.Points()[0].timeMs, 0);
    EXPECT_EQ(track.Points()[0].sampleIndex, -1);
    for (const std::int64_t t : {-100000, -1, 0, 250, 500, 1500}) {
        SCOPED_TRACE(t);
        ExpectNear(track.PositionAtTime(t), -33.5, -70.25);
    }
    for (const std::int64_t t : {2500, 3000, 4000, 4500, 100000}) {
        SCOPED_TRACE(t);
        ExpectNear(track.PositionAtTime(t), -33.6, -70.5);
    }
    ExpectNear(track.PositionAtTime(2000), -33.55, -70.375);
}

TEST(TrackTimeline, NearestPointInTimeGivesItsSample)
{
    const TrackTimeline track(MadeStart(kGapTrack));
    const struct {
        std::int64_t timeMs;
        std::size_t fixIndex;
    } cases[] = {
        {-5000, 0}, {0, 0},    {499, 0},  {500, 0},  // halfway: the earlier
        {501, 1},   {1000, 1}, {2600, 3}, {3499, 3}, {3500, 3}, {3501, 4}, {4000, 4}, {99999, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timeMs);
        const std::optional<TimelinePoint> point = track.NearestInTime(c.timeMs);
        ASSERT_TRUE(point.has_value());
        EXPECT_EQ(point->fixIndex, c.fixIndex);
        EXPECT_EQ(point->sampleIndex, static_cast<std::ptrdiff_t>(c.fixIndex) * 10);
        EXPECT_EQ(point->timeMs, static_cast<std::int64_t>(c.fixIndex) * 1000);
    }
}

TEST(TrackTimeline, FixesOfOneSampleShareItsTimeAndTheLatestCounts)
{
    // Fixes faster than samples: two fixes arrive while sample 10 is the latest.
    const TrackTimeline track(MadeStart({{true, 100, 10.0, 20.0, 0},
                                         {true, 101, 10.1, 20.0, 10},
                                         {true, 102, 10.2, 20.0, 10},
                                         {true, 103, 10.4, 20.0, 20}}));
    EXPECT_EQ(track.Points()[1].timeMs, track.Points()[2].timeMs);
    ExpectNear(track.PositionAtTime(1000), 10.2, 20.0);
    ExpectNear(track.PositionAtTime(1500), 10.3, 20.0);
    ExpectNear(track.PositionAtTime(500), 10.05, 20.0);
    EXPECT_EQ(track.NearestInTime(1000)->fixIndex, 2u);
    EXPECT_EQ(track.NearestInTime(800)->fixIndex, 2u);
    EXPECT_EQ(track.NearestInTime(1400)->fixIndex, 2u);
    EXPECT_EQ(track.NearestInTime(-10)->fixIndex, 0u);
}

TEST(TrackTimeline, RecorderTimeGoingBackKeepsTheTrackInOrder)
{
    StartRecord start = MadeStart(kGapTrack);
    start.samples[30].timeMs = 0;  // a recorder clock that jumped back
    const TrackTimeline track(start);
    EXPECT_EQ(track.Points()[3].timeMs, 2000);
    EXPECT_EQ(track.Points()[4].timeMs, 4000);
    EXPECT_EQ(track.NearestInTime(2000)->fixIndex, 3u);
    ExpectNear(track.PositionAtTime(3000), 48.35, 11.7);
}

TEST(TrackTimeline, NearestPointOnTheGround)
{
    const TrackTimeline track(MadeStart(kGapTrack));
    EXPECT_EQ(track.NearestToPosition({48.09, 11.21})->fixIndex, 1u);
    EXPECT_EQ(track.NearestToPosition({47.0, 10.0})->fixIndex, 0u);
    EXPECT_EQ(track.NearestToPosition({48.4, 11.8})->sampleIndex, 40);
    // The gap's points lie on the line between their fixes.
    EXPECT_EQ(track.NearestToPosition({48.3, 11.6})->fixIndex, 3u);
    // At 48° a degree of longitude is two thirds of a degree of latitude:
    // point 0, 0.14° of longitude away, is nearer than point 1, 0.1° of
    // latitude and 0.06° of longitude away.
    EXPECT_EQ(track.NearestToPosition({48.0, 11.14})->fixIndex, 0u);

    // Across the date line the short way round counts.
    const TrackTimeline pacific(
        MadeStart({{true, 1, -17.0, 179.9, 0}, {true, 2, -17.0, 170.0, 10}}));
    EXPECT_EQ(pacific.NearestToPosition({-17.0, -179.9})->fixIndex, 0u);

    // A circuit back over its first point: the earlier pass counts.
    const TrackTimeline circuit(
        MadeStart({{true, 1, 50.0, 8.0, 0}, {true, 2, 50.1, 8.0, 10}, {true, 3, 50.0, 8.0, 20}}));
    EXPECT_EQ(circuit.NearestToPosition({49.9, 8.0})->fixIndex, 0u);
}

TEST(TrackTimeline, StartWithoutAnyPositionHasNoTrack)
{
    for (const std::vector<MadeFix>& fixes :
         {std::vector<MadeFix>{}, std::vector<MadeFix>{{false, 1, 0, 0, 0}, {false, 2, 0, 0, 5}}}) {
        const TrackTimeline track(MadeStart(fixes));
        EXPECT_TRUE(track.Empty());
        EXPECT_FALSE(track.PositionAtTime(0).has_value());
        EXPECT_FALSE(track.NearestInTime(0).has_value());
        EXPECT_FALSE(track.NearestToPosition({}).has_value());
    }
    // Fixes without samples all sit at the start of the axis.
    const TrackTimeline noSamples(MadeStart(kGapTrack, 0));
    ASSERT_EQ(noSamples.Points().size(), 5u);
    EXPECT_EQ(noSamples.Points().back().timeMs, 0);
    ExpectNear(noSamples.PositionAtTime(0), 48.4, 11.8);
}

TEST(TrackTimeline, ReadFileTiesEachFixToTheGraphsTimeOfItsLatestSample)
{
    const auto fix = [](const char* time, const char* latitude) {
        return test::Framed(std::string("$GPGGA,") + time + "," + latitude +
                            ",N,01131.000,E,1,08,0.9,546.0,M,46.9,M,,") +
               "\r\n";
    };
    const std::string bytes = fix("120000", "4800.000") + test::SampleLine(7.5, 1.0, 80, 300) +
                              "\r\n" + test::SampleLine(7.6, 1.0, 80, 300) + "\r\n" +
                              fix("120001", "4806.000") + test::SampleLine(8.1, 1.0, 80, 300) +
                              "\r\n" + "$VLTDR,broken*00\r\n" + fix("120002", "4812.000");
    StartRecord start;
    LoadStartDataFromBytes(start, bytes);
    const TrackTimeline track(start);
    ASSERT_EQ(track.Points().size(), 3u);
    EXPECT_EQ(track.Points()[0].timeMs, 0);
    EXPECT_EQ(track.Points()[1].timeMs, 100);
    EXPECT_EQ(track.Points()[2].timeMs, 600);
    EXPECT_EQ(track.NearestInTime(550)->sampleIndex, 2);
    ExpectNear(track.PositionAtTime(350), 48.15, 11.0 + 31.0 / 60.0);
}

}  // namespace
}  // namespace veltrin
