#include "export/export_result.h"

#include <utility>

namespace veltrin {

const char* ExportStatusText(ExportStatus status)
{
    switch (status) {
    case ExportStatus::Ok: return "";
    case ExportStatus::CannotCreate: return "Die Datei konnte nicht angelegt werden.";
    case ExportStatus::WriteFailed: return "Schreibfehler (Datenträger voll?).";
    case ExportStatus::CannotReplace: return "Die vorhandene Datei konnte nicht ersetzt werden.";
    }
    return "";
}

ExportResult MakeExportResult(ExportStatus status, std::string detail)
{
    ExportResult result;
    result.status = status;
    result.reason = ExportStatusText(status);
    if (status != ExportStatus::Ok)
        result.detail = std::move(detail);
    return result;
}

std::string ExportResult::Message() const
{
    if (detail.empty())
        return reason;
    return reason + " (" + detail + ")";
}

}  // namespace veltrin
