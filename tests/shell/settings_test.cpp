#include "shell_test_support.h"

#include "shell/command_table.h"
#include "shell/frame_settings.h"

#include <QAction>
#include <QSettings>
#include <QStatusBar>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace veltrin::test {
namespace {

class SettingsTest : public ShellTest {
protected:
    void TearDown() override
    {
        ShellTest::TearDown();
        if (savedUser_)
            qputenv("USER", *savedUser_);
        else
            qunsetenv("USER");
    }

    // Runs as a user without media folders of its own; false when a card is
    // mounted for everyone under /media or /mnt, so no fixed default holds.
    bool UserWithoutCard()
    {
        if (qEnvironmentVariableIsSet("USER"))
            savedUser_ = qgetenv("USER");
        const std::string user = "veltrin-test-nobody";
        qputenv("USER", QByteArray::fromStdString(user));
        std::ifstream file("/proc/self/mountinfo");
        std::stringstream text;
        text << file.rdbuf();
        return FindCardDataDirectory(MountPointsFromMountInfo(text.str()),
                                     RemovableMediaRoots(user))
            .empty();
    }

    std::optional<QByteArray> savedUser_;
};

TEST_F(SettingsTest, FirstRunUsesDefaultsAndWritesAllThreeAtExit)
{
    if (!UserWithoutCard())
        GTEST_SKIP() << "a card with a VELT folder is mounted on this machine";
    {
        QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
        store.clear();
    }
    CMainFrame& frame = MakeFrame();
    EXPECT_EQ(frame.Port(), QStringLiteral("ttyS0"));
    EXPECT_EQ(frame.BaseDirectory(), QStringLiteral("/VELT"));
    EXPECT_FALSE(frame.ExtendedKml());
    EXPECT_FALSE(StoredSetting(QStringLiteral("Comport")).isValid());

    DestroyFrame();
    EXPECT_EQ(StoredSetting(QStringLiteral("Comport")).toString(), QStringLiteral("ttyS0"));
    EXPECT_EQ(StoredSetting(QStringLiteral("BaseDir")).toString(), QStringLiteral("/VELT"));
    EXPECT_EQ(StoredSetting(QStringLiteral("Extended KML")).toInt(), 0);
}

TEST_F(SettingsTest, StoredValuesAreReadAndAnyNonZeroKmlFlagIsWrittenBackAsOne)
{
    StoreSetting(QStringLiteral("Comport"), QStringLiteral("/dev/ttyUSB0"));
    StoreSetting(QStringLiteral("Extended KML"), 7);
    CMainFrame& frame = MakeFrame();
    EXPECT_EQ(frame.Port(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(frame.BaseDirectory(), cardPath_);
    EXPECT_TRUE(frame.ExtendedKml());
    DestroyFrame();
    EXPECT_EQ(StoredSetting(QStringLiteral("Extended KML")).toInt(), 1);
    EXPECT_EQ(StoredSetting(QStringLiteral("Comport")).toString(), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(SettingsTest, PortChangedDuringTheRunIsStoredAtExit)
{
    CMainFrame& frame = MakeFrame();
    bool called = false;
    frame.SetConfigureLoggerHandler([&called](CMainFrame& f) {
        called = true;
        f.SetPort(QStringLiteral("ttyUSB1"));
    });
    frame.Action(Command::ConfigureLogger)->trigger();
    EXPECT_TRUE(called);
    DestroyFrame();
    EXPECT_EQ(StoredSetting(QStringLiteral("Comport")).toString(), QStringLiteral("ttyUSB1"));
}

TEST_F(SettingsTest, CommandsCarryTheirPromptsAndStartInTheirStates)
{
    CMainFrame& frame = MakeFrame();
    QAction* exit = frame.Action(Command::Exit);
    EXPECT_EQ(exit->statusTip(),
              QStringLiteral("Beendet die Anwendung und fordert zum Speichern der Dokumente auf."));
    EXPECT_EQ(exit->toolTip(), QStringLiteral("Beenden"));
    EXPECT_EQ(frame.Action(Command::LoadDirectory)->statusTip(),
              QStringLiteral("Loggerdaten laden"));
    EXPECT_EQ(frame.Action(Command::About)->toolTip(), QStringLiteral("Info"));

    EXPECT_FALSE(frame.Action(Command::ExportCsv)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ExportKml)->isEnabled());
    EXPECT_FALSE(frame.Action(Command::ZoomIn)->isEnabled());
    for (Command toggle :
         {Command::ToggleToolBar, Command::ToggleStatusBar, Command::ToggleStartList,
          Command::ToggleAcceleration, Command::ToggleAltitude, Command::ToggleSpeed})
        EXPECT_TRUE(frame.Action(toggle)->isChecked()) << CommandNumber(toggle);
    EXPECT_EQ(frame.StatusText(), QStringLiteral("Bereit"));

    frame.Action(Command::ToggleStatusBar)->trigger();
    EXPECT_TRUE(frame.statusBar()->isHidden());
    EXPECT_FALSE(frame.Action(Command::ToggleStatusBar)->isChecked());
}

}  // namespace
}  // namespace veltrin::test
