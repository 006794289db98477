// A graph drawn onto another painter, as the reports put it on paper.

#include "graph/graph_plot.h"
#include "graph/plot_layout.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace veltrin {
namespace {

class PlotPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int row = 0; row < 200; ++row) {
            const std::array<double, 1> value{std::sin(row / 10.0) * 4.0};
            rows_.resize(GraphTableSlots(static_cast<std::size_t>(row) + 1, 1));
            WriteGraphRow(rows_.data(), static_cast<std::size_t>(row), row * 100, value);
        }
        events_ = {2500.0, 9000.0};
        plot_.SetData(200, rows_.data());
        plot_.SetEvents(2, events_.data());
        plot_.SetLimitLines({-3.5, 2.5});
        plot_.AddSeries(
            {0, QColor(255, 0, 0), true, QStringLiteral("a"), QStringLiteral("a"), false});
        GraphSettings settings;
        settings.width = 420;
        settings.height = 180;
        settings.xMin = 0;
        settings.xMax = 20;
        settings.xMajorStep = 5;
        settings.xMinorStep = 1;
        settings.yTitle = QStringLiteral("   g");
        plot_.ApplySettings(settings);
    }

    std::vector<GraphRow> rows_;
    std::vector<double> events_;
    CGraphPlot plot_;
};

TEST_F(PlotPrint, RenderOntoAtBitmapSizeDrawsTheBitmapsPixels)
{
    const QImage bitmap = plot_.GetBitmap().copy();
    const QRect areaBefore = plot_.GetPlotArea();
    // Drawn at an offset into a larger page of the bitmap's resolution.
    QImage page(600, 400, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(bitmap.dotsPerMeterX());
    page.setDotsPerMeterY(bitmap.dotsPerMeterY());
    page.fill(Qt::blue);
    {
        QPainter painter(&page);
        PlotPrintStyle style;
        style.fontTenths = LabelFontTenths(bitmap.width(), bitmap.height());
        plot_.RenderOnto(painter, QRect(QPoint(70, 110), bitmap.size()), style);
    }
    EXPECT_EQ(page.copy(QRect(QPoint(70, 110), bitmap.size())), bitmap);
    // Nothing outside the target is touched.
    EXPECT_EQ(page.pixel(69, 110), QColor(Qt::blue).rgb());
    EXPECT_EQ(page.pixel(70 + bitmap.width(), 110 + bitmap.height() - 1), QColor(Qt::blue).rgb());
    // The window's own picture and layout stay as they were.
    EXPECT_FALSE(plot_.IsDirty());
    EXPECT_EQ(plot_.GetPlotArea(), areaBefore);
    EXPECT_EQ(plot_.GetBitmap(), bitmap);
}

TEST_F(PlotPrint, WiderLinesAtPrintResolution)
{
    QImage page(2100, 900, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(23622);  // 600 dpi
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        plot_.RenderOnto(painter, page.rect(), {70, 3, 5});
    }
    // Some column crosses the curve with a run of at least the curve width.
    int longest = 0;
    for (int x = page.width() / 3; x < page.width() / 3 + 50; ++x) {
        int run = 0;
        for (int y = 0; y < page.height(); ++y) {
            run = page.pixel(x, y) == qRgb(255, 0, 0) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_GE(longest, 5);
}

}  // namespace
}  // namespace veltrin
