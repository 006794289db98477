#include "shell/frame_dialogs.h"

#include "export/dialogs/export_file_dialogs.h"
#include "shell/shell_constants.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace veltrin {

std::optional<QString> DesktopDialogs::BrowseFolder(QWidget* parent, const QString& title,
                                                    const QString& start)
{
    QFileDialog dialog(parent, title, start.isEmpty() ? QDir::currentPath() : start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QString> DesktopDialogs::SaveCsvPath(QWidget* parent, const QString& proposedPath)
{
    return AskCsvExportPath(parent, proposedPath);
}

std::optional<QString> DesktopDialogs::SaveKmlPath(QWidget* parent, const QString& proposedPath,
                                                   bool& extended)
{
    return AskKmlExportPath(parent, proposedPath, extended);
}

std::optional<QString> DesktopDialogs::SaveGpxPath(QWidget* parent, const QString& proposedPath)
{
    return AskGpxExportPath(parent, proposedPath);
}

std::optional<QString> DesktopDialogs::SavePdfPath(QWidget* parent, const QString& title,
                                                   const QString& proposedPath)
{
    QFileDialog dialog(parent, title, proposedPath, QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool DesktopDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<GraphImageOptions> DesktopDialogs::AskGraphImageOptions(
    QWidget* parent, const GraphImageOptions& initial, int windowWidth)
{
    return veltrin::AskGraphImageOptions(parent, initial, windowWidth);
}

std::optional<QString> DesktopDialogs::SaveImagePath(QWidget* parent, const QString& proposedPath)
{
    return AskImagePath(parent, proposedPath);
}

void DesktopDialogs::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace veltrin
