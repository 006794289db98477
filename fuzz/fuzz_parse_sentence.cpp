// Feeds arbitrary bytes to the sentence parser as one line, and checks the
// numeric field rules against the C library's scanf on short inputs.
#include "data/field_rules.h"
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
    if (!SameReal(veltrin::ReadRealField(field), std::sscanf(text.c_str(), "%lf", &d) == 1 ? d : 0.0)) {
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
    while (i < line.size() && (line[i] == '\r' || line[i] == '\n' || line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    if (i == line.size()) {
        return false;
    }
    unsigned sum = 0;
    for (++i; i < line.size() && line[i] != '*'; ++i) {
        sum ^= static_cast<unsigned char>(line[i]);
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
    return 0;
}
