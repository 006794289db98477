#pragma once
// The KML writer: writes the plain document (a line string) and the extended
// document (a time-stamped track with acceleration and speed) piece by piece.
// One writer lives as long as its owner and keeps, from export to export, the
// thinning count read from the environment.

#include "data/recording.h"
#include "export/atomic_file.h"
#include "export/export_constants.h"
#include "export/export_result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

// Looks up an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// Leading decimal integer of `text` (blanks, sign, digits); 0 when it has none.
int LeadingInteger(std::string_view text);

// "YYYY-MM-DDThh:mm:ssZ" of `time` broken down as UTC.
std::string KmlTimeString(CalendarSeconds time);

class KmlWriter {
public:
    explicit KmlWriter(EnvironmentLookup environment = ProcessEnvironment);
    ~KmlWriter();  // an open, unfinished file is discarded
    KmlWriter(const KmlWriter&) = delete;
    KmlWriter& operator=(const KmlWriter&) = delete;

    // Opens `path` for writing and makes it the output (atomically: the
    // target is replaced when the file is closed complete); the next line
    // point writes a head. On failure (CannotCreate) the output stays the
    // standard output.
    ExportResult KmlOpen(const std::filesystem::path& path);

    // Line width from KML_LINEWIDTH (2 when unset); thinning count from
    // KML_REMOVECNT when set, else unchanged.
    void KmlReadEnvironment();

    // Plain document: one point; the first call writes the head.
    void KmlLinePoint(double latitude, double longitude, double altitude, bool write,
                      std::uint32_t colour, std::string_view name);
    // Ends a started plain document and closes the file; the result of closing.
    ExportResult KmlLineFinish();

    // Extended document.
    void KmlTrackBegin(double latitude, double longitude, double altitude, std::uint32_t colour,
                       CalendarSeconds beginTime, CalendarSeconds endTime, std::string_view name);
    void KmlTrackWhen(CalendarSeconds time);
    void KmlTrackCoord(double longitude, double latitude, double altitude);
    void KmlTrackValue(double value);
    void KmlTrackBeginAcceleration();
    void KmlTrackBeginSpeed();
    void KmlTrackFinish();

    // Closes the open file, if any, and makes the standard output current;
    // a later line point starts a new document. Returns the result of
    // closing; Ok when no file was open.
    ExportResult KmlClose();

    static std::string KmlTimeString(CalendarSeconds time) { return veltrin::KmlTimeString(time); }

    int LineWidth() const { return lineWidth_; }
    int RemoveCount() const { return removeCount_; }
    bool Started() const { return started_; }

    // Tests: the next file opened fails to write after `bytes` bytes.
    void InjectWriteFailureAfter(std::size_t bytes) { injectedFault_ = bytes; }

private:
    void Put(std::string_view text);
    void PutLine(std::string_view text);
    void PutNumber(double value, int precision, int width = 0);
    void WriteLineHead(double latitude, double longitude, double altitude, std::uint32_t colour,
                       std::string_view name);
    void WriteLookAtPosition(double latitude, double longitude, double altitude);
    struct IconLook;
    void WriteStyles(const IconLook& look, std::uint32_t colour);
    void WriteStyleMap(std::string_view name);

    // The last line of each kind of track line, kept so that a run of equal
    // points (a receiver without a fix repeats itself) is copied, not
    // formatted again. Each line is a function of its values alone.
    struct LastLine {
        std::uint64_t key[3] = {};
        std::size_t keys = 0;  // 0 while nothing is kept
        std::string text;
        bool Matches(const std::uint64_t* values, std::size_t count) const;
        void Keep(const std::uint64_t* values, std::size_t count, std::string_view line);
    };

    EnvironmentLookup environment_;
    LastLine lastWhen_;
    LastLine lastCoord_;
    LastLine lastValue_;
    std::unique_ptr<AtomicFile> file_;  // null while the output is the standard output
    bool started_ = false;
    int counter_ = 0;
    int lineWidth_ = export_constants::kDefaultLineWidth;
    int removeCount_ = 0;
    std::size_t injectedFault_ = OutputBuffer::kNoFault;
};

}  // namespace veltrin
