// The x label row of long and short flights: no two labels run into each other.
#include "graph/ticks.h"
#include "graph/x_label_row.h"

#include <gtest/gtest.h>

namespace veltrin {
namespace {

int SevenPerCharacter(const QString& text)
{
    return 7 * static_cast<int>(text.size());
}

TEST(XLabelRow, RegressionTimeLabelsRunIntoEachOther)
{
    for (int seconds : {10, 60, 200, 600, 1800, 3600, 10000, 20000, 36000}) {
        for (int width = 400; width <= 2000; width += 100) {
            GraphSettings s;
            s.xMax = seconds;
            s.xMinorStep = s.xMajorStep = TimeStepFor(seconds);
            s.xTitle = QStringLiteral("s");
            const AxisMapping m =
                AxisMapping::For(PlotArea{60, 10, width - 20, 300}, 0, seconds, -10, 10, 0, 1.0);
            const XLabelRow row = LayoutXLabelRow(m, s, &SevenPerCharacter);
            ASSERT_FALSE(row.labels.empty()) << seconds << " " << width;
            EXPECT_EQ(row.labels.front().text, QStringLiteral("0"));
            for (std::size_t i = 1; i < row.labels.size(); ++i) {
                const XLabel& a = row.labels[i - 1];
                const XLabel& b = row.labels[i];
                const int aRight = a.x - a.width / 2 + a.width + 1;
                const int bLeft = b.x - b.width / 2 - 1;
                EXPECT_GE(bLeft - aRight, 7) << seconds << " s at " << width << " px";
            }
            // Those left are evenly spaced.
            if (row.labels.size() > 2) {
                const double step = std::stod(row.labels[1].text.toStdString());
                for (std::size_t i = 0; i < row.labels.size(); ++i)
                    EXPECT_EQ(std::stod(row.labels[i].text.toStdString()), step * double(i));
            }
        }
    }
}

}  // namespace
}  // namespace veltrin
