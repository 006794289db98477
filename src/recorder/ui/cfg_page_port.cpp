#include "recorder/ui/cfg_page_port.h"

#include "recorder/recorder_session.h"
#include "recorder/serial_port.h"
#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/event_clearing.h"
#include "recorder/ui/limit_values.h"
#include "recorder/ui/text_bytes.h"
#include "recorder/ui/user_prompts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWizard>

namespace veltrin {

CCfgPagePort::CCfgPagePort(RecorderSession& session, const QString& rememberedPort,
                           UserPrompts& prompts, const card::VolumeLister& volumes, QWidget* parent)
    : QWizardPage(parent),
      session_(session),
      prompts_(prompts),
      volumes_(volumes),
      rememberedPort_(rememberedPort),
      listPorts_([] { return SerialPort::EnumeratePortNames(); })
{
    setObjectName(QStringLiteral("CCfgPagePort"));

    ports_ = new QComboBox(this);
    ports_->setObjectName(ControlName(config_ui::kIdPortCombo));
    // Editable, so that a device path can be typed; typing adds no entry.
    ports_->setEditable(true);
    ports_->setInsertPolicy(QComboBox::NoInsert);
    ports_->setMinimumContentsLength(24);

    status_ = new QLabel(this);
    status_->setObjectName(ControlName(config_ui::kIdPortStatus));
    status_->setMinimumHeight(status_->fontMetrics().height() * 2);

    clearByCard_ = new QPushButton(QString::fromUtf8(config_ui::kClearByCardButton), this);
    clearByCard_->setObjectName(ControlName(config_ui::kIdClearEventsByCard));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Schnittstelle:"), ports_);
    form->addRow(QString(), status_);
    auto* cardRow = new QHBoxLayout;
    cardRow->addWidget(clearByCard_);
    cardRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(cardRow);

    connect(ports_, &QComboBox::currentIndexChanged, this, &CCfgPagePort::OnPortChosen);
    connect(ports_->lineEdit(), &QLineEdit::editingFinished, this, &CCfgPagePort::OnPortChosen);
    connect(ports_->lineEdit(), &QLineEdit::textEdited, this, &CCfgPagePort::OnPortTextEdited);
    connect(ports_->lineEdit(), &QLineEdit::returnPressed, this, &CCfgPagePort::OnPortReturn);
    timer_.setInterval(config_ui::kDetectInterval);
    connect(&timer_, &QTimer::timeout, this, &CCfgPagePort::OnTimer);
    connect(clearByCard_, &QPushButton::clicked, this, &CCfgPagePort::OnClearEventsByCard);
}

void CCfgPagePort::initializePage()
{
    FillPorts();
    portName_.clear();
    found_ = false;
    chosenPort_ = ports_->currentText();
    Detect();
    timer_.start();
}

void CCfgPagePort::FillPorts()
{
    const QSignalBlocker blocker(ports_);
    ports_->clear();
    if (session_.Link().Usb().UsbOpen()) {
        clearByCard_->hide();
        ports_->addItem(QString::fromUtf8(config_ui::kUsbEntry));
        ports_->setCurrentIndex(0);
        return;
    }
    clearByCard_->show();
    for (const std::string& name : listPorts_())
        ports_->addItem(QString::fromStdString(name));
    int index = ports_->findText(rememberedPort_, Qt::MatchFixedString);  // ignores letter case
    if (index < 0 && rememberedPort_.contains(QLatin1Char('/'))) {
        // A device path the enumeration does not know (a pseudo-terminal,
        // a link under /dev/serial) is still offered.
        ports_->addItem(rememberedPort_);
        index = ports_->count() - 1;
    }
    ports_->setCurrentIndex(index >= 0 ? index : 0);
}

bool CCfgPagePort::isComplete() const
{
    return found_;
}

bool CCfgPagePort::validatePage()
{
    portName_ = ports_->currentText();
    return found_;
}

void CCfgPagePort::Detect()
{
    if (detecting_)
        return;
    if (chosenPort_.isEmpty()) {
        status_->setText(QString::fromUtf8(config_ui::kNoRecorder));
        return;
    }
    detecting_ = true;
    found_ = session_.DetectRecorder(chosenPort_.toStdString());
    if (found_) {
        const RecorderInfo info = session_.GetRecorderInfo();
        portName_ = chosenPort_;
        serialNumber_ = info.serialNumber;
        status_->setText(
            QString::fromUtf8(config_ui::kRecorderFound)
                .arg(QString::fromStdString(FormatLimit(static_cast<double>(info.version), 2)),
                     TextFromBytes(info.serialNumber)));
    } else {
        serialNumber_.clear();
        status_->setText(QString::fromUtf8(config_ui::kNoRecorder));
    }
    detecting_ = false;
    emit completeChanged();
}

void CCfgPagePort::OnTimer()
{
    // A recorder found on this page and unplugged before Next is looked for
    // again, so that Next does not lead to a recorder that is not there.
    if (found_ && isVisible() && !session_.Link().LinkIsOpen())
        found_ = false;
    // While a port name is being typed, the half-typed name is not tried.
    if (!found_ && ports_->currentText() == chosenPort_)
        Detect();
}

void CCfgPagePort::OnPortChosen()
{
    const QString text = ports_->currentText();
    if (text == chosenPort_ && found_)
        return;
    chosenPort_ = text;
    found_ = false;
    Detect();
}

void CCfgPagePort::OnPortReturn()
{
    // The editable port box takes Enter for itself; once the recorder answers
    // on the port shown, Enter goes on to the next page as it would elsewhere.
    OnPortChosen();
    if (found_ && wizard() != nullptr)
        wizard()->next();
}

void CCfgPagePort::OnPortTextEdited()
{
    if (found_) {
        found_ = false;
        status_->clear();
        emit completeChanged();
    }
}

void CCfgPagePort::OnClearEventsByCard()
{
    const CardClearing result = ClearEventsByCard(this, prompts_, volumes_);
    if ((result == CardClearing::CommandWritten || result == CardClearing::WriteFailed) &&
        wizard() != nullptr)
        wizard()->reject();
}

}  // namespace veltrin
