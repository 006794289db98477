#include "graph/legend_button.h"

#include "graph/graph_constants.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace veltrin {

namespace gc = graph_constants;

CLegendButton::CLegendButton(int controlId, QWidget* parent)
    : QAbstractButton(parent), controlId_(controlId)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void CLegendButton::SetSwatch(const QColor& colour, bool draw)
{
    swatch_ = colour;
    drawSwatch_ = draw;
    update();
}

QSize CLegendButton::sizeHint() const
{
    return QSize(gc::kLegendButtonSize, gc::kLegendButtonSize);
}

void CLegendButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= (isChecked() || isDown()) ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    if (drawSwatch_)
        p.fillRect(4, height() / 2 - 1, width() - 8, 2, swatch_);
}

void CLegendButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // Toggles once per press; the owner hears of it after the press is handled.
    setChecked(!isChecked());
    setDown(true);
    QMetaObject::invokeMethod(
        this, [this] { emit Notify(controlId_); }, Qt::QueuedConnection);
    event->accept();
}

void CLegendButton::mouseReleaseEvent(QMouseEvent* event)
{
    setDown(false);
    event->accept();
}

std::array<CLegendButton*, 4> CreateLegendButtons(QWidget* parent, int inset)
{
    std::array<CLegendButton*, 4> buttons{};
    for (int k = 0; k < gc::kLegendSlots; ++k) {
        auto* button = new CLegendButton(gc::kLegendFirstId + k, parent);  // owned by parent
        button->setGeometry(inset, inset + k * gc::kLegendButtonSize, gc::kLegendButtonSize,
                            gc::kLegendButtonSize);
        button->SetSwatch(gc::kLegendPalette[static_cast<std::size_t>(k)], false);
        button->setToolTip(QString());
        button->setChecked(false);
        button->hide();
        buttons[static_cast<std::size_t>(k)] = button;
    }
    return buttons;
}

}  // namespace veltrin
