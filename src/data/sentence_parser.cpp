#include "data/sentence_parser.h"

#include "data/ascii_case.h"
#include "data/field_rules.h"

#include <algorithm>
#include <cstring>

namespace veltrin {

namespace {

constexpr double kKmhToMs = 0.2777777777777778;
constexpr double kKmhPerKnot = 1.852;
constexpr double kKnotsToMs = 0.5144444444444445;
constexpr std::size_t kIdentifierLength = 6;
constexpr std::size_t kReplyTextCapacity = sizeof(ReplyFields::text);
constexpr std::size_t kConfigTextCapacity = sizeof(CfFields::text);

std::string_view CutAtNul(std::string_view line)
{
    const void* nul = std::memchr(line.data(), '\0', line.size());
    return nul == nullptr
               ? line
               : line.substr(0,
                             static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
}

// A hexadecimal digit of the checksum as the recorder counts it: up to "9"
// its distance from "0", otherwise its value minus 55 ("A" is 10, "a" is 42).
int ChecksumDigit(char c)
{
    const int value = static_cast<signed char>(c);
    return value <= '9' ? value - '0' : value - 55;
}

// Calls `handle(number, token)` for every comma-separated token of the line;
// the identifier is field 0.
template <typename Handler>
void ForEachField(std::string_view line, Handler&& handle)
{
    // Fields are short: a plain loop beats a library search here.
    const char* const end = line.data() + line.size();
    const char* begin = line.data();
    for (int number = 0;; ++number) {
        const char* comma = begin;
        while (comma < end && *comma != ',') {
            ++comma;
        }
        handle(number, std::string_view(begin, static_cast<std::size_t>(comma - begin)));
        if (comma == end) {
            return;
        }
        begin = comma + 1;
    }
}

bool BeginsWith(std::string_view field, char c)
{
    return !field.empty() && field.front() == c;
}

void ApplyHemisphere(double& value, std::string_view field, char negative)
{
    if (BeginsWith(field, negative)) {
        value = -value;
    }
}

template <typename Fields>
Fields& Start(Sentence& out, SentenceKind kind)
{
    out.kind = kind;
    return out.fields.emplace<Fields>();
}

void ParseGga(Sentence& out, std::string_view line)
{
    auto& f = Start<GgaFields>(out, SentenceKind::Gga);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeOfDay = ReadTimeOfDayField(t); break;
        case 2: f.latitude = ReadLatitudeField(t); break;
        case 3: ApplyHemisphere(f.latitude, t, 'S'); break;
        case 4: f.longitude = ReadLongitudeField(t); break;
        case 5: ApplyHemisphere(f.longitude, t, 'W'); break;
        case 6: f.fixQuality = ReadIntField(t); break;
        case 7: f.satellites = ReadIntField(t); break;
        case 8: f.hdop = ReadRealField(t); break;
        case 9: f.altitude = ReadRealField(t); break;
        case 11: f.geoidSeparation = ReadRealField(t); break;
        case 13: f.differentialAge = ReadRealField(t); break;
        default: break;
        }
    });
}

void ParseGll(Sentence& out, std::string_view line)
{
    auto& f = Start<GllFields>(out, SentenceKind::Gll);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.latitude = ReadLatitudeField(t); break;
        case 2: ApplyHemisphere(f.latitude, t, 'S'); break;
        case 3: f.longitude = ReadLongitudeField(t); break;
        case 4: ApplyHemisphere(f.longitude, t, 'W'); break;
        case 5: f.timeOfDay = ReadTimeOfDayField(t); break;
        case 6: f.status = BeginsWith(t, 'A') ? 1 : 0; break;
        case 7: f.mode = FaaModeNumber(t); break;
        default: break;
        }
    });
}

void ParseGsa(Sentence& out, std::string_view line)
{
    auto& f = Start<GsaFields>(out, SentenceKind::Gsa);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n >= 3 && n <= 14) {
            f.satellites[n - 3] = ReadIntField(t);
        } else if (n == 15) {
            f.pdop = ReadRealField(t);
        } else if (n == 16) {
            f.hdop = ReadRealField(t);
        } else if (n == 17) {
            f.vdop = ReadRealField(t);
        }
    });
}

void ParseGsv(Sentence& out, std::string_view line)
{
    auto& f = Start<GsvFields>(out, SentenceKind::Gsv);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n < 4 || n > 19) {
            return;
        }
        const int k = (n - 4) / 4;
        switch ((n - 4) % 4) {
        case 0: f.satellite[k] = ReadIntField(t); break;
        case 1: f.elevation[k] = ReadIntField(t); break;
        case 2: f.azimuth[k] = ReadIntField(t); break;
        default: f.snr[k] = ReadIntField(t); break;
        }
    });
}

void ParseVtg(Sentence& out, std::string_view line)
{
    auto& f = Start<VtgFields>(out, SentenceKind::Vtg);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.trueCourse = ReadRealField(t); break;
        case 5: f.speed = ReadRealField(t) * kKmhToMs; break;
        case 6:
            if (BeginsWith(t, 'N')) {
                f.speed *= kKmhPerKnot;
            }
            break;
        case 9: f.mode = FaaModeNumber(t); break;
        default: break;
        }
    });
}

void ParseRmc(Sentence& out, std::string_view line)
{
    auto& f = Start<RmcFields>(out, SentenceKind::Rmc);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeOfDay = ReadTimeOfDayField(t); break;
        case 2: f.status = BeginsWith(t, 'A') ? 1 : 0; break;
        case 3: f.latitude = ReadLatitudeField(t); break;
        case 4: ApplyHemisphere(f.latitude, t, 'S'); break;
        case 5: f.longitude = ReadLongitudeField(t); break;
        case 6: ApplyHemisphere(f.longitude, t, 'W'); break;
        case 7: f.speed = ReadRealField(t) * kKnotsToMs; break;
        case 8: f.course = ReadRealField(t); break;
        case 9: f.date = ReadIntField(t); break;
        case 12: f.mode = FaaModeNumber(t); break;
        default: break;
        }
    });
}

void ParseZda(Sentence& out, std::string_view line)
{
    auto& f = Start<ZdaFields>(out, SentenceKind::Zda);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeOfDay = ReadTimeOfDayField(t); break;
        case 2: f.day = ReadIntField(t); break;
        case 3: f.month = ReadIntField(t); break;
        case 4: f.year = ReadIntField(t); break;
        default: break;
        }
    });
}

void ParseRw(Sentence& out, std::string_view line)
{
    auto& f = Start<RwFields>(out, SentenceKind::Rw);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n == 1) {
            f.timeMs = ReadTimeStampField(t);
        } else if (n >= 2 && n <= 5) {
            f.unused2To5[n - 2] = ReadIntField(t);
        } else if (n >= 6 && n <= 11) {
            f.unused6To11[n - 6] = ReadShortRealField(t);
        } else if (n == 12 || n == 13) {
            f.unused12To13[n - 12] = ReadIntField(t);
        } else if (n == 14) {
            f.unused14 = ReadShortRealField(t);
        }
    });
}

void ParseDr(Sentence& out, std::string_view line)
{
    auto& f = Start<DrFields>(out, SentenceKind::Dr);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeMs = ReadTimeStampField(t); break;
        case 2: f.accX = ReadShortRealField(t); break;
        case 3: f.accY = ReadShortRealField(t); break;
        case 4: f.accZ = ReadShortRealField(t); break;
        case 5: f.ias = ReadShortRealField(t); break;
        case 6: f.unused6 = ReadShortRealField(t); break;
        case 7: f.unused7 = ReadShortRealField(t); break;
        case 8: f.altitude = ReadIntField(t); break;
        case 9: f.flags = ReadIntField(t); break;
        default: break;
        }
    });
}

void ParseSt(Sentence& out, std::string_view line)
{
    auto& f = Start<StFields>(out, SentenceKind::St);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeMs = ReadTimeStampField(t); break;
        case 2: f.unused2 = ReadShortRealField(t); break;
        case 3: f.unused3 = ReadIntField(t); break;
        case 4: f.unused4 = ReadIntField(t); break;
        default: break;
        }
    });
}

void ParseLd(Sentence& out, std::string_view line)
{
    auto& f = Start<LdFields>(out, SentenceKind::Ld);
    ForEachField(line, [&f](int n, std::string_view t) {
        switch (n) {
        case 1: f.timeMs = ReadTimeStampField(t); break;
        case 2: f.unused2 = ReadIntField(t); break;
        case 3: f.landingHhmmss = ReadIntField(t); break;
        default: break;
        }
    });
}

void ParseEv(Sentence& out, std::string_view line)
{
    auto& f = Start<EvFields>(out, SentenceKind::Ev);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n >= 1 && n <= 8) {
            f.unused1To8[n - 1] = ReadIntField(t);
        } else if (n == 9 || n == 10) {
            f.unused9To10[n - 9] = ReadShortRealField(t);
        }
    });
}

void ParseCf(Sentence& out, std::string_view line)
{
    auto& f = Start<CfFields>(out, SentenceKind::Cf);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n == 1 || n == 2) {
            f.unused1To2[n - 1] = ReadIntField(t);
        } else if (n >= 3 && n <= 6) {
            f.unused3To6[n - 3] = ReadShortRealField(t);
        } else if (n == 7) {
            // The whole field, a trailing "*hh" included.
            const std::size_t count = std::min(t.size(), kConfigTextCapacity - 1);
            std::memcpy(f.text, t.data(), count);
            f.text[count] = '\0';
        }
    });
}

constexpr std::string_view kReplyKeys[] = {"SPDCFG",  "ADCFG",  "LIMITS", "LOGCFG",  "SERIAL",
                                           "VERSION", "EVTCNT", "PASS",   "LFZSIGN", "WP"};

ReplyKey ReplyKeyOf(std::string_view name)
{
    for (std::size_t i = 0; i < std::size(kReplyKeys); ++i) {
        if (EqualsIgnoringCase(name, kReplyKeys[i])) {
            return static_cast<ReplyKey>(i + 1);
        }
    }
    return ReplyKey::None;
}

// "$VLTTX" replies and "$VLTCM" commands: a key, then a value whose type the
// key decides, then up to four reals.
void ParseReply(Sentence& out, std::string_view line, SentenceKind kind)
{
    auto& f = Start<ReplyFields>(out, kind);
    ForEachField(line, [&f](int n, std::string_view t) {
        if (n == 1) {
            f.key = ReplyKeyOf(t);
        } else if (n == 2) {
            if (f.key == ReplyKey::Serial || f.key == ReplyKey::LfzSign) {
                const std::size_t stop = std::min(t.find_first_of("*,"), kReplyTextCapacity - 1);
                const std::size_t count = std::min(stop, t.size());
                std::memcpy(f.text, t.data(), count);
                f.text[count] = '\0';
            } else if (f.key == ReplyKey::Version) {
                f.reals[0] = ReadShortRealField(t);
            } else {
                f.value = ReadIntField(t);
            }
        } else if (n >= 3 && n <= 6) {
            f.reals[n - 3] = ReadShortRealField(t);
        }
    });
}

// The checksum test on a line that holds no NUL: the start character after
// any leading line-end characters, blanks and tabs, then the exclusive-or of
// everything up to the first "*", then the two digits after it.
bool VerifyWholeLine(std::string_view line)
{
    const char* p = line.data();
    const char* const end = p + line.size();
    while (p < end && (*p == '\r' || *p == '\n' || *p == ' ' || *p == '\t')) {
        ++p;
    }
    if (p == end) {
        return false;
    }
    if (*p == '*') {
        // The first "*" of the line is the start character itself: nothing
        // lies between the two, so the expected value is 0.
        return end - p >= 3 && 16 * ChecksumDigit(p[1]) + ChecksumDigit(p[2]) == 0;
    }
    ++p;
    // Eight characters at a time while none of them is "*".
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    constexpr std::uint64_t kStars = kOnes * static_cast<unsigned char>('*');
    std::uint64_t wide = 0;
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t stars = word ^ kStars;
        if (((stars - kOnes) & ~stars & kHighBits) != 0) {
            break;
        }
        wide ^= word;
        p += 8;
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    auto sum = static_cast<unsigned>(wide & 0xFF);
    for (; p < end && *p != '*'; ++p) {
        sum ^= static_cast<unsigned char>(*p);
    }
    if (end - p < 3) {
        return false;  // no "*", or fewer than two characters after it
    }
    return 16 * ChecksumDigit(p[1]) + ChecksumDigit(p[2]) == static_cast<int>(sum);
}

struct Identifier {
    std::string_view name;
    void (*parse)(Sentence&, std::string_view);
};

// Matched in this order; the first equal one selects the parser.
constexpr Identifier kIdentifiers[] = {
    {"$VLTRW", ParseRw},
    {"$VLTDR", ParseDr},
    {"$VLTST", ParseSt},
    {"$VLTLD", ParseLd},
    {"$VLTEV", ParseEv},
    {"$VLTCF", ParseCf},
    {"$VLTTX",
     [](Sentence& s, std::string_view l) {
         ParseReply(s, l, SentenceKind::Tx);
     }},
    {"$VLTCM",
     [](Sentence& s, std::string_view l) {
         ParseReply(s, l, SentenceKind::Cm);
     }},
    {"$GPGGA", ParseGga},
    {"$GPVTG", ParseVtg},
    {"$GPGLL", ParseGll},
    {"$GPGSA", ParseGsa},
    {"$GPGSV", ParseGsv},
    {"$GPRMC", ParseRmc},
    {"$GPZDA", ParseZda},
};

}  // namespace

std::uint8_t ComputeChecksum(std::string_view text)
{
    unsigned sum = 0;
    for (const char c : text) {
        sum ^= static_cast<unsigned char>(c);
    }
    return static_cast<std::uint8_t>(sum);
}

void AppendChecksum(std::string& sentence)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::uint8_t sum =
        sentence.empty() ? std::uint8_t{0} : ComputeChecksum(std::string_view(sentence).substr(1));
    sentence += '*';
    sentence += kHex[sum >> 4];
    sentence += kHex[sum & 0x0F];
}

bool VerifyChecksum(std::string_view line)
{
    return VerifyWholeLine(CutAtNul(line));
}

bool ParseSentence(Sentence& out, std::string_view line)
{
    out.kind = SentenceKind::None;
    out.fields.emplace<std::monostate>();
    line = CutAtNul(line);
    if (!VerifyWholeLine(line)) {
        return false;
    }
    if (line.size() < kIdentifierLength) {
        return true;
    }
    char id[kIdentifierLength];
    for (std::size_t i = 0; i < kIdentifierLength; ++i) {
        id[i] = AsciiUpper(line[i]);
    }
    const std::string_view name(id, kIdentifierLength);
    for (const Identifier& identifier : kIdentifiers) {
        if (identifier.name == name) {
            identifier.parse(out, line);
            break;
        }
    }
    return true;
}

}  // namespace veltrin
