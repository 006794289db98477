#pragma once
// One parsed recorder or GPS sentence: its kind and the fields of that kind.

#include <cstdint>
#include <variant>

namespace veltrin {

// Kind tag of a parsed sentence. GPS kinds sit in the third byte, recorder
// kinds in the top byte; the values are those the recorder tools use.
enum class SentenceKind : std::uint32_t {
    None = 0,
    Gga = 0x110000,
    Gll = 0x120000,
    Gsa = 0x130000,
    Gsv = 0x140000,
    Vtg = 0x150000,
    Rmc = 0x160000,
    Zda = 0x170000,
    Rw = 0x1000000,
    Dr = 0x2000000,
    St = 0x3000000,
    Ld = 0x4000000,
    Tx = 0x6000000,
    Cm = 0x7000000,
    Ev = 0x8000000,
    Cf = 0x9000000,
};

// Standard GPS sentences. Times of day are seconds since midnight UTC,
// positions signed degrees (north and east positive), speeds metres per second.
struct GgaFields {
    double timeOfDay;
    double latitude;
    double longitude;
    double altitude;
    double hdop;
    int fixQuality;
    int satellites;
    double differentialAge;
    double geoidSeparation;
};

struct GllFields {
    double timeOfDay;
    double latitude;
    double longitude;
    int status;  // 1 when the status field begins with "A"
    int mode;    // FAA mode letter as a number (see FaaModeNumber)
};

struct GsaFields {
    int satellites[12];
    double pdop;
    double hdop;
    double vdop;
};

struct GsvFields {
    int satellite[4];
    int elevation[4];
    int azimuth[4];
    int snr[4];
};

struct VtgFields {
    double trueCourse;
    double speed;
    int mode;
};

struct RmcFields {
    double timeOfDay;
    int status;  // 1 when the status field begins with "A"
    double latitude;
    double longitude;
    double speed;
    double course;
    int date;  // ddmmyy read as one decimal number
    int mode;
};

struct ZdaFields {
    double timeOfDay;
    int day;
    int month;
    int year;
};

// Recorder sentences. Reals are read in single precision and widened.
// Members named `unused…` hold fields whose meaning is not known and that
// nothing reads; the number is the field's position in the sentence.
struct RwFields {
    std::int32_t timeMs;
    int unused2To5[4];
    double unused6To11[6];
    int unused12To13[2];
    double unused14;
};

struct DrFields {
    std::int32_t timeMs;
    double accX;
    double accY;
    double accZ;
    double ias;
    double unused6;
    double unused7;
    int altitude;
    int flags;  // bit 0: event flag
};

struct StFields {
    std::int32_t timeMs;
    double unused2;
    int unused3;
    int unused4;
};

struct LdFields {
    std::int32_t timeMs;
    int unused2;
    int landingHhmmss;  // landing time of day as the decimal number hhmmss
};

struct EvFields {
    int unused1To8[8];
    double unused9To10[2];
};

struct CfFields {
    int unused1To2[2];
    double unused3To6[4];
    char text[64];  // field 7, cut to 63 characters
};

// Configuration keys of the reply layout, in the order they are matched.
enum class ReplyKey : int {
    None = 0,
    SpdCfg = 1,
    AdCfg = 2,
    Limits = 3,
    LogCfg = 4,
    Serial = 5,
    Version = 6,
    EvtCnt = 7,
    Pass = 8,
    LfzSign = 9,
    Wp = 10,
};

// "$VLTTX" replies and "$VLTCM" commands share this layout.
struct ReplyFields {
    ReplyKey key;
    int value;        // field 2 for integer keys
    double reals[4];  // fields 3 to 6; a VERSION reply's version in reals[0]
    char text[20];    // field 2 for SERIAL and LFZSIGN, at most 19 characters
};

// Result of one parse. `kind` tells which member of `fields` is set; every
// member the parser did not write is zero.
struct Sentence {
    using Fields = std::variant<std::monostate, GgaFields, GllFields, GsaFields, GsvFields,
                                VtgFields, RmcFields, ZdaFields, RwFields, DrFields, StFields,
                                LdFields, ReplyFields, EvFields, CfFields>;

    SentenceKind kind = SentenceKind::None;
    Fields fields;

    // The field set of type F, or nullptr when the sentence holds another kind.
    template <typename F>
    const F* Get() const
    {
        return std::get_if<F>(&fields);
    }
};

}  // namespace veltrin
