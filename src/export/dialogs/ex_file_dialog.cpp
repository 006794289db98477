#include "export/dialogs/ex_file_dialog.h"

#include <QCheckBox>
#include <QGridLayout>

namespace veltrin {

CExFileDialog::CExFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter)
    : QFileDialog(parent, caption, directory, filter)
{
    // The check box goes into the dialog's own layout, which needs Qt's dialog
    // rather than the desktop's.
    setOption(QFileDialog::DontUseNativeDialog, true);
    checkBox_ = new QCheckBox(QStringLiteral("Erweitertes KML (ab Google Earth 5.2)"), this);
    checkBox_->setObjectName(QStringLiteral("extendedKml"));
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(checkBox_, grid->rowCount(), 0, 1, grid->columnCount());
    else if (layout())
        layout()->addWidget(checkBox_);
}

void CExFileDialog::SetExtendedKml(bool extended)
{
    checkBox_->setChecked(extended);
}

bool CExFileDialog::ExtendedKml() const
{
    return checkBox_->isChecked();
}

}  // namespace veltrin
