// Feeds arbitrary bytes to the sentence parser as one line, checks the
// numeric field rules against the C library's scanf on short inputs, and the
// one-pass reading of data lines against the parser.
#include "data/field_rules.h"
#include "data/plain_sample_line.h"
#include "data/sentence_parser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool SameReal(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The fuzzer runs in the C locale, where scanf is the reference of the rules.
void CheckFieldRules(std::string_view field)
{
    if (field.size() > 48 || field.find('\0') != std::string_view::npos) {
        return;
    }
    const std::string text(field);
    int i = 0;
    if (veltrin::ReadIntField(field) != (std::sscanf(text.c_str(), "%d", &i) == 1 ? i : 0)) {
        std::abort();
    }
    double d = 0.0;
    if (!SameReal(veltrin::ReadRealField(field),
                  std::sscanf(text.c_str(), "%lf", &d) == 1 ? d : 0.0)) {
        std::abort();
    }
    float f = 0.0F;
    if (!SameReal(veltrin::ReadShortRealField(field),
                  std::sscanf(text.c_str(), "%f", &f) == 1 ? static_cast<double>(f) : 0.0)) {
        std::abort();
    }
    int h = 0;
    int m = 0;
    double s = 0.0;
    const double time = std::sscanf(text.c_str(), "%2d%2d%lf", &h, &m, &s) == 3
                            ? static_cast<double>(h * 3600 + m * 60) + s
                            : 0.0;
    if (!SameReal(veltrin::ReadTimeOfDayField(field), time)) {
        std::abort();
    }
}

// The checksum test written out character by character, as the reference
// for the word-at-a-time version in the parser.
bool ReferenceChecksum(std::string_view line)
{
    line = line.substr(0, line.find('\0'));
    std::size_t i = 0;
    while (i < line.size() &&
           (line[i] == '\r' || line[i] == '\n' || line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    if (i == line.size()) {
        return false;
    }
    // The checksummed range runs from after the start character to the first
    // "*" of the line; when the start character is that "*", it is empty.
    unsigned sum = 0;
    if (line[i] != '*') {
        for (++i; i < line.size() && line[i] != '*'; ++i) {
            sum ^= static_cast<unsigned char>(line[i]);
        }
    }
    if (line.size() - i < 3) {
        return false;
    }
    const auto digit = [](char c) {
        const int v = static_cast<signed char>(c);
        return v <= '9' ? v - '0' : v - 55;
    };
    return 16 * digit(line[i + 1]) + digit(line[i + 2]) == static_cast<int>(sum);
}

bool SameFields(const veltrin::DrFields& a, const veltrin::DrFields& b)
{
    return a.timeMs == b.timeMs && SameReal(a.accX, b.accX) && SameReal(a.accY, b.accY) &&
           SameReal(a.accZ, b.accZ) && SameReal(a.ias, b.ias) && SameReal(a.unused6, b.unused6) &&
           SameReal(a.unused7, b.unused7) && a.altitude == b.altitude && a.flags == b.flags;
}

// Whatever the one-pass reading takes must read as ParseSentence reads it.
void CheckPlainSampleLine(std::string_view line)
{
    veltrin::DrFields fast{};
    if (!veltrin::ReadPlainSampleLine(line, fast)) {
        return;
    }
    veltrin::Sentence sentence;
    const veltrin::DrFields* general =
        veltrin::ParseSentence(sentence, line) ? sentence.Get<veltrin::DrFields>() : nullptr;
    if (general == nullptr || !SameFields(fast, *general)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    veltrin::Sentence sentence;
    const bool accepted = veltrin::ParseSentence(sentence, line);
    if (!accepted && sentence.kind != veltrin::SentenceKind::None) {
        std::abort();
    }
    if (accepted != veltrin::VerifyChecksum(line) || accepted != ReferenceChecksum(line)) {
        std::abort();
    }
    CheckFieldRules(line);
    CheckPlainSampleLine(line);
    // Random bytes rarely carry a matching checksum: try the text before the
    // first "*" again with its checksum appended.
    if (const std::size_t star = line.find('*'); star != std::string_view::npos && star > 0) {
        std::string framed(line.substr(0, star));
        veltrin::AppendChecksum(framed);
        CheckPlainSampleLine(framed);
    }
    return 0;
}
