// The x label row of long and short flights: no two labels run into each other.
#include "graph/ticks.h"
#include "graph/x_label_row.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

// The unit "s" sits among the labels near the right end; a label a pixel from
// it read as "3500s" or "s60". A label at the end of a view ran past the
// graph's edge and lost its last digit.
TEST(XLabelRow, RegressionTimeLabelsRunIntoTheTitle)
{
    const auto gapsOf = [](const XLabelRow& row) {
        std::vector<std::pair<int, int>> boxes{{row.titleLeft, row.titleRight}};
        for (const XLabel& l : row.labels)
            boxes.emplace_back(l.x - l.width / 2, l.x - l.width / 2 + l.width);
        std::sort(boxes.begin(), boxes.end());
        int closest = 1 << 20;
        for (std::size_t i = 1; i < boxes.size(); ++i)
            closest = std::min(closest, boxes[i].first - boxes[i - 1].second);
        return closest;
    };
    int views = 0;
    for (int width = 400; width <= 2000; width += 100) {
        // Whole flights with the frame's steps, and any view the wheel leaves,
        // from 10 s to 10 h.
        for (double span = 10; span <= 36000; span *= 1.1) {
            for (bool wheel : {false, true}) {
                GraphSettings s;
                s.xTitle = QStringLiteral("s");
                s.xMin = wheel ? std::floor(span * 0.37) : 0.0;
                s.xMax = s.xMin + (wheel ? span : std::floor(span));
                const TickSteps wheelSteps = TickStepsForSpan(s.xMax - s.xMin);
                s.xMajorStep = wheel ? wheelSteps.major : TimeStepFor(static_cast<int>(s.xMax));
                s.xMinorStep = s.xMajorStep;
                const AxisMapping m = AxisMapping::For(PlotArea{60, 10, width - 20, 300}, s.xMin,
                                                       s.xMax, -10, 10, 0, 1.0);
                // The row ends 6 pixels right of the plot area, less than half a label.
                const XLabelRow row = LayoutXLabelRow(m, s, &SevenPerCharacter, width - 14);
                ASSERT_TRUE(row.hasTitle);
                // Half a digit's width, and the pixel the centring may move a text by.
                EXPECT_GE(gapsOf(row), 3 + 1) << s.xMin << ".." << s.xMax << " s at " << width;
                for (const XLabel& l : row.labels)
                    EXPECT_LE(l.x - l.width / 2 + l.width, width - 14) << l.text.toStdString();
                ++views;
            }
        }
    }
    EXPECT_GT(views, 2000);
}

}  // namespace
}  // namespace veltrin
