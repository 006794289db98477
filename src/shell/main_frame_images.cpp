// The main frame's pictures of the graphs: saved as a PNG or SVG file, or
// copied to the clipboard.
#include "shell/main_frame.h"

#include "export/export_result.h"
#include "export/proposed_name.h"
#include "graph/graph_image.h"
#include "graph/graph_pane.h"
#include "shell/child_frame.h"
#include "shell/shell_constants.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <algorithm>

namespace veltrin {

namespace {

constexpr const char* kAllGraphsName = "Grafiken";
constexpr const char* kTooLargeText = "Das Bild ist zu groß für den freien Speicher.";
constexpr const char* kNoPictureText = "Das Bild konnte nicht erzeugt werden.";

// The picture of `plots` in `format`, or why there is none.
ExportResult EncodePicture(const std::vector<CGraphPlot*>& plots, ImageFormat format,
                           const std::optional<int>& width, const QString& title, QByteArray& bytes)
{
    ExportResult failed = MakeExportResult(ExportStatus::WriteFailed);
    if (format == ImageFormat::Svg) {
        bytes = StackedPlotSvg(plots, title);
    } else {
        const QImage image = StackedPlotImage(plots, width);
        if (image.isNull()) {
            failed.reason = kTooLargeText;
            return failed;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            bytes.clear();
    }
    if (bytes.isEmpty()) {
        failed.reason = kNoPictureText;
        return failed;
    }
    return {};
}

// Writes `bytes` to `path` through a temporary file that replaces it only
// when everything was written.
ExportResult WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return MakeExportResult(ExportStatus::CannotCreate, file.errorString().toStdString());
    if (file.write(bytes) != bytes.size()) {
        const std::string detail = file.errorString().toStdString();
        file.cancelWriting();
        return MakeExportResult(ExportStatus::WriteFailed, detail);
    }
    if (!file.commit())
        return MakeExportResult(ExportStatus::CannotReplace, file.errorString().toStdString());
    return {};
}

}  // namespace

void CMainFrame::createImageActions()
{
    connect(AddCommand(Command::SaveGraphImage), &QAction::triggered, this,
            &CMainFrame::OnSaveGraphImage);
    connect(AddCommand(Command::CopyGraphImage), &QAction::triggered, this,
            &CMainFrame::OnCopyGraphImage);
}

void CMainFrame::UpdateImageCommands()
{
    // A picture needs a graph that shows a start; saving asks for the active one.
    CChildFrame* active = ActiveGraphWindow();
    const bool graphShown = active && active->Pane().Plot().SeriesCount() > 0;
    Action(Command::SaveGraphImage)->setEnabled(graphShown);
    Action(Command::CopyGraphImage)->setEnabled(graphShown);
}

std::vector<CGraphPlot*> CMainFrame::ImagePlots(bool allGraphs) const
{
    std::vector<CGraphPlot*> plots;
    if (!allGraphs) {
        if (CChildFrame* active = ActiveGraphWindow())
            plots.push_back(&active->Pane().Plot());
        return plots;
    }
    std::vector<CChildFrame*> shown;
    for (CChildFrame* window : GraphWindowsInStackOrder()) {
        if (!window->isHidden() && !window->isMinimized())
            shown.push_back(window);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const CChildFrame* a, const CChildFrame* b) {
        return a->geometry().top() < b->geometry().top();
    });
    for (CChildFrame* window : shown)
        plots.push_back(&window->Pane().Plot());
    return plots;
}

void CMainFrame::OnSaveGraphImage()
{
    CChildFrame* active = ActiveGraphWindow();
    if (!active || active->Pane().Plot().SeriesCount() == 0)
        return;
    const std::optional<GraphImageOptions> options =
        dialogs_->AskGraphImageOptions(this, imageOptions_, active->Pane().width());
    if (!options)
        return;
    imageOptions_ = *options;
    if (imageOptions_.width)
        imageOptions_.width = std::clamp(*imageOptions_.width, kMinImageWidth, kMaxImageWidth);

    // "<graph>_<start's proposed name>.<last format>" in the folder last
    // exported to, else in the home folder.
    QString name = options->allGraphs ? QString::fromUtf8(kAllGraphsName) : QString();
    for (std::size_t i = 0; i < kGraphWindowCount && name.isEmpty(); ++i) {
        if (graphWindows_[i] == active)
            name = QString::fromUtf8(kGraphWindows[i].title);
    }
    if (const StartRecord* start = ShownStart())
        name += QLatin1Char('_') + QString::fromStdString(ProposedFileName(start->startTime));
    const QString folder = lastExportFolder_.isEmpty() ? QDir::homePath() : lastExportFolder_;
    const std::optional<QString> path = dialogs_->SaveImagePath(
        this, QDir(folder).filePath(name + QLatin1Char('.') + ImageSuffix(imageFormat_)));
    if (!path)
        return;
    const ImageFormat format = ImageFormatOf(*path);
    imageFormat_ = format;

    const std::vector<CGraphPlot*> plots = ImagePlots(imageOptions_.allGraphs);
    const QString title = QFileInfo(*path).completeBaseName();
    WriteExport(*path, [&] {
        QByteArray bytes;
        const ExportResult encoded =
            EncodePicture(plots, format, imageOptions_.width, title, bytes);
        return encoded.Ok() ? WriteWholeFile(*path, bytes) : encoded;
    });
}

void CMainFrame::OnCopyGraphImage()
{
    const QImage image = StackedPlotImage(ImagePlots(imageOptions_.allGraphs));
    if (!image.isNull())
        QGuiApplication::clipboard()->setImage(image);
}

}  // namespace veltrin
