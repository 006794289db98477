#include "recorder/ui/config_wizard.h"

#include "recorder/recorder_session.h"
#include "recorder/ui/cfg_page_limits.h"
#include "recorder/ui/cfg_page_password.h"
#include "recorder/ui/cfg_page_port.h"
#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/limit_values.h"
#include "recorder/ui/user_prompts.h"

#include <memory>
#include <string>

namespace veltrin {

namespace {

// Digits after the point of the limits as the recorder receives them.
constexpr int kLoadDecimals = 1;
constexpr int kSpeedDecimals = 0;

}  // namespace

CConfigWizard::CConfigWizard(RecorderSession& session, QString& rememberedPort,
                             UserPrompts& prompts, const card::VolumeLister& volumes,
                             QWidget* parent)
    : QWizard(parent), session_(session), prompts_(prompts), rememberedPort_(rememberedPort)
{
    setWindowTitle(QString::fromUtf8(config_ui::kWizardTitle));
    setWizardStyle(QWizard::ClassicStyle);
    // Each page reads the recorder once, when first shown; Back keeps what
    // was entered.
    setOptions(QWizard::IndependentPages | QWizard::NoBackButtonOnStartPage);
    setButtonText(QWizard::BackButton, QStringLiteral("< &Zurück"));
    setButtonText(QWizard::NextButton, QStringLiteral("&Weiter >"));
    setButtonText(QWizard::FinishButton, QStringLiteral("Fertig stellen"));
    setButtonText(QWizard::CancelButton, QString::fromUtf8(config_ui::kCancel));

    portPage_ = new CCfgPagePort(session, rememberedPort, prompts, volumes, this);
    passwordPage_ = new CCfgPagePassword(session, this);
    limitsPage_ = new CCfgPageLimits(session, prompts, this);
    addPage(portPage_);
    passwordId_ = addPage(passwordPage_);
    addPage(limitsPage_);

    connect(this, &QWizard::currentIdChanged, this, &CConfigWizard::OnPageChanged);
}

void CConfigWizard::OnPageChanged(int id)
{
    if (id == passwordId_)
        passwordPage_->OnSetActive();
}

void CConfigWizard::done(int result)
{
    if (result != QDialog::Accepted) {
        QWizard::done(result);
        return;
    }
    if (!validateCurrentPage())
        return;
    // A recorder unplugged since it was found would get nothing, silently:
    // try its port once more (it may be back), else say so and keep what was
    // entered. The same when it goes away while the settings are written.
    session_.ReadReplies();
    const std::string port = portPage_->PortName().toStdString();
    const bool reachable = session_.Link().LinkIsOpen() || FindSameRecorder(port);
    if (!reachable || !session_.WriteRecorderSettings(limitsPage_->Settings())) {
        prompts_.ShowMessage(this, QMessageBox::Critical, QString::fromUtf8(config_ui::kLinkLost));
        return;
    }
    const RecorderSettings& written = limitsPage_->Settings();
    writtenLimits_ = RecorderLimits{LimitAsSent(written.maxNegativeLoad, kLoadDecimals),
                                    LimitAsSent(written.maxPositiveLoad, kLoadDecimals),
                                    LimitAsSent(written.maxSpeed, kSpeedDecimals)};
    rememberedPort_ = portPage_->PortName();
    QDialog::done(result);
}

bool CConfigWizard::FindSameRecorder(const std::string& port)
{
    // Another recorder may answer on the port now; settings and a new
    // password meant for the one found must not go to it.
    if (!session_.DetectRecorder(port))
        return false;
    if (session_.GetRecorderInfo().serialNumber == portPage_->SerialNumber() &&
        session_.CheckPassword(passwordPage_->Password()))
        return true;
    // Closed, so that Finish tried again checks again instead of taking the
    // open link for the recorder found.
    session_.CloseLink();
    return false;
}

std::optional<RecorderLimits> CConfigWizard::LimitsSeen() const
{
    if (writtenLimits_)
        return writtenLimits_;
    const std::optional<RecorderInfo>& read = limitsPage_->LimitsRead();
    if (!read)
        return std::nullopt;
    return RecorderLimits{read->maxNegativeLoad, read->maxPositiveLoad, read->maxSpeed};
}

bool RunRecorderConfiguration(QWidget* parent, RecorderSession& session, QString& port,
                              std::optional<RecorderLimits>* limits)
{
    DialogPrompts prompts;
    const std::unique_ptr<card::VolumeLister> volumes = card::MakeSystemVolumeLister();
    CConfigWizard wizard(session, port, prompts, *volumes, parent);
    const bool finished = wizard.exec() == QDialog::Accepted;
    if (limits)
        *limits = wizard.LimitsSeen();
    return finished;
}

}  // namespace veltrin
