#pragma once
// CHelpDialog: the short help on the mouse operations of the graphs and the
// start list. Modal; changes nothing.

#include <QDialog>

class QTextBrowser;

namespace veltrin {

class CHelpDialog : public QDialog {
    Q_OBJECT

public:
    // `resource` names the help text; when it is missing the text area stays empty.
    explicit CHelpDialog(QWidget* parent = nullptr, const QString& resource = QString());

    QTextBrowser* TextArea() const { return text_; }

private:
    QTextBrowser* text_;
};

}  // namespace veltrin
