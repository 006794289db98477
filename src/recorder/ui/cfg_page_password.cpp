#include "recorder/ui/cfg_page_password.h"

#include "recorder/recorder_session.h"
#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/recorder_text_validator.h"
#include "recorder/ui/text_bytes.h"
#include "recorder/ui/user_prompts.h"

#include <QFormLayout>
#include <QLineEdit>

namespace veltrin {

CCfgPagePassword::CCfgPagePassword(RecorderSession& session, QWidget* parent)
    : QWizardPage(parent), session_(session)
{
    setObjectName(QStringLiteral("CCfgPagePassword"));
    password_ = new QLineEdit(this);
    password_->setObjectName(ControlName(config_ui::kIdPassword));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(config_ui::kPasswordLength);
    password_->setValidator(MakeRecorderTextValidator(password_));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Passwort:"), password_);

    // Each change asks the recorder, so every keystroke sends one check.
    connect(password_, &QLineEdit::textChanged, this, &CCfgPagePassword::CheckPassword);
}

bool CCfgPagePassword::isComplete() const
{
    return accepted_;
}

void CCfgPagePassword::OnSetActive()
{
    password_->setFocus();
    CheckPassword();
}

std::string CCfgPagePassword::Password() const
{
    return BytesFromText(password_->text());
}

void CCfgPagePassword::CheckPassword()
{
    accepted_ = session_.CheckPassword(Password());
    emit completeChanged();
}

}  // namespace veltrin
