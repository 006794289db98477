#pragma once
// The KML save dialog: a file dialog with the check box that chooses the
// extended (time-stamped) document.

#include <QFileDialog>

class QCheckBox;

namespace veltrin {

class CExFileDialog : public QFileDialog {
    Q_OBJECT

public:
    // Same arguments as a plain file dialog; the check box starts unticked.
    CExFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                  const QString& filter);

    // Ticks or clears the check box.
    void SetExtendedKml(bool extended);
    // The check box state; follows every click on it.
    bool ExtendedKml() const;

    QCheckBox* ExtendedKmlCheckBox() const { return checkBox_; }

private:
    QCheckBox* checkBox_ = nullptr;  // owned by the dialog
};

}  // namespace veltrin
