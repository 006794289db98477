#include "sim/sentence_writer.h"

#include "data/number_format.h"
#include "data/sentence_parser.h"

#include <cmath>
#include <system_error>

namespace veltrin::sim {
namespace {

constexpr std::size_t kLineReserve = 256;
constexpr std::size_t kFileBuffer = std::size_t{1} << 20;

}  // namespace

SentenceBuilder::SentenceBuilder()
{
    line_.reserve(kLineReserve);
}

SentenceBuilder& SentenceBuilder::Start(std::string_view identifier)
{
    line_.clear();
    line_.append(identifier);
    return *this;
}

SentenceBuilder& SentenceBuilder::Int(long long value, int width)
{
    line_.push_back(',');
    AppendInt(line_, value, width, true);
    return *this;
}

SentenceBuilder& SentenceBuilder::Fixed(double value, int precision)
{
    line_.push_back(',');
    // A value that rounds to zero is written without a sign.
    constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    const double scale =
        precision >= 0 && precision <= 4 ? kScale[precision] : std::pow(10.0, precision);
    if (std::fabs(value) * scale < 0.5) {
        value = 0.0;
    }
    AppendFixed(line_, value, precision);
    return *this;
}

SentenceBuilder& SentenceBuilder::Text(std::string_view text)
{
    line_.push_back(',');
    line_.append(text);
    return *this;
}

SentenceBuilder& SentenceBuilder::Empty()
{
    line_.push_back(',');
    return *this;
}

SentenceBuilder& SentenceBuilder::TimeOfDay(long long secondOfDay)
{
    secondOfDay %= 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
    }
    line_.push_back(',');
    AppendInt(line_, secondOfDay / 3600, 2, true);
    AppendInt(line_, secondOfDay / 60 % 60, 2, true);
    AppendInt(line_, secondOfDay % 60, 2, true);
    line_.append(".00");
    return *this;
}

void SentenceBuilder::Angle(double degrees, int degreeDigits, char positive, char negative)
{
    // Whole ten-thousandths of a minute, so that rounding never gives "60.0000".
    const auto units = std::llround(std::fabs(degrees) * 60.0 * 10000.0);
    line_.push_back(',');
    AppendInt(line_, units / 600000, degreeDigits, true);
    AppendInt(line_, units % 600000 / 10000, 2, true);
    line_.push_back('.');
    AppendInt(line_, units % 10000, 4, true);
    line_.push_back(',');
    line_.push_back(degrees < 0.0 ? negative : positive);
}

SentenceBuilder& SentenceBuilder::Latitude(double degrees)
{
    Angle(degrees, 2, 'N', 'S');
    return *this;
}

SentenceBuilder& SentenceBuilder::Longitude(double degrees)
{
    Angle(degrees, 3, 'E', 'W');
    return *this;
}

SentenceBuilder& SentenceBuilder::RecorderTime(std::int64_t ms)
{
    line_.push_back(',');
    if (ms < 0) {
        line_.push_back('-');
        ms = -ms;
    }
    AppendInt(line_, ms / 1000);
    line_.push_back('.');
    AppendInt(line_, ms % 1000, 3, true);
    return *this;
}

SentenceBuilder& SentenceBuilder::Raw(std::string_view text)
{
    line_.append(text);
    return *this;
}

SentenceBuilder& SentenceBuilder::RawInt(long long value, int width)
{
    AppendInt(line_, value, width, true);
    return *this;
}

std::string_view SentenceBuilder::Finish()
{
    AppendChecksum(line_);
    line_.append("\r\n");
    return line_;
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Open(const std::filesystem::path& path)
{
    Discard();
    path_ = path;
    std::string tempName(1, '.');
    tempName += path.filename().string();
    tempName += ".tmp";
    temp_ = path.parent_path() / tempName;
    file_ = std::fopen(temp_.c_str(), "wb");
    holding_ = false;
    buffer_.clear();
    buffer_.reserve(kFileBuffer);
    bytes_ = 0;
    failed_ = file_ == nullptr;
    return file_ != nullptr;
}

void OutputFile::Hold()
{
    Discard();
    holding_ = true;
    buffer_.clear();
    bytes_ = 0;
    failed_ = false;
}

void OutputFile::Write(std::string_view text)
{
    if (!holding_ && buffer_.size() + text.size() > kFileBuffer) {
        Flush();
    }
    buffer_.append(text);
    bytes_ += text.size();
}

void OutputFile::Flush()
{
    if (file_ != nullptr && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        failed_ = true;
    }
    buffer_.clear();
}

bool OutputFile::Commit()
{
    if (file_ == nullptr) {
        return false;
    }
    Flush();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed) {
        Discard();
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temp_, path_, error);
    if (error) {
        Discard();
        return false;
    }
    temp_.clear();
    return true;
}

void OutputFile::Discard()
{
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temp_, ignored);
        temp_.clear();
    }
}

}  // namespace veltrin::sim
