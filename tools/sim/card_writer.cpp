#include "sim/card_writer.h"

#include "data/calendar.h"
#include "data/number_format.h"
#include "sim/sentence_writer.h"
#include "sim/sim_random.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace veltrin::sim {
namespace {

constexpr long long kDay = 86400;
constexpr long long kDayWindowStart = 6 * 3600 + 1800;  // first daytime start, 06:30
constexpr long long kDayWindowEnd = 22 * 3600;          // daytime starts end by 22:00
constexpr long long kMinimumGap = 10 * 60;              // between two starts
constexpr long long kEarlyStartLatest = 55 * 60;  // the start after the night flight, in hour 0
constexpr double kNightMinimumSeconds = 600.0;    // the flight across midnight
constexpr double kNightMaximumSeconds = 3.0 * 3600.0;
constexpr std::array<int, 5> kRates = {10, 10, 10, 20, 25};
constexpr double kRunwayWest = 252.0;
constexpr double kRunwayEast = 72.0;
constexpr int kMaxDays = 3650;  // flying days; the card spans up to five times as many
constexpr int kMaxStarts = 20000;

std::string TwoDigits(int value)
{
    std::string text;
    AppendInt(text, value % 100, 2, true);
    return text;
}

std::string DayDirectoryName(CalendarSeconds day)
{
    const auto civil = BreakDownUtc(day).value_or(CivilTime{});
    std::string name(1, 'D');
    name += TwoDigits(civil.year);
    name += TwoDigits(civil.month);
    name += TwoDigits(civil.day);
    return name;
}

std::string StartFileName(long long secondOfDay)
{
    std::string name(1, 'S');
    name += TwoDigits(static_cast<int>(secondOfDay / 3600));
    name += TwoDigits(static_cast<int>(secondOfDay / 60 % 60));
    name += TwoDigits(static_cast<int>(secondOfDay % 60));
    name += ".LOG";
    return name;
}

struct DraftStart {
    long long secondOfDay = -1;  // -1: placed later in the daytime window
    double durationS = 0.0;
    int rateHz = 10;
    std::uint64_t seed = 0;
};

std::string_view TypeName(EventType type)
{
    switch (type) {
    case EventType::PositiveLoad: return "LOAD+";
    case EventType::NegativeLoad: return "LOAD-";
    case EventType::Speed: return "SPEED";
    }
    return "?";
}

bool WriteEventFile(const std::filesystem::path& path, const std::vector<RecordedEvent>& events,
                    std::uint64_t& bytes)
{
    OutputFile out;
    if (!out.Open(path)) {
        return false;
    }
    for (const auto& event : events) {
        const std::string line = EventLogLine(event);
        out.Write(line);
        out.Write("\r\n");
    }
    bytes += out.BytesWritten();
    return out.Commit();
}

// Writes the planned starts one after the other. False, with the error set,
// when a start cannot be written.
bool WriteStartsInTurn(const std::filesystem::path& base, const RecorderSetup& recorder,
                       CardResult& result)
{
    int nextEvent = 1;
    for (auto& start : result.starts) {
        const auto file = base / start.dayDirectory / start.fileName;
        start.settings.firstEventNumber = nextEvent;
        StartResult written = WriteStart(file, start.settings, recorder);
        if (!written.written) {
            result.error = "cannot write " + file.string();
            return false;
        }
        nextEvent += static_cast<int>(written.events.size());
        result.written.push_back(std::move(written));
    }
    return true;
}

// Makes the planned starts on `threads` threads, each in memory; a start's
// first event number is taken in plan order, then its file written. Holds at
// most one start per thread in memory. False, with the error of the first
// start that could not be written, when any could not.
bool WriteStartsAtOnce(const std::filesystem::path& base, const RecorderSetup& recorder,
                       unsigned threads, CardResult& result)
{
    const std::size_t count = result.starts.size();
    result.written.assign(count, StartResult{});
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable turnTaken;
    std::size_t turn = 0;  // the start whose first event number is due
    int nextEvent = 1;
    std::size_t firstFailed = count;

    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            auto& start = result.starts[i];
            const RenderedStart rendered = RenderStart(start.settings, recorder);
            {
                std::unique_lock<std::mutex> lock(mutex);
                turnTaken.wait(lock, [&] { return turn == i; });
                start.settings.firstEventNumber = nextEvent;
                nextEvent += static_cast<int>(rendered.result.events.size());
                ++turn;
            }
            turnTaken.notify_all();
            StartResult written = WriteRenderedStart(base / start.dayDirectory / start.fileName,
                                                     rendered, start.settings.firstEventNumber);
            if (!written.written) {
                const std::lock_guard<std::mutex> lock(mutex);
                firstFailed = std::min(firstFailed, i);
            }
            result.written[i] = std::move(written);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::min<std::size_t>(threads, count); ++t) {
        workers.emplace_back(work);
    }
    for (auto& worker : workers) {
        worker.join();
    }
    if (firstFailed < count) {
        const auto& start = result.starts[firstFailed];
        result.error = "cannot write " + (base / start.dayDirectory / start.fileName).string();
        return false;
    }
    return true;
}

}  // namespace

std::string EventLogLine(const RecordedEvent& event)
{
    const auto c = BreakDownUtc(event.time).value_or(CivilTime{});
    const bool speed = event.type == EventType::Speed;
    const char* unit = speed ? "km/h" : "g";
    SentenceBuilder b;
    b.Start("").RawInt(c.day).Raw(".").RawInt(c.month).Raw(".").RawInt(c.year).Raw(" ");
    b.RawInt(c.hour).Raw(":").RawInt(c.minute, 2).Raw(":").RawInt(c.second, 2);
    b.Raw(" EV ").RawInt(event.number).Raw(" ").Raw(TypeName(event.type)).Raw(" ");
    std::string numbers;
    AppendFixed(numbers, event.peak, speed ? 1 : 2);
    numbers += unit;
    numbers += " LIMIT ";
    AppendFixed(numbers, event.limit, speed ? 0 : 2);
    numbers += unit;
    numbers += " IAS ";
    AppendInt(numbers, std::lround(event.ias));
    numbers += "km/h ALT ";
    AppendInt(numbers, std::lround(event.altitude));
    numbers += "m";
    b.Raw(numbers);
    std::string line(b.Finish());
    line.resize(line.size() - 2);  // without CR LF
    return line;
}

std::vector<PlannedStart> PlanCard(const CardOptions& o, std::string& error)
{
    if (o.days < 1 || o.days > kMaxDays || o.starts < 1 || o.starts > kMaxStarts) {
        error = "days must be 1 to 3650 and starts 1 to 20000";
        return {};
    }
    if (o.minMinutes * 60.0 < kMinimumFlightSeconds || o.maxMinutes < o.minMinutes ||
        o.maxMinutes > 600.0) {
        error = "start lengths must lie between 7 and 600 minutes";
        return {};
    }
    if (o.rateHz != 0 && (o.rateHz < 1 || o.rateHz > 100)) {
        error = "the sample rate must be 1 to 100 Hz";
        return {};
    }
    if (o.longFlightHours < 0.0 || o.longFlightHours > 15.0) {
        error = "a long flight may last up to 15 hours";
        return {};
    }
    const CalendarSeconds first = ToCalendarSeconds(CivilTime{o.year, o.month, o.day, 0, 0, 0});
    const auto check = BreakDownUtc(first);
    if (o.year < 2001 || o.year > 2099 || !check || check->month != o.month ||
        check->day != o.day) {
        error = "the first day must be a valid date from 2001 to 2099";
        return {};
    }

    Random rng(o.seed);
    const bool night = o.nightFlights && o.starts >= 2;
    const int usedDays = std::min(o.days, o.starts);

    std::vector<CalendarSeconds> dayStart;
    std::vector<std::vector<DraftStart>> drafts(static_cast<std::size_t>(usedDays));
    CalendarSeconds day = first;
    for (int d = 0; d < usedDays; ++d) {
        if (d > 0) {
            day += kDay * (night && d == 1 ? 1 : rng.Int(1, 5));
        }
        dayStart.push_back(day);
        const int count = o.starts / usedDays + (d < o.starts % usedDays ? 1 : 0);
        for (int i = 0; i < count; ++i) {
            DraftStart draft;
            draft.durationS = std::round(rng.Uniform(o.minMinutes, o.maxMinutes) * 60.0);
            draft.rateHz = o.rateHz != 0 ? o.rateHz
                                         : kRates[static_cast<std::size_t>(
                                               rng.Int(0, static_cast<int>(kRates.size()) - 1))];
            draft.seed = rng.Next();
            drafts[static_cast<std::size_t>(d)].push_back(draft);
        }
    }

    if (night) {
        // The last start of the first day lands after midnight; the first start
        // of the next day (or, with one day only, of the same day) begins in hour 0.
        auto& crossing = drafts.front().back();
        crossing.durationS =
            std::clamp(crossing.durationS, kNightMinimumSeconds, kNightMaximumSeconds);
        const auto before = std::llround(crossing.durationS * rng.Uniform(0.4, 0.5));
        crossing.secondOfDay = kDay - before;
        const long long crossingEnd = static_cast<long long>(crossing.durationS) - before;
        auto& early = usedDays >= 2 ? drafts[1].front() : drafts.front().front();
        const long long earliest = usedDays >= 2 ? crossingEnd : 0;
        early.secondOfDay =
            std::min<long long>(earliest + rng.Int(10 * 60, 25 * 60), kEarlyStartLatest);
        early.durationS =
            std::min(early.durationS,
                     static_cast<double>(kDayWindowStart - kMinimumGap - early.secondOfDay));
    }
    if (o.longFlightHours > 0.0) {
        for (auto& draft : drafts.back()) {
            if (draft.secondOfDay < 0) {
                draft.durationS = std::round(o.longFlightHours * 3600.0);
                break;
            }
        }
    }

    std::vector<PlannedStart> plan;
    for (std::size_t d = 0; d < drafts.size(); ++d) {
        auto& list = drafts[d];
        // Spread the daytime starts over the window with random gaps.
        double busy = 0.0;
        int daytime = 0;
        for (const auto& draft : list) {
            if (draft.secondOfDay < 0) {
                busy += draft.durationS;
                ++daytime;
            }
        }
        const double slack = static_cast<double>(kDayWindowEnd - kDayWindowStart) - busy -
                             static_cast<double>(std::max(0, daytime - 1) * kMinimumGap);
        if (slack < 0.0) {
            error = "the starts do not fit into the days; use more days or shorter starts";
            return {};
        }
        std::vector<double> weights(static_cast<std::size_t>(daytime) + 1);
        double weightSum = 0.0;
        for (auto& w : weights) {
            w = rng.Uniform(0.2, 1.0);
            weightSum += w;
        }
        double clock = static_cast<double>(kDayWindowStart);
        std::size_t gap = 0;
        for (auto& draft : list) {
            if (draft.secondOfDay >= 0) {
                continue;
            }
            clock += slack * weights[gap] / weightSum + (gap > 0 ? kMinimumGap : 0);
            draft.secondOfDay = std::llround(clock);
            clock = static_cast<double>(draft.secondOfDay) + draft.durationS;
            ++gap;
        }
        std::sort(list.begin(), list.end(), [](const DraftStart& a, const DraftStart& b) {
            return a.secondOfDay < b.secondOfDay;
        });

        const bool westerly = rng.Chance(0.65);
        for (const auto& draft : list) {
            PlannedStart start;
            start.dayDirectory = DayDirectoryName(dayStart[d]);
            start.fileName = StartFileName(draft.secondOfDay);
            start.settings.startTime = dayStart[d] + draft.secondOfDay;
            start.settings.flight.seed = draft.seed;
            start.settings.flight.durationS = draft.durationS;
            start.settings.flight.rateHz = draft.rateHz;
            start.settings.flight.airfield.runwayHeading = westerly ? kRunwayWest : kRunwayEast;
            start.settings.samples = SamplesFor(draft.durationS, draft.rateHz);
            plan.push_back(start);
        }
    }
    return plan;
}

CardResult WriteCard(const std::filesystem::path& dir, const CardOptions& options)
{
    CardResult result;
    result.starts = PlanCard(options, result.error);
    if (result.starts.empty()) {
        return result;
    }
    const auto base = dir / "VELT";
    std::error_code ec;
    if (std::filesystem::exists(base, ec) && !std::filesystem::is_empty(base, ec)) {
        result.error = base.string() + " already holds files";
        return result;
    }
    std::filesystem::create_directories(base, ec);
    if (ec) {
        result.error = "cannot create " + base.string() + ": " + ec.message();
        return result;
    }

    for (const auto& start : result.starts) {
        const auto dayDir = base / start.dayDirectory;
        std::filesystem::create_directories(dayDir, ec);
        if (ec) {
            result.error = "cannot create " + dayDir.string() + ": " + ec.message();
            return result;
        }
    }
    const unsigned threads =
        options.threads != 0 ? options.threads : std::max(1U, std::thread::hardware_concurrency());
    if (!(threads > 1 ? WriteStartsAtOnce(base, options.recorder, threads, result)
                      : WriteStartsInTurn(base, options.recorder, result))) {
        return result;
    }

    std::size_t lastWithEvents = 0;
    bool anyEvents = false;
    for (std::size_t i = 0; i < result.written.size(); ++i) {
        const auto& written = result.written[i];
        result.bytes += written.bytes;
        if (!written.events.empty()) {
            lastWithEvents = i;
            anyEvents = true;
        }
        result.events.insert(result.events.end(), written.events.begin(), written.events.end());
    }

    // EVENTS.LOG holds every event; LASTEV.LOG those of the latest start that had any.
    const std::vector<RecordedEvent> none;
    const auto& latest = anyEvents ? result.written[lastWithEvents].events : none;
    if (!WriteEventFile(base / "EVENTS.LOG", result.events, result.bytes) ||
        !WriteEventFile(base / "LASTEV.LOG", latest, result.bytes)) {
        result.error = "cannot write the event files in " + base.string();
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace veltrin::sim
