#pragma once
// CTitleTip: a small bordered pop-up that shows a text which does not fit its item.
// While visible, moving the mouse off its rectangle, pressing a key or clicking hides
// it and passes the event on to the window underneath (key presses to the owner).

#include <QFrame>
#include <QPointer>
#include <QRect>
#include <QString>

namespace veltrin {

class CTitleTip : public QFrame {
    Q_OBJECT

public:
    CTitleTip();
    ~CTitleTip() override;

    // Remembers `owner` and prepares the hidden pop-up once; a second call just
    // returns true.
    bool Create(QWidget* owner);
    bool IsCreated() const { return created_; }
    // Shows `text` over `tipRect` (global coordinates); mouse moves inside it keep it open.
    void Show(const QString& text, const QRect& tipRect);
    void Hide();
    void DestroyWindow();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool ForwardMouse(QEvent* event);
    bool ForwardKey(QEvent* event);

    QPointer<QWidget> owner_;
    bool created_ = false;
    QRect tipRect_;  // global coordinates
    QString text_;
};

}  // namespace veltrin
