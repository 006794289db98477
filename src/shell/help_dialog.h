#pragma once
// CHelpDialog: the short help on the mouse operations of the graphs and the
// start list, and below it, set apart by a line, the wheel, keys and range
// cursor of the graphs. Modal; changes nothing.

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace veltrin {

class CHelpDialog : public QDialog {
    Q_OBJECT

public:
    // `resource` names the help text; when it is missing the text area stays empty.
    explicit CHelpDialog(QWidget* parent = nullptr, const QString& resource = QString());

    QTextBrowser* TextArea() const { return text_; }
    // The second section; empty when its text is missing.
    QLabel* KeysArea() const { return keys_; }

private:
    QTextBrowser* text_;
    QLabel* keys_;
};

}  // namespace veltrin
