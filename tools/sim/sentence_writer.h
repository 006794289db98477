#pragma once
// Builds sentence lines field by field into a reused buffer and writes them
// through a large buffer into a file that appears only once it is complete.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace veltrin::sim {

// One line at a time: Start, then fields, then Finish for the framed line.
// Numbers are formatted without the process locale.
class SentenceBuilder {
public:
    SentenceBuilder();

    SentenceBuilder& Start(std::string_view identifier);   // "$VLTDR"; forgets the last line
    SentenceBuilder& Int(long long value, int width = 0);  // zero-padded to width
    SentenceBuilder& Fixed(double value, int precision);
    SentenceBuilder& Text(std::string_view text);
    SentenceBuilder& Empty();
    SentenceBuilder& TimeOfDay(long long secondOfDay);  // "hhmmss.00"
    SentenceBuilder& Latitude(double degrees);          // "ddmm.mmmm,N"
    SentenceBuilder& Longitude(double degrees);         // "dddmm.mmmm,E"
    SentenceBuilder& RecorderTime(std::int64_t ms);     // seconds with three decimals

    // Appends "*hh" and CR LF; the view stays valid until the next Start.
    std::string_view Finish();

    // Appends raw text (no comma), for lines that are not sentences.
    SentenceBuilder& Raw(std::string_view text);
    SentenceBuilder& RawInt(long long value, int width = 0);

private:
    void Angle(double degrees, int degreeDigits, char positive, char negative);
    std::string line_;
};

// A file written through a 1 MiB buffer into "<dir>/.<name>.tmp" and renamed
// to its name by Commit. An uncommitted file is removed on destruction.
// Opened with Hold instead, it keeps every byte in memory and writes no file.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False when the temporary file cannot be created.
    bool Open(const std::filesystem::path& path);
    // Keeps what is written from now on in memory; Held() gives it.
    void Hold();
    void Write(std::string_view text);
    std::string& Held() { return buffer_; }
    // False when any write, the close or the rename failed.
    bool Commit();
    std::uint64_t BytesWritten() const { return bytes_; }

private:
    void Flush();
    void Discard();

    std::filesystem::path path_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::uint64_t bytes_ = 0;
    bool failed_ = false;
    bool holding_ = false;
};

}  // namespace veltrin::sim
