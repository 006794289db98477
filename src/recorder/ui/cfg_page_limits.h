#pragma once
// Last page of the configuration wizard: the recorder's limits, a new
// password and the aircraft registration, read from the recorder when the
// page is first shown.

#include "recorder/recorder_info.h"

#include <QWizardPage>

class QLineEdit;

namespace veltrin {

class RecorderSession;
class UserPrompts;

class CCfgPageLimits : public QWizardPage {
    Q_OBJECT
public:
    CCfgPageLimits(RecorderSession& session, UserPrompts& prompts, QWidget* parent = nullptr);

    // Puts the accepted password into both password fields and shows the
    // recorder's limits and registration.
    void initializePage() override;
    // Finish: both password entries must be equal; then keeps the values.
    bool validatePage() override;

    // The values to write, valid after a successful validatePage().
    const RecorderSettings& Settings() const { return settings_; }

private:
    QLineEdit* AddEdit(int id, int maxLength);
    void OnClearEventsByLink();

    RecorderSession& session_;
    UserPrompts& prompts_;
    QLineEdit* maxSpeed_ = nullptr;
    QLineEdit* maxNegativeLoad_ = nullptr;
    QLineEdit* maxPositiveLoad_ = nullptr;
    QLineEdit* newPassword_ = nullptr;
    QLineEdit* repeatPassword_ = nullptr;
    QLineEdit* registration_ = nullptr;
    RecorderSettings settings_;
};

}  // namespace veltrin
