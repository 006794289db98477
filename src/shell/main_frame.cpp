#include "shell/main_frame.h"

#include "data/directory_loader.h"
#include "export/kml_writer.h"
#include "graph/graph_pane.h"
#include "graph/title_tip.h"
#include "shell/child_frame.h"
#include "shell/command_table.h"
#include "shell/help_dialog.h"
#include "shell/maximised_title.h"
#include "shell/resources_init.h"
#include "shell/shell_constants.h"
#include "shell/wait_cursor.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
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
    createGraphWindows();
    {
        QSettings store(Text(kOrganisation), Text(kApplicationTitle));
        settings_ = ReadFrameSettings(store);
    }

    titleTip_ = std::make_unique<CTitleTip>();
    titleTip_->Create(this);

    LoadDirectory(std::filesystem::path(QFile::encodeName(settings_.baseDir).toStdString()),
                  recording_);
    FillStartList();
    updateTitle();
    updateMenus();

    // Stack the graph windows once the event loop runs, when the client area
    // has its final size.
    QTimer::singleShot(0, this, [this] { action(command::StackWindows)->trigger(); });
}

CMainFrame::~CMainFrame()
{
    // Closing hides the bars and windows one by one; their notifications must
    // not reach a frame that is being taken apart.
    for (QObject* sender : std::initializer_list<QObject*> {
             mdiArea_, toolBar_, startListBar_, startList_, acceleration_, altitude_, speed_})
        disconnect(sender, nullptr, this, nullptr);
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
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateMenus);
}

QAction* CMainFrame::addCommand(int id)
{
    const CommandEntry* entry = FindCommand(id);
    auto* qaction = new QAction(this);
    qaction->setData(id);
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

QAction* CMainFrame::action(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::createActions()
{
    connect(addCommand(command::LoadDirectory), &QAction::triggered, this,
            &CMainFrame::onLoadDirectory);
    connect(addCommand(command::ConfigureLogger), &QAction::triggered, this, [this] {
        if (configureLogger_)
            configureLogger_(*this);
    });
    connect(addCommand(command::Exit), &QAction::triggered, this, &QWidget::close);

    for (int id : {command::ToggleToolBar, command::ToggleStatusBar, command::ToggleStartList,
                   command::ToggleAcceleration, command::ToggleAltitude, command::ToggleSpeed})
        addCommand(id)->setCheckable(true);
    connect(action(command::ToggleToolBar), &QAction::triggered, this,
            [this] { toolBar_->setVisible(toolBar_->isHidden()); });
    connect(action(command::ToggleStatusBar), &QAction::triggered, this, [this] {
        statusBar()->setVisible(statusBar()->isHidden());
        updateMenus();
    });
    connect(action(command::ToggleStartList), &QAction::triggered, this,
            [this] { startListBar_->setVisible(startListBar_->isHidden()); });
    connect(action(command::ToggleAcceleration), &QAction::triggered, this,
            [this] { ToggleGraphWindow(acceleration_); });
    connect(action(command::ToggleAltitude), &QAction::triggered, this,
            [this] { ToggleGraphWindow(altitude_); });
    connect(action(command::ToggleSpeed), &QAction::triggered, this,
            [this] { ToggleGraphWindow(speed_); });

    connect(addCommand(command::ExportCsv), &QAction::triggered, this, &CMainFrame::OnExportCsv);
    connect(addCommand(command::ExportKml), &QAction::triggered, this, &CMainFrame::OnExportKml);

    connect(addCommand(command::StackWindows), &QAction::triggered, this,
            &CMainFrame::StackGraphWindows);
    connect(addCommand(command::Cascade), &QAction::triggered, this,
            [this] { mdiArea_->cascadeSubWindows(); });
    connect(addCommand(command::Tile), &QAction::triggered, this,
            [this] { mdiArea_->tileSubWindows(); });
    connect(addCommand(command::ArrangeIcons), &QAction::triggered, this,
            [this] { ArrangeIcons(*mdiArea_); });

    connect(addCommand(command::Help), &QAction::triggered, this, [this] {
        CHelpDialog dialog(this);
        dialog.exec();
    });
    // The application object answers the about command.
    addCommand(command::About);

    connect(addCommand(command::ZoomIn), &QAction::triggered, this,
            [this] { ZoomTimeAxis(ZoomDirection::In); });
    connect(addCommand(command::ZoomOut), &QAction::triggered, this,
            [this] { ZoomTimeAxis(ZoomDirection::Out); });
    connect(addCommand(command::ShiftLeft), &QAction::triggered, this,
            [this] { ShiftTimeAxis(false); });
    connect(addCommand(command::ShiftRight), &QAction::triggered, this,
            [this] { ShiftTimeAxis(true); });
    connect(addCommand(command::FullView), &QAction::triggered, this, &CMainFrame::FullView);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(action(command::LoadDirectory));
    file->addSeparator();
    file->addAction(action(command::ConfigureLogger));
    file->addSeparator();
    file->addAction(action(command::Exit));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    view->addAction(action(command::ToggleToolBar));
    view->addAction(action(command::ToggleStatusBar));
    view->addAction(action(command::ToggleStartList));
    view->addSeparator();
    view->addAction(action(command::ToggleAcceleration));
    view->addAction(action(command::ToggleAltitude));
    view->addAction(action(command::ToggleSpeed));

    QMenu* exports = menuBar()->addMenu(QStringLiteral("Export"));
    exports->addAction(action(command::ExportCsv));
    exports->addAction(action(command::ExportKml));

    // Shown only while a graph window is active.
    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Fenster"));
    windowMenu_->addAction(action(command::StackWindows));
    windowMenu_->addAction(action(command::Cascade));
    windowMenu_->addAction(action(command::Tile));
    windowMenu_->addAction(action(command::ArrangeIcons));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    help->addAction(action(command::Help));
    help->addAction(action(command::About));

    for (QMenu* menu : {file, view, exports, windowMenu_, help})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateMenus);
}

void CMainFrame::createToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Symbolleiste"));
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->addAction(action(command::LoadDirectory));
    toolBar_->addSeparator();
    toolBar_->addAction(action(command::About));
    toolBar_->addSeparator();
    toolBar_->addAction(action(command::ExportKml));
    toolBar_->addSeparator();
    for (int id : {command::ZoomIn, command::ZoomOut, command::ShiftLeft, command::ShiftRight,
                   command::FullView})
        toolBar_->addAction(action(id));

    auto* quiet = new NoToolTip(toolBar_);
    for (QAction* button : toolBar_->actions()) {
        if (button->isSeparator())
            continue;
        const CommandEntry* entry = FindCommand(button->data().toInt());
        if (entry && SplitPrompt(entry->prompt).toolTip.empty())
            toolBar_->widgetForAction(button)->installEventFilter(quiet);
    }
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::updateMenus);
}

void CMainFrame::createStatusBar()
{
    messagePane_ = new QLabel(Text(kIdleText));
    messagePane_->setObjectName(QStringLiteral("MessagePane"));
    messagePane_->setTextFormat(Qt::PlainText);
    messagePane_->setMinimumWidth(1);
    statusBar()->addWidget(messagePane_, 1);
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
        updateMenus();
    });
    connect(startList_, &QTreeWidget::itemClicked, this, &CMainFrame::ShowStartValues);
    // A double click shows the selected start; so does Enter, for the keyboard.
    // (Item activation is not used: some desktops activate on a single click.)
    connect(startList_, &QTreeWidget::itemDoubleClicked, this, &CMainFrame::onStartDoubleClick);
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, startList_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, &CMainFrame::onStartDoubleClick);
    }
    connect(startListBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::updateMenus);
}

void CMainFrame::createGraphWindows()
{
    acceleration_ = new CChildFrame(Text(kAccelerationTitle));
    altitude_ = new CChildFrame(Text(kAltitudeTitle));
    speed_ = new CChildFrame(Text(kSpeedTitle));
    for (CChildFrame* window : {acceleration_, altitude_, speed_}) {
        mdiArea_->addSubWindow(window);
        // Adding puts the system menu hint back; without it there is no close box.
        window->overrideWindowFlags(CChildFrame::Flags());
        window->show();
        window->pane().SetMarkerCallback(&CMainFrame::OnMarker, this);
        // Qt hides and shows a window itself while it moves the maximised
        // state to another window; only the ticks follow that, once it is
        // done. The user's own hiding hands the activation on.
        connect(window, &CChildFrame::visibilityChanged, this, [this] {
            QMetaObject::invokeMethod(this, &CMainFrame::updateMenus, Qt::QueuedConnection);
        });
        connect(window, &CChildFrame::closedByUser, this, [this] {
            activateVisibleGraphWindow();
            updateMenus();
        });
    }
}

void CMainFrame::activateVisibleGraphWindow()
{
    // A hidden window leaves no active one behind: the window active before
    // it takes over, so the view commands and "Fenster" stay at hand.
    if (activeGraphWindow())
        return;
    const QList<QMdiSubWindow*> history =
        mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
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

void CMainFrame::onLoadDirectory()
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
        LoadDirectory(std::filesystem::path(QFile::encodeName(path).toStdString()), recording_);
    }
    FillStartList();
    updateMenus();
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

void CMainFrame::updateTitle()
{
    QMdiSubWindow* active = mdiArea_->currentSubWindow();
    if (active && !active->isHidden())
        setWindowTitle(Text(kMainTitle) + QStringLiteral(" - ") + active->windowTitle());
    else
        setWindowTitle(Text(kMainTitle));
}

void CMainFrame::updateMenus()
{
    action(command::ToggleToolBar)->setChecked(!toolBar_->isHidden());
    action(command::ToggleStatusBar)->setChecked(!statusBar()->isHidden());
    action(command::ToggleStartList)->setChecked(!startListBar_->isHidden());
    action(command::ToggleAcceleration)->setChecked(!acceleration_->isHidden());
    action(command::ToggleAltitude)->setChecked(!altitude_->isHidden());
    action(command::ToggleSpeed)->setChecked(!speed_->isHidden());

    const bool startSelected = SelectedStartIndex() >= 0;
    action(command::ExportCsv)->setEnabled(startSelected);
    action(command::ExportKml)->setEnabled(startSelected);

    CChildFrame* active = activeGraphWindow();
    const bool graphShown = active && active->pane().Plot().SeriesCount() > 0;
    for (int id : {command::ZoomIn, command::ZoomOut, command::ShiftLeft, command::ShiftRight,
                   command::FullView})
        action(id)->setEnabled(graphShown);

    windowMenu_->menuAction()->setVisible(active != nullptr);
    updateTitle();
}

}  // namespace veltrin
