#pragma once
// First page of the configuration wizard: finds the recorder on a serial
// port or its USB drive, once a second until it answers.

#include "recorder/card/removable_volumes.h"

#include <QString>
#include <QTimer>
#include <QWizardPage>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace veltrin {

class RecorderSession;
class UserPrompts;

class CCfgPagePort : public QWizardPage {
    Q_OBJECT
public:
    // Names of the serial ports to offer, in the system's order.
    using PortLister = std::function<std::vector<std::string>()>;

    CCfgPagePort(RecorderSession& session, const QString& rememberedPort, UserPrompts& prompts,
                 const card::VolumeLister& volumes, QWidget* parent = nullptr);

    // Replaces the system's port enumeration; takes effect when the page is first shown.
    void SetPortLister(PortLister lister) { listPorts_ = std::move(lister); }

    // Lists the ports (only "USB" when the recorder's drive is present),
    // selects the remembered one and starts detecting.
    void initializePage() override;
    // Next needs a recorder found on the shown port.
    bool isComplete() const override;
    bool validatePage() override;

    // The port the recorder was found on (set when the page is left with Next).
    QString PortName() const { return portName_; }
    // The serial number shown for the recorder found (as received); empty
    // while none was found.
    const std::string& SerialNumber() const { return serialNumber_; }
    bool Found() const { return found_; }

private:
    void FillPorts();
    void Detect();
    void OnTimer();
    void OnPortChosen();
    void OnPortReturn();
    void OnPortTextEdited();
    void OnClearEventsByCard();

    RecorderSession& session_;
    UserPrompts& prompts_;
    const card::VolumeLister& volumes_;
    QString rememberedPort_;
    PortLister listPorts_;
    QComboBox* ports_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* clearByCard_ = nullptr;
    QTimer timer_;
    QString portName_;
    std::string serialNumber_;
    QString chosenPort_;  // the port text detection uses (typed text counts once committed)
    bool found_ = false;
    bool detecting_ = false;
};

}  // namespace veltrin
