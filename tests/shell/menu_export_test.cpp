#include "shell_test_support.h"

#include "export/kml_writer.h"
#include "export/start_export.h"
#include "shell/command_table.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include <sys/resource.h>

#include <csignal>

namespace veltrin::test {
namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MenuExportTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(30));
        ASSERT_TRUE(out_.isValid());
        MakeFrame();
        Select(StartItem(0));
    }

    // What the export library writes for the same start.
    QByteArray LibraryCsv(const QString& name)
    {
        const QString path = QDir(out_.path()).filePath(QStringLiteral("lib_") + name);
        EXPECT_TRUE(ExportCsv(frame_->LoadedRecording()[0], path.toStdString()).Ok());
        return Contents(path);
    }
    QByteArray LibraryKml(bool extended)
    {
        const QString path = QDir(out_.path()).filePath(QStringLiteral("lib.kml"));
        KmlWriter writer;
        EXPECT_TRUE(
            ExportKml(frame_->LoadedRecording()[0], path.toStdString(), extended, writer).Ok());
        return Contents(path);
    }
    QString OutPath(const QString& name) const { return QDir(out_.path()).filePath(name); }

    QTemporaryDir out_;
};

TEST_F(MenuExportTest, CsvProposesTheStartsNameAndWritesTheLibrarysBytes)
{
    for (const QString& name :
         {QStringLiteral("a.csv"), QStringLiteral("b.CsV"), QStringLiteral("c.dat")}) {
        dialogs_->saveAnswers.push_back(OutPath(name));
        frame_->Action(Command::ExportCsv)->trigger();
        EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).fileName(),
                  QStringLiteral("vlt_20120826_1405"));
        const QByteArray written = Contents(OutPath(name));
        EXPECT_FALSE(written.isEmpty()) << name.toStdString();
        EXPECT_EQ(written, LibraryCsv(name)) << name.toStdString();
    }
    EXPECT_TRUE(Contents(OutPath(QStringLiteral("a.csv"))).startsWith("Time;AccX"));
    EXPECT_TRUE(dialogs_->errors.empty());
    // The next export proposes the folder written to last.
    dialogs_->saveAnswers.push_back(QString());
    frame_->Action(Command::ExportCsv)->trigger();
    EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).absolutePath(),
              QDir(out_.path()).absolutePath());
}

TEST_F(MenuExportTest, KmlRemembersTheExtendedChoiceOnlyWhenConfirmed)
{
    EXPECT_FALSE(frame_->ExtendedKml());
    dialogs_->extendedAnswer = true;
    dialogs_->saveAnswers.push_back(QString());
    frame_->Action(Command::ExportKml)->trigger();
    EXPECT_FALSE(frame_->ExtendedKml());

    dialogs_->saveAnswers.push_back(OutPath(QStringLiteral("track.kml")));
    frame_->Action(Command::ExportKml)->trigger();
    EXPECT_TRUE(frame_->ExtendedKml());
    EXPECT_EQ(Contents(OutPath(QStringLiteral("track.kml"))), LibraryKml(true));

    // The dialog opens with the remembered choice; the plain document follows.
    dialogs_->extendedAnswer = false;
    dialogs_->saveAnswers.push_back(OutPath(QStringLiteral("plain.kml")));
    frame_->Action(Command::ExportKml)->trigger();
    EXPECT_TRUE(dialogs_->lastExtendedShown);
    EXPECT_FALSE(frame_->ExtendedKml());
    EXPECT_EQ(Contents(OutPath(QStringLiteral("plain.kml"))), LibraryKml(false));
}

TEST_F(MenuExportTest, GpxProposesTheStartsNameAndWritesTheLibrarysDocument)
{
    dialogs_->saveAnswers.push_back(QString());
    frame_->Action(Command::ExportGpx)->trigger();
    EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).fileName(),
              QStringLiteral("vlt_20120826_1405"));
    EXPECT_TRUE(QDir(out_.path()).isEmpty());  // cancelled: nothing written

    dialogs_->saveAnswers.push_back(OutPath(QStringLiteral("track.gpx")));
    frame_->Action(Command::ExportGpx)->trigger();
    const QByteArray written = Contents(OutPath(QStringLiteral("track.gpx")));
    const QString library = QDir(out_.path()).filePath(QStringLiteral("lib.gpx"));
    ASSERT_TRUE(ExportGpx(frame_->LoadedRecording()[0], library.toStdString()).Ok());
    EXPECT_EQ(written, Contents(library));
    EXPECT_EQ(written.count("<trkpt "), 31);  // a fix every second of the 30 s start
    EXPECT_TRUE(dialogs_->errors.empty());

    // A folder that is not there: the message names the file.
    dialogs_->saveAnswers.push_back(OutPath(QStringLiteral("missing/track.gpx")));
    frame_->Action(Command::ExportGpx)->trigger();
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_TRUE(dialogs_->errors[0].contains(QStringLiteral("track.gpx")));
}

// Lowers the largest file this process may write, as a full disk would stop
// the export part-way; restores the limit when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(MenuExportTest, FailureNamesTheFileAndReasonAndLeavesTheOldFile)
{
    const QString name = QStringLiteral("flight.csv");
    const QString path = OutPath(name);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents\r\n");
    }
    dialogs_->saveAnswers.push_back(path);
    {
        const FileSizeLimit limit(256);  // the start's CSV is far larger
        frame_->Action(Command::ExportCsv)->trigger();
    }
    ASSERT_EQ(dialogs_->errors.size(), 1u);
    EXPECT_TRUE(dialogs_->errors[0].contains(name));
    EXPECT_TRUE(dialogs_->errors[0].contains(QStringLiteral("Schreibfehler")));
    EXPECT_EQ(Contents(path), QByteArray("old contents\r\n"));
    EXPECT_EQ(QDir(out_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
}  // namespace veltrin::test
