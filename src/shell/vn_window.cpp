#include "shell/vn_window.h"

#include "analysis/aircraft_limits.h"
#include "graph/vn_diagram_widget.h"
#include "shell/main_frame.h"
#include "shell/shell_constants.h"
#include "shell/vn_starts_reader.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrin {

namespace {

// How often the progress of reading many starts is shown.
constexpr int kPollMs = 100;

std::optional<VnEnvelope> EnvelopeOf(const std::optional<AircraftLimits>& limits)
{
    if (!limits || !LimitsAreUsable(*limits))
        return std::nullopt;
    return VnEnvelope{limits->negativeLoad, limits->positiveLoad, limits->speed};
}

}  // namespace

VnWindow::VnWindow(CMainFrame& frame, QWidget* parent) : QMdiSubWindow(parent), frame_(frame)
{
    setObjectName(QStringLiteral("VnWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    diagram_ = new VnDiagramWidget(body);
    column->addWidget(diagram_, 1);

    progressRow_ = new QWidget(body);
    auto* row = new QHBoxLayout(progressRow_);
    row->setContentsMargins(4, 2, 4, 2);
    progress_ = new QProgressBar(progressRow_);
    progress_->setObjectName(QStringLiteral("VnProgress"));
    cancel_ = new QPushButton(QString::fromUtf8(kCancelText), progressRow_);
    cancel_->setObjectName(QStringLiteral("VnCancel"));
    row->addWidget(progress_, 1);
    row->addWidget(cancel_);
    progressRow_->hide();
    column->addWidget(progressRow_);
    setWidget(body);

    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &VnWindow::PollReading);
    connect(cancel_, &QPushButton::clicked, this, &VnWindow::CancelReading);
    connect(diagram_, &VnDiagramWidget::pointPicked, this, &VnWindow::OnPointPicked);
    connect(&frame_, &CMainFrame::shownStartChanged, this, &VnWindow::ShowShownStart);
    connect(&frame_, &CMainFrame::limitsChanged, this, &VnWindow::OnLimitsChanged);
    connect(&frame_, &CMainFrame::sampleMarked, this, &VnWindow::OnSampleMarked);

    diagram_->SetEnvelope(EnvelopeOf(frame_.Limits()));
    ShowShownStart();
}

VnWindow::~VnWindow() = default;

void VnWindow::ShowShownStart()
{
    poll_.stop();
    reader_.reset();
    progressRow_->hide();
    starts_.clear();
    std::vector<VnPoint> points;
    if (const StartRecord* start = frame_.ShownStart()) {
        points.reserve(start->samples.size());
        for (const Sample& sample : start->samples)
            points.push_back({sample.ias, sample.accZ});
    }
    diagram_->SetPoints(std::move(points));
    UpdateTitle();
}

void VnWindow::ShowStarts(std::vector<StartFile> files)
{
    starts_ = std::move(files);
    BeginReading();
}

void VnWindow::BeginReading()
{
    poll_.stop();
    reader_.reset();
    diagram_->SetDensity(PointDensity());
    reader_ = std::make_unique<VnStartsReader>(starts_, diagram_->Envelope());
    progress_->setRange(0, static_cast<int>(std::min<std::size_t>(starts_.size(), INT_MAX)));
    progress_->setValue(0);
    progressRow_->show();
    UpdateTitle();
    poll_.start();
}

void VnWindow::PollReading()
{
    if (!reader_)
        return;
    progress_->setValue(static_cast<int>(std::min<std::size_t>(reader_->Done(), INT_MAX)));
    if (reader_->Finished())
        FinishReading();
}

void VnWindow::FinishReading()
{
    if (!reader_)
        return;
    poll_.stop();
    diagram_->SetDensity(reader_->TakeDensity());
    reader_.reset();
    progressRow_->hide();
}

void VnWindow::CancelReading()
{
    if (!reader_)
        return;
    reader_->Cancel();
    FinishReading();
}

void VnWindow::OnLimitsChanged()
{
    diagram_->SetEnvelope(EnvelopeOf(frame_.Limits()));
    // The binned starts were classified against the old limits.
    if (!starts_.empty())
        BeginReading();
}

void VnWindow::OnSampleMarked(int row)
{
    if (starts_.empty())
        diagram_->SetMarkedPoint(row);
}

void VnWindow::OnPointPicked(int index)
{
    frame_.MarkSample(index);
}

void VnWindow::UpdateTitle()
{
    QString title = QString::fromUtf8(kVnDiagramTitle);
    if (!starts_.empty())
        title += QString::fromUtf8(kVnStartsSuffix).arg(starts_.size());
    setWindowTitle(title);
}

void VnWindow::closeEvent(QCloseEvent* event)
{
    // The frame keeps the window for the whole run; closing only hides it.
    event->ignore();
    hide();
}

}  // namespace veltrin
