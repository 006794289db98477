#include "recorder/ui/events_dialog.h"

#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/user_prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace veltrin {

CEventsDialog::CEventsDialog(UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts)
{
    setWindowTitle(QString::fromUtf8(config_ui::kEventsTitle));

    auto* prompt = new QLabel(QString::fromUtf8(config_ui::kEventsPrompt), this);

    serial_ = new QLineEdit(this);
    serial_->setObjectName(ControlName(config_ui::kIdEventsSerial));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName(ControlName(config_ui::kIdEventsPassword));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    repeat_ = new QLineEdit(this);
    repeat_->setObjectName(ControlName(config_ui::kIdEventsRepeat));
    repeat_->setEchoMode(QLineEdit::Password);

    events_ = new QPlainTextEdit(this);
    events_->setObjectName(ControlName(config_ui::kIdEventsText));
    events_->setReadOnly(true);
    events_->setLineWrapMode(QPlainTextEdit::NoWrap);
    events_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    events_->setMinimumSize(events_->fontMetrics().horizontalAdvance(QString(48, QLatin1Char('0'))),
                            140);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Veltrin S/N:"), serial_);
    form->addRow(QStringLiteral("Passwort:"), passwordEdit_);
    form->addRow(QString(), repeat_);

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Letzte Events:"), this));
    layout->addWidget(events_, 1);
    layout->addWidget(buttons);
}

void CEventsDialog::SetEventsText(const QString& text)
{
    events_->setPlainText(text);
    events_->moveCursor(QTextCursor::Start);
}

void CEventsDialog::accept()
{
    if (passwordEdit_->text() != repeat_->text()) {
        prompts_.ShowMessage(this, QMessageBox::Information,
                             QString::fromUtf8(config_ui::kEventsPasswordsDiffer));
        repeat_->setFocus();
        return;
    }
    serialNumber_ = serial_->text();
    password_ = passwordEdit_->text();
    QDialog::accept();
}

}  // namespace veltrin
