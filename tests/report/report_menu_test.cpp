// The report commands of the main frame's "Datei" menu, driven offscreen.

#include "report/report_texts.h"
#include "report_test_support.h"
#include "shell/shell_test_support.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

class ReportMenuTest : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        test::WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S143000.LOG"),
                            test::EventfulStart());
        test::WriteDataFile(cardPath_, QStringLiteral("D120827"), QStringLiteral("S090000.LOG"),
                            test::SteadyStart(60));
        MakeFrame();
    }
    QString Out(const char* name) const { return QDir(card_.path()).filePath(name); }
    fs::path OutPath(const char* name) const { return Out(name).toStdString(); }
};

TEST_F(ReportMenuTest, CommandsInTheFileMenuEnabledWhenAStartIsShown)
{
    QMenu* file = frame_->menuBar()->actions().constFirst()->menu();
    ASSERT_NE(file, nullptr);
    for (Command id :
         {Command::FlightReportPdf, Command::PrintFlightReport, Command::LogbookReportPdf})
        EXPECT_TRUE(file->actions().contains(frame_->Action(id)));
    EXPECT_EQ(frame_->Action(Command::FlightReportPdf)->text(),
              QString::fromUtf8("Flugbericht als PDF…"));
    frame_->UpdateMenus();
    EXPECT_FALSE(frame_->Action(Command::FlightReportPdf)->isEnabled());
    EXPECT_FALSE(frame_->Action(Command::PrintFlightReport)->isEnabled());
    EXPECT_TRUE(frame_->Action(Command::LogbookReportPdf)->isEnabled());
    frame_->ShowStart(0);
    EXPECT_TRUE(frame_->Action(Command::FlightReportPdf)->isEnabled());
    EXPECT_TRUE(frame_->Action(Command::PrintFlightReport)->isEnabled());
}

TEST_F(ReportMenuTest, FlightReportOfTheShownStartWithTheFramesLimits)
{
    frame_->ShowStart(0);
    frame_->SetLimits(AircraftLimits{-2.0, 5.0, 250.0});
    dialogs_->saveAnswers.push_back(Out("flug.pdf"));
    frame_->Action(Command::FlightReportPdf)->trigger();
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_TRUE(dialogs_->lastProposedPath.endsWith(QStringLiteral(".pdf")));
    const std::string text = test::PdfText(OutPath("flug.pdf"));
    EXPECT_NE(text.find("26.08.2012"), std::string::npos);
    EXPECT_NE(text.find("265,5 km/h"), std::string::npos);
    EXPECT_NE(text.find("Spitzenwert"), std::string::npos);

    dialogs_->printerFile = Out("gedruckt.pdf");
    frame_->Action(Command::PrintFlightReport)->trigger();
    EXPECT_EQ(test::PdfPages(OutPath("gedruckt.pdf")), test::PdfPages(OutPath("flug.pdf")));
}

TEST_F(ReportMenuTest, CancelledDialogsWriteNothingAndFailuresAreShown)
{
    frame_->ShowStart(0);
    frame_->Action(Command::FlightReportPdf)->trigger();  // no answer: cancelled
    frame_->Action(Command::PrintFlightReport)->trigger();
    EXPECT_TRUE(dialogs_->errors.empty());
    dialogs_->saveAnswers.push_back(Out("fehlt/flug.pdf"));
    frame_->Action(Command::FlightReportPdf)->trigger();
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_NE(dialogs_->errors[0].indexOf(QStringLiteral("flug.pdf")), -1);
}

TEST_F(ReportMenuTest, LogbookReportOfTheCardAndOfARange)
{
    dialogs_->saveAnswers.push_back(Out("flugbuch.pdf"));
    frame_->Action(Command::LogbookReportPdf)->trigger();
    const std::string all = test::PdfText(OutPath("flugbuch.pdf"));
    EXPECT_NE(all.find("26.08.2012"), std::string::npos);
    EXPECT_NE(all.find("27.08.2012"), std::string::npos);
    EXPECT_NE(all.find("2 Starts"), std::string::npos);

    dialogs_->saveAnswers.push_back(Out("tag.pdf"));
    const CalendarSeconds day = *ParseReportDate(QStringLiteral("27.08.2012"));
    frame_->OnLogbookReportPdf(day, day);
    const std::string one = test::PdfText(OutPath("tag.pdf"));
    EXPECT_EQ(one.find("26.08.2012"), std::string::npos);
    EXPECT_NE(one.find("1 Starts"), std::string::npos);
}

TEST_F(ReportMenuTest, CancelledLogbookReadWritesNoReport)
{
    // Enough starts that reading them outlasts the first look at the cancel button.
    for (int i = 0; i < 120; ++i) {
        test::WriteDataFile(cardPath_, QStringLiteral("D120901"),
                            QStringLiteral("S10%1.LOG").arg(i, 4, 10, QLatin1Char('0')),
                            test::EventfulStart());
    }
    DestroyFrame();
    MakeFrame();
    dialogs_->saveAnswers.push_back(Out("flugbuch.pdf"));
    bool seen = false;
    QTimer::singleShot(0, frame_.get(), [&] {
        if (auto* progress = frame_->findChild<QProgressDialog*>()) {
            seen = true;
            progress->cancel();
        }
    });
    frame_->Action(Command::LogbookReportPdf)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(fs::exists(OutPath("flugbuch.pdf")));
    EXPECT_TRUE(dialogs_->errors.empty());
    // The next run is not held up by the cancelled one.
    dialogs_->saveAnswers.push_back(Out("flugbuch.pdf"));
    frame_->Action(Command::LogbookReportPdf)->trigger();
    EXPECT_NE(test::PdfText(OutPath("flugbuch.pdf")).find("122 Starts"), std::string::npos);
}

}  // namespace
}  // namespace veltrin
