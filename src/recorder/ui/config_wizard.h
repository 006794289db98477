#pragma once
// "Logger konfigurieren": the three-page wizard that finds the recorder,
// checks its password and writes its limits, password and registration.

#include "recorder/card/removable_volumes.h"

#include <QString>
#include <QWizard>

#include <optional>
#include <string>

namespace veltrin {

class CCfgPageLimits;
class CCfgPagePassword;
class CCfgPagePort;
class RecorderSession;
class UserPrompts;

// The recorder's load and speed limits, as the wizard read or wrote them.
struct RecorderLimits {
    double negativeLoad = 0.0;  // g
    double positiveLoad = 0.0;  // g
    double speed = 0.0;         // km/h
};

class CConfigWizard : public QWizard {
    Q_OBJECT
public:
    // `rememberedPort` is preselected on the first page and, when the wizard
    // ends with Finish, replaced by the port the recorder was found on.
    // Session, port, prompts and volumes are the caller's and must outlive the wizard.
    CConfigWizard(RecorderSession& session, QString& rememberedPort, UserPrompts& prompts,
                  const card::VolumeLister& volumes, QWidget* parent = nullptr);

    CCfgPagePort* PortPage() const { return portPage_; }
    CCfgPagePassword* PasswordPage() const { return passwordPage_; }
    CCfgPageLimits* LimitsPage() const { return limitsPage_; }

    // Finish, once the limits page accepted its values: writes limits,
    // registration and password to the recorder, makes them permanent and
    // remembers the port. Cancel sends nothing. A link lost since the
    // recorder was found is opened again, and the settings go out only when
    // the recorder answering there has the serial number shown on the first
    // page and accepts the password of the second. When no such recorder
    // answers, or it goes away while the settings are written, says so,
    // keeps the remembered port and stays open; Finish may then be tried again.
    void done(int result) override;

    // The limits written to the recorder with Finish; else those the limits
    // page read from it; nullopt while that page has not been shown.
    std::optional<RecorderLimits> LimitsSeen() const;

private:
    void OnPageChanged(int id);
    // Detects the recorder on `port` again; true when it is the one found
    // before (same serial number, password accepted).
    bool FindSameRecorder(const std::string& port);

    RecorderSession& session_;
    UserPrompts& prompts_;
    QString& rememberedPort_;
    CCfgPagePort* portPage_ = nullptr;
    CCfgPagePassword* passwordPage_ = nullptr;
    CCfgPageLimits* limitsPage_ = nullptr;
    int passwordId_ = -1;
    std::optional<RecorderLimits> writtenLimits_;
};

// The command "Logger konfigurieren": runs the wizard modally with the
// dialogs and volumes of the system. Returns true when it ended with Finish
// (then `port` holds the chosen port). However it ended, `limits`, when
// given, receives LimitsSeen(). The session is the caller's; kept between
// runs, it keeps the link open.
bool RunRecorderConfiguration(QWidget* parent, RecorderSession& session, QString& port,
                              std::optional<RecorderLimits>* limits = nullptr);

}  // namespace veltrin
