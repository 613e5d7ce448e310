#include "app/main_window.h"

#include "app/ai_tools_ui.h"
#include "app/client_window.h"
#include "app/course_actions.h"
#include "app/course_check_ui.h"
#include "app/drawing_tools_ui.h"
#include "app/help_dialogs.h"
#include "app/race_tools_ui.h"
#include "app/layer_views.h"
#include "app/recent_files.h"
#include "app/startup_texts.h"
#include "app/status_readout.h"
#include "app/theme_views.h"
#include "app/window_menus.h"
#include "course/expand_rom.h"
#include "course/patch_procedures.h"
#include "course/rom_course.h"
#include "course/rom_insertion.h"
#include "course/track_state.h"
#include "document/course_document.h"
#include "document/map_history.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "rom/rom_image.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

namespace velmor {

namespace {

// Long enough to be read after a save, short enough not to be taken for a lasting state.
constexpr int StatusMessageMs = 8000;

QString setUpMissing()
{
    return MainWindow::tr("Needs recomp.exe and your ROM: finish the first-run set-up (delete "
                          "Velmor.cfg and start Velmor again)");
}

} // namespace

MainWindow::MainWindow(Services &services, QWidget *parent)
    : QMainWindow(parent)
    , mServices(services)
    , mClient(new ClientWindow(services, this))
    , mMenus(new WindowMenus(menuBar(), this))
    , mStatus(new StatusReadout(statusBar(), mClient, this))
    , mRecent(new RecentFiles(this))
    , mTools(nullptr)
    , mThemes(nullptr)
{
    setObjectName(QStringLiteral("VelmorMainWindow"));
    setWindowTitle(mClient->windowTitle());
    setWindowIcon(mClient->windowIcon());
    setCentralWidget(mClient);
    // The described window keeps its size; the frame follows it and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    buildFileMenu();
    buildEditMenu();
    mThemes = new ThemeViews(this, mClient, *mMenus, services, this);
    mLayers = new LayerViews(this, mClient->document(), *mMenus, this);
    mCheck = new CourseCheckUi(this, mClient, *mMenus, services, [this] { return lookedAtRom(); }, this);
    buildCourseMenu();
    // The tool strip above the described window: it moves nothing inside it.
    QToolBar *strip = addToolBar(tr("Tools"));
    strip->setObjectName(QStringLiteral("toolStrip"));
    strip->setMovable(false);
    strip->setFloatable(false);
    strip->setToolButtonStyle(Qt::ToolButtonTextOnly);
    mTools = new DrawingToolsUi(mClient, services, *mMenus, strip, this);
    mRace = new RaceToolsUi(this, mClient, *mMenus, *mThemes, this);
    mAiTools = new AiToolsUi(this, mClient, *mMenus, this);
    buildHelpMenu();
    connect(&mClient->actions(), &CourseActions::fileUsed, this, [this](const QString &path) {
        mRecent->add(path);
        // A course opened from a ROM has already given the document the bytes it was read from.
        if (isRomPath(path) && mClient->document().romPath() != path)
            romUsed(path);
    });
    connect(&mClient->actions().insertion(), &RomInsertion::finished, this,
        [this](RomInsertion::Outcome outcome) {
            if (outcome == RomInsertion::Outcome::Imported)
                romUsed(mClient->actions().trackState().targetRom);
        });
    connect(&mClient->actions(), &CourseActions::raceLoaded, this,
        [this](const QStringList &unreadable) {
            if (!unreadable.isEmpty())
                statusBar()->showMessage(tr("Shown without what could not be read: %1")
                                             .arg(unreadable.join(QStringLiteral("; "))),
                                         StatusMessageMs);
        });
    connect(mRecent, &RecentFiles::changed, this, &MainWindow::fillRecentMenu);
    connect(&mClient->actions(), &CourseActions::courseFileDone, this,
        [this](const QString &summary) { statusBar()->showMessage(summary, StatusMessageMs); });
    setAcceptDrops(true);
    for (const auto signal : {&CourseActions::testStarted, &CourseActions::romRestored}) {
        connect(&mClient->actions(), signal, this,
            [this](const QString &summary) { statusBar()->showMessage(summary, StatusMessageMs); });
    }
    connect(&mClient->actions(), &CourseActions::savedIntoRom, this, [this](const QString &summary) {
        mRecent->add(mClient->document().romPath());
        statusBar()->showMessage(summary, StatusMessageMs);
    });
    // Whatever wrote or opened the document's ROM: its room and its tiles are read again.
    connect(&mClient->document(), &CourseDocument::romChanged, this, [this] {
        if (!mPainted)
            return;
        mStatus->setRomPath(lookedAtRom());
        mThemes->setRomPath(lookedAtRom());
    });
}

MainWindow::~MainWindow()
{
    // QWidget's destructor would delete the children in the order they were made, the described
    // window (and with it the map and its undo history) first, while the tool windows and this
    // window's own controllers still follow them. Undone here, in the order that depends on them.
    delete mStatus;
    mStatus = nullptr;
    mThemes->deleteToolWindows();
    delete mThemes;
    mThemes = nullptr;
    delete mRace;
    mRace = nullptr;
    mAiTools->deleteRaceOrderWindow();
    delete mAiTools;
    mAiTools = nullptr;
    mLayers->deleteToolWindow();
    delete mLayers;
    mLayers = nullptr;
    delete mCheck;
    mCheck = nullptr;
    delete mTools;
    mTools = nullptr;
    mClient->document().undoStack()->disconnect(this);
    delete mClient;
    mClient = nullptr;
}

void MainWindow::load()
{
    mClient->load();
    updateAvailability();
    // The tiles, the budget (which reads the ROM) and the recent files come after the first
    // paint, so that none of them holds up the start.
    mClient->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mClient && event->type() == QEvent::Paint && !mPainted) {
        mPainted = true;
        mClient->removeEventFilter(this);
        QTimer::singleShot(0, this, &MainWindow::afterFirstPaint);
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::lookedAtRom() const
{
    const QString documentRom = mClient->document().romPath();
    if (!documentRom.isEmpty())
        return documentRom;
    const Configuration &config = mClient->startup().config;
    const QString working = config.romFolder + config.romBaseName + startup::workingRomSuffix();
    if (!config.romBaseName.isEmpty() && mServices.files.isFile(working))
        return working;
    return config.userRomPath;
}

void MainWindow::afterFirstPaint()
{
    fillRecentMenu();
    mStatus->setRomPath(lookedAtRom());
    mThemes->setRomPath(lookedAtRom());
    if (!mStart.file.isEmpty())
        mClient->actions().openPath(QFileInfo(mStart.file).absoluteFilePath());
    if (mStart.tiles)
        mThemes->showTiles(true);
    if (mStart.tileSet)
        mMenus->action(QStringLiteral("actionViewTileSet"))->setChecked(true);
    if (mStart.overview)
        mMenus->action(QStringLiteral("actionViewOverview"))->setChecked(true);
    if (mStart.layers)
        mMenus->action(QStringLiteral("actionViewLayers"))->setChecked(true);
}

void MainWindow::romUsed(const QString &path)
{
    // The document keeps what the ROM held now, so that a later write into it can tell whether
    // another program changed it meanwhile.
    const std::optional<QByteArray> bytes = mServices.files.readFile(path, qint64(rom::MaxFileSize), nullptr);
    mClient->document().setRom(path, bytes.value_or(QByteArray()));
}

void MainWindow::buildFileMenu()
{
    QMenu *file = mMenus->fileMenu();
    CourseActions *actions = &mClient->actions();
    mMenus->addExisting(file, mClient->openAction());
    connect(
        mMenus->add(file, QStringLiteral("actionOpenCourseFromRom"), tr("Open Course from &ROM…")),
        &QAction::triggered, this,
        [actions] { actions->openFromRom(); });
    file->addMenu(mMenus->recentMenu());
    file->addSeparator();
    mMenus->addExisting(file, mClient->saveAction());
    connect(mMenus->add(file, QStringLiteral("actionSaveCourseIntoRom"),
                tr("Save Course into &ROM"), QKeySequence(Qt::CTRL | Qt::Key_R)),
        &QAction::triggered, actions, &CourseActions::saveIntoRom);
    connect(mMenus->add(file, QStringLiteral("actionExportCourse"), tr("E&xport Course…")),
        &QAction::triggered, actions, &CourseActions::exportCourse);
    connect(mMenus->add(file, QStringLiteral("actionImportCourse"), tr("&Import Course…")),
        &QAction::triggered, actions, &CourseActions::importCourse);
    connect(mMenus->add(file, QStringLiteral("actionRestorePoints"), tr("Res&tore Points…")),
        &QAction::triggered, this, [this, actions] { actions->restorePoints(lookedAtRom()); });
    connect(mMenus->add(file, QStringLiteral("actionSaveTrackFileAs"), tr("Save Track File &As…"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        &QAction::triggered, actions, &CourseActions::saveAs);
    file->addSeparator();
    connect(mMenus->add(
                file, QStringLiteral("actionInsertFromFile"), tr("Insert into ROM From &File…")),
        &QAction::triggered, mClient->fromFileButton(), &QPushButton::click);
    connect(mMenus->add(file, QStringLiteral("actionInsertFromVelmor"),
                tr("Insert into ROM From &Velmor…")),
        &QAction::triggered, mClient->fromVelmorButton(), &QPushButton::click);
    file->addSeparator();
    connect(mMenus->add(file, QStringLiteral("actionCreatePatch"), tr("Create &Patch…")),
        &QAction::triggered, this, [this] {
            PatchProcedures(mServices).createPatch(mClient->startup().config, lookedAtRom());
        });
    connect(mMenus->add(file, QStringLiteral("actionApplyPatch"), tr("Appl&y Patch…")),
        &QAction::triggered, this,
        [this] { PatchProcedures(mServices).applyPatch(mClient->startup().config); });
    connect(mMenus->add(file, QStringLiteral("actionExpandRom"), tr("E&xpand ROM…")),
        &QAction::triggered, this, [this] { ExpandRom(mServices).run(lookedAtRom()); });
    file->addSeparator();
    QAction *quit = mMenus->add(
        file, QStringLiteral("actionQuit"), tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    // Through close(), so unsaved work brings its question.
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::buildEditMenu()
{
    QMenu *edit = mMenus->editMenu();
    mMenus->addExisting(edit, mClient->undoAction());
    mMenus->addExisting(edit, mClient->redoAction());
    // The stack greys the two out itself; the tips say why.
    const auto explain = [this] {
        QUndoStack *stack = mClient->document().undoStack();
        mClient->undoAction()->setStatusTip(
            stack->canUndo() ? QString() : tr("Nothing to undo yet"));
        mClient->redoAction()->setStatusTip(
            stack->canRedo() ? QString() : tr("Nothing undone to redo"));
    };
    QUndoStack *stack = mClient->document().undoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, explain);
    connect(stack, &QUndoStack::canRedoChanged, this, explain);
    explain();
    edit->addSeparator();
    connect(mMenus->add(edit, QStringLiteral("actionClearColor"), tr("&Clear Color")),
        &QAction::triggered, mClient->clearColorButton(), &QPushButton::click);
    connect(mMenus->add(edit, QStringLiteral("actionTextureFiller"), tr("&Texture Filler")),
        &QAction::triggered, mClient->textureFillerButton(), &QPushButton::click);
    edit->addSeparator();
    QAction *preferences = mMenus->add(edit, QStringLiteral("actionPreferences"),
        tr("&Preferences…"), QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    connect(preferences, &QAction::triggered, this,
        [this] { mClient->actions().choosePreferences(lookedAtRom()); });
}

void MainWindow::buildCourseMenu()
{
    // The ROM a test run copies is the one the editor looks at: the document's, else the
    // working ROM, else the user's own.
    connect(mMenus->add(mMenus->courseMenu(), QStringLiteral("actionTestInEmulator"),
                tr("Test in &Emulator"), QKeySequence(Qt::Key_F5)),
        &QAction::triggered, this,
        [this] { mClient->actions().testInEmulator(lookedAtRom()); });
}

void MainWindow::buildHelpMenu()
{
    QMenu *help = mMenus->helpMenu();
    connect(mMenus->add(help, QStringLiteral("actionUserGuide"), tr("Velmor &User Guide"),
                QKeySequence::HelpContents),
        &QAction::triggered, this, [this] { help::showUserGuide(this); });
    QAction *about = mMenus->add(help, QStringLiteral("actionAbout"), tr("&About Velmor"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this,
        [this] { help::showAbout(this, QCoreApplication::applicationVersion()); });
}

void MainWindow::fillRecentMenu()
{
    QMenu *menu = mMenus->recentMenu();
    menu->clear();
    const QStringList files = mRecent->files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QAction *entry = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        entry->setObjectName(QStringLiteral("actionRecent%1").arg(i + 1));
        connect(entry, &QAction::triggered, this, [this, path] {
            mClient->actions().openPath(path);
        });
    }
    menu->addSeparator();
    QAction *clear = menu->addAction(tr("&Clear List"));
    clear->setObjectName(QStringLiteral("actionClearRecent"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, mRecent, &RecentFiles::clear);
    WindowMenus::setAvailable(
        menu->menuAction(), !files.isEmpty(), tr("No track file or ROM was opened or saved yet"));
}

void MainWindow::updateAvailability()
{
    const bool insertion = mClient->insertionEnabled();
    for (const char16_t *name : {u"actionInsertFromFile", u"actionInsertFromVelmor"})
        WindowMenus::setAvailable(
            mMenus->action(QString::fromUtf16(name)), insertion, setUpMissing());
    const QString original = mClient->startup().config.userRomPath;
    WindowMenus::setAvailable(mMenus->action(QStringLiteral("actionCreatePatch")),
        !original.isEmpty() && QFileInfo(original).isFile(),
        tr("Needs your original ROM, which the first-run set-up records"));
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    // Whatever names files is taken, so that a drop Velmor cannot open is told why.
    if (!event->mimeData()->urls().isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    QString refusal;
    if (urls.size() > 1)
        refusal = tr("%1 files were dropped: Velmor opens one course at a time.").arg(urls.size());
    else if (!urls.front().isLocalFile())
        refusal = tr("%1 was not opened: it is no file on this computer.")
                      .arg(urls.front().toDisplayString());
    // After the drop has ended: the questions and messages it brings are modal.
    const QString path = urls.front().toLocalFile();
    QTimer::singleShot(0, this, [this, path, refusal] {
        if (refusal.isEmpty())
            mClient->actions().openDropped(path);
        else
            mClient->services().messages.inform(refusal, tr("File Not Opened"));
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (mClient->actions().confirmClose())
        event->accept();
    else
        event->ignore();
}

} // namespace velmor
