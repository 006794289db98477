#include "graph/title_tip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace veltrin {

CTitleTip::CTitleTip()
    : QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("ZTitleTip"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

CTitleTip::~CTitleTip() = default;

bool CTitleTip::Create(QWidget* owner)
{
    if (created_)
        return true;
    owner_ = owner;
    created_ = true;
    // Once the program no longer has the focus, the tip has no business staying up.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    Hide();
            });
    return true;
}

void CTitleTip::Show(const QString& text, const QRect& tipRect)
{
    if (!created_)
        return;
    text_ = text;
    tipRect_ = tipRect;
    setGeometry(tipRect);
    show();
    raise();
    grabMouse();  // so that leaving the rectangle is noticed
}

void CTitleTip::Hide()
{
    if (!created_)
        return;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    hide();
}

void CTitleTip::DestroyWindow()
{
    Hide();
    created_ = false;
}

void CTitleTip::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (text_.isEmpty())
        return;
    QPainter p(this);
    p.drawText(contentsRect().adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

bool CTitleTip::event(QEvent* event)
{
    if (isVisible()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (ForwardMouse(event))
                return true;
            break;
        case QEvent::KeyPress:
            if (ForwardKey(event))
                return true;
            break;
        default: break;
        }
    }
    return QFrame::event(event);
}

bool CTitleTip::ForwardMouse(QEvent* event)
{
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (event->type() == QEvent::MouseMove && tipRect_.contains(global))
        return true;
    Hide();
    QWidget* target = QApplication::widgetAt(global);
    if (target == this)
        target = owner_;
    if (target == nullptr)
        return false;
    const QPointF local = target->mapFromGlobal(QPointF(global));
    // Only the left button double-clicks; a quick second right or middle click is
    // passed on as the plain press it is.
    QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonDblClick && mouse->button() != Qt::LeftButton)
        type = QEvent::MouseButtonPress;
    QCoreApplication::postEvent(
        target, new QMouseEvent(type, local, QPointF(global), mouse->button(), mouse->buttons(),
                                mouse->modifiers()));
    return true;
}

bool CTitleTip::ForwardKey(QEvent* event)
{
    const auto* key = static_cast<QKeyEvent*>(event);
    Hide();
    if (owner_ != nullptr)
        QCoreApplication::postEvent(
            owner_, new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers(), key->text()));
    return true;
}

}  // namespace veltrin
