#include "recorder/ui/select_drive_dialog.h"

#include "recorder/ui/config_ui_constants.h"
#include "recorder/ui/user_prompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrin {

CSelectDriveDialog::CSelectDriveDialog(const card::VolumeLister& volumes, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(config_ui::kDriveTitle));

    auto* prompt = new QLabel(QString::fromUtf8(config_ui::kDrivePrompt), this);
    drives_ = new QComboBox(this);
    drives_->setObjectName(ControlName(config_ui::kIdDriveCombo));
    drives_->setMinimumContentsLength(32);
    drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    ok_ = buttons->button(QDialogButtonBox::Ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(drives_);
    layout->addSpacing(8);
    layout->addWidget(buttons);

    // Each entry keeps its root as item data, so a mount point holding " - "
    // is still returned whole.
    for (const card::CardDriveEntry& entry : card::CardDriveEntries(volumes.List()))
        drives_->addItem(QString::fromStdString(entry.text), QString::fromStdString(entry.root));
    if (drives_->count() == 0) {
        drives_->addItem(QString::fromUtf8(config_ui::kNoCard));
        ok_->setEnabled(false);
    }
    drives_->setCurrentIndex(0);
}

void CSelectDriveDialog::accept()
{
    const QString root = drives_->currentData().toString();
    if (root.isEmpty())
        return;
    selectedRoot_ = root;
    QDialog::accept();
}

}  // namespace veltrin
