#include "export/dialogs/ex_file_dialog.h"
#include "export/dialogs/export_file_dialogs.h"
#include "shell/help_dialog.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QLabel>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace veltrin {
namespace {

TEST(QtFilterFromList, ConvertsEveryEntryAndMatchesAllNamesForStarDotStar)
{
    EXPECT_EQ(QtFilterFromList(kCsvFilterList),
              QStringLiteral("Excel CSV Dateien (*.csv);;Daten Dateien (*.dat);;Alle Dateien (*)"));
    EXPECT_EQ(QtFilterFromList(kKmlFilterList),
              QStringLiteral("KML Dateien (*.kml);;Alle Dateien (*)"));
    EXPECT_EQ(QtFilterFromList(kGpxFilterList),
              QStringLiteral("GPX Dateien (*.gpx);;Alle Dateien (*)"));
}

TEST(SaveDialogs, ProposeTheNameWithOverwritePromptAndFollowTheFilter)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    SetUpSaveDialog(dialog, kCsvFilterList, QStringLiteral("csv"),
                    QStringLiteral("/tmp/vlt_20120826_1405"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
    EXPECT_EQ(dialog.nameFilters().size(), 3);
    emit dialog.filterSelected(QStringLiteral("Daten Dateien (*.dat)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("dat"));
    emit dialog.filterSelected(QStringLiteral("Alle Dateien (*)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("csv"));
}

TEST(CExFileDialog, CheckBoxAndOptionStayInStep)
{
    CExFileDialog dialog(nullptr, QString(), QString(), QString());
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    QCheckBox* box = dialog.ExtendedKmlCheckBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Erweitertes KML (ab Google Earth 5.2)"));
    EXPECT_FALSE(dialog.ExtendedKml());
    dialog.SetExtendedKml(true);
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_FALSE(dialog.ExtendedKml());
}

TEST(CHelpDialog, ShowsAllTwelveLinesInADisabledAreaWithAlignedColumns)
{
    CHelpDialog dialog;
    QTextBrowser* text = dialog.TextArea();
    EXPECT_FALSE(text->isEnabled());
    EXPECT_TRUE(text->isReadOnly());

    QTextDocument* document = text->document();
    const QStringList lines = document->toPlainText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 12);
    EXPECT_EQ(lines[0], QStringLiteral(" Kurze Hilfe zu ZADUdir"));
    EXPECT_EQ(lines[7], QStringLiteral("   Maus mitte: \t\t\tMarker setzten"));
    const char* const expected[] = {
        " Kurze Hilfe zu ZADUdir",
        "",
        " Graphen:",
        "   Maus links gedrückt halten: \tAusschnitt verschieben",
        "   Maus links Doppelklick: \t\tGrößer Zoomen",
        "   Maus rechts Doppelklick:\tKleiner Zoomen",
        "   Maus links + SHIFT:\t\tAusschnitt wählen",
        "   Maus mitte: \t\t\tMarker setzten",
        "",
        " Starts:",
        "   Maus links: \t\t\tMaximalwerte anzeigen",
        "   Maus links Doppelklick: \t\tVerlauf anzeigen",
    };
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(lines[i].toStdString(), expected[i]) << "line " << i + 1;
    for (qsizetype i = 12; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].trimmed().isEmpty()) << "line " << i + 1;
    EXPECT_TRUE(document->firstBlock().charFormat().font().bold() ||
                document->firstBlock().begin().fragment().charFormat().font().bold());

    // Everything fits without scrolling.
    document->setTextWidth(text->viewport()->width());
    EXPECT_LE(document->size().height(), text->viewport()->height());
    EXPECT_LE(document->idealWidth(), text->viewport()->width());

    // The effect texts of the gesture lines start at the same x.
    QList<qreal> columns;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const auto tab = static_cast<int>(block.text().lastIndexOf(QLatin1Char('\t')));
        if (tab < 0 || !block.layout() || block.layout()->lineCount() == 0)
            continue;
        columns << block.layout()->lineAt(0).cursorToX(tab + 1);
    }
    ASSERT_EQ(columns.size(), 7);
    for (qreal x : columns)
        EXPECT_EQ(x, columns.front());
}

TEST(CHelpDialog, ASecondSectionBelowTheShortHelpListsWheelKeysAndRange)
{
    CHelpDialog dialog;
    dialog.show();
    QLabel* keys = dialog.KeysArea();
    ASSERT_TRUE(keys->isVisible());
    EXPECT_GT(keys->geometry().top(), dialog.TextArea()->geometry().bottom());
    QTextDocument plain;
    plain.setHtml(keys->text());
    const QString text = plain.toPlainText();
    for (const char* entry :
         {"Mausrad", "STRG + Mausrad", "SHIFT + Mausrad", "Pfeil links / rechts",
          "Bild auf / Bild ab", "Pos1", "Rücktaste", "SHIFT + , / .", "STRG + Maus mitte", "ESC"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(entry))) << entry;
    // The short help above keeps its twelve lines alone.
    EXPECT_FALSE(dialog.TextArea()->document()->toPlainText().contains(QStringLiteral("Mausrad")));
}

TEST(CHelpDialog, MissingHelpTextLeavesTheAreaEmpty)
{
    CHelpDialog dialog(nullptr, QStringLiteral(":/no/such/help"));
    EXPECT_TRUE(dialog.TextArea()->document()->isEmpty());
}

}  // namespace
}  // namespace veltrin
