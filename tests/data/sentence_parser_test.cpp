#include "data/sentence_parser.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrin {
namespace {

using test::Framed;

constexpr const char* kGgaExample =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

std::string LowerCaseChecksum(std::string line)
{
    for (std::size_t i = line.find('*'); i < line.size(); ++i) {
        if (line[i] >= 'A' && line[i] <= 'F') {
            line[i] = static_cast<char>(line[i] - 'A' + 'a');
        }
    }
    return line;
}

struct FramingCase {
    const char* name;
    std::string line;
    bool accepted;
    SentenceKind kind;
};

TEST(ParseSentence, FramingAndIdentifierTable)
{
    std::string withNul = std::string(kGgaExample) + '\0' + "garbage";
    // "$VLTCM,LIMITS" has the checksum 6A: a letter among its digits.
    const std::string letterChecksum = Framed("$VLTCM,LIMITS");
    ASSERT_NE(letterChecksum.find_first_of("ABCDEF", letterChecksum.find('*')), std::string::npos);

    const FramingCase cases[] = {
        {"example", kGgaExample, true, SentenceKind::Gga},
        {"wrong checksum", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48",
         false, SentenceKind::None},
        {"no star", "$GPGGA,123519,4807.038,N", false, SentenceKind::None},
        {"star at end", "$GPGGA,1*", false, SentenceKind::None},
        {"one digit", "$GPGGA,1*4", false, SentenceKind::None},
        {"empty", "", false, SentenceKind::None},
        {"blanks only", " \t\r\n", false, SentenceKind::None},
        {"upper-case hex", letterChecksum, true, SentenceKind::Cm},
        {"lower-case hex", LowerCaseChecksum(letterChecksum), false, SentenceKind::None},
        {"lower-case identifier", Framed("$gpgga,123519,4807.038,N"), true, SentenceKind::Gga},
        {"mixed-case recorder identifier", Framed("$vltDr,1.0"), true, SentenceKind::Dr},
        {"leading blanks pass the check but match nothing", "  \t" + Framed("$GPGGA,1"), true,
         SentenceKind::None},
        {"unknown identifier", Framed("$GPXYZ,1,2"), true, SentenceKind::None},
        {"short identifier", Framed("$GP"), true, SentenceKind::None},
        {"other start character", Framed("!GPGGA,1"), true, SentenceKind::None},
        {"line ends at NUL", withNul, true, SentenceKind::Gga},
        {"trailing text after checksum", std::string(kGgaExample) + "  ", true, SentenceKind::Gga},
        // When the start character is the first "*", nothing lies before it:
        // the expected value is 0, read from the two characters that follow.
        {"start character is the star", " *00", true, SentenceKind::None},
        {"start star, later star ignored", "*A*41", false, SentenceKind::None},
    };
    for (const FramingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Sentence s;
        EXPECT_EQ(ParseSentence(s, c.line), c.accepted);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_EQ(VerifyChecksum(c.line), c.accepted);
    }
}

TEST(ParseSentence, FailedCheckClearsThePreviousResult)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, kGgaExample));
    EXPECT_FALSE(ParseSentence(s, "$GPGGA,1*00"));
    EXPECT_EQ(s.kind, SentenceKind::None);
    EXPECT_EQ(s.Get<GgaFields>(), nullptr);
}

TEST(ParseSentence, GgaExample)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, kGgaExample));
    const GgaFields* f = s.Get<GgaFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_DOUBLE_EQ(f->timeOfDay, 45319.0);
    EXPECT_NEAR(f->latitude, 48.1173, 1e-9);
    EXPECT_NEAR(f->longitude, 11.516667, 1e-6);
    EXPECT_EQ(f->fixQuality, 1);
    EXPECT_EQ(f->satellites, 8);
    EXPECT_DOUBLE_EQ(f->hdop, 0.9);
    EXPECT_DOUBLE_EQ(f->altitude, 545.4);
    EXPECT_DOUBLE_EQ(f->geoidSeparation, 46.9);
    EXPECT_EQ(f->differentialAge, 0.0);
}

TEST(ParseSentence, HemispheresAreUpperCaseLettersOnly)
{
    struct Case {
        const char* ns;
        const char* ew;
        double latitudeSign;
        double longitudeSign;
    };
    const Case cases[] = {{"N", "E", 1, 1},
                          {"S", "W", -1, -1},
                          {"s", "w", 1, 1},
                          {"", "", 1, 1},
                          {"South", "West", -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ns) + "/" + c.ew);
        Sentence s;
        ASSERT_TRUE(ParseSentence(s, Framed(std::string("$GPGGA,123519,4807.038,") + c.ns +
                                            ",01131.000," + c.ew + ",1")));
        const GgaFields* f = s.Get<GgaFields>();
        ASSERT_NE(f, nullptr);
        EXPECT_NEAR(f->latitude, c.latitudeSign * 48.1173, 1e-9);
        EXPECT_NEAR(f->longitude, c.longitudeSign * 11.516667, 1e-6);
    }
}

TEST(ParseSentence, MissingAndMalformedFieldsAreZero)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, Framed("$GPGGA,1235,48,N,,E")));
    const GgaFields* f = s.Get<GgaFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->timeOfDay, 0.0);  // no seconds
    EXPECT_EQ(f->latitude, 0.0);   // no minutes
    EXPECT_EQ(f->longitude, 0.0);
    EXPECT_EQ(f->fixQuality, 0);
    EXPECT_EQ(f->altitude, 0.0);
}

TEST(ParseSentence, VtgSpeedUnitsAndMode)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*25"));
    const VtgFields* f = s.Get<VtgFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_DOUBLE_EQ(f->trueCourse, 54.7);
    EXPECT_NEAR(f->speed, 5.5 * 1.852 / 3.6, 1e-12);
    EXPECT_EQ(f->mode, 1);

    ASSERT_TRUE(ParseSentence(s, Framed("$GPVTG,054.7,T,034.4,M,036.0,K,,,D")));
    f = s.Get<VtgFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_NEAR(f->speed, 10.0, 1e-12);  // km/h becomes m/s as well
    EXPECT_EQ(f->mode, 2);
}

TEST(ParseSentence, RmcStatusSpeedDateAndMode)
{
    struct Case {
        const char* status;
        const char* mode;
        int expectedStatus;
        int expectedMode;
    };
    const Case cases[] = {{"A", "A", 1, 1}, {"V", "", 0, 0},  {"X", "D", 0, 2}, {"A", "E", 1, 6},
                          {"A", "N", 1, 0}, {"A", "a", 1, 0}, {"", "Z", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.status) + "/" + c.mode);
        Sentence s;
        ASSERT_TRUE(ParseSentence(
            s, Framed(std::string("$GPRMC,123519,") + c.status +
                      ",4807.038,S,01131.000,W,022.4,084.4,230394,003.1,W," + c.mode)));
        const RmcFields* f = s.Get<RmcFields>();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->status, c.expectedStatus);
        EXPECT_EQ(f->mode, c.expectedMode);
        EXPECT_DOUBLE_EQ(f->timeOfDay, 45319.0);
        EXPECT_NEAR(f->latitude, -48.1173, 1e-9);
        EXPECT_NEAR(f->longitude, -11.516667, 1e-6);
        EXPECT_DOUBLE_EQ(f->speed, 22.4 * 0.5144444444444445);
        EXPECT_DOUBLE_EQ(f->course, 84.4);
        EXPECT_EQ(f->date, 230394);
    }
}

TEST(ParseSentence, OtherGpsSentences)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, Framed("$GPGLL,4916.45,N,12311.12,W,225444,A,D")));
    const GllFields* gll = s.Get<GllFields>();
    ASSERT_NE(gll, nullptr);
    EXPECT_NEAR(gll->latitude, 49 + 16.45 / 60, 1e-12);
    EXPECT_NEAR(gll->longitude, -(123 + 11.12 / 60), 1e-12);
    EXPECT_DOUBLE_EQ(gll->timeOfDay, 22 * 3600 + 54 * 60 + 44);
    EXPECT_EQ(gll->status, 1);
    EXPECT_EQ(gll->mode, 2);

    ASSERT_TRUE(ParseSentence(s, Framed("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1")));
    const GsaFields* gsa = s.Get<GsaFields>();
    ASSERT_NE(gsa, nullptr);
    const int satellites[12] = {4, 5, 0, 9, 12, 0, 0, 24, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(gsa->satellites[i], satellites[i]) << i;
    }
    EXPECT_DOUBLE_EQ(gsa->pdop, 2.5);
    EXPECT_DOUBLE_EQ(gsa->hdop, 1.3);
    EXPECT_DOUBLE_EQ(gsa->vdop, 2.1);

    ASSERT_TRUE(
        ParseSentence(s, Framed("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228")));
    const GsvFields* gsv = s.Get<GsvFields>();
    ASSERT_NE(gsv, nullptr);
    EXPECT_EQ(gsv->satellite[0], 1);
    EXPECT_EQ(gsv->elevation[1], 17);
    EXPECT_EQ(gsv->azimuth[2], 344);
    EXPECT_EQ(gsv->snr[2], 39);
    EXPECT_EQ(gsv->satellite[3], 14);
    EXPECT_EQ(gsv->snr[3], 0);  // missing last field

    ASSERT_TRUE(ParseSentence(s, Framed("$GPZDA,201530.00,04,07,2002,00,00")));
    const ZdaFields* zda = s.Get<ZdaFields>();
    ASSERT_NE(zda, nullptr);
    EXPECT_DOUBLE_EQ(zda->timeOfDay, 72930.0);
    EXPECT_EQ(zda->day, 4);
    EXPECT_EQ(zda->month, 7);
    EXPECT_EQ(zda->year, 2002);
}

TEST(ChecksumText, AppendChecksumCoversAllButTheStartCharacter)
{
    std::string command = "$VLTCM,VERSION";
    AppendChecksum(command);
    const std::uint8_t sum = ComputeChecksum("VLTCM,VERSION");
    static constexpr char kHex[] = "0123456789ABCDEF";
    EXPECT_EQ(command, std::string("$VLTCM,VERSION*") + kHex[sum >> 4] + kHex[sum & 15]);
    EXPECT_TRUE(VerifyChecksum(command));
    EXPECT_EQ(ComputeChecksum(""), 0);
    EXPECT_EQ(ComputeChecksum("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
              0x47);
}

}  // namespace
}  // namespace veltrin
