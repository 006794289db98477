#include "tool_support.h"

#include "data/directory_loader.h"
#include "data/start_reader.h"
#include "export/data_file_start.h"

#include <deque>

namespace veltrin::tool {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNotRegular =
    "Keine reguläre Datei (ein Verzeichnis, eine Pipe oder ein Gerät).";

}  // namespace

const std::string* CommandLine::Value(std::string_view option) const
{
    const auto it = options.find(option);
    return it == options.end() ? nullptr : &it->second;
}

void Complain(std::ostream& err, const std::string& subject, std::string_view reason)
{
    err << kProgram << ": ";
    if (!subject.empty())
        err << subject << ": ";
    err << reason << '\n';
}

int UsageError(std::ostream& err, std::string_view reason)
{
    Complain(err, {}, reason);
    err << "Hilfe: " << kProgram << " --help\n";
    return kExitUsage;
}

std::string WithReason(std::string_view text, std::error_code reason)
{
    std::string message(text);
    if (reason)
        message += " (" + reason.message() + ")";
    return message + ".";
}

int CheckBaseDirectory(const std::string& base, std::ostream& err)
{
    std::error_code error;
    const fs::file_status status = fs::status(base, error);
    if (fs::is_directory(status))
        return kExitOk;
    if (status.type() == fs::file_type::not_found) {
        Complain(err, base, "Das Basisverzeichnis existiert nicht.");
        return kExitUsage;
    }
    if (error) {
        Complain(err, base, WithReason("Das Basisverzeichnis konnte nicht gelesen werden", error));
        return kExitFailure;
    }
    Complain(err, base, "Das Basisverzeichnis ist kein Verzeichnis.");
    return kExitUsage;
}

CardLoad LoadCard(const std::string& base, Recording& recording, std::ostream& err)
{
    bool complete = true;
    const bool listed =
        LoadDirectory(base, recording, [&](const fs::path& path, std::error_code reason) {
            complete = false;
            Complain(err, path.string(),
                     WithReason(path == fs::path(base)
                                    ? "Das Basisverzeichnis konnte nicht gelesen werden"
                                    : "Konnte nicht gelesen werden",
                                reason));
        });
    return {listed, listed && complete ? kExitOk : kExitFailure};
}

bool ReadStart(StartRecord& start, std::ostream& err)
{
    const StartReadResult result = ReadStartData(start);
    if (result.Ok())
        return true;
    Complain(err, start.path.string(),
             result.error == StartReadError::NotRegularFile
                 ? std::string(kNotRegular)
                 : WithReason("Die Datei konnte nicht gelesen werden", result.reason));
    return false;
}

std::optional<StartRecord> ReadDataFile(const std::string& dataFile, std::ostream& err)
{
    std::error_code error;
    const fs::file_status status = fs::status(dataFile, error);
    if (status.type() == fs::file_type::not_found) {
        Complain(err, dataFile, "Die Datei existiert nicht.");
        return std::nullopt;
    }
    if (error) {  // a symlink loop, a folder on the way without permission
        Complain(err, dataFile, WithReason("Die Datei konnte nicht gelesen werden", error));
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        Complain(err, dataFile, kNotRegular);
        return std::nullopt;
    }
    std::optional<StartRecord> start = StartForDataFile(dataFile);
    if (!start) {
        Complain(err, dataFile,
                 "Aus den Namen ergibt sich kein Startzeitpunkt (erwartet .../Djjmmtt/Shhmmss).");
        return std::nullopt;
    }
    if (!ReadStart(*start, err))
        return std::nullopt;
    return start;
}

void Release(StartRecord& start)
{
    std::deque<Sample>().swap(start.samples);
    std::deque<GpsFix>().swap(start.fixes);
}

bool Report(const ExportResult& result, const fs::path& target, std::ostream& err)
{
    if (result.Ok())
        return true;
    Complain(err, target.string(), result.Message());
    return false;
}

StreamOutput::~StreamOutput()
{
    Flush();
}

bool StreamOutput::Deliver(const char* data, std::size_t size)
{
    // Flushed at once, so that a full disk shows here and not after the
    // exit status has been decided.
    out_.write(data, static_cast<std::streamsize>(size));
    out_.flush();
    return static_cast<bool>(out_);
}

}  // namespace veltrin::tool
