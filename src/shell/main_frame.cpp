#include "shell/main_frame.h"

#include "data/directory_loader.h"
#include "export/kml_writer.h"
#include "graph/graph_pane.h"
#include "graph/title_tip.h"
#include "recorder/recorder_session.h"
#include "shell/child_frame.h"
#include "shell/file_system_path.h"
#include "shell/help_dialog.h"
#include "shell/limits_settings.h"
#include "shell/logbook_window.h"
#include "shell/maximised_title.h"
#include "shell/resources_init.h"
#include "shell/shell_constants.h"
#include "shell/stack_follower.h"
#include "shell/track_window.h"
#include "shell/wait_cursor.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace veltrin {

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Keeps a tool bar button quiet when its command's prompt has no tool tip part.
class NoToolTip final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// Lines the minimised graph windows up along the bottom edge, left to right.
void ArrangeIcons(QMdiArea& area)
{
    const QRect client = area.viewport()->rect();
    int x = client.left();
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (window->isHidden() || !window->isMinimized())
            continue;
        const QSize size = window->size();
        window->move(x, client.bottom() + 1 - size.height());
        x += size.width();
    }
}

// The commands that change the active graph's time axis, in tool bar order.
constexpr Command kViewCommands[] = {Command::ZoomIn, Command::ZoomOut, Command::ShiftLeft,
                                     Command::ShiftRight, Command::FullView};

}  // namespace

CMainFrame::CMainFrame(std::unique_ptr<FrameDialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : std::make_unique<DesktopDialogs>()),
      kmlWriter_(std::make_unique<KmlWriter>()),
      titleTranslator_(std::make_unique<MaximisedTitleTranslator>())
{
    InitShellResources();
    QCoreApplication::installTranslator(titleTranslator_.get());
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(ApplicationIcon());
    createMdiArea();
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createStartList();
    createEventList();
    createGraphWindows();
    createTrackWindow();
    createMeasureBar();
    {
        QSettings store(Text(kOrganisation), Text(kApplicationTitle));
        settings_ = ReadFrameSettings(store);
        const LimitsSettings limits = ReadLimitsSettings(store);
        limits_ = limits.limits;
        recorderLimits_ = limits.recorder;
    }
    ApplyLimitLines(std::nullopt);

    titleTip_ = std::make_unique<CTitleTip>();
    titleTip_->Create(this);

    LoadDirectory(FileSystemPath(settings_.baseDir), recording_);
    FillStartList();
    createLogbook();
    UpdateTitle();
    UpdateMenus();

    // Stack the graph windows once the event loop runs, when the client area
    // has its final size.
    QTimer::singleShot(0, this, [this] { Action(Command::StackWindows)->trigger(); });
}

CMainFrame::~CMainFrame()
{
    // The logbook stops its fill while the frame it reads from is whole.
    logbook_.reset();
    // Closing hides the bars and windows one by one; their notifications must
    // not reach a frame that is being taken apart.
    for (QObject* sender : std::initializer_list<QObject*>{mdiArea_, toolBar_, startListBar_,
                                                           startList_, eventListBar_, measureBar_})
        disconnect(sender, nullptr, this, nullptr);
    for (CChildFrame* window : graphWindows_)
        disconnect(window, nullptr, this, nullptr);
    disconnect(trackWindow_, nullptr, this, nullptr);
    // Hiding the bars resizes the graph area; the windows no longer follow.
    delete stackFollower_;
    stackFollower_ = nullptr;
    {
        QSettings store(Text(kOrganisation), Text(kApplicationTitle));
        WriteFrameSettings(store, settings_);
    }
    if (titleTip_) {
        titleTip_->DestroyWindow();
        titleTip_.reset();
    }
    recording_.clear();
    ReleaseGraphTable();
}

void CMainFrame::createMdiArea()
{
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("GraphArea"));
    setCentralWidget(mdiArea_);
    // Updating the commands also updates the title.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateMenus);
}

QAction* CMainFrame::AddCommand(Command id)
{
    const CommandEntry* entry = FindCommand(id);
    auto* qaction = new QAction(this);
    qaction->setData(CommandNumber(id));
    if (entry) {
        qaction->setText(Text(entry->menuText));
        const PromptParts prompt = SplitPrompt(entry->prompt);
        qaction->setStatusTip(QString::fromStdString(prompt.statusTip));
        qaction->setToolTip(QString::fromStdString(prompt.toolTip));
        if (entry->image[0] != '\0')
            qaction->setIcon(QIcon(Text(entry->image)));
        if (qaction->text().isEmpty())
            qaction->setText(QString::fromStdString(prompt.statusTip));
    }
    actions_[id] = qaction;
    return qaction;
}

QAction* CMainFrame::Action(Command id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::createActions()
{
    connect(AddCommand(Command::LoadDirectory), &QAction::triggered, this,
            &CMainFrame::OnLoadDirectory);
    connect(AddCommand(Command::ConfigureLogger), &QAction::triggered, this, [this] {
        if (configureLogger_)
            configureLogger_(*this);
    });
    connect(AddCommand(Command::EditLimits), &QAction::triggered, this, &CMainFrame::OnEditLimits);
    connect(AddCommand(Command::Exit), &QAction::triggered, this, &QWidget::close);

    for (Command id : {Command::ToggleToolBar, Command::ToggleStatusBar, Command::ToggleStartList,
                       Command::ToggleEventList})
        AddCommand(id)->setCheckable(true);
    for (const GraphWindowEntry& graph : kGraphWindows)
        AddCommand(graph.toggle)->setCheckable(true);
    connect(Action(Command::ToggleToolBar), &QAction::triggered, this,
            [this] { toolBar_->setVisible(toolBar_->isHidden()); });
    connect(Action(Command::ToggleStatusBar), &QAction::triggered, this, [this] {
        statusBar()->setVisible(statusBar()->isHidden());
        UpdateMenus();
    });
    connect(Action(Command::ToggleStartList), &QAction::triggered, this,
            [this] { startListBar_->setVisible(startListBar_->isHidden()); });
    for (std::size_t i = 0; i < kGraphWindowCount; ++i) {
        connect(Action(kGraphWindows[i].toggle), &QAction::triggered, this,
                [this, i] { ToggleGraphWindow(graphWindows_[i]); });
    }

    connect(AddCommand(Command::ToggleLogbook), &QAction::triggered, this,
            &CMainFrame::ToggleLogbook);
    connect(AddCommand(Command::ToggleVnDiagram), &QAction::triggered, this,
            &CMainFrame::ToggleVnDiagram);
    Action(Command::ToggleVnDiagram)->setCheckable(true);
    connect(AddCommand(Command::ToggleTrack), &QAction::triggered, this,
            &CMainFrame::ToggleTrackWindow);
    Action(Command::ToggleTrack)->setCheckable(true);

    connect(AddCommand(Command::ExportCsv), &QAction::triggered, this, &CMainFrame::OnExportCsv);
    connect(AddCommand(Command::ExportKml), &QAction::triggered, this, &CMainFrame::OnExportKml);
    connect(AddCommand(Command::ExportGpx), &QAction::triggered, this, &CMainFrame::OnExportGpx);

    connect(AddCommand(Command::StackWindows), &QAction::triggered, this, [this] {
        StackGraphWindows();
        stackFollower_->Start();
    });
    connect(AddCommand(Command::Cascade), &QAction::triggered, this,
            [this] { mdiArea_->cascadeSubWindows(); });
    connect(AddCommand(Command::Tile), &QAction::triggered, this,
            [this] { mdiArea_->tileSubWindows(); });
    connect(AddCommand(Command::ArrangeIcons), &QAction::triggered, this,
            [this] { ArrangeIcons(*mdiArea_); });

    connect(AddCommand(Command::Help), &QAction::triggered, this, [this] {
        CHelpDialog dialog(this);
        dialog.exec();
    });
    // The application object answers the about command.
    AddCommand(Command::About);

    connect(AddCommand(Command::ZoomIn), &QAction::triggered, this,
            [this] { ZoomTimeAxis(ZoomDirection::In); });
    connect(AddCommand(Command::ZoomOut), &QAction::triggered, this,
            [this] { ZoomTimeAxis(ZoomDirection::Out); });
    connect(AddCommand(Command::ShiftLeft), &QAction::triggered, this,
            [this] { ShiftTimeAxis(false); });
    connect(AddCommand(Command::ShiftRight), &QAction::triggered, this,
            [this] { ShiftTimeAxis(true); });
    connect(AddCommand(Command::FullView), &QAction::triggered, this, &CMainFrame::FullView);
    createReportActions();
    createMeasureActions();
    createImageActions();
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(Text(kFileMenuTitle));
    file->addAction(Action(Command::LoadDirectory));
    file->addSeparator();
    file->addAction(Action(Command::ConfigureLogger));
    file->addAction(Action(Command::EditLimits));
    file->addSeparator();
    file->addAction(Action(Command::FlightReportPdf));
    file->addAction(Action(Command::PrintFlightReport));
    file->addAction(Action(Command::LogbookReportPdf));
    file->addSeparator();
    file->addAction(Action(Command::SaveGraphImage));
    file->addAction(Action(Command::CopyGraphImage));
    file->addSeparator();
    file->addAction(Action(Command::Exit));

    QMenu* view = menuBar()->addMenu(Text(kViewMenuTitle));
    view->addAction(Action(Command::ToggleToolBar));
    view->addAction(Action(Command::ToggleStatusBar));
    view->addAction(Action(Command::ToggleStartList));
    view->addAction(Action(Command::ToggleEventList));
    view->addAction(Action(Command::ToggleMeasureWindow));
    view->addSeparator();
    for (const GraphWindowEntry& graph : kGraphWindows)
        view->addAction(Action(graph.toggle));
    view->addAction(Action(Command::ToggleVnDiagram));
    view->addAction(Action(Command::ToggleTrack));
    view->addSeparator();
    view->addAction(Action(Command::MeasureRange));
    view->addSeparator();
    view->addAction(Action(Command::ToggleLogbook));

    QMenu* exports = menuBar()->addMenu(Text(kExportMenuTitle));
    exports->addAction(Action(Command::ExportCsv));
    exports->addAction(Action(Command::ExportKml));
    exports->addAction(Action(Command::ExportGpx));

    // Shown only while a graph window is active.
    windowMenu_ = menuBar()->addMenu(Text(kWindowMenuTitle));
    windowMenu_->addAction(Action(Command::StackWindows));
    windowMenu_->addAction(Action(Command::Cascade));
    windowMenu_->addAction(Action(Command::Tile));
    windowMenu_->addAction(Action(Command::ArrangeIcons));

    QMenu* help = menuBar()->addMenu(Text(kHelpMenuTitle));
    help->addAction(Action(Command::Help));
    help->addAction(Action(Command::About));

    for (QMenu* menu : {file, view, exports, windowMenu_, help})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateMenus);
}

void CMainFrame::createToolBar()
{
    toolBar_ = addToolBar(Text(kToolBarTitle));
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->addAction(Action(Command::LoadDirectory));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::About));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::ExportKml));
    toolBar_->addSeparator();
    for (Command id : kViewCommands)
        toolBar_->addAction(Action(id));
    toolBar_->addSeparator();
    toolBar_->addAction(Action(Command::MeasureRange));
    toolBar_->addAction(Action(Command::ToggleTrack));

    auto* quiet = new NoToolTip(toolBar_);
    for (QAction* button : toolBar_->actions()) {
        if (button->isSeparator())
            continue;
        const CommandEntry* entry = FindCommand(static_cast<Command>(button->data().toInt()));
        if (entry && SplitPrompt(entry->prompt).toolTip.empty())
            toolBar_->widgetForAction(button)->installEventFilter(quiet);
    }
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateMenus);
}

void CMainFrame::createStatusBar()
{
    messagePane_ = new QLabel(Text(kIdleText));
    messagePane_->setObjectName(QStringLiteral("MessagePane"));
    messagePane_->setTextFormat(Qt::PlainText);
    messagePane_->setMinimumWidth(1);
    statusBar()->addWidget(messagePane_, 1);
    shownStartPane_ = new QLabel;
    shownStartPane_->setObjectName(QStringLiteral("ShownStartPane"));
    shownStartPane_->setTextFormat(Qt::PlainText);
    shownStartPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(shownStartPane_);
    // The compact read-out of the measured range; shown while there is one.
    measurePane_ = new QLabel;
    measurePane_->setObjectName(QStringLiteral("MeasurePane"));
    measurePane_->setTextFormat(Qt::PlainText);
    measurePane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(measurePane_);
    measurePane_->hide();
    // The lock indicators show their texts in the dimmed look of an indicator
    // that is off: the lock states are not known to the program.
    for (const char* text : kIndicatorTexts) {
        auto* indicator = new QLabel(Text(text));
        indicator->setObjectName(QStringLiteral("Indicator") + Text(text));
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        indicator->setMinimumWidth(
            indicator->fontMetrics().horizontalAdvance(QStringLiteral("NUM")) + 12);
        indicator->setEnabled(false);
        statusBar()->addPermanentWidget(indicator);
    }
}

void CMainFrame::createStartList()
{
    startListBar_ = new QDockWidget(Text(kStartListTitle), this);
    startListBar_->setObjectName(QStringLiteral("StartListBar"));
    startListBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    startListBar_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                               QDockWidget::DockWidgetClosable);
    startList_ = new QTreeWidget(startListBar_);
    startList_->setObjectName(QStringLiteral("StartList"));
    startList_->setColumnCount(1);
    startList_->setHeaderHidden(true);
    startList_->setRootIsDecorated(true);
    startList_->setSelectionMode(QAbstractItemView::SingleSelection);
    startList_->setExpandsOnDoubleClick(true);
    startList_->header()->setStretchLastSection(true);
    startListBar_->setWidget(startList_);
    startListBar_->setMinimumWidth(kStartListWidth);
    addDockWidget(Qt::LeftDockWidgetArea, startListBar_);
    resizeDocks({startListBar_}, {kStartListWidth}, Qt::Horizontal);

    connect(startList_, &QTreeWidget::itemSelectionChanged, this, [this] {
        ShowStartValues();
        UpdateMenus();
    });
    connect(startList_, &QTreeWidget::itemClicked, this, &CMainFrame::ShowStartValues);
    // A double click shows the selected start; so does Enter, for the keyboard.
    // (Item activation is not used: some desktops activate on a single click.)
    connect(startList_, &QTreeWidget::itemDoubleClicked, this, &CMainFrame::OnStartDoubleClick);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, startList_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, &CMainFrame::OnStartDoubleClick);
    }
    connect(startListBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateMenus);
}

void CMainFrame::createGraphWindows()
{
    for (std::size_t i = 0; i < kGraphWindowCount; ++i)
        graphWindows_[i] = new CChildFrame(Text(kGraphWindows[i].title));
    for (CChildFrame* window : graphWindows_) {
        mdiArea_->addSubWindow(window);
        // Adding puts the system menu hint back; without it there is no close box.
        window->overrideWindowFlags(CChildFrame::Flags());
        window->show();
        window->Pane().SetMarkerCallback(&CMainFrame::OnMarker, this);
        // Qt hides and shows a window itself while it moves the maximised
        // state to another window; only the ticks follow that, once it is
        // done. The user's own hiding hands the activation on.
        connect(window, &CChildFrame::visibilityChanged, this, [this] {
            QMetaObject::invokeMethod(this, &CMainFrame::UpdateMenus, Qt::QueuedConnection);
        });
        connect(window, &CChildFrame::closedByUser, this, [this] {
            ActivateVisibleGraphWindow();
            UpdateMenus();
        });
    }
    stackFollower_ = new StackFollower(
        *mdiArea_->viewport(),
        [this](const QRect& client) { return GraphWindowsStackedIn(client); },
        [this] { StackGraphWindows(); });
    for (CChildFrame* window : graphWindows_)
        connect(window, &CChildFrame::movedByUser, this, [this] { stackFollower_->Stop(); });
}

void CMainFrame::ActivateVisibleGraphWindow()
{
    // A hidden window leaves no active one behind: the window active before
    // it takes over, so the view commands and "Fenster" stay at hand.
    if (ActiveGraphWindow())
        return;
    const QList<QMdiSubWindow*> history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        if (!(*it)->isHidden()) {
            mdiArea_->setActiveSubWindow(*it);
            return;
        }
    }
}

void CMainFrame::SetConfigureLoggerHandler(std::function<void(CMainFrame&)> handler)
{
    configureLogger_ = std::move(handler);
}

void CMainFrame::OnLoadDirectory()
{
    const std::optional<QString> folder =
        dialogs_->BrowseFolder(this, Text(kBrowseTitle), settings_.baseDir);
    if (folder)
        LoadBaseDirectory(*folder);
}

void CMainFrame::LoadBaseDirectory(const QString& path)
{
    settings_.baseDir = path;
    {
        WaitCursor wait;
        LoadDirectory(FileSystemPath(path), recording_);
    }
    // The graphs keep their copy of the start shown before; it is no longer in the recording.
    shownStart_ = -1;
    if (!shownStartPane_->text().isEmpty() &&
        !shownStartPane_->text().endsWith(Text(kNoLongerLoadedSuffix)))
        shownStartPane_->setText(shownStartPane_->text() + Text(kNoLongerLoadedSuffix));
    emit shownStartChanged();
    FillStartList();
    UpdateMenus();
    emit recordingLoaded();
}

void CMainFrame::SetStatusText(const QString& text)
{
    messagePane_->setText(text);
    statusBar()->repaint();
}

QString CMainFrame::StatusText() const
{
    return messagePane_->text();
}

QString CMainFrame::ShownStartPaneText() const
{
    return shownStartPane_->text();
}

void CMainFrame::UpdateTitle()
{
    QMdiSubWindow* active = mdiArea_->currentSubWindow();
    if (active && !active->isHidden())
        setWindowTitle(Text(kMainTitle) + Text(kTitleSeparator) + active->windowTitle());
    else
        setWindowTitle(Text(kMainTitle));
}

void CMainFrame::UpdateMenus()
{
    Action(Command::ToggleToolBar)->setChecked(!toolBar_->isHidden());
    Action(Command::ToggleStatusBar)->setChecked(!statusBar()->isHidden());
    Action(Command::ToggleStartList)->setChecked(!startListBar_->isHidden());
    Action(Command::ToggleEventList)->setChecked(!eventListBar_->isHidden());
    for (std::size_t i = 0; i < kGraphWindowCount; ++i)
        Action(kGraphWindows[i].toggle)->setChecked(!graphWindows_[i]->isHidden());
    Action(Command::ToggleVnDiagram)->setChecked(VnDiagramShown());
    Action(Command::ToggleTrack)->setChecked(TrackWindowShown());

    const bool startSelected = SelectedStartIndex() >= 0;
    Action(Command::ExportCsv)->setEnabled(startSelected);
    Action(Command::ExportKml)->setEnabled(startSelected);
    Action(Command::ExportGpx)->setEnabled(startSelected);

    CChildFrame* active = ActiveGraphWindow();
    const bool graphShown = active && active->Pane().Plot().SeriesCount() > 0;
    for (Command id : kViewCommands)
        Action(id)->setEnabled(graphShown);

    windowMenu_->menuAction()->setVisible(active != nullptr);
    UpdateReportCommands();
    UpdateMeasureCommands();
    UpdateImageCommands();
    UpdateTitle();
}

RecorderSession& CMainFrame::LinkSession()
{
    // Made when the recorder is first asked for, so that a frame that never
    // talks to it opens nothing. It goes with the frame, while the
    // application (whose event loop the serial port needs) still exists.
    if (!linkSession_)
        linkSession_ = std::make_unique<RecorderSession>();
    return *linkSession_;
}

}  // namespace veltrin
