// veltrin_bench_logbook [CARD] [STARTS]: opens the logbook window on CARD (a
// card of STARTS starts, 1,000 unless given, is written there first when CARD
// holds none, or into a temporary folder without CARD) and prints the time to
// the first rows, the fill's time and rate, the longest gap between two beats
// of a 5 ms timer while it fills, and the peak memory before and after.
// Goals: first rows within 500 ms, no gap over 100 ms, at most 150 MB more
// than the program with the card loaded and the logbook closed.
#include "data/number_format.h"
#include "shell/command_table.h"
#include "shell/logbook_window.h"
#include "shell/main_frame.h"
#include "support/framed_sentence.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using veltrin::AppendFixed;
using veltrin::AppendInt;

constexpr int kSamplesPerSecond = 10;  // as the recorder writes them
constexpr int kStartsPerDay = 4;
constexpr int kHeartbeatMs = 5;

// A start of 10 to 40 minutes: taxiing, a climb, a few pulls that set the
// event flag, a descent; one fix a second and the landing at the end.
std::uintmax_t WriteStart(const fs::path& file, int number, int startHour)
{
    const int seconds = 600 + (number * 7919) % 1800;
    std::string text;
    text.reserve(static_cast<std::size_t>(seconds) * 700);
    std::uint32_t noise = static_cast<std::uint32_t>(number) * 2654435761u + 1;
    for (int i = 0; i <= seconds * kSamplesPerSecond; ++i) {
        const double t = static_cast<double>(i) / kSamplesPerSecond;
        const double phase = t / seconds;
        noise = noise * 1664525u + 1013904223u;
        const double jitter = static_cast<double>(noise >> 8) / 16777216.0 - 0.5;
        const bool pull = std::fmod(t, 240.0) > 120.0 && std::fmod(t, 240.0) < 124.0;
        const double accZ =
            pull ? 3.0 + 1.5 * std::sin((std::fmod(t, 240.0) - 120.0) * 0.8) : 1.0 + 0.2 * jitter;
        const double ias = phase < 0.05 ? 20.0 * phase / 0.05 : 110.0 + 60.0 * std::sin(t * 0.01);
        const double altitude = 400.0 + 1200.0 * std::sin(3.14159 * phase);
        std::string line = "$VLTDR,";
        AppendFixed(line, t + 3.7, 3);
        line += ",0.00,0.00,";
        AppendFixed(line, accZ, 2);
        line += ',';
        AppendFixed(line, ias + jitter, 1);
        line += ",0.0,22.0,";
        AppendInt(line, static_cast<long long>(altitude));
        line += pull && i % 5 == 0 ? ",1" : ",0";
        text += veltrin::test::Framed(line);
        text += "\r\n";
        if (i % kSamplesPerSecond == 0) {
            const int tod = startHour * 3600 + i / kSamplesPerSecond;
            std::string fix = "$GPGGA,";
            AppendInt(fix, tod / 3600, 2, true);
            AppendInt(fix, tod / 60 % 60, 2, true);
            AppendInt(fix, tod % 60, 2, true);
            fix += ".00,4807.";
            AppendInt(fix, 1000 + i % 8000, 4, true);
            fix += ",N,01131.";
            AppendInt(fix, 1000 + i % 7000, 4, true);
            fix += ",E,1,08,0.9,";
            AppendFixed(fix, altitude + 40.0, 1);
            fix += ",M,46.9,M,,";
            text += veltrin::test::Framed(fix);
            text += "\r\n";
        }
    }
    const int landing = startHour * 3600 + seconds;
    std::string line = "$VLTLD,";
    AppendFixed(line, seconds + 4.0, 3);
    line += ",0,";
    AppendInt(line, landing / 3600 * 10000 + landing / 60 % 60 * 100 + landing % 60);
    text += veltrin::test::Framed(line);
    text += "\r\n";
    std::ofstream(file, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    return text.size();
}

std::uintmax_t WriteCard(const fs::path& card, int starts)
{
    std::uintmax_t bytes = 0;
    for (int i = 0; i < starts; ++i) {
        const int day = i / kStartsPerDay;
        const int year = 13 + day / 336, month = day / 28 % 12 + 1, dom = day % 28 + 1;
        char dayName[16];
        std::snprintf(dayName, sizeof dayName, "D%02d%02d%02d", year, month, dom);
        const int hour = 9 + 2 * (i % kStartsPerDay);
        char fileName[16];
        std::snprintf(fileName, sizeof fileName, "S%02d0000.LOG", hour);
        fs::create_directories(card / dayName);
        bytes += WriteStart(card / dayName / fileName, i, hour);
    }
    return bytes;
}

std::uintmax_t CardBytes(const fs::path& card)
{
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(card)) {
        if (entry.is_regular_file())
            bytes += entry.file_size();
    }
    return bytes;
}

// A field of /proc/self/status in MB, e.g. "VmHWM".
double StatusMegabytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == std::string(field) + ":") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0.0;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int starts = argc > 2 ? std::atoi(argv[2]) : 1000;
    QTemporaryDir temporary;
    const fs::path card = argc > 1 ? fs::path(argv[1]) : fs::path(temporary.path().toStdString());
    if (!fs::exists(card) || fs::is_empty(card)) {
        std::printf("writing %d starts to %s\n", starts, card.c_str());
        WriteCard(card, starts);
    }
    const double megabytes = static_cast<double>(CardBytes(card)) / 1e6;

    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    veltrin::CMainFrame frame;
    frame.LoadBaseDirectory(QString::fromStdString(card.string()));
    frame.resize(1180, 780);
    frame.show();
    QCoreApplication::processEvents();
    const double rssBefore = StatusMegabytes("VmRSS");
    const double peakBefore = StatusMegabytes("VmHWM");

    veltrin::LogbookWindow& logbook = frame.Logbook();
    QElapsedTimer clock;
    qint64 firstRowsMs = -1;
    qint64 lastBeatMs = 0;
    qint64 longestGapMs = 0;
    QTimer heartbeat;
    heartbeat.setInterval(kHeartbeatMs);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGapMs = std::max(longestGapMs, now - lastBeatMs);
        lastBeatMs = now;
    });
    QObject::connect(logbook.Table()->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (firstRowsMs < 0)
            firstRowsMs = clock.elapsed();
    });
    QObject::connect(&logbook, &veltrin::LogbookWindow::fillFinished, &app, &QApplication::quit);
    clock.start();
    heartbeat.start();
    frame.Action(veltrin::Command::ToggleLogbook)->trigger();
    QApplication::exec();
    const qint64 fillMs = clock.elapsed();
    heartbeat.stop();

    std::printf("starts %zu, %.0f MB of data files\n", frame.LoadedRecording().size(), megabytes);
    std::printf("first rows after %lld ms\n", static_cast<long long>(firstRowsMs));
    std::printf("filled in %lld ms (%.0f MB/s), %d rows\n", static_cast<long long>(fillMs),
                megabytes / (static_cast<double>(fillMs) / 1000.0),
                logbook.Table()->model()->rowCount());
    std::printf("longest event loop gap %lld ms (timer every %d ms)\n",
                static_cast<long long>(longestGapMs), kHeartbeatMs);
    std::printf("memory before: rss %.1f MB, peak %.1f MB\n", rssBefore, peakBefore);
    std::printf("memory after:  rss %.1f MB, peak %.1f MB (peak %+.1f MB)\n",
                StatusMegabytes("VmRSS"), StatusMegabytes("VmHWM"),
                StatusMegabytes("VmHWM") - peakBefore);
    return 0;
}
