#include "graph/x_label_row.h"

#include "graph/ticks.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace veltrin {

namespace {

// The pixels a label's text can touch: it is centred in a box of 2 * (width / 2)
// pixels, so an odd width overhangs by up to a pixel on either side.
bool Overlaps(const XLabel& label, int left, int right)
{
    const int textLeft = label.x - label.width / 2 - 1;
    const int textRight = label.x - label.width / 2 + label.width + 1;
    return textLeft < right && left < textRight;
}

// The text's pixels, as Overlaps counts them.
int TextLeft(const XLabel& label)
{
    return label.x - label.width / 2 - 1;
}

int TextRight(const XLabel& label)
{
    return label.x - label.width / 2 + label.width + 1;
}

// Whether every label of `labels` keeps at least `gap` pixels from the next.
bool AllApart(const std::vector<XLabel>& labels, int gap)
{
    for (std::size_t i = 1; i < labels.size(); ++i) {
        if (TextLeft(labels[i]) - TextRight(labels[i - 1]) < gap)
            return false;
    }
    return true;
}

// Keeps the labels of the ticks whose value is a multiple of `every` major steps,
// so that the labels left stay on the same values while the view pans. When that
// leaves none, the first label stays: a lone label touches nothing.
std::vector<XLabel> EveryNth(const std::vector<XLabel>& labels, const std::vector<double>& ticks,
                             double step, std::int64_t every)
{
    std::vector<XLabel> kept;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (std::llround(ticks[i] / step) % every == 0)
            kept.push_back(labels[i]);
    }
    if (kept.empty() && !labels.empty())
        kept.push_back(labels.front());
    return kept;
}

// Leaves out labels so that no two of those left come closer than `gap` pixels:
// the fewest left out that keep a label every 1, 2, 5, 10, 20, 50 ... steps.
std::vector<XLabel> Thinned(std::vector<XLabel> labels, const std::vector<double>& ticks,
                            double step, int gap)
{
    if (AllApart(labels, gap))
        return labels;
    for (std::int64_t decade = 1; decade <= static_cast<std::int64_t>(ticks.size()); decade *= 10) {
        for (std::int64_t factor : {2, 5, 10}) {
            std::vector<XLabel> kept = EveryNth(labels, ticks, step, decade * factor);
            if (kept.size() <= 1 || AllApart(kept, gap))
                return kept;
        }
    }
    return EveryNth(labels, ticks, step, static_cast<std::int64_t>(ticks.size()) * 10);
}

}  // namespace

XLabelRow LayoutXLabelRow(const AxisMapping& mapping, const GraphSettings& s,
                          const std::function<int(const QString&)>& textWidth, int rowRight)
{
    XLabelRow row;
    const std::vector<double> ticks = TickValues(s.xMin, s.xMax, s.xMajorStep);
    for (double v : ticks) {
        const QString text = FormatLabel(s.xLabelFormat, v);
        row.labels.push_back(XLabel{text, mapping.PixelX(v), textWidth(text)});
    }
    if (!(s.xMajorStep > 0.0))
        return row;
    // Labels closer than a digit's width would read as one long number.
    const int digit = textWidth(QStringLiteral("0"));
    row.labels = Thinned(std::move(row.labels), ticks, s.xMajorStep, digit);
    // A label cut off by the edge would show a wrong number.
    std::erase_if(row.labels,
                  [rowRight](const XLabel& label) { return TextRight(label) > rowRight; });
    row.hasTitle = true;
    row.titleRight = mapping.PixelX(s.xMax - s.xMajorStep / 3.0);
    row.titleLeft = row.titleRight - textWidth(s.xTitle);
    if (row.titleLeft == row.titleRight)
        return row;  // an empty title covers nothing
    // The unit keeps about a space from the numbers on either side, so that
    // "3500 s" does not read as "3500s" nor "s 60" as "s60".
    const int space = digit / 2;
    std::erase_if(row.labels, [&row, space](const XLabel& label) {
        return Overlaps(label, row.titleLeft - space, row.titleRight + space);
    });
    return row;
}

}  // namespace veltrin
