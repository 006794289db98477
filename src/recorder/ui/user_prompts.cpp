#include "recorder/ui/user_prompts.h"

#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/events_dialog.h"
#include "recorder/ui/program_name.h"
#include "recorder/ui/select_drive_dialog.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace veltrin {

QString ControlName(int id)
{
    return QString::number(id);
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QDialogButtonBox::Ok)->setObjectName(ControlName(config_ui::kIdOk));
    buttons->addButton(QString::fromUtf8(config_ui::kCancel), QDialogButtonBox::RejectRole)
        ->setObjectName(ControlName(config_ui::kIdCancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QMessageBox::StandardButton DialogPrompts::ShowMessage(QWidget* parent, QMessageBox::Icon icon,
                                                       const QString& text,
                                                       QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QString::fromUtf8(kProgramName), text, buttons, parent);
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QString::fromUtf8(config_ui::kCancel));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> DialogPrompts::SelectCardDrive(QWidget* parent,
                                                      const card::VolumeLister& volumes)
{
    CSelectDriveDialog dialog(volumes, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedRoot();
}

std::optional<EventsClearingAnswer> DialogPrompts::AskForEventsClearing(QWidget* parent,
                                                                        const QString& eventsText)
{
    CEventsDialog dialog(*this, parent);
    dialog.SetEventsText(eventsText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return EventsClearingAnswer{dialog.GetEnteredSerialNumber(), dialog.GetEnteredPassword()};
}

}  // namespace veltrin
