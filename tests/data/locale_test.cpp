// Parsing and formatting must give the same results whatever numeric locale
// the application runs in; German uses a decimal comma.
#include "data/sentence_parser.h"
#include "data/start_data_stream.h"
#include "data/start_text.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace veltrin {
namespace {

using test::Framed;

struct Results {
    double latitude = 0.0;
    double accZ = 0.0;
    std::string values;
    std::string day;
};

Results Compute()
{
    Results r;
    Sentence s;
    ParseSentence(s, "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
    r.latitude = s.Get<GgaFields>() ? s.Get<GgaFields>()->latitude : -1.0;
    StartRecord start;
    start.startTime = 1345991702;
    LoadStartDataFromBytes(start, Framed("$VLTDR,1.5,0.10,-0.02,1.05,95.5,0,0,512,1") + "\r\n");
    r.accZ = start.samples.empty() ? -1.0 : start.samples[0].accZ;
    r.values = StartValuesText(start);
    r.day = DayText(start.startTime) + " " + StartTimeText(start);
    return r;
}

class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(GermanLocale, ParsingAndFormattingAreUnchanged)
{
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    const Results plain = Compute();
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    }
    const Results german = Compute();
    EXPECT_EQ(german.latitude, plain.latitude);
    EXPECT_EQ(german.accZ, plain.accZ);
    EXPECT_EQ(german.values, plain.values);
    EXPECT_EQ(german.values, "Acc.: 1.05 - 1.05 V: 95.5  H: 512.0");
    EXPECT_EQ(german.day, "26.08.2012 14:35:02");
}

}  // namespace
}  // namespace veltrin
