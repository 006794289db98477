#pragma once
// CMainFrame: the main window. It owns the loaded recording, the start list,
// the three graph windows and the three settings, and carries every command.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"
#include "graph/graph_row.h"
#include "shell/command_table.h"
#include "shell/frame_dialogs.h"
#include "shell/frame_settings.h"
#include "shell/graph_window_config.h"
#include "shell/view_rules.h"

#include <QMainWindow>
#include <QPoint>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QTranslator;
class QTreeWidget;
class QTreeWidgetItem;
class QDockWidget;

namespace veltrin {

class CChildFrame;
class CEventListWindow;
class CGraphPlot;
class CTitleTip;
class KmlWriter;
class LogbookWindow;
class MeasureWindow;
class RecorderSession;
class StackFollower;
class TrackWindow;
class VnWindow;
struct ExportResult;
struct StartFile;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Creates the bars and graph windows, reads the settings, loads the base
    // directory and fills the start list. Null `dialogs` uses the desktop's.
    explicit CMainFrame(std::unique_ptr<FrameDialogs> dialogs = nullptr);
    // Writes the settings and releases the recording and the graph tables.
    ~CMainFrame() override;

    // Makes `path` the base directory and loads it, as a confirmed
    // "Verzeichnis laden" does.
    void LoadBaseDirectory(const QString& path);

    // The handler of "Logger konfigurieren"; the recorder configuration sets it.
    // Without one the command does nothing.
    void SetConfigureLoggerHandler(std::function<void(CMainFrame&)> handler);
    const QString& Port() const { return settings_.port; }
    void SetPort(const QString& port) { settings_.port = port; }
    // The exchange with the recorder, kept for the program's run so that the
    // link stays open between runs of the configuration wizard.
    RecorderSession& LinkSession();
    const QString& BaseDirectory() const { return settings_.baseDir; }
    bool ExtendedKml() const { return settings_.extendedKml; }

    // Start list.
    void FillStartList();
    QTreeWidgetItem* FindDateItem(const QString& text) const;
    void ShowStartValues();
    // The selected item's start index, or -1 when none or a day is selected.
    int SelectedStartIndex() const;

    // Graph windows.
    void ShowStart(int index);
    void StackGraphWindows();
    // Whether resizing the graph area restacks the graph windows: from
    // "Übereinander" until a graph window is moved or resized by hand.
    bool StackFollowsResize() const;
    void ZoomTimeAxis(ZoomDirection direction);
    void ShiftTimeAxis(bool right);
    void FullView();
    void ToggleGraphWindow(CChildFrame* window);

    // The logbook window "Flugbuch"; it exists as long as the frame.
    LogbookWindow& Logbook() const;
    void ToggleLogbook();
    // The logbook report of the starts in the logbook's date range.
    void LogbookReportOfDateRange();
    // All starts in the logbook's date range at once in the V-n diagram.
    void VnDiagramOfDateRange();

    // Exports of the selected start.
    void OnExportCsv();
    void OnExportKml();
    void OnExportGpx();

    // Reports: of the shown start as PDF and on paper; the logbook of the
    // loaded card's starts from `fromDay` to `toDay` (UTC midnights, open ends
    // without) as PDF.
    void OnFlightReportPdf();
    void OnPrintFlightReport();
    void OnLogbookReportPdf(std::optional<CalendarSeconds> fromDay = std::nullopt,
                            std::optional<CalendarSeconds> toDay = std::nullopt);

    // Pictures of the graphs: "Grafik speichern…" writes the active graph, or
    // all shown ones stacked as they lie on screen, as a PNG or SVG file;
    // "Kopieren" puts the same picture at window size on the clipboard (the
    // graphs last chosen for saving, the active one before that).
    void OnSaveGraphImage();
    void OnCopyGraphImage();

    // Sets the message pane and repaints the status bar at once.
    void SetStatusText(const QString& text);
    QString StatusText() const;
    // The status bar's pane that names the start the graphs show.
    QString ShownStartPaneText() const;

    // Sets every command's enabled and ticked state.
    void UpdateMenus();

    const Recording& LoadedRecording() const { return recording_; }
    // The action of command `id`; every command has one once the frame exists.
    QAction* Action(Command id) const;
    QTreeWidget* StartList() const { return startList_; }
    QMdiArea* MdiArea() const { return mdiArea_; }
    // The graph window at `which` in kGraphWindows.
    CChildFrame* GraphWindowAt(GraphWindow which) const;
    CChildFrame* AccelerationWindow() const { return GraphWindowAt(GraphWindow::Acceleration); }
    CChildFrame* AltitudeWindow() const { return GraphWindowAt(GraphWindow::Altitude); }
    CChildFrame* SpeedWindow() const { return GraphWindowAt(GraphWindow::Speed); }
    int ShownDurationMs() const { return shownDurationMs_; }
    // The start shown in the graphs, or null when none is.
    const StartRecord* ShownStart() const;
    int ShownStartIndex() const { return shownStart_; }  // -1 when none

    // The aircraft's limits; none until the user or the recorder gives them.
    const std::optional<AircraftLimits>& Limits() const { return limits_; }
    // Sets or (with none, or limits that are not plausible: see
    // LimitsArePlausible) removes the limits, keeps them in the settings and
    // draws them in the graphs.
    void SetLimits(const std::optional<AircraftLimits>& limits);
    // The recorder's limits as the configuration wizard read or wrote them:
    // kept in the settings and offered by "Grenzwerte…"; they become the
    // limits while none are set. Limits that are not plausible are ignored.
    void SetRecorderLimits(const AircraftLimits& limits);
    const std::optional<AircraftLimits>& RecorderLimits() const { return recorderLimits_; }
    // "Grenzwerte…": the limits dialog; OK sets or removes the limits.
    void OnEditLimits();
    QDockWidget* EventListBar() const { return eventListBar_; }
    CEventListWindow* EventList() const { return eventList_; }
    // Moves the marker of all graphs to sample `row` of the shown start.
    void MarkSample(int row);
    // Shows seconds [fromSeconds, toSeconds] of the shown start in all graphs.
    void ShowTimeRange(double fromSeconds, double toSeconds);

    // The V-n diagram window, made (hidden) on first use.
    VnWindow& VnDiagramWindow();
    bool VnDiagramShown() const;
    void ToggleVnDiagram();
    // Shows the V-n diagram with all samples of `files` at once, read in the background.
    void ShowStartsInVnDiagram(std::vector<StartFile> files);

    // The track window "Flugweg"; made hidden with the graphs.
    TrackWindow& FlightTrackWindow() const;
    bool TrackWindowShown() const;
    // Shows or hides it; stacked windows are stacked again, with the track
    // as a column beside the graphs while it is shown.
    void ToggleTrackWindow();
    // Moves the marker of all graphs to the sample the marker rule picks at
    // `timeMs` on the graphs' time axis of the shown start.
    void MarkTime(double timeMs);

    // The measured range from the marker (cursor A) to cursor B. SetRangeEnd
    // puts B on sample `row` of the shown start in all graphs, -1 takes it
    // away; without the marker B stays away and the status text says why.
    void SetRangeEnd(int row);
    bool RangeEndSet() const;
    // "Messbereich": B at the centre of the view, or away when it is set.
    void ToggleMeasureRange();
    QDockWidget* MeasureBar() const { return measureBar_; }
    MeasureWindow* Measure() const { return measureWindow_; }

    // View-changed callback of each plot: gives the other graphs its time range.
    static void SyncTimeAxes(void* userData, CGraphPlot& plot);
    // Marker callback of each pane: the marker to all graphs and the read-out.
    static void OnMarker(void* userData, int row, QPoint screenPos);
    // Range-end callback of each pane: cursor B to all graphs and the read-out.
    static void OnRangeEnd(void* userData, int row, QPoint screenPos);

signals:
    // Another start is shown in the graphs, or none.
    void shownStartChanged();
    // The aircraft's limits were set or removed.
    void limitsChanged();
    // The recording was loaded anew from the base directory.
    void recordingLoaded();
    // The graphs' marker moved to sample `row` of the shown start.
    void sampleMarked(int row);

private:
    void createMdiArea();
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createStartList();
    void createGraphWindows();
    void createReportActions();
    void UpdateReportCommands();
    void createEventList();
    // True when the shown graph windows lie as StackGraphWindows put them in
    // the graph area's client rectangle, or in `client`.
    bool GraphWindowsStacked() const;
    bool GraphWindowsStackedIn(const QRect& client) const;
    void createLogbook();
    void createTrackWindow();
    // Where stacking puts the graph windows and the shown track window in
    // the graph area's `client` rectangle: the track a column on the right.
    QRect GraphColumn(const QRect& client) const;
    QRect TrackColumn(const QRect& client) const;
    void createMeasureActions();
    void createMeasureBar();
    // The read-out of the measured range in its bar and the status pane.
    void UpdateMeasure();
    void UpdateMeasureCommands();
    void ShowMeasureBar(bool show);
    void createImageActions();
    void UpdateImageCommands();
    // The plots a picture shows, top to bottom: the active graph's, or those of
    // all shown graph windows ordered by their place on screen.
    std::vector<CGraphPlot*> ImagePlots(bool allGraphs) const;

    QAction* AddCommand(Command id);
    void OnLoadDirectory();
    void OnStartDoubleClick();
    void UpdateTitle();
    void ConfigureGraph(CChildFrame* window, const GraphWindowConfig& config, int seconds);
    void ConfigureAllGraphs();
    // Takes the shown start's table and event times back from the graphs and frees them.
    void ReleaseGraphTable();
    // Draws the limits in the graphs; a graph whose value range was the full
    // one for `previous` gets the full one for the limits now set.
    void ApplyLimitLines(const std::optional<AircraftLimits>& previous);
    // Shows a part of the flight picked in the event list: marker and zoom.
    void ShowFlightPart(int firstSample, double fromSeconds, double toSeconds);
    void SyncFrom(CGraphPlot& plot);
    // Gives the shown graphs of one width the widest left and right room that
    // any of them needs, so that one time lies on one pixel column in each.
    void AlignPlotEdges();
    CChildFrame* ActiveGraphWindow() const;
    void ActivateVisibleGraphWindow();
    std::array<CChildFrame*, kGraphWindowCount> GraphWindowsInStackOrder() const;
    StartRecord* StartAt(int index);
    // Gives the list item of start `index` its text and look (shown, empty).
    void RestyleStartItem(int index);
    bool ReadStart(int index);
    // The selected start, read from its file; null when no start is selected.
    const StartRecord* ReadSelectedStart();
    // Writes the export file `path` through `write` under the wait cursor; then
    // reports a failure, or remembers the folder for the next export.
    void WriteExport(const QString& path, const std::function<ExportResult()>& write);

    std::unique_ptr<FrameDialogs> dialogs_;
    FrameSettings settings_;
    Recording recording_;

    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QDockWidget* startListBar_ = nullptr;
    QTreeWidget* startList_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* shownStartPane_ = nullptr;  // names the start the graphs show
    QMenu* windowMenu_ = nullptr;
    std::map<Command, QAction*> actions_;
    // The graph windows, in the order of kGraphWindows.
    std::array<CChildFrame*, kGraphWindowCount> graphWindows_{};
    // Set while the graphs change together or take their room from
    // AlignPlotEdges, which then waits for the one call after the change.
    bool plotEdgesHeld_ = false;
    std::unique_ptr<CTitleTip> titleTip_;
    std::unique_ptr<KmlWriter> kmlWriter_;
    std::function<void(CMainFrame&)> configureLogger_;
    std::unique_ptr<RecorderSession> linkSession_;  // made on first use
    std::unique_ptr<QTranslator> titleTranslator_;  // removes itself when deleted

    // The shown start's samples, lent to all three graphs: rows of N = 3 columns.
    std::vector<GraphRow> graphTable_;
    int shownDurationMs_ = 0;
    int shownStart_ = -1;
    std::optional<AircraftLimits> limits_;
    std::optional<AircraftLimits> recorderLimits_;
    QDockWidget* eventListBar_ = nullptr;
    CEventListWindow* eventList_ = nullptr;
    std::vector<double> eventTimes_;  // lent to all three plots
    QString lastExportFolder_;
    std::unique_ptr<LogbookWindow> logbook_;
    VnWindow* vnWindow_ = nullptr;            // owned by the graph area once made
    StackFollower* stackFollower_ = nullptr;  // owned by the graph area's viewport
    TrackWindow* trackWindow_ = nullptr;      // owned by the graph area
    QDockWidget* measureBar_ = nullptr;
    MeasureWindow* measureWindow_ = nullptr;
    QLabel* measurePane_ = nullptr;
    bool measureBarOffered_ = false;  // the bar came up once when B was first set
    GraphImageOptions imageOptions_;  // the last confirmed, for the next picture
    ImageFormat imageFormat_ = ImageFormat::Png;
};

}  // namespace veltrin
