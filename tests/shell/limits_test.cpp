#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/limits_dialog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include <optional>

namespace veltrin {

// Found by argument-dependent lookup, as the assertions need them.
static bool operator==(const AircraftLimits& a, const AircraftLimits& b)
{
    return a.negativeLoad == b.negativeLoad && a.positiveLoad == b.positiveLoad &&
           a.speed == b.speed;
}

static void PrintTo(const AircraftLimits& limits, std::ostream* out)
{
    *out << limits.negativeLoad << "/" << limits.positiveLoad << "/" << limits.speed;
}

namespace test {
namespace {

constexpr AircraftLimits kLimits{-3.5, 5.5, 250};
constexpr AircraftLimits kRecorderLimits{-2.5, 4.5, 180};

QVariant StoredLimit(const QString& key)
{
    QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
    return store.value(QStringLiteral("Limits/") + key);
}

void StoreLimit(const QString& key, const QString& value)
{
    QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
    store.setValue(QStringLiteral("Limits/") + key, value);
}

void Enter(CLimitsDialog& dialog, const QString& negative, const QString& positive,
           const QString& speed)
{
    dialog.NegativeLoadEdit()->setText(negative);
    dialog.PositiveLoadEdit()->setText(positive);
    dialog.SpeedEdit()->setText(speed);
}

TEST(LimitsDialog, RefusesWrongValuesNamingTheFieldAndKeepsItOpen)
{
    const struct {
        const char* negative;
        const char* positive;
        const char* speed;
        const char* problem;
        int field;  // 0 negative, 1 positive, 2 speed
    } cases[] = {
        {"", "5.5", "250", "Bitte bei „Max. negative Belastung“ eine Zahl eingeben.", 0},
        {"-3.5", "5g", "250", "Bitte bei „Max. positive Belastung“ eine Zahl eingeben.", 1},
        {"-3.5", "5.5", "1e3", "Bitte bei „Max. Geschwindigkeit“ eine Zahl eingeben.", 2},
        {"0", "5.5", "250", "Der Wert bei „Max. negative Belastung“ muss kleiner als 0 sein.", 0},
        {"3.5", "5.5", "250", "Der Wert bei „Max. negative Belastung“ muss kleiner als 0 sein.", 0},
        {"-3.5", "-1", "250", "Der Wert bei „Max. positive Belastung“ muss größer als 0 sein.", 1},
        {"-3.5", "5.5", "0", "Der Wert bei „Max. Geschwindigkeit“ muss größer als 0 sein.", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        CLimitsDialog dialog(std::nullopt, std::nullopt);
        dialog.show();
        Enter(dialog, QString::fromUtf8(c.negative), QString::fromUtf8(c.positive),
              QString::fromUtf8(c.speed));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Problem(), QString::fromUtf8(c.problem));
        const QLineEdit* fields[] = {dialog.NegativeLoadEdit(), dialog.PositiveLoadEdit(),
                                     dialog.SpeedEdit()};
        EXPECT_EQ(dialog.focusWidget(), fields[c.field]);
        EXPECT_FALSE(dialog.ChosenLimits().has_value());
    }
}

TEST(LimitsDialog, AcceptsLimitsWithPointOrCommaAndRemovesThem)
{
    CLimitsDialog dialog(kLimits, std::nullopt);
    EXPECT_EQ(dialog.NegativeLoadEdit()->text(), "-3.5");
    EXPECT_EQ(dialog.PositiveLoadEdit()->text(), "5.5");
    EXPECT_EQ(dialog.SpeedEdit()->text(), "250");
    EXPECT_TRUE(dialog.RemoveButton()->isEnabled());
    EXPECT_FALSE(dialog.RecorderButton()->isEnabled());
    Enter(dialog, "-4,25", " 6.0", "275,5");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Problem(), QString());
    ASSERT_TRUE(dialog.ChosenLimits());
    EXPECT_EQ(*dialog.ChosenLimits(), (AircraftLimits{-4.25, 6.0, 275.5}));

    CLimitsDialog removing(kLimits, std::nullopt);
    removing.RemoveButton()->click();
    EXPECT_EQ(removing.result(), QDialog::Accepted);
    EXPECT_FALSE(removing.ChosenLimits().has_value());
}

TEST(LimitsDialog, OffersTheRecorderLimitsAsDefaults)
{
    CLimitsDialog none(std::nullopt, std::nullopt);
    EXPECT_EQ(none.NegativeLoadEdit()->text(), QString());
    EXPECT_FALSE(none.RemoveButton()->isEnabled());

    CLimitsDialog offered(std::nullopt, kRecorderLimits);
    EXPECT_EQ(offered.NegativeLoadEdit()->text(), "-2.5");
    EXPECT_EQ(offered.PositiveLoadEdit()->text(), "4.5");
    EXPECT_EQ(offered.SpeedEdit()->text(), "180");

    // Set limits are shown; the recorder's come back with the button.
    CLimitsDialog set(kLimits, kRecorderLimits);
    EXPECT_EQ(set.SpeedEdit()->text(), "250");
    set.RecorderButton()->click();
    EXPECT_EQ(set.NegativeLoadEdit()->text(), "-2.5");
    EXPECT_EQ(set.SpeedEdit()->text(), "180");
    set.accept();
    ASSERT_TRUE(set.ChosenLimits());
    EXPECT_EQ(*set.ChosenLimits(), kRecorderLimits);
}

class LimitsTest : public ShellTest {
protected:
    void ShowStart()
    {
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(100));
        MakeFrame().ShowStart(0);
    }
    GraphSettings SettingsOf(CChildFrame* window) const { return window->Pane().GetSettings(); }
};

TEST_F(LimitsTest, LimitsAreStoredWithADecimalPointAndReadAtStartUp)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CMainFrame& frame = MakeFrame();
    EXPECT_FALSE(frame.Limits().has_value());
    QSignalSpy changed(&frame, &CMainFrame::limitsChanged);
    frame.SetLimits(AircraftLimits{-3.25, 5.5, 250});
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(StoredLimit("Negative load").toString(), "-3.25");
    EXPECT_EQ(StoredLimit("Positive load").toString(), "5.5");
    EXPECT_EQ(StoredLimit("Speed").toString(), "250");

    DestroyFrame();
    ASSERT_TRUE(MakeFrame().Limits());
    EXPECT_EQ(*frame_->Limits(), (AircraftLimits{-3.25, 5.5, 250}));

    frame_->SetLimits(std::nullopt);
    EXPECT_FALSE(StoredLimit("Negative load").isValid());
    EXPECT_FALSE(StoredLimit("Speed").isValid());
    DestroyFrame();
    EXPECT_FALSE(MakeFrame().Limits().has_value());
    QLocale::setDefault(before);
}

TEST_F(LimitsTest, StoredLimitsThatCannotBeCheckedAgainstReadAsNone)
{
    const struct {
        const char* negative;
        const char* positive;
        const char* speed;
    } cases[] = {
        {"-3,5", "5.5", "250"},  // a comma is not how the program stores numbers
        {"3.5", "5.5", "250"},   // negative limit above 0
        {"-3.5", "5.5", "abc"},  // not a number
        {"-3.5", "5.5", "inf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.negative + std::string(" ") + c.positive + " " + c.speed);
        StoreLimit("Negative load", c.negative);
        StoreLimit("Positive load", c.positive);
        StoreLimit("Speed", c.speed);
        EXPECT_FALSE(MakeFrame().Limits().has_value());
        DestroyFrame();
    }
    // Unusable limits given to the frame count as none, too.
    CMainFrame& frame = MakeFrame();
    frame.SetLimits(AircraftLimits{1, 5, 250});
    EXPECT_FALSE(frame.Limits().has_value());
}

TEST_F(LimitsTest, RecorderLimitsBecomeTheDefaultsAndTheLimitsWhileNoneAreSet)
{
    CMainFrame& frame = MakeFrame();
    // What a recorder that never answered leaves behind is ignored.
    frame.SetRecorderLimits(AircraftLimits{});
    EXPECT_FALSE(frame.RecorderLimits().has_value());
    EXPECT_FALSE(frame.Limits().has_value());

    QSignalSpy changed(&frame, &CMainFrame::limitsChanged);
    frame.SetRecorderLimits(kRecorderLimits);
    ASSERT_TRUE(frame.Limits());
    EXPECT_EQ(*frame.Limits(), kRecorderLimits);
    EXPECT_EQ(changed.count(), 1);

    // Limits of the user's stay; the recorder's are only offered.
    frame.SetLimits(kLimits);
    frame.SetRecorderLimits(AircraftLimits{-2.0, 4.0, 200});
    EXPECT_EQ(*frame.Limits(), kLimits);
    EXPECT_EQ(*frame.RecorderLimits(), (AircraftLimits{-2.0, 4.0, 200}));

    DestroyFrame();
    CMainFrame& again = MakeFrame();
    ASSERT_TRUE(again.RecorderLimits());
    EXPECT_EQ(*again.RecorderLimits(), (AircraftLimits{-2.0, 4.0, 200}));
    EXPECT_EQ(StoredLimit("Recorder speed").toString(), "200");
    EXPECT_EQ(*again.Limits(), kLimits);
}

TEST_F(LimitsTest, TheFileMenuCommandSetsTheLimitsEnteredInTheDialog)
{
    CMainFrame& frame = MakeFrame();
    frame.SetRecorderLimits(kRecorderLimits);
    QAction* command = frame.Action(Command::EditLimits);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QString::fromUtf8("&Grenzwerte…"));
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_TRUE(menus.front()->menu()->actions().contains(command));

    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<CLimitsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->SpeedEdit()->text();
        Enter(*dialog, "-4", "6", "300");
        dialog->accept();
    });
    command->trigger();
    EXPECT_EQ(shown, "180");
    ASSERT_TRUE(frame.Limits());
    EXPECT_EQ(*frame.Limits(), (AircraftLimits{-4, 6, 300}));
}

TEST_F(LimitsTest, LoadLimitsAreLinesInTheAccelerationGraphAndTheSpeedLimitInTheSpeedGraph)
{
    WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                  SteadyStart(100));
    // Empty graphs, before a start is shown, draw none.
    MakeFrame().SetLimits(kLimits);
    EXPECT_TRUE(frame_->AccelerationWindow()->Pane().Plot().LimitLines().empty());
    frame_->SetLimits(std::nullopt);
    frame_->ShowStart(0);
    for (CChildFrame* window :
         {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()})
        EXPECT_TRUE(window->Pane().Plot().LimitLines().empty());

    frame_->SetLimits(kLimits);
    EXPECT_EQ(frame_->AccelerationWindow()->Pane().Plot().LimitLines(),
              (std::vector<double>{-3.5, 5.5}));
    EXPECT_EQ(frame_->SpeedWindow()->Pane().Plot().LimitLines(), std::vector<double>{250});
    EXPECT_TRUE(frame_->AltitudeWindow()->Pane().Plot().LimitLines().empty());
    // Inside the configured ranges: these stay.
    EXPECT_EQ(SettingsOf(frame_->AccelerationWindow()).yMin, -10);
    EXPECT_EQ(SettingsOf(frame_->AccelerationWindow()).yMax, 10);
    EXPECT_EQ(SettingsOf(frame_->SpeedWindow()).yMax, 300);

    // The next start shows them as well.
    frame_->ShowStart(0);
    EXPECT_EQ(frame_->SpeedWindow()->Pane().Plot().LimitLines(), std::vector<double>{250});
}

TEST_F(LimitsTest, ALimitBeyondTheValueRangeWidensItUntilTheLimitsAreRemoved)
{
    ShowStart();
    frame_->SetLimits(AircraftLimits{-12, 5.5, 420});
    EXPECT_EQ(SettingsOf(frame_->AccelerationWindow()).yMin, -15);
    EXPECT_EQ(SettingsOf(frame_->AccelerationWindow()).yMax, 10);
    EXPECT_EQ(SettingsOf(frame_->SpeedWindow()).yMax, 450);
    EXPECT_EQ(SettingsOf(frame_->AltitudeWindow()).yMax, 2000);
    frame_->FullView();
    EXPECT_EQ(SettingsOf(frame_->SpeedWindow()).yMax, 450);

    frame_->SetLimits(std::nullopt);
    EXPECT_TRUE(frame_->SpeedWindow()->Pane().Plot().LimitLines().empty());
    EXPECT_EQ(SettingsOf(frame_->AccelerationWindow()).yMin, -10);
    EXPECT_EQ(SettingsOf(frame_->SpeedWindow()).yMax, 300);
}

TEST_F(LimitsTest, AValueRangeTheUserZoomedStaysWhenTheLimitsChange)
{
    ShowStart();
    CGraphPane& speed = frame_->SpeedWindow()->Pane();
    GraphSettings zoomed = speed.GetSettings();
    zoomed.yMin = 50;
    zoomed.yMax = 150;
    speed.ApplySettings(zoomed);
    frame_->SetLimits(AircraftLimits{-3.5, 5.5, 420});
    EXPECT_EQ(speed.GetSettings().yMin, 50);
    EXPECT_EQ(speed.GetSettings().yMax, 150);
    EXPECT_EQ(speed.Plot().LimitLines(), std::vector<double>{420});
}

}  // namespace
}  // namespace test
}  // namespace veltrin
