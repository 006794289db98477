#include "shell_test_support.h"

#include "data/number_format.h"
#include "support/framed_sentence.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

namespace veltrin::test {

namespace {

void AppendField(std::string& line, double value, int precision)
{
    line += ',';
    AppendFixed(line, value, precision);
}

std::optional<QString> Next(std::deque<QString>& answers)
{
    if (answers.empty())
        return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

}  // namespace

std::string FixLine(double timeOfDay, double latitude, double longitude, double altitude)
{
    const auto degreesMinutes = [](double degrees, int width) {
        std::string text;
        const int whole = static_cast<int>(degrees);
        AppendInt(text, whole, width, true);
        AppendFixed(text, (degrees - whole) * 60.0, 4, 7);
        for (char& c : text)
            c = c == ' ' ? '0' : c;
        return text;
    };
    const int tod = static_cast<int>(timeOfDay);
    std::string line = "$GPGGA,";
    AppendInt(line, tod / 3600, 2, true);
    AppendInt(line, tod / 60 % 60, 2, true);
    AppendInt(line, tod % 60, 2, true);
    line +=
        ".00," + degreesMinutes(latitude, 2) + ",N," + degreesMinutes(longitude, 3) + ",E,1,08,0.9";
    AppendField(line, altitude, 1);
    line += ",M,46.9,M,,";
    return Framed(line);
}

void WriteDataFile(const QString& base, const QString& day, const QString& file,
                   const std::vector<std::string>& lines)
{
    QDir(base).mkpath(day);
    QFile out(QDir(base).filePath(day + QLatin1Char('/') + file));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    for (const std::string& line : lines) {
        out.write(line.data(), static_cast<qint64>(line.size()));
        out.write("\r\n");
    }
}

std::vector<std::string> SteadyStart(int seconds, int stepMs)
{
    std::vector<std::string> lines;
    for (int ms = 0; ms <= seconds * 1000; ms += stepMs) {
        const double t = ms / 1000.0;
        lines.push_back(SampleLine(100.0 + t, 1.0 + t / 1000.0, 50.0 + t / 10.0, 100 + ms / 1000));
        if (ms % 1000 == 0)
            lines.push_back(FixLine(14 * 3600 + 5 * 60 + t, 48.1 + t * 1e-5, 11.5, 600.0 + t));
    }
    return lines;
}

std::optional<QString> ScriptedDialogs::BrowseFolder(QWidget*, const QString&, const QString& start)
{
    ++browseCount;
    lastBrowseStart = start;
    return Next(folderAnswers);
}

std::optional<QString> ScriptedDialogs::NextSave(const QString& proposedPath)
{
    lastProposedPath = proposedPath;
    return Next(saveAnswers);
}

std::optional<QString> ScriptedDialogs::SaveCsvPath(QWidget*, const QString& proposedPath)
{
    return NextSave(proposedPath);
}

std::optional<QString> ScriptedDialogs::SaveKmlPath(QWidget*, const QString& proposedPath,
                                                    bool& extended)
{
    lastExtendedShown = extended;
    std::optional<QString> answer = NextSave(proposedPath);
    if (answer && extendedAnswer)
        extended = *extendedAnswer;
    return answer;
}

std::optional<QString> ScriptedDialogs::SaveGpxPath(QWidget*, const QString& proposedPath)
{
    return NextSave(proposedPath);
}

std::optional<QString> ScriptedDialogs::SavePdfPath(QWidget*, const QString& title,
                                                    const QString& proposedPath)
{
    lastSaveTitle = title;
    return NextSave(proposedPath);
}

bool ScriptedDialogs::SetUpPrinter(QWidget*, QPrinter& printer)
{
    if (printerFile.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printerFile);
    return true;
}

std::optional<GraphImageOptions> ScriptedDialogs::AskGraphImageOptions(
    QWidget*, const GraphImageOptions& initial, int windowWidth)
{
    lastImageOptionsShown = initial;
    lastImageWindowWidth = windowWidth;
    return imageOptionsAnswer;
}

std::optional<QString> ScriptedDialogs::SaveImagePath(QWidget*, const QString& proposedPath)
{
    return NextSave(proposedPath);
}

void ScriptedDialogs::ShowError(QWidget*, const QString& text)
{
    errors.push_back(text);
}

void ShellTest::SetUp()
{
    ASSERT_TRUE(settingsDir_.isValid());
    ASSERT_TRUE(card_.isValid());
    cardPath_ = card_.path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    StoreSetting(QStringLiteral("BaseDir"), cardPath_);
}

void ShellTest::TearDown()
{
    DestroyFrame();
}

CMainFrame& ShellTest::MakeFrame(QSize size)
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    frame_ = std::make_unique<CMainFrame>(std::move(dialogs));
    frame_->resize(size);
    frame_->show();
    QCoreApplication::processEvents();
    return *frame_;
}

void ShellTest::DestroyFrame()
{
    frame_.reset();
    dialogs_ = nullptr;
}

void ShellTest::StoreSetting(const QString& key, const QVariant& value)
{
    QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
    store.setValue(QStringLiteral("Settings/") + key, value);
}

QVariant ShellTest::StoredSetting(const QString& key)
{
    QSettings store(QStringLiteral("Quon"), QStringLiteral("Veltrin View"));
    return store.value(QStringLiteral("Settings/") + key);
}

QTreeWidgetItem* ShellTest::StartItem(int index) const
{
    QTreeWidget* tree = frame_->StartList();
    for (int d = 0; d < tree->topLevelItemCount(); ++d) {
        QTreeWidgetItem* day = tree->topLevelItem(d);
        for (int s = 0; s < day->childCount(); ++s) {
            if (day->child(s)->data(0, Qt::UserRole).toInt() == index)
                return day->child(s);
        }
    }
    return nullptr;
}

void ShellTest::Select(QTreeWidgetItem* item) const
{
    if (item->parent())
        item->parent()->setExpanded(true);
    frame_->StartList()->setCurrentItem(item);
}

void ShellTest::DoubleClick(QTreeWidgetItem* item) const
{
    QTreeWidget* tree = frame_->StartList();
    if (item->parent())
        item->parent()->setExpanded(true);
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
}

}  // namespace veltrin::test
