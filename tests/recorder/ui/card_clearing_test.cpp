#include "recorder/card/command_file.h"
#include "recorder/recorder_session.h"
#include "recorder/ui/cfg_page_port.h"
#include "recorder/ui/config_wizard.h"
#include "recorder/ui/event_clearing.h"
#include "recorder/ui/events_dialog.h"
#include "recorder/ui/select_drive_dialog.h"

#include "fake_prompts.h"
#include "qt_printers.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace veltrin {
namespace {

using testing::FakePrompts;

TEST(SelectDriveDialog, OffersFatVolumesAsRootAndLabel)
{
    const card::FixedVolumeLister volumes({{"/media/pilot/STICK", "STICK", "exfat"},
                                           {"/media/pilot/A - B", "VELTRIN", "FAT32"},
                                           {"/media/pilot/3F2A-11C0", "", "FAT16"}});
    CSelectDriveDialog dialog(volumes);
    auto* drives = dialog.findChild<QComboBox*>("1013");
    ASSERT_EQ(drives->count(), 2);
    EXPECT_EQ(drives->itemText(0), "/media/pilot/A - B - VELTRIN");
    EXPECT_EQ(drives->itemText(1), "/media/pilot/3F2A-11C0 - ");
    EXPECT_TRUE(dialog.findChild<QPushButton*>("1")->isEnabled());

    // The root comes back whole even when it holds " - " itself.
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedRoot(), "/media/pilot/A - B");
}

TEST(SelectDriveDialog, WithoutCardOnlyCancelCloses)
{
    const card::FixedVolumeLister volumes({{"/media/pilot/STICK", "STICK", "exfat"}});
    CSelectDriveDialog dialog(volumes);
    auto* drives = dialog.findChild<QComboBox*>("1013");
    ASSERT_EQ(drives->count(), 1);
    EXPECT_EQ(drives->currentText(), "No SD-Card found");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("1")->isEnabled());
    dialog.accept();
    EXPECT_TRUE(dialog.SelectedRoot().isEmpty());
}

TEST(EventsDialog, DifferingPasswordsKeepItOpen)
{
    FakePrompts prompts;
    CEventsDialog dialog(prompts);
    dialog.show();
    dialog.activateWindow();
    dialog.findChild<QLineEdit*>("1014")->setText("SN4711");
    dialog.findChild<QLineEdit*>("1015")->setText("geheim");
    dialog.findChild<QLineEdit*>("1016")->setText("geheiM");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(prompts.messages[0].text, "Die eingegebenen Passwörter sind unterschiedlich!");
    EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QLineEdit*>("1016"));

    dialog.findChild<QLineEdit*>("1016")->setText("geheim");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetEnteredSerialNumber(), "SN4711");
    EXPECT_EQ(dialog.GetEnteredPassword(), "geheim");
}

TEST(EventsDialog, OkButtonChecksTheEntriesAndAbbrechenRejects)
{
    FakePrompts prompts;
    CEventsDialog dialog(prompts);
    dialog.show();
    dialog.findChild<QLineEdit*>("1015")->setText("geheim");
    dialog.findChild<QLineEdit*>("1016")->setText("anders");
    dialog.findChild<QPushButton*>("1")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.messages.size(), 1u);

    auto* cancel = dialog.findChild<QPushButton*>("2");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Abbrechen");
    cancel->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

class CardWay : public ::testing::Test {
protected:
    void WriteCardFile(const QString& relative, const QByteArray& content)
    {
        const QString path = card_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray CommandFile() const
    {
        QFile file(card_.filePath("VELT/CONFIG.INI"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray ExpectedFile(std::string_view password, std::string_view serial,
                                   std::string_view last)
    {
        return QByteArray::fromStdString(
            "[VELTRIN]\r\nCOMMAND=16\r\nKEY=" +
            std::to_string(card::CommandFileKey(password, serial, last)) + "\r\n");
    }
    CardClearing Run() { return ClearEventsByCard(nullptr, prompts_, volumes_); }

    QTemporaryDir card_;
    FakePrompts prompts_;
    card::FixedVolumeLister volumes_{{}};
};

TEST_F(CardWay, LastEventsFileWinsAndEventsAreShownNewestFirst)
{
    WriteCardFile("velt/EVENTS.LOG", "1.1.2011 1:00:00 old\r\n");
    WriteCardFile("velt/lastev.log", "4.3.2012 18:30:00 A\r\n5.3.2012 7:04:09 B\r\n");
    prompts_.drive = card_.path();
    prompts_.eventsAnswer = EventsClearingAnswer{"SN4711", "geheim"};

    EXPECT_EQ(Run(), CardClearing::CommandWritten);
    ASSERT_EQ(prompts_.eventsTexts.size(), 1u);
    EXPECT_EQ(prompts_.eventsTexts[0], "5.3.2012 7:04:09 B\n4.3.2012 18:30:00 A");
    // The command file goes into the card's folder as it is spelt there.
    QFile written(card_.filePath("velt/CONFIG.INI"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), ExpectedFile("geheim", "SN4711", "5.3.2012 7:04:09 B"));
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].text, "Konfigurationsdatei erfolgreich geschrieben!");
}

TEST_F(CardWay, EventsFileIsUsedWithoutLastEventsAndEmptySerialIsAccepted)
{
    WriteCardFile("VELT/EVENTS.LOG", "5.3.2012 7:04:09 B");
    prompts_.drive = card_.path();
    prompts_.eventsAnswer = EventsClearingAnswer{"", "geheim"};
    EXPECT_EQ(Run(), CardClearing::CommandWritten);
    EXPECT_EQ(CommandFile(), ExpectedFile("geheim", "", "5.3.2012 7:04:09 B"));
}

TEST_F(CardWay, ReportsMissingOrEmptyEventFiles)
{
    prompts_.drive = card_.path();
    prompts_.eventsAnswer = EventsClearingAnswer{"SN", "pw"};
    EXPECT_EQ(Run(), CardClearing::NoEventFiles);
    WriteCardFile("VELT/EVENTS.LOG", "");
    EXPECT_EQ(Run(), CardClearing::NoEvents);

    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(prompts_.messages[0].text,
              "Keine Eventdateien gefunden.\nIst das eine Veltrin SD-Karte?");
    EXPECT_EQ(prompts_.messages[1].text, "Keine Events gefunden.");
    EXPECT_TRUE(prompts_.eventsTexts.empty());
    EXPECT_TRUE(CommandFile().isEmpty());
}

TEST_F(CardWay, CancelWritesNothing)
{
    WriteCardFile("VELT/EVENTS.LOG", "5.3.2012 7:04:09 B\n");
    EXPECT_EQ(Run(), CardClearing::Cancelled);  // no drive chosen
    prompts_.drive = card_.path();
    EXPECT_EQ(Run(), CardClearing::Cancelled);  // events dialog cancelled
    EXPECT_EQ(prompts_.eventsTexts.size(), 1u);
    EXPECT_TRUE(prompts_.messages.empty());
    EXPECT_FALSE(QFile::exists(card_.filePath("VELT/CONFIG.INI")));
}

TEST_F(CardWay, WriteProtectedCardIsReportedAndClosesTheWizard)
{
    WriteCardFile("VELT/EVENTS.LOG", "5.3.2012 7:04:09 B\n");
    QDir().mkpath(card_.filePath("VELT/CONFIG.INI.tmp"));  // the file cannot be created
    prompts_.drive = card_.path();
    prompts_.eventsAnswer = EventsClearingAnswer{"SN", "pw"};

    RecorderSession session;
    QString port = QStringLiteral("ttyVELT9");
    CConfigWizard wizard(session, port, prompts_, volumes_);
    wizard.PortPage()->SetPortLister([] { return std::vector<std::string>{"ttyVELT9"}; });
    wizard.show();
    wizard.findChild<QPushButton*>("1012")->click();

    ASSERT_FALSE(prompts_.messages.empty());
    EXPECT_EQ(prompts_.messages.back().icon, QMessageBox::Information);
    EXPECT_EQ(prompts_.messages.back().text,
              "Konfigurationsdatei konnte nicht geschrieben werden (Schreibschutz?)");
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_EQ(port, "ttyVELT9");
}

}  // namespace
}  // namespace veltrin
