#pragma once
// The modal questions the configuration wizard and the event clearing ask
// the user, behind one interface so that tests can answer them.

#include "recorder/card/removable_volumes.h"

#include <QMessageBox>
#include <QString>

#include <optional>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace veltrin {

// What the user entered in the events dialog.
struct EventsClearingAnswer {
    QString serialNumber;
    QString password;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A message box captioned "Veltrin View"; returns the button pressed.
    virtual QMessageBox::StandardButton ShowMessage(
        QWidget* parent, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
    // The drive selection over the given volumes; the chosen root, or nullopt
    // when the user cancelled.
    virtual std::optional<QString> SelectCardDrive(QWidget* parent,
                                                   const card::VolumeLister& volumes) = 0;
    // The events dialog showing `eventsText`; nullopt when the user cancelled.
    virtual std::optional<EventsClearingAnswer> AskForEventsClearing(QWidget* parent,
                                                                     const QString& eventsText) = 0;
};

// The real dialogs and message boxes.
class DialogPrompts final : public UserPrompts {
public:
    QMessageBox::StandardButton ShowMessage(
        QWidget* parent, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok) override;
    std::optional<QString> SelectCardDrive(QWidget* parent,
                                           const card::VolumeLister& volumes) override;
    std::optional<EventsClearingAnswer> AskForEventsClearing(QWidget* parent,
                                                             const QString& eventsText) override;
};

// The object name that carries a control id.
QString ControlName(int id);

// The OK and "Abbrechen" buttons of a recorder dialog, named by their control
// ids, OK accepting and "Abbrechen" rejecting `dialog`; owned by `dialog`.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

}  // namespace veltrin
