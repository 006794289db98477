#include "export/dialogs/export_file_dialogs.h"

#include "export/dialogs/ex_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace veltrin {

namespace {

// The single extension a Qt filter names ("Daten Dateien (*.dat)" gives "dat"),
// or an empty string for wildcards and lists.
QString SuffixOfFilter(const QString& filter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)$"));
    const QRegularExpressionMatch match = single.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QString QtFilterFromList(const char* list)
{
    const QStringList parts = QString::fromUtf8(list).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString text = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        // Texts already show their pattern in parentheses; Qt reads the
        // patterns from the last pair of them.
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            text = text.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(text, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

void SetUpSaveDialog(QFileDialog& dialog, const char* filterList, const QString& defaultSuffix,
                     const QString& proposedPath)
{
    dialog.setWindowTitle(QStringLiteral("Speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setNameFilters(QtFilterFromList(filterList).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(defaultSuffix);
    const QFileInfo proposed(proposedPath);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, defaultSuffix](const QString& filter) {
                         const QString suffix = SuffixOfFilter(filter);
                         dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix : suffix);
                     });
}

std::optional<QString> AskCsvExportPath(QWidget* parent, const QString& proposedPath)
{
    QFileDialog dialog(parent);
    SetUpSaveDialog(dialog, kCsvFilterList, QStringLiteral("csv"), proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> AskKmlExportPath(QWidget* parent, const QString& proposedPath,
                                        bool& extended)
{
    CExFileDialog dialog(parent, QString(), QString(), QString());
    SetUpSaveDialog(dialog, kKmlFilterList, QStringLiteral("kml"), proposedPath);
    dialog.SetExtendedKml(extended);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    extended = dialog.ExtendedKml();
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> AskGpxExportPath(QWidget* parent, const QString& proposedPath)
{
    QFileDialog dialog(parent);
    SetUpSaveDialog(dialog, kGpxFilterList, QStringLiteral("gpx"), proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace veltrin
