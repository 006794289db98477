#pragma once
// The drive selection: which removable volume holds the recorder's card.

#include "recorder/card/removable_volumes.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QPushButton;

namespace veltrin {

class CSelectDriveDialog : public QDialog {
    Q_OBJECT
public:
    // Lists the volumes that can hold a card; with none, shows
    // "No SD-Card found" and only Cancel can close the dialog.
    explicit CSelectDriveDialog(const card::VolumeLister& volumes, QWidget* parent = nullptr);

    // The chosen volume's root; empty until OK.
    QString SelectedRoot() const { return selectedRoot_; }

    void accept() override;

private:
    QComboBox* drives_ = nullptr;
    QPushButton* ok_ = nullptr;
    QString selectedRoot_;
};

}  // namespace veltrin
