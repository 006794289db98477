// veltrin-sim: writes sample recorder cards and long data files.
//
//   veltrin-sim card DIR [--seed N] [--days N] [--starts N] [--date YYYY-MM-DD]
//                        [--minutes MIN-MAX] [--rate-hz HZ] [--hours H] [--no-night]
//                        [--threads N]
//   veltrin-sim flight FILE --samples N [--seed N] [--rate-hz HZ] [--date YYYY-MM-DD]
//   veltrin-sim --help | --version

#include "data/calendar.h"
#include "data/number_format.h"
#include "sim/card_writer.h"
#include "sim/start_writer.h"
#include "veltrin/version.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

namespace {

using namespace veltrin;
using namespace veltrin::sim;

constexpr const char* kUsage =
    "usage:\n"
    "  veltrin-sim card DIR [--seed N] [--days N] [--starts N] [--date YYYY-MM-DD]\n"
    "                       [--minutes MIN-MAX] [--rate-hz HZ] [--hours H] [--no-night]\n"
    "                       [--threads N]\n"
    "      writes DIR/VELT with day directories, data files, EVENTS.LOG and LASTEV.LOG;\n"
    "      --starts up to 20000 over --days up to 3650 flying days (1 to 5 days apart),\n"
    "      N threads making starts at once (default one per core; the same bytes)\n"
    "  veltrin-sim flight FILE --samples N [--seed N] [--rate-hz HZ] [--date YYYY-MM-DD]\n"
    "      writes one long start of N \"$VLTDR\" samples\n"
    "  veltrin-sim --help | --version\n";

void Print(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}
void Fail(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

void BadOption(std::string_view option)
{
    std::string text = "veltrin-sim: bad or missing option ";
    text += option;
    text += '\n';
    text += kUsage;
    Fail(text);
}

template <typename T>
bool ParseNumber(std::string_view text, T& value)
{
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseDate(std::string_view text, int& year, int& month, int& day)
{
    return text.size() == 10 && text[4] == '-' && text[7] == '-' &&
           ParseNumber(text.substr(0, 4), year) && ParseNumber(text.substr(5, 2), month) &&
           ParseNumber(text.substr(8, 2), day);
}

bool ParseRange(std::string_view text, double& low, double& high)
{
    const auto dash = text.find('-');
    if (dash == std::string_view::npos) {
        return ParseNumber(text, low) && ParseNumber(text, high);
    }
    return ParseNumber(text.substr(0, dash), low) && ParseNumber(text.substr(dash + 1), high);
}

// Walks the options after the command's file argument. `take(option, value)`
// returns how many arguments the option used (1 for a flag, 2 with its value;
// `value` is null when nothing follows) or 0 when the option or its value is bad.
// Reports the first bad option and returns false.
template <typename Take>
bool TakeOptions(int argc, char** argv, Take take)
{
    for (int i = 3; i < argc;) {
        const std::string_view option = argv[i];
        const int used = take(option, i + 1 < argc ? argv[i + 1] : nullptr);
        if (used == 0) {
            BadOption(option);
            return false;
        }
        i += used;
    }
    return true;
}

std::string Size(std::uint64_t bytes)
{
    std::string text;
    AppendFixed(text, static_cast<double>(bytes) / 1048576.0, 2);
    return text + " MB";
}

int RunCard(int argc, char** argv)
{
    if (argc < 3) {
        Fail(kUsage);
        return 2;
    }
    CardOptions options;
    const bool optionsOk =
        TakeOptions(argc, argv, [&options](std::string_view arg, const char* text) {
            if (arg == "--no-night") {
                options.nightFlights = false;
                return 1;
            }
            if (text == nullptr) {
                return 0;
            }
            const std::string_view value = text;
            bool ok = false;
            if (arg == "--seed") {
                ok = ParseNumber(value, options.seed);
            } else if (arg == "--days") {
                ok = ParseNumber(value, options.days);
            } else if (arg == "--starts") {
                ok = ParseNumber(value, options.starts);
            } else if (arg == "--date") {
                ok = ParseDate(value, options.year, options.month, options.day);
            } else if (arg == "--minutes") {
                ok = ParseRange(value, options.minMinutes, options.maxMinutes);
            } else if (arg == "--rate-hz") {
                ok = ParseNumber(value, options.rateHz);
            } else if (arg == "--hours") {
                ok = ParseNumber(value, options.longFlightHours);
            } else if (arg == "--threads") {
                ok = ParseNumber(value, options.threads) && options.threads >= 1 &&
                     options.threads <= 64;
            }
            return ok ? 2 : 0;
        });
    if (!optionsOk) {
        return 2;
    }
    const CardResult result = WriteCard(argv[2], options);
    if (!result.ok) {
        Fail(std::string("veltrin-sim: ").append(result.error));
        return 1;
    }
    for (std::size_t i = 0; i < result.starts.size(); ++i) {
        const auto& start = result.starts[i];
        const auto& written = result.written[i];
        std::string line = start.dayDirectory + "/" + start.fileName + "  ";
        AppendInt(line, start.settings.flight.rateHz, 2);
        line += " Hz  ";
        AppendFixed(line, start.settings.flight.durationS / 60.0, 1, 5);
        line += " min  ";
        AppendInt(line, written.samples, 7);
        line += " samples  ";
        AppendInt(line, static_cast<long long>(written.events.size()), 2);
        line += " events  " + Size(written.bytes) + "\n";
        Print(line);
    }
    std::string total = "total ";
    AppendInt(total, static_cast<long long>(result.starts.size()));
    total += " starts, ";
    AppendInt(total, static_cast<long long>(result.events.size()));
    total += " events, " + Size(result.bytes) + "\n";
    Print(total);
    return 0;
}

int RunFlight(int argc, char** argv)
{
    if (argc < 3) {
        Fail(kUsage);
        return 2;
    }
    StartSettings settings;
    settings.flight.seed = 1;
    settings.flight.rateHz = 20;
    int year = 2025;
    int month = 6;
    int day = 14;
    const bool optionsOk = TakeOptions(
        argc, argv, [&settings, &year, &month, &day](std::string_view arg, const char* text) {
            if (text == nullptr) {
                return 0;
            }
            const std::string_view value = text;
            bool ok = false;
            if (arg == "--samples") {
                ok = ParseNumber(value, settings.samples) && settings.samples > 0;
            } else if (arg == "--seed") {
                ok = ParseNumber(value, settings.flight.seed);
            } else if (arg == "--rate-hz") {
                ok = ParseNumber(value, settings.flight.rateHz) && settings.flight.rateHz >= 1 &&
                     settings.flight.rateHz <= 100;
            } else if (arg == "--date") {
                ok = ParseDate(value, year, month, day);
            }
            return ok ? 2 : 0;
        });
    if (!optionsOk) {
        return 2;
    }
    if (settings.samples <= 0) {
        BadOption("--samples");
        return 2;
    }
    settings.startTime = ToCalendarSeconds(CivilTime{year, month, day, 6, 0, 0});
    settings.flight.durationS = static_cast<double>(settings.samples) / settings.flight.rateHz;
    const StartResult result = WriteStart(argv[2], settings, RecorderSetup{});
    if (!result.written) {
        Fail(std::string("veltrin-sim: cannot write ").append(argv[2]));
        return 1;
    }
    std::string line;
    AppendInt(line, result.samples);
    line += " samples, ";
    AppendInt(line, static_cast<long long>(result.events.size()));
    line += " events, " + Size(result.bytes) + "\n";
    Print(line);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "card") {
        return RunCard(argc, argv);
    }
    if (command == "flight") {
        return RunFlight(argc, argv);
    }
    if (argc == 2 && (command == "--help" || command == "-h")) {
        Print(kUsage);
        return 0;
    }
    if (argc == 2 && command == "--version") {
        Print("veltrin-sim " VELTRIN_VERSION "\n");
        return 0;
    }
    Fail(kUsage);
    return 2;
}
