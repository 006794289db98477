#pragma once
// "Grenzwerte": the dialog in which the user sets or removes the aircraft's
// load and speed limits that the flights are checked against.

#include "analysis/aircraft_limits.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace veltrin {

// A limit field's value when its whole text, blanks around it aside, is a
// decimal number: an optional sign, digits and at most one decimal point or
// comma. nullopt for anything else ("", "abc", "5g", "1e3", "inf").
std::optional<double> ParseLimitText(std::string_view text);

class CLimitsDialog : public QDialog {
    Q_OBJECT

public:
    // Shows `current`; without it, `recorder` (the recorder's limits, as
    // the configuration wizard last saw them) is offered; else the fields
    // are empty.
    CLimitsDialog(const std::optional<AircraftLimits>& current,
                  const std::optional<AircraftLimits>& recorder, QWidget* parent = nullptr);

    // OK: accepts when all three fields hold valid limits; else names the
    // first wrong field below them, puts the focus on it and stays open.
    void accept() override;

    // After the dialog was accepted: the limits entered, or none when the
    // user removed them.
    const std::optional<AircraftLimits>& ChosenLimits() const { return chosen_; }
    // Why the last OK was refused; empty when it was not.
    QString Problem() const;

    QLineEdit* NegativeLoadEdit() const { return negativeLoad_; }
    QLineEdit* PositiveLoadEdit() const { return positiveLoad_; }
    QLineEdit* SpeedEdit() const { return speed_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* RecorderButton() const { return fromRecorder_; }

private:
    void Show(const AircraftLimits& limits);
    void OnRemove();

    QLineEdit* negativeLoad_ = nullptr;
    QLineEdit* positiveLoad_ = nullptr;
    QLineEdit* speed_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* fromRecorder_ = nullptr;
    std::optional<AircraftLimits> recorder_;
    std::optional<AircraftLimits> chosen_;
};

}  // namespace veltrin
