#pragma once
// What every veltrin-export command shares: the parsed command line, the
// messages on stderr, reading a card or a single data file, and an output
// buffer in front of stdout.

#include "data/recording.h"
#include "export/export_result.h"
#include "export/output_buffer.h"
#include "export_commands.h"

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace veltrin::tool {

inline constexpr std::string_view kProgram = "veltrin-export";

struct CommandLine {
    std::string command;
    bool help = false;
    // Options as given: a flag maps to "", "--NAME=VALUE" to its value.
    std::map<std::string, std::string, std::less<>> options;
    std::vector<std::string> operands;

    bool Has(std::string_view option) const { return options.find(option) != options.end(); }
    // The option's value; nullptr when it was not given.
    const std::string* Value(std::string_view option) const;
};

// "veltrin-export: SUBJECT: REASON" (without the subject when it is empty).
void Complain(std::ostream& err, const std::string& subject, std::string_view reason);

// Complains, points to --help and returns kExitUsage.
int UsageError(std::ostream& err, std::string_view reason);

// `text` with the system's reason in brackets, when there is one, and a full stop.
std::string WithReason(std::string_view text, std::error_code reason);

// kExitOk when `base` is a directory; otherwise complains and returns the
// exit status: a missing base or one that is no directory is a usage error,
// one that cannot be looked at (a symlink loop, no permission) a failure.
int CheckBaseDirectory(const std::string& base, std::ostream& err);

struct CardLoad {
    bool baseRead = false;  // the base directory itself could be listed
    int status = kExitOk;   // kExitFailure when anything could not be read
};

// Loads the card, telling of every folder or entry that cannot be read (the
// desktop program skips them silently).
CardLoad LoadCard(const std::string& base, Recording& recording, std::ostream& err);

// Reads the start's file; complains and returns false when it cannot be read.
bool ReadStart(StartRecord& start, std::ostream& err);

// The start of a single data file, read; nullopt after a complaint.
std::optional<StartRecord> ReadDataFile(const std::string& dataFile, std::ostream& err);

// Frees a start's samples and fixes once it has been dealt with, so that a
// whole card never has to fit in memory at once.
void Release(StartRecord& start);

// True when `result` is Ok; otherwise complains naming `target`.
bool Report(const ExportResult& result, const std::filesystem::path& target, std::ostream& err);

// An output buffer that delivers to a stream (stdout).
class StreamOutput final : public OutputBuffer {
public:
    explicit StreamOutput(std::ostream& out) : out_(out) {}
    ~StreamOutput() override;

protected:
    bool Deliver(const char* data, std::size_t size) override;

private:
    std::ostream& out_;
};

}  // namespace veltrin::tool
