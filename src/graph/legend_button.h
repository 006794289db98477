#pragma once
// CLegendButton: a small toggle button with a colour swatch that stands for one
// legend slot of a graph window.

#include <QAbstractButton>
#include <QColor>

#include <array>

namespace veltrin {

class CLegendButton : public QAbstractButton {
    Q_OBJECT

public:
    CLegendButton(int controlId, QWidget* parent);

    int ControlId() const { return controlId_; }
    void SetSwatch(const QColor& colour, bool draw);
    QColor SwatchColour() const { return swatch_; }
    bool DrawsSwatch() const { return drawSwatch_; }

    QSize sizeHint() const override;

signals:
    // Sent once per press, after the checked state toggled.
    void Notify(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int controlId_;
    QColor swatch_;
    bool drawSwatch_ = false;
};

// Creates the four hidden legend buttons of a graph window (ids 40001..40004),
// 16 x 16 pixels, the first at (inset, inset), each further one 16 pixels lower,
// each with palette entry k-1 as swatch, no tooltip and unchecked.
std::array<CLegendButton*, 4> CreateLegendButtons(QWidget* parent, int inset);

}  // namespace veltrin
