#pragma once
// The pages of a report on a paged device (a PDF file or a printer): A4 in
// millimetres from the page's top left, a cursor that moves down the page, a
// new page when the room ends, and a footer with the page numbers. A report is
// laid out twice: once without a painter to count its pages, then with one.

#include <QFont>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace veltrin {

class ReportCanvas {
public:
    // Page frame in millimetres.
    static constexpr double kLeft = 18.0;
    static constexpr double kRight = 192.0;
    static constexpr double kTop = 15.0;
    static constexpr double kBottom = 280.0;  // the footer lies below
    static constexpr double kWidth = kRight - kLeft;

    // `painter` null counts pages only; `pageCount` is shown in the footer.
    ReportCanvas(QPagedPaintDevice& device, QPainter* painter, QString footer, int pageCount);

    QPainter* Painter() const { return painter_; }
    double DotsPerMm() const { return dotsPerMm_; }
    QRectF ToDevice(const QRectF& mm) const;

    double Y() const { return y_; }
    void Advance(double mm) { y_ += mm; }
    // Begins a new page unless `heightMm` fits below the cursor; true when it did.
    bool Reserve(double heightMm);
    void NewPage();
    // Draws the last page's footer; returns the number of pages.
    int Finish();

    // A font of `points` in the report's face.
    static QFont Font(double points, bool bold = false);
    // Height of one line of `font`, in millimetres.
    double LineHeight(const QFont& font) const;
    double TextWidth(const QFont& font, const QString& text) const;
    // Draws `text` into `mm` (nothing while counting).
    void Text(const QRectF& mm, const QString& text, const QFont& font, int flags) const;
    // A horizontal line `widthMm` thick at `yMm`, from the left edge of the
    // text for `lengthMm` (the whole text width when 0).
    void Rule(double yMm, double widthMm = 0.2, double lengthMm = 0.0) const;
    // A heading at the cursor, kept on one page with the `followingMm` below it.
    void Heading(const QString& text, double followingMm);

private:
    void Footer() const;

    QPagedPaintDevice& device_;
    QPainter* painter_;
    QString footer_;
    int pageCount_;
    int page_ = 1;
    double y_ = kTop;
    double dotsPerMm_;
};

}  // namespace veltrin
