#pragma once
// An output file that replaces its target only when it is complete: bytes go
// to a temporary file in the target's folder, which Commit renames over the
// target. A file that is not committed is removed and the target stays as it was.

#include "export/export_result.h"
#include "export/output_buffer.h"

#include <cstdio>
#include <filesystem>

namespace veltrin {

class AtomicFile final : public OutputBuffer {
public:
    AtomicFile();
    ~AtomicFile() override;  // discards an uncommitted file

    // Creates the temporary file beside `target`. Fails with CannotCreate
    // (nothing created) when the folder is missing or not writable.
    ExportResult Open(const std::filesystem::path& target);

    // Writes the rest, closes and renames the temporary over the target.
    // On failure (WriteFailed, CannotReplace) the temporary is removed and the
    // target is untouched. Calling it without an open file returns CannotCreate.
    ExportResult Commit();

    // Closes and removes the temporary file; the target is untouched.
    void Discard();

    bool IsOpen() const { return file_ != nullptr; }
    const std::filesystem::path& Target() const { return target_; }

protected:
    bool Deliver(const char* data, std::size_t size) override;

private:
    std::FILE* file_ = nullptr;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
};

}  // namespace veltrin
