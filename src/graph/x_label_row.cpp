#include "graph/x_label_row.h"

#include "graph/ticks.h"

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

}  // namespace

XLabelRow LayoutXLabelRow(const AxisMapping& mapping, const GraphSettings& s,
                          const std::function<int(const QString&)>& textWidth)
{
    XLabelRow row;
    for (double v : TickValues(s.xMin, s.xMax, s.xMajorStep)) {
        const QString text = FormatLabel(s.xLabelFormat, v);
        row.labels.push_back(XLabel{text, mapping.PixelX(v), textWidth(text)});
    }
    if (!(s.xMajorStep > 0.0))
        return row;
    row.hasTitle = true;
    row.titleRight = mapping.PixelX(s.xMax - s.xMajorStep / 3.0);
    row.titleLeft = row.titleRight - textWidth(s.xTitle);
    if (row.titleLeft == row.titleRight)
        return row;  // an empty title covers nothing
    std::erase_if(row.labels, [&row](const XLabel& label) {
        return Overlaps(label, row.titleLeft, row.titleRight);
    });
    return row;
}

}  // namespace veltrin
