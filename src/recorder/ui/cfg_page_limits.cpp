#include "recorder/ui/cfg_page_limits.h"

#include "recorder/recorder_session.h"
#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/event_clearing.h"
#include "recorder/ui/limit_values.h"
#include "recorder/ui/recorder_text_validator.h"
#include "recorder/ui/text_bytes.h"
#include "recorder/ui/user_prompts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace veltrin {
namespace {

QString FieldText(double value, int decimals)
{
    return QString::fromStdString(FormatLimit(value, decimals));
}

}  // namespace

CCfgPageLimits::CCfgPageLimits(RecorderSession& session, UserPrompts& prompts, QWidget* parent)
    : QWizardPage(parent), session_(session), prompts_(prompts)
{
    setObjectName(QStringLiteral("CCfgPageLimits"));

    maxSpeed_ = AddEdit(config_ui::kIdMaxSpeed, config_ui::kNumberLength);
    maxNegativeLoad_ = AddEdit(config_ui::kIdMaxNegativeLoad, config_ui::kNumberLength);
    maxPositiveLoad_ = AddEdit(config_ui::kIdMaxPositiveLoad, config_ui::kNumberLength);
    for (QLineEdit* number : {maxSpeed_, maxNegativeLoad_, maxPositiveLoad_}) {
        number->setAlignment(Qt::AlignRight);
        number->setMaximumWidth(number->fontMetrics().horizontalAdvance(
                                    QString(config_ui::kNumberLength, QLatin1Char('0'))) +
                                16);
    }
    newPassword_ = AddEdit(config_ui::kIdNewPassword, config_ui::kPasswordLength);
    repeatPassword_ = AddEdit(config_ui::kIdRepeatPassword, config_ui::kPasswordLength);
    registration_ = AddEdit(config_ui::kIdRegistration, config_ui::kRegistrationLength);
    for (QLineEdit* text : {newPassword_, repeatPassword_, registration_})
        text->setValidator(MakeRecorderTextValidator(text));
    newPassword_->setEchoMode(QLineEdit::Password);
    repeatPassword_->setEchoMode(QLineEdit::Password);

    auto* limits = new QGroupBox(QStringLiteral("Grenzwerte"), this);
    auto* limitsGrid = new QGridLayout(limits);
    int row = 0;
    for (const LimitRow& r : LimitRows()) {
        limitsGrid->addWidget(new QLabel(QString::fromUtf8(r.label), limits), row, 0);
        limitsGrid->addWidget(r.edit, row, 1);
        limitsGrid->addWidget(new QLabel(QString::fromUtf8(r.unit), limits), row, 2);
        ++row;
    }
    limitsGrid->setColumnStretch(3, 1);

    auto* password = new QGroupBox(QStringLiteral("Passwort"), this);
    auto* passwordGrid = new QGridLayout(password);
    passwordGrid->addWidget(new QLabel(QStringLiteral("Eingabe"), password), 0, 0);
    passwordGrid->addWidget(newPassword_, 0, 1);
    passwordGrid->addWidget(new QLabel(QStringLiteral("Wiederholung"), password), 1, 0);
    passwordGrid->addWidget(repeatPassword_, 1, 1);

    auto* aircraft = new QGroupBox(QStringLiteral("Flugzeug"), this);
    auto* aircraftGrid = new QGridLayout(aircraft);
    aircraftGrid->addWidget(new QLabel(QStringLiteral("Kennzeichen"), aircraft), 0, 0);
    aircraftGrid->addWidget(registration_, 0, 1);

    auto* clearEvents = new QPushButton(QString::fromUtf8(config_ui::kClearByLinkButton), this);
    clearEvents->setObjectName(ControlName(config_ui::kIdClearEventsByLink));
    connect(clearEvents, &QPushButton::clicked, this, &CCfgPageLimits::OnClearEventsByLink);

    auto* lower = new QHBoxLayout;
    lower->addWidget(password, 1);
    lower->addWidget(aircraft, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(clearEvents);
    buttonRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(limits);
    layout->addLayout(lower);
    layout->addStretch(1);
    layout->addLayout(buttonRow);
}

std::array<CCfgPageLimits::LimitRow, 3> CCfgPageLimits::LimitRows() const
{
    return {{
        {maxSpeed_, "Max. Geschwindigkeit", "km/h", 0, false},
        {maxNegativeLoad_, "Max. negative Belastung", "g", 1, true},
        {maxPositiveLoad_, "Max. positive Belastung", "g", 1, false},
    }};
}

QString CCfgPageLimits::LimitProblem(const LimitRow& row)
{
    const QString label = QString::fromUtf8(row.label);
    const std::optional<double> value = ParseLimitField(row.edit->text().toStdString());
    if (!value)
        return QString::fromUtf8(config_ui::kLimitNotANumber).arg(label);
    // Judged as sent, so that 0.04 g, which goes out as "0.0", is no limit either.
    const double sent = LimitAsSent(*value, row.decimals);
    if (row.belowZero && !(sent < 0.0))
        return QString::fromUtf8(config_ui::kLimitNotBelowZero).arg(label);
    if (!row.belowZero && !(sent > 0.0))
        return QString::fromUtf8(config_ui::kLimitNotAboveZero).arg(label);
    return {};
}

QLineEdit* CCfgPageLimits::AddEdit(int id, int maxLength)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(ControlName(id));
    edit->setMaxLength(maxLength);
    return edit;
}

void CCfgPageLimits::initializePage()
{
    const QString accepted = TextFromBytes(session_.GetPassword());
    newPassword_->setText(accepted);
    repeatPassword_->setText(accepted);
    registration_->clear();

    const RecorderInfo info = session_.ReadRecorderSettings();
    read_ = info;
    maxNegativeLoad_->setText(FieldText(info.maxNegativeLoad, 1));
    maxPositiveLoad_->setText(FieldText(info.maxPositiveLoad, 1));
    maxSpeed_->setText(FieldText(info.maxSpeed, 0));
    // The registration is shown as it came, even when longer than can be typed.
    const QString registration = TextFromBytes(info.registration);
    registration_->setMaxLength(
        std::max(config_ui::kRegistrationLength, static_cast<int>(registration.size())));
    registration_->setText(registration);

    settings_.maxNegativeLoad = info.maxNegativeLoad;
    settings_.maxPositiveLoad = info.maxPositiveLoad;
    settings_.maxSpeed = info.maxSpeed;
    settings_.registration = info.registration;
}

bool CCfgPageLimits::validatePage()
{
    if (newPassword_->text() != repeatPassword_->text()) {
        prompts_.ShowMessage(this, QMessageBox::Critical,
                             QString::fromUtf8(config_ui::kPasswordsDiffer));
        newPassword_->setFocus();
        return false;
    }
    for (const LimitRow& row : LimitRows()) {
        const QString problem = LimitProblem(row);
        if (!problem.isEmpty()) {
            prompts_.ShowMessage(this, QMessageBox::Critical, problem);
            row.edit->setFocus();
            return false;
        }
    }
    settings_.maxSpeed = ParseLimit(maxSpeed_->text().toStdString());
    settings_.maxPositiveLoad = ParseLimit(maxPositiveLoad_->text().toStdString());
    settings_.maxNegativeLoad = ParseLimit(maxNegativeLoad_->text().toStdString());
    settings_.password = BytesFromText(newPassword_->text());
    settings_.registration = BytesFromText(registration_->text());
    return true;
}

void CCfgPageLimits::OnClearEventsByLink()
{
    ClearEventsByLink(this, session_, prompts_);
}

}  // namespace veltrin
