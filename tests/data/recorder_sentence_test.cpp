#include "data/sentence_parser.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace veltrin {
namespace {

using test::Framed;

TEST(RecorderSentence, DataSampleFields)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, Framed("$VLTDR,1.5,0.10,-0.02,1.05,95.5,3.25,-4.5,512,1")));
    ASSERT_EQ(s.kind, SentenceKind::Dr);
    const DrFields* f = s.Get<DrFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->timeMs, 1500);
    // Reals are read in single precision.
    EXPECT_EQ(f->accX, static_cast<double>(0.10F));
    EXPECT_EQ(f->accY, static_cast<double>(-0.02F));
    EXPECT_EQ(f->accZ, static_cast<double>(1.05F));
    EXPECT_EQ(f->ias, 95.5);
    EXPECT_EQ(f->unused6, 3.25);
    EXPECT_EQ(f->unused7, -4.5);
    EXPECT_EQ(f->altitude, 512);
    EXPECT_EQ(f->flags, 1);
}

struct TimeStampCase {
    const char* stamp;
    std::int32_t ms;
};

// Each stamp read as the first field of a data sample and of a landing sentence.
template <std::size_t N>
void ExpectTimeStamps(const TimeStampCase (&cases)[N])
{
    for (const TimeStampCase& c : cases) {
        SCOPED_TRACE(c.stamp);
        Sentence s;
        ASSERT_TRUE(ParseSentence(s, Framed(std::string("$VLTDR,") + c.stamp + ",1.0")));
        const DrFields* dr = s.Get<DrFields>();
        ASSERT_NE(dr, nullptr);
        EXPECT_EQ(dr->timeMs, c.ms);
        ASSERT_TRUE(ParseSentence(s, Framed(std::string("$VLTLD,") + c.stamp + ",2,153012")));
        const LdFields* ld = s.Get<LdFields>();
        ASSERT_NE(ld, nullptr);
        EXPECT_EQ(ld->timeMs, c.ms);
        EXPECT_EQ(ld->landingHhmmss, 153012);
    }
}

TEST(RecorderSentence, TimeStampsTruncateToMilliseconds)
{
    const TimeStampCase cases[] = {
        {"12.345", 12345}, {"0.0005", 0}, {"-0.0015", -1}, {"", 0}, {"abc", 0}};
    ExpectTimeStamps(cases);
}

// Stamps beyond the 32-bit range were undefined in the conversion, NaN as well.
TEST(RecorderSentence, RegressionTimeStampsBeyond32BitsOrNanOverflowed)
{
    const TimeStampCase cases[] = {{"nan", 0}, {"1e12", 2147483647}, {"-inf", -2147483647 - 1}};
    ExpectTimeStamps(cases);
}

TEST(RecorderSentence, EmptyDataSampleIsAllZero)
{
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, Framed("$VLTDR,,,,,,,,,")));
    const DrFields* f = s.Get<DrFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->timeMs, 0);
    EXPECT_EQ(f->accZ, 0.0);
    EXPECT_EQ(f->altitude, 0);
    EXPECT_EQ(f->flags, 0);
}

TEST(RecorderSentence, ConfigTextKeepsChecksumSuffixWhenLast)
{
    const std::string line = Framed("$VLTCF,1,2,1.5,2.5,3.5,4.5,D-EABC");
    Sentence s;
    ASSERT_TRUE(ParseSentence(s, line));
    const CfFields* f = s.Get<CfFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->unused1To2[1], 2);
    EXPECT_EQ(f->unused3To6[3], 4.5);
    EXPECT_STREQ(f->text, line.substr(line.find("D-EABC")).c_str());

    ASSERT_TRUE(ParseSentence(s, Framed("$VLTCF,1,2,1,2,3,4," + std::string(100, 'x'))));
    f = s.Get<CfFields>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::strlen(f->text), sizeof(CfFields::text) - 1);
}

struct ReplyCase {
    std::string body;
    SentenceKind kind;
    ReplyKey key;
    int value;
    double reals[4];
    const char* text;
};

TEST(RecorderReply, LayoutTable)
{
    const ReplyCase cases[] = {
        {"$VLTTX,serial,ABCDEFGHIJKLMNOPQRSTUVWXY",
         SentenceKind::Tx,
         ReplyKey::Serial,
         0,
         {},
         "ABCDEFGHIJKLMNOPQRS"},
        {"$VLTTX,SERIAL,1234", SentenceKind::Tx, ReplyKey::Serial, 0, {}, "1234"},
        {"$VLTTX,LfzSign,D-EABC,5", SentenceKind::Tx, ReplyKey::LfzSign, 0, {5, 0, 0, 0}, "D-EABC"},
        {"$VLTTX,PASS,0", SentenceKind::Tx, ReplyKey::Pass, 0, {}, ""},
        {"$VLTTX,PASS,1", SentenceKind::Tx, ReplyKey::Pass, 1, {}, ""},
        {"$VLTTX,PASS,2", SentenceKind::Tx, ReplyKey::Pass, 2, {}, ""},
        {"$VLTTX,VERSION,2.5", SentenceKind::Tx, ReplyKey::Version, 0, {2.5, 0, 0, 0}, ""},
        {"$VLTTX,VERSION,2.5,7", SentenceKind::Tx, ReplyKey::Version, 0, {7, 0, 0, 0}, ""},
        {"$VLTTX,LIMITS,1,4.5,-2.5,250,9",
         SentenceKind::Tx,
         ReplyKey::Limits,
         1,
         {4.5, -2.5, 250, 9},
         ""},
        {"$VLTTX,SPDCFG,3", SentenceKind::Tx, ReplyKey::SpdCfg, 3, {}, ""},
        {"$VLTTX,wp,4", SentenceKind::Tx, ReplyKey::Wp, 4, {}, ""},
        {"$VLTTX,EVTCNT,12", SentenceKind::Tx, ReplyKey::EvtCnt, 12, {}, ""},
        {"$VLTTX,NOSUCH,12", SentenceKind::Tx, ReplyKey::None, 12, {}, ""},
        {"$VLTCM,LOGCFG,5", SentenceKind::Cm, ReplyKey::LogCfg, 5, {}, ""},
        {"$VLTCM,ADCFG", SentenceKind::Cm, ReplyKey::None, 0, {}, ""},  // key carries "*hh"
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.body);
        Sentence s;
        ASSERT_TRUE(ParseSentence(s, Framed(c.body)));
        EXPECT_EQ(s.kind, c.kind);
        const ReplyFields* f = s.Get<ReplyFields>();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->key, c.key);
        EXPECT_EQ(f->value, c.value);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(f->reals[i], c.reals[i]) << i;
        }
        EXPECT_STREQ(f->text, c.text);
    }
}

}  // namespace
}  // namespace veltrin
