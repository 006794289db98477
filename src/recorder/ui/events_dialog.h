#pragma once
// The events dialog of the card way of clearing: shows the recorder's last
// events and asks for its serial number and password.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace veltrin {

class UserPrompts;

class CEventsDialog : public QDialog {
    Q_OBJECT
public:
    // `prompts` shows the message when the two passwords differ.
    explicit CEventsDialog(UserPrompts& prompts, QWidget* parent = nullptr);

    // Lines separated by '\n', newest first.
    void SetEventsText(const QString& text);
    // Valid after OK.
    QString GetEnteredSerialNumber() const { return serialNumber_; }
    QString GetEnteredPassword() const { return password_; }

    // Closes with OK only when both password entries are equal.
    void accept() override;

private:
    UserPrompts& prompts_;
    QLineEdit* serial_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QLineEdit* repeat_ = nullptr;
    QPlainTextEdit* events_ = nullptr;
    QString serialNumber_;
    QString password_;
};

}  // namespace veltrin
