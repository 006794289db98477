#pragma once
// Last page of the configuration wizard: the recorder's limits, a new
// password and the aircraft registration, read from the recorder when the
// page is first shown.

#include "recorder/recorder_info.h"

#include <QWizardPage>

#include <array>
#include <optional>

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
    // Finish: both password entries must be equal, and each limit field must
    // hold a number of the right sign (the negative load below 0, the
    // positive load and the speed above 0, as they would be sent); else names
    // the field, puts the focus on it and stays. Then keeps the values.
    bool validatePage() override;

    // The values to write, valid after a successful validatePage().
    const RecorderSettings& Settings() const { return settings_; }
    // What the recorder said when the page last read it; nullopt before.
    const std::optional<RecorderInfo>& LimitsRead() const { return read_; }

private:
    // One number field with its label and unit as shown, the digits after
    // the point it is shown and sent with, and the side of 0 it must lie on.
    struct LimitRow {
        QLineEdit* edit;
        const char* label;
        const char* unit;
        int decimals;
        bool belowZero;
    };
    // The number fields in the page's order.
    std::array<LimitRow, 3> LimitRows() const;
    // Why `row` cannot be sent, or an empty text when it can.
    static QString LimitProblem(const LimitRow& row);

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
    std::optional<RecorderInfo> read_;
};

}  // namespace veltrin
