// "Grafik speichern…" and "Kopieren" through the main frame, with dialogs
// answered by the test; the options dialog and the file name rules on their own.
#include "shell_test_support.h"

#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/graph_image_dialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QSvgRenderer>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace veltrin::test {
namespace {

QImage Opaque(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The column of `within` with the most pixels of `colour`.
int FullestColumn(const QImage& image, const QRect& within, const QColor& colour)
{
    int best = -1;
    int most = -1;
    for (int x = within.left(); x <= within.right(); ++x) {
        int n = 0;
        for (int y = within.top(); y <= within.bottom(); ++y)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        if (n > most) {
            most = n;
            best = x;
        }
    }
    return best;
}

class GraphImageCommandTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(out_.isValid());
        WriteDataFile(cardPath_, QStringLiteral("D120826"), QStringLiteral("S140500.TXT"),
                      SteadyStart(120));
    }

    // The frame showing the start, the graphs stacked, acceleration active.
    CMainFrame& ShowStart()
    {
        CMainFrame& frame = MakeFrame();
        frame.ShowStart(0);
        frame.StackGraphWindows();
        frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
        frame.UpdateMenus();
        QCoreApplication::processEvents();
        return frame;
    }

    QString OutPath(const QString& name) const { return QDir(out_.path()).filePath(name); }
    QStringList OutFiles() const
    {
        return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // Saves with `options` to `name` in the output folder.
    void Save(const GraphImageOptions& options, const QString& name)
    {
        dialogs_->imageOptionsAnswer = options;
        dialogs_->saveAnswers.push_back(OutPath(name));
        frame_->Action(Command::SaveGraphImage)->trigger();
    }
    CGraphPane& Pane(CChildFrame* window) const { return window->Pane(); }
    QImage Bitmap(CChildFrame* window) const { return Opaque(window->Pane().Plot().GetBitmap()); }

    QTemporaryDir out_;
};

TEST_F(GraphImageCommandTest, CommandsSitInTheFileMenuAndWaitForAShownStart)
{
    CMainFrame& frame = MakeFrame();
    frame.MdiArea()->setActiveSubWindow(frame.AccelerationWindow());
    frame.UpdateMenus();
    QAction* save = frame.Action(Command::SaveGraphImage);
    QAction* copy = frame.Action(Command::CopyGraphImage);
    ASSERT_NE(save, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(save->text(), QStringLiteral("Grafik speichern…"));
    EXPECT_EQ(copy->text(), QStringLiteral("Kopieren"));
    QMenu* file = frame.menuBar()->actions().constFirst()->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(save));
    EXPECT_TRUE(file->actions().contains(copy));

    // Nothing to draw yet: both wait, and a trigger asks nothing.
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(copy->isEnabled());
    save->trigger();
    EXPECT_FALSE(dialogs_->lastImageOptionsShown);

    frame.ShowStart(0);
    frame.UpdateMenus();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(copy->isEnabled());
}

TEST_F(GraphImageCommandTest, ActiveGraphAsPngAtWindowSizeAndAtAChosenWidth)
{
    CMainFrame& frame = ShowStart();
    CChildFrame* active = frame.AccelerationWindow();
    const QSize shown = Pane(active).size();
    ASSERT_GT(shown.width(), 300);

    Save({false, std::nullopt}, QStringLiteral("window.png"));
    EXPECT_TRUE(dialogs_->errors.empty());
    // The proposal: the graph's and the start's name, as PNG, in the home folder.
    EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).fileName(),
              QStringLiteral("Beschleunigung_vlt_20120826_1405.png"));
    EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).absolutePath(), QDir::homePath());
    EXPECT_EQ(dialogs_->lastImageWindowWidth, shown.width());
    const QImage window(OutPath(QStringLiteral("window.png")));
    ASSERT_EQ(window.size(), shown);
    // The very pixels the window shows, curve included.
    EXPECT_EQ(Opaque(window), Bitmap(active));

    Save({false, 1500}, QStringLiteral("wide.PNG"));
    const QImage wide(OutPath(QStringLiteral("wide.PNG")));
    EXPECT_EQ(wide.size(),
              QSize(1500, static_cast<int>(std::lround(shown.height() * 1500.0 / shown.width()))));
    int curvePixels = 0;
    for (int y = 0; y < wide.height(); ++y)
        for (int x = 0; x < wide.width(); ++x)
            curvePixels += wide.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
    EXPECT_GT(curvePixels, 1000);
    // The window is left as it was.
    EXPECT_EQ(Pane(active).size(), shown);
    EXPECT_EQ(Opaque(window), Bitmap(active));

    // The next picture starts from the options and the folder confirmed last.
    dialogs_->imageOptionsAnswer.reset();
    frame.Action(Command::SaveGraphImage)->trigger();
    ASSERT_TRUE(dialogs_->lastImageOptionsShown);
    EXPECT_EQ(dialogs_->lastImageOptionsShown->width, 1500);
    dialogs_->imageOptionsAnswer = GraphImageOptions{};
    dialogs_->saveAnswers.push_back(QString());
    frame.Action(Command::SaveGraphImage)->trigger();
    EXPECT_EQ(QFileInfo(dialogs_->lastProposedPath).absolutePath(),
              QFileInfo(out_.path()).absoluteFilePath());
    EXPECT_EQ(OutFiles(), (QStringList{QStringLiteral("wide.PNG"), QStringLiteral("window.png")}));
}

TEST_F(GraphImageCommandTest, AllShownGraphsStackedAsTheyLieOnScreen)
{
    CMainFrame& frame = ShowStart();
    // The speed window hidden; the altitude window moved above acceleration.
    frame.Action(Command::ToggleSpeed)->trigger();
    CChildFrame* acceleration = frame.AccelerationWindow();
    CChildFrame* altitude = frame.AltitudeWindow();
    frame.MdiArea()->setActiveSubWindow(acceleration);
    frame.UpdateMenus();
    const QRect lower = acceleration->geometry();
    acceleration->setGeometry(altitude->geometry());
    altitude->setGeometry(lower);
    acceleration->resize(acceleration->width() - 60, acceleration->height());
    QCoreApplication::processEvents();
    const QSize top = Pane(altitude).size();
    const QSize below = Pane(acceleration).size();
    ASSERT_LT(altitude->geometry().top(), acceleration->geometry().top());

    Save({true, std::nullopt}, QStringLiteral("all.png"));
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_TRUE(QFileInfo(dialogs_->lastProposedPath)
                    .fileName()
                    .startsWith(QStringLiteral("Grafiken_vlt_20120826_1405")));
    const QImage all(OutPath(QStringLiteral("all.png")));
    ASSERT_EQ(all.size(),
              QSize(std::max(top.width(), below.width()), top.height() + below.height()));
    EXPECT_EQ(Opaque(all).copy(QRect(QPoint(0, 0), top)), Bitmap(altitude));
    EXPECT_EQ(Opaque(all).copy(QRect(QPoint(0, top.height()), below)), Bitmap(acceleration));
}

TEST_F(GraphImageCommandTest, SvgByTheExtensionWellFormed)
{
    ShowStart();
    Save({true, 2000}, QStringLiteral("graphs.Svg"));  // the width is for bitmaps only
    EXPECT_TRUE(dialogs_->errors.empty());
    QFile file(OutPath(QStringLiteral("graphs.Svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.startsWith("<?xml"));
    EXPECT_TRUE(svg.contains("<svg width=\"")) << svg.left(200).constData();
    EXPECT_TRUE(svg.contains("stroke=\"#ff0000\""));
    EXPECT_TRUE(svg.contains("<title>graphs</title>"));
    if (std::filesystem::exists("/usr/bin/xmllint")) {
        const std::string command = "/usr/bin/xmllint --noout '" +
                                    OutPath(QStringLiteral("graphs.Svg")).toStdString() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    // Drawn back, each graph's value axis (its fullest column in the axis
    // colour) lies in the column its window shows it in, so the stacked
    // graphs line up as on screen.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    const QSize size = renderer.defaultSize();
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        renderer.render(&painter);
    }
    int top = 0;
    for (CChildFrame* window :
         {frame_->AccelerationWindow(), frame_->SpeedWindow(), frame_->AltitudeWindow()}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        const QImage bitmap = Bitmap(window);
        ASSERT_EQ(bitmap.width(), size.width());
        const QColor axis = window->Pane().GetSettings().axisColour;
        EXPECT_EQ(FullestColumn(drawn, QRect(0, top, size.width(), bitmap.height()), axis),
                  FullestColumn(bitmap, bitmap.rect(), axis));
        top += bitmap.height();
    }
    EXPECT_EQ(top, size.height());

    // Chosen once, the format is proposed the next time.
    dialogs_->saveAnswers.push_back(QString());
    frame_->Action(Command::SaveGraphImage)->trigger();
    EXPECT_TRUE(dialogs_->lastProposedPath.endsWith(QStringLiteral(".svg")));
}

TEST_F(GraphImageCommandTest, FailedWriteNamesTheFileAndReasonAndLeavesNothing)
{
    ShowStart();
    {
        QFile blocker(OutPath(QStringLiteral("datei")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    QStringList unwritable{OutPath(QStringLiteral("fehlt/bild.png")),
                           OutPath(QStringLiteral("datei/bild.svg"))};
    const QString locked = OutPath(QStringLiteral("gesperrt"));
    ASSERT_TRUE(QDir().mkpath(locked));
    // The superuser writes into any folder; the others find this one closed.
    if (geteuid() != 0) {
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        unwritable << QDir(locked).filePath(QStringLiteral("bild.png"));
    }
    for (const QString& path : unwritable) {
        SCOPED_TRACE(path.toStdString());
        dialogs_->errors.clear();
        dialogs_->imageOptionsAnswer = GraphImageOptions{};
        dialogs_->saveAnswers.push_back(path);
        frame_->Action(Command::SaveGraphImage)->trigger();
        ASSERT_EQ(dialogs_->errors.size(), 1u);
        EXPECT_TRUE(dialogs_->errors[0].contains(QDir::toNativeSeparators(path)));
        EXPECT_TRUE(dialogs_->errors[0].contains(QStringLiteral("nicht angelegt")))
            << dialogs_->errors[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(path));
    }
    EXPECT_EQ(OutFiles(), QStringList{QStringLiteral("datei")});
    EXPECT_TRUE(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Cancelled in either dialog, nothing is written and nothing reported.
    dialogs_->errors.clear();
    dialogs_->imageOptionsAnswer.reset();
    dialogs_->saveAnswers.push_back(OutPath(QStringLiteral("nie.png")));
    frame_->Action(Command::SaveGraphImage)->trigger();
    EXPECT_EQ(dialogs_->saveAnswers.size(), 1u);  // the file was not asked for
    dialogs_->imageOptionsAnswer = GraphImageOptions{};
    dialogs_->saveAnswers = {QString()};
    frame_->Action(Command::SaveGraphImage)->trigger();
    EXPECT_TRUE(dialogs_->errors.empty());
    EXPECT_EQ(OutFiles(), QStringList{QStringLiteral("datei")});
}

TEST_F(GraphImageCommandTest, CopyPutsThePictureAtWindowSizeOnTheClipboard)
{
    CMainFrame& frame = ShowStart();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    frame.Action(Command::CopyGraphImage)->trigger();
    EXPECT_EQ(Opaque(clipboard->image()), Bitmap(frame.AccelerationWindow()));

    // After saving all graphs, copying takes all of them, at window size.
    Save({true, 1800}, QStringLiteral("all.png"));
    clipboard->clear();
    frame.Action(Command::CopyGraphImage)->trigger();
    int height = 0;
    for (CChildFrame* window :
         {frame.AccelerationWindow(), frame.SpeedWindow(), frame.AltitudeWindow()})
        height += Pane(window).height();
    EXPECT_EQ(clipboard->image().size(), QSize(Pane(frame.AccelerationWindow()).width(), height));
}

TEST(GraphImageDialog, TicksTheOptionsGivenAndReturnsThoseTicked)
{
    GraphImageDialog plain(GraphImageOptions{}, 733);
    EXPECT_TRUE(plain.ActiveGraphButton()->isChecked());
    EXPECT_TRUE(plain.WindowSizeButton()->isChecked());
    EXPECT_FALSE(plain.WidthBox()->isEnabled());
    EXPECT_EQ(plain.WidthBox()->value(), 733);  // the window's width proposed
    EXPECT_FALSE(plain.Options().allGraphs);
    EXPECT_FALSE(plain.Options().width);

    plain.AllGraphsButton()->click();
    plain.ChosenWidthButton()->click();
    EXPECT_TRUE(plain.WidthBox()->isEnabled());
    plain.WidthBox()->setValue(2400);
    EXPECT_TRUE(plain.Options().allGraphs);
    EXPECT_EQ(plain.Options().width, 2400);
    plain.WidthBox()->setValue(kMaxImageWidth + 1);
    EXPECT_EQ(plain.Options().width, kMaxImageWidth);

    GraphImageDialog chosen(GraphImageOptions{true, 40}, 733);
    EXPECT_TRUE(chosen.AllGraphsButton()->isChecked());
    EXPECT_TRUE(chosen.ChosenWidthButton()->isChecked());
    EXPECT_EQ(chosen.Options().width, kMinImageWidth);
}

TEST(ImageFileNames, TheExtensionDecidesTheFormat)
{
    struct Case {
        const char* path;
        ImageFormat format;          // ImageFormatOf
        const char* withPngDefault;  // WithImageSuffix(path, Png)
    };
    const Case cases[] = {
        {"/a/b.png", ImageFormat::Png, "/a/b.png"},
        {"/a/b.SVG", ImageFormat::Svg, "/a/b.SVG"},
        {"/a/b.Png", ImageFormat::Png, "/a/b.Png"},
        {"/a/b", ImageFormat::Png, "/a/b.png"},
        {"/a/b.svg.txt", ImageFormat::Png, "/a/b.svg.txt.png"},
        {"/a.svg/b", ImageFormat::Png, "/a.svg/b.png"},
    };
    for (const Case& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(ImageFormatOf(path), c.format) << c.path;
        EXPECT_EQ(WithImageSuffix(path, ImageFormat::Png), QString::fromUtf8(c.withPngDefault));
    }
    EXPECT_EQ(WithImageSuffix(QStringLiteral("/a/b"), ImageFormat::Svg),
              QStringLiteral("/a/b.svg"));
}

TEST(ImageSaveDialog, OffersBothFormatsAndFollowsTheChosenFilter)
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    SetUpImageSaveDialog(dialog, QStringLiteral("/tmp/Höhe_vlt_20120826_1405.svg"));
    EXPECT_EQ(dialog.nameFilters(), (QStringList{QStringLiteral("PNG-Bild (*.png)"),
                                                 QStringLiteral("SVG-Grafik (*.svg)")}));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("SVG-Grafik (*.svg)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("svg"));
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    emit dialog.filterSelected(QStringLiteral("PNG-Bild (*.png)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
}

}  // namespace
}  // namespace veltrin::test
