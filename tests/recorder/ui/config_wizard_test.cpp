#include "recorder/ui/config_wizard.h"
#include "recorder-sim/simulated_usb.h"
#include "recorder/recorder_session.h"
#include "recorder/ui/cfg_page_limits.h"
#include "recorder/ui/cfg_page_password.h"
#include "recorder/ui/cfg_page_port.h"

#include "fake_prompts.h"
#include "qt_printers.h"
#include "recorder_sim_process.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace veltrin {
namespace {

using testing::FakePrompts;
using testing::Pump;
using testing::RecorderSimProcess;

constexpr const char* kFound = "Logger gefunden, Ver. %1, S/N %2";

class NoDrives final : public DriveAccess {
public:
    std::vector<DiskDescriptor> ListDisks() override { return {}; }
    std::unique_ptr<ScsiDevice> OpenDisk(const std::string&) override { return nullptr; }
};

class ConfigWizard : public ::testing::Test {
protected:
    // Starts a simulator and a wizard that remembers its pseudo-terminal.
    void StartWith(const QStringList& simOptions)
    {
        ASSERT_TRUE(sim_.Start(simOptions)) << "recorder simulator did not start";
        port_ = sim_.Path();
        OpenWizard();
    }

    void OpenWizard(CCfgPagePort::PortLister ports = [] { return std::vector<std::string>{}; })
    {
        wizard_ = std::make_unique<CConfigWizard>(session_, port_, prompts_, volumes_);
        wizard_->PortPage()->SetPortLister(std::move(ports));
        wizard_->show();
        wizard_->activateWindow();
    }

    template <typename T = QLineEdit>
    T* Control(int id)
    {
        return wizard_->findChild<T*>(QString::number(id));
    }
    bool NextEnabled() { return wizard_->button(QWizard::NextButton)->isEnabled(); }
    QString Status() { return Control<QLabel>(1004)->text(); }

    // Port page with the recorder found, then the password page with the
    // simulator's default password accepted, then the limits page.
    void GoToLimitsPage()
    {
        ASSERT_TRUE(wizard_->PortPage()->Found());
        wizard_->next();
        Control(1005)->setText(QStringLiteral("1234"));
        ASSERT_TRUE(NextEnabled());
        wizard_->next();
        ASSERT_EQ(wizard_->currentPage(), wizard_->LimitsPage());
    }

    void SetField(int id, const QString& text)
    {
        Control(id)->selectAll();
        QTest::keyClicks(Control(id), text);
    }

    RecorderSimProcess sim_;
    RecorderSession session_{std::make_unique<NoDrives>()};
    FakePrompts prompts_;
    card::FixedVolumeLister volumes_{{}};
    QString port_;
    std::unique_ptr<CConfigWizard> wizard_;
};

TEST_F(ConfigWizard, PortPageFindsRecorderAndShowsVersionAndSerialNumber)
{
    StartWith({"--version", "2.15", "--serial", "SN0815"});
    EXPECT_EQ(Control<QComboBox>(1000)->currentText(), sim_.Path());
    EXPECT_EQ(Status(), QString::fromUtf8(kFound).arg("2.15", "SN0815"));
    EXPECT_TRUE(NextEnabled());
    EXPECT_TRUE(Control<QPushButton>(1012)->isVisible());
}

TEST_F(ConfigWizard, EnterInThePortBoxGoesOnOnlyOnceTheRecorderIsFound)
{
    StartWith({});
    QTest::keyClick(Control<QComboBox>(1000)->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(wizard_->currentPage(), wizard_->PasswordPage());

    wizard_->back();
    QLineEdit* box = Control<QComboBox>(1000)->lineEdit();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("/dev/null-no-recorder"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(wizard_->currentPage(), wizard_->PortPage());
    EXPECT_EQ(Status(), QStringLiteral("Kein Logger entdeckt"));
}

TEST_F(ConfigWizard, RememberedPortPreselectsItsEntryInOtherLetterCase)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("SimPort");
    ASSERT_TRUE(sim_.Start({"--link", link}));
    port_ = dir.filePath("SIMPORT");
    OpenWizard([&] { return std::vector<std::string>{"ttyS7", link.toStdString(), "ttyS8"}; });
    EXPECT_EQ(Control<QComboBox>(1000)->currentIndex(), 1);
    EXPECT_TRUE(wizard_->PortPage()->Found());
}

TEST_F(ConfigWizard, WithoutRecorderKeepsNextDisabledAndRetriesUntilOneAppears)
{
    QTemporaryDir dir;
    port_ = dir.filePath("recorder");  // nothing there yet
    OpenWizard();
    EXPECT_EQ(Status(), "Kein Logger entdeckt");
    EXPECT_FALSE(NextEnabled());
    Pump(1200);
    EXPECT_FALSE(NextEnabled());

    ASSERT_TRUE(sim_.Start({"--link", port_, "--serial", "SN42"}));
    for (int i = 0; i < 40 && !wizard_->PortPage()->Found(); ++i)
        Pump(100);
    EXPECT_EQ(Status(), QString::fromUtf8(kFound).arg("2.10", "SN42"));
    EXPECT_TRUE(NextEnabled());
}

TEST_F(ConfigWizard, RegressionRecorderUnpluggedOnThePortPageWasNotLookedForAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    port_ = dir.filePath("recorder");
    const QStringList options = {"--link", port_, "--serial", "SN42"};
    ASSERT_TRUE(sim_.Start(options));
    OpenWizard();
    ASSERT_TRUE(wizard_->PortPage()->Found());

    sim_.Stop();
    for (int i = 0; i < 30 && wizard_->PortPage()->Found(); ++i)
        Pump(100);
    EXPECT_EQ(Status(), "Kein Logger entdeckt");
    EXPECT_FALSE(NextEnabled());

    RecorderSimProcess back;
    ASSERT_TRUE(back.Start(options));
    for (int i = 0; i < 30 && !wizard_->PortPage()->Found(); ++i)
        Pump(100);
    EXPECT_EQ(Status(), QString::fromUtf8(kFound).arg("2.10", "SN42"));
    EXPECT_TRUE(NextEnabled());
}

// The recorder on its USB drive, played in-process by the simulator.
class UsbConfigWizard : public ConfigWizard {
protected:
    void SetUp() override
    {
        auto recorder = std::make_shared<sim::SimulatedRecorder>(sim::RecorderState{},
                                                                 std::chrono::milliseconds(20));
        bus_.Plug(sim::RecorderDisk("/dev/sdr"), recorder);
        usbSession_ = std::make_unique<RecorderSession>(bus_.Access());
        wizard_ = std::make_unique<CConfigWizard>(*usbSession_, port_, prompts_, volumes_);
        wizard_->PortPage()->SetPortLister([] {
            return std::vector<std::string>{"ttyS0", "ttyS1"};
        });
        wizard_->show();
    }

    sim::SimulatedUsbBus bus_;
    std::unique_ptr<RecorderSession> usbSession_;
};

TEST_F(UsbConfigWizard, UsbDriveIsTheOnlyPortAndHidesTheCardButton)
{
    auto* ports = Control<QComboBox>(1000);
    ASSERT_EQ(ports->count(), 1);
    EXPECT_EQ(ports->currentText(), "USB");
    EXPECT_FALSE(Control<QPushButton>(1012)->isVisible());
    EXPECT_EQ(Status(), QString::fromUtf8(kFound).arg("2.10", "SN4711"));
}

TEST_F(UsbConfigWizard, RegressionFinishWithUsbRecorderUnpluggedClosedWithoutSending)
{
    GoToLimitsPage();
    const QString rememberedBefore = port_;
    bus_.Unplug("/dev/sdr");
    wizard_->button(QWizard::FinishButton)->click();

    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(prompts_.messages[0].text.startsWith("Keine Verbindung zum Logger."));
    EXPECT_TRUE(wizard_->isVisible());
    EXPECT_EQ(port_, rememberedBefore);
}

// The serial recorder's pseudo-terminal goes away on the limits page: Finish
// must not claim success for settings that went nowhere. Once the recorder
// is back on the same port, Finish finds it again and writes them.
TEST_F(ConfigWizard, RegressionFinishWithSerialRecorderGoneClosedWithoutSending)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("recorder");
    const QStringList options = {"--link", link, "--delay-ms", "5"};
    ASSERT_TRUE(sim_.Start(options));
    port_ = link;
    OpenWizard();
    GoToLimitsPage();
    SetField(1009, "D-BACK");
    const QString rememberedBefore = QStringLiteral("ttyS3");
    port_ = rememberedBefore;

    sim_.Stop();
    QElapsedTimer clock;
    clock.start();
    wizard_->button(QWizard::FinishButton)->click();
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(prompts_.messages[0].text,
              QString::fromUtf8(
                  "Keine Verbindung zum Logger.\nDie Einstellungen wurden nicht übertragen."));
    EXPECT_TRUE(wizard_->isVisible());
    EXPECT_EQ(wizard_->currentPage(), wizard_->LimitsPage());
    EXPECT_EQ(port_, rememberedBefore);
    EXPECT_FALSE(session_.Link().LinkIsOpen());

    RecorderSimProcess back;
    ASSERT_TRUE(back.Start(options));
    wizard_->button(QWizard::FinishButton)->click();
    EXPECT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(wizard_->result(), QDialog::Accepted);
    EXPECT_EQ(port_, link);
    ASSERT_TRUE(back.WaitForCommand("SAVECFG"));
    EXPECT_EQ(back.Commands(),
              QStringList({"VERSION", "SERIAL", "PASS,1234", "LIMITS,1,-3.5,5.5,250",
                           "LFZSIGN,D-BACK", "SETPASS,1234", "SAVECFG"}));
}

// Finish used to send to whatever answered on the port once the link had
// been lost, so settings and a new password could go to another recorder.
TEST_F(ConfigWizard, RegressionFinishAfterTheLinkWasLostSendsNothingToAnotherRecorder)
{
    const struct {
        const char* what;
        QStringList options;
        QStringList commands;
    } cases[] = {
        {"other serial number", {"--serial", "SN43"}, {"VERSION", "SERIAL"}},
        {"password not accepted",
         {"--serial", "SN42", "--password", "9999"},
         {"VERSION", "SERIAL", "PASS,1234"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString link = dir.filePath("recorder");
        RecorderSimProcess found;
        ASSERT_TRUE(found.Start({"--link", link, "--serial", "SN42", "--delay-ms", "5"}));
        port_ = link;
        prompts_.messages.clear();
        OpenWizard();
        GoToLimitsPage();
        const QString rememberedBefore = QStringLiteral("ttyS3");
        port_ = rememberedBefore;
        found.Stop();

        RecorderSimProcess other;
        ASSERT_TRUE(other.Start(QStringList({"--link", link, "--delay-ms", "5"}) + c.options));
        // Tried twice: the second Finish must not take the link left open
        // to the other recorder for the one found.
        for (std::size_t attempt = 1; attempt <= 2; ++attempt) {
            wizard_->button(QWizard::FinishButton)->click();
            ASSERT_EQ(prompts_.messages.size(), attempt);
            EXPECT_EQ(prompts_.messages.back().icon, QMessageBox::Critical);
            EXPECT_EQ(
                prompts_.messages.back().text,
                QString::fromUtf8(
                    "Keine Verbindung zum Logger.\nDie Einstellungen wurden nicht übertragen."));
            EXPECT_TRUE(wizard_->isVisible());
            EXPECT_EQ(wizard_->currentPage(), wizard_->LimitsPage());
            EXPECT_EQ(port_, rememberedBefore);
        }
        Pump(200);
        EXPECT_EQ(other.Commands(), c.commands + c.commands);
    }
}

TEST_F(ConfigWizard, PasswordPageChecksEveryKeystrokeAndAllowsNextOnlyWhenAccepted)
{
    StartWith({"--password", "4711"});
    wizard_->next();
    EXPECT_TRUE(sim_.WaitForCommand("PASS,"));  // checked on entering the page
    EXPECT_FALSE(NextEnabled());

    sim_.ClearCommands();
    QTest::keyClicks(Control(1005), "4711");
    EXPECT_EQ(sim_.Commands(), QStringList({"PASS,4", "PASS,47", "PASS,471", "PASS,4711"}));
    EXPECT_TRUE(NextEnabled());

    QTest::keyClick(Control(1005), Qt::Key_Backspace);
    EXPECT_FALSE(NextEnabled());
}

TEST_F(ConfigWizard, RegressionCommaStarOrDollarSplitTheCommand)
{
    StartWith({});
    wizard_->next();
    sim_.ClearCommands();
    QTest::keyClicks(Control(1005), "a,*$b");
    EXPECT_EQ(Control(1005)->text(), "ab");
    EXPECT_EQ(sim_.Commands(), QStringList({"PASS,a", "PASS,ab"}));
}

TEST_F(ConfigWizard, LimitsPageShowsRecorderValuesAndFinishWritesThemInOrder)
{
    ASSERT_TRUE(sim_.Start({"--limits=-2.5,4.5,180", "--registration", "D-KXYZ"}));
    const QString simPort = sim_.Path();
    port_ = "ttyVELT9";  // another port remembered so far
    OpenWizard([&] { return std::vector<std::string>{"ttyVELT9", simPort.toStdString()}; });
    EXPECT_FALSE(wizard_->PortPage()->Found());
    Control<QComboBox>(1000)->setCurrentIndex(1);
    GoToLimitsPage();
    EXPECT_EQ(Control(1042)->text(), "-2.5");
    EXPECT_EQ(Control(1043)->text(), "4.5");
    EXPECT_EQ(Control(1041)->text(), "180");
    EXPECT_EQ(Control(1009)->text(), "D-KXYZ");
    // The accepted password stands in both fields, so it is written unchanged.
    EXPECT_EQ(Control(1006)->text(), "1234");
    EXPECT_EQ(Control(1007)->text(), "1234");

    SetField(1041, "250");
    SetField(1042, "-3.5");
    SetField(1043, "5.5");
    SetField(1009, "D-MOPS");
    sim_.ClearCommands();
    wizard_->button(QWizard::FinishButton)->click();

    EXPECT_EQ(wizard_->result(), QDialog::Accepted);
    EXPECT_EQ(port_, simPort);
    ASSERT_TRUE(sim_.WaitForCommand("SAVECFG"));
    EXPECT_EQ(sim_.Commands(),
              QStringList({"LIMITS,1,-3.5,5.5,250", "LFZSIGN,D-MOPS", "SETPASS,1234", "SAVECFG"}));
}

TEST_F(ConfigWizard, LimitsSeenAreThoseReadUntilFinishWritesOthersRoundedAsSent)
{
    StartWith({"--limits=-2.5,4.5,180"});
    EXPECT_FALSE(wizard_->LimitsSeen().has_value());
    GoToLimitsPage();
    ASSERT_TRUE(wizard_->LimitsSeen());
    EXPECT_EQ(wizard_->LimitsSeen()->negativeLoad, -2.5);
    EXPECT_EQ(wizard_->LimitsSeen()->positiveLoad, 4.5);
    EXPECT_EQ(wizard_->LimitsSeen()->speed, 180);

    // Typed but not written: still what the recorder holds.
    SetField(1041, "250");
    EXPECT_EQ(wizard_->LimitsSeen()->speed, 180);
    SetField(1042, "-3.54");
    SetField(1043, "5,5");
    SetField(1041, "250.4");
    wizard_->button(QWizard::FinishButton)->click();
    ASSERT_EQ(wizard_->result(), QDialog::Accepted);
    ASSERT_TRUE(wizard_->LimitsSeen());
    EXPECT_EQ(wizard_->LimitsSeen()->negativeLoad, -3.5);
    EXPECT_EQ(wizard_->LimitsSeen()->positiveLoad, 5.5);
    EXPECT_EQ(wizard_->LimitsSeen()->speed, 250);
}

TEST_F(ConfigWizard, DifferingPasswordsKeepTheWizardOpenAndSendNothing)
{
    StartWith({});
    GoToLimitsPage();
    const QString rememberedBefore = port_;
    SetField(1007, "4321");
    sim_.ClearCommands();
    wizard_->button(QWizard::FinishButton)->click();

    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(prompts_.messages[0].text,
              QString::fromUtf8("Die eingegebenen Passwörter sind unterschiedlich!."));
    EXPECT_TRUE(wizard_->isVisible());
    EXPECT_EQ(wizard_->currentPage(), wizard_->LimitsPage());
    EXPECT_EQ(wizard_->focusWidget(), Control(1006));
    Pump(200);
    EXPECT_TRUE(sim_.Commands().isEmpty());
    EXPECT_EQ(port_, rememberedBefore);
}

// A limit field that is not a number used to be read as 0 and sent, so the
// recorder stored a limit of 0 km/h or 0 g without a word.
TEST_F(ConfigWizard, RegressionLimitsThatAreNoNumberOrOnTheWrongSideOfZeroAreNotSent)
{
    const QString notANumber = QString::fromUtf8("Bitte bei „%1“ eine Zahl eingeben.");
    const QString notBelow = QString::fromUtf8("Der Wert bei „%1“ muss kleiner als 0 sein.");
    const QString notAbove = QString::fromUtf8("Der Wert bei „%1“ muss größer als 0 sein.");
    const QString speed = "Max. Geschwindigkeit";
    const QString negative = "Max. negative Belastung";
    const QString positive = "Max. positive Belastung";
    const struct {
        int id;
        const char* text;
        QString message;
    } cases[] = {
        {1041, "abc", notANumber.arg(speed)},    {1041, "", notANumber.arg(speed)},
        {1041, "5..5", notANumber.arg(speed)},   {1042, "-3.5g", notANumber.arg(negative)},
        {1043, "", notANumber.arg(positive)},    {1041, "0", notAbove.arg(speed)},
        {1041, "-250", notAbove.arg(speed)},     {1041, "0,4", notAbove.arg(speed)},
        {1042, "0", notBelow.arg(negative)},     {1042, "3,5", notBelow.arg(negative)},
        {1042, "-0.04", notBelow.arg(negative)}, {1043, "0.0", notAbove.arg(positive)},
        {1043, "-5.5", notAbove.arg(positive)},
    };
    StartWith({});
    GoToLimitsPage();
    const QString rememberedBefore = port_;
    sim_.ClearCommands();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.id << " \"" << c.text << '"');
        SetField(1041, "250");
        SetField(1042, "-3.5");
        SetField(1043, "5.5");
        Control(c.id)->setText(QString::fromUtf8(c.text));
        prompts_.messages.clear();
        wizard_->button(QWizard::FinishButton)->click();

        ASSERT_EQ(prompts_.messages.size(), 1u);
        EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
        EXPECT_EQ(prompts_.messages[0].text, c.message);
        EXPECT_TRUE(wizard_->isVisible());
        EXPECT_EQ(wizard_->currentPage(), wizard_->LimitsPage());
        EXPECT_EQ(wizard_->focusWidget(), Control(c.id));
    }
    Pump(200);
    EXPECT_TRUE(sim_.Commands().isEmpty());
    EXPECT_EQ(port_, rememberedBefore);
}

TEST_F(ConfigWizard, NegativeLoadWithDecimalCommaOrPointIsSentAsTyped)
{
    ASSERT_TRUE(sim_.Start({}));
    port_ = sim_.Path();
    for (const char* text : {"-3,5", "-3.5"}) {
        SCOPED_TRACE(text);
        OpenWizard();
        GoToLimitsPage();
        SetField(1042, QString::fromUtf8(text));
        SetField(1043, "6,5");
        sim_.ClearCommands();
        wizard_->button(QWizard::FinishButton)->click();
        EXPECT_TRUE(prompts_.messages.empty());
        EXPECT_EQ(wizard_->result(), QDialog::Accepted);
        ASSERT_TRUE(sim_.WaitForCommand("SAVECFG"));
        EXPECT_EQ(sim_.Commands().value(0), "LIMITS,1,-3.5,6.5,250");
    }
}

TEST_F(ConfigWizard, RegistrationLongerThanTenCharactersCannotBeTyped)
{
    StartWith({});
    GoToLimitsPage();
    SetField(1009, "D-ABCDEFGHIJK");
    EXPECT_EQ(Control(1009)->text(), "D-ABCDEFGH");
}

TEST_F(ConfigWizard, RegressionLongRegistrationFromTheRecorderCut)
{
    StartWith({"--registration", "D-ABCDEFGHIJKL"});
    GoToLimitsPage();
    EXPECT_EQ(Control(1009)->text(), "D-ABCDEFGHIJKL");
}

TEST_F(ConfigWizard, ClearEventsButtonSendsOnlyAfterConfirmation)
{
    StartWith({});
    GoToLimitsPage();
    sim_.ClearCommands();
    prompts_.buttonAnswers = {QMessageBox::Cancel, QMessageBox::Ok};

    Control<QPushButton>(1008)->click();
    Pump(200);
    EXPECT_TRUE(sim_.Commands().isEmpty());

    Control<QPushButton>(1008)->click();
    EXPECT_TRUE(sim_.WaitForCommand("CLREVT"));
    ASSERT_EQ(prompts_.messages.size(), 2u);
    EXPECT_EQ(prompts_.messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(prompts_.messages[0].text,
              QString::fromUtf8(
                  "Wirklich alle Einträge löschen?\n\nSie sollten sie vorher gesichert haben !!."));
    EXPECT_TRUE(wizard_->isVisible());
}

}  // namespace
}  // namespace veltrin
