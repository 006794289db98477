#pragma once
// How an export ended: success, or why the file could not be written, with a
// German reason text that the desktop program shows and the tool prints.

#include <string>

namespace veltrin {

enum class ExportStatus {
    Ok,
    CannotCreate,   // the file (or its temporary) could not be created
    WriteFailed,    // writing, flushing or closing failed part-way
    CannotReplace,  // the finished file could not be moved over the target
};

struct ExportResult {
    ExportStatus status = ExportStatus::Ok;
    std::string reason;  // German text for the user; empty on success
    std::string detail;  // the system's error text when there is one, else empty

    bool Ok() const { return status == ExportStatus::Ok; }

    // The reason followed by the detail in parentheses, when there is a detail.
    std::string Message() const;
};

// The German text for `status`; empty for Ok.
const char* ExportStatusText(ExportStatus status);

// A result for `status` with its German reason and the given system detail.
ExportResult MakeExportResult(ExportStatus status, std::string detail = {});

}  // namespace veltrin
