#include "app/client_window.h"

#include "app/course_actions.h"
#include "app/splash.h"
#include "app/window_controls.h"
#include "app/window_layout.h"
#include "editor/map_scroller.h"
#include "document/map_history.h"
#include "editor/map_view.h"
#include "editor/tool_controller.h"
#include "document/course_ref.h"
#include "course/rom_insertion.h"
#include "course/tile_validator.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QUndoStack>
#include <QCursor>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

// Resources in a static library are linked only when something refers to them.
static void initResources()
{
    Q_INIT_RESOURCE(velmor);
    Q_INIT_RESOURCE(splash);
}

namespace velmor {

namespace {

// The map-cell pointer's hot spot: the tip of the pencil in the 32 x 32 image.
constexpr QPoint CellCursorHotSpot{2, 29};

QString productTitle()
{
    return QStringLiteral("Velmor Beta v.3");
}

} // namespace

ClientWindow::ClientWindow(Services &services, QWidget *parent)
    : QWidget(parent)
    , mServices(services)
    // The configuration file lives in the directory the program started in, whatever the
    // dialogs later do to the current directory.
    , mStartup(services, QDir::currentPath())
    , mActions(new CourseActions(mDocument, services, this))
{
    initResources();
    setObjectName(QStringLiteral("velmor"));
    setWindowTitle(productTitle());
    // From a pixmap: a QIcon made from a file name first asks the icon-engine plugins about it.
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/velmor/icon.png"))));
    setFixedSize(twipsToPixels(layout::ClientWidth), twipsToPixels(layout::ClientHeight));
    setFont(sansFont(layout::SmallPoints));

    createLabels();
    createControls();
    stackControls();
    wireControls();
}

ClientWindow::~ClientWindow()
{
    // QWidget's destructor deletes the children only after the map and the painter, members of
    // this class, are gone; the actions' undo history still looks at the map when it goes, and the
    // drawing tools at the history.
    delete mTools;
    mTools = nullptr;
    delete mActions;
    mActions = nullptr;
}

void ClientWindow::createLabels()
{
    // Created in front-to-back order; stackControls() puts them in that order.
    auto *label2 = makeLabel(this, QStringLiteral("Label2"), layout::Label2, productTitle());
    label2->setFont(sansFont(layout::TitlePoints, true));
    QPalette black = label2->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    label2->setPalette(black);
    mLabels << label2;

    const QFont small = sansFont(layout::SmallPoints, true);
    const struct { const char16_t *name; QRect place; const char16_t *text; } captions[] = {
        {u"Label1", layout::Label1, u"Choose A Texture:"},
        {u"Label3", layout::Label3, u"Export to ROM:"},
        {u"Label6", layout::Label6, u"Import Course To:"},
    };
    for (const auto &caption : captions) {
        auto *label = makeLabel(this, QString::fromUtf16(caption.name), caption.place,
                                QString::fromUtf16(caption.text));
        label->setFont(small);
        mLabels << label;
    }

    auto *credit = makeLabel(this, QStringLiteral("Label5"), layout::Label5,
                             QStringLiteral("Velmor \u2014 a course editor for Super Mario Kart. "
                                            "Made by the Velmor developers."));
    credit->setAlignment(Qt::AlignCenter);
    setBorder(credit);
    setBackground(credit, palette().color(QPalette::Button));
    mLabels << credit;

    for (int i = 0; i < VisibleColumns; ++i) {
        QRect place = layout::ColumnRulerFirst.translated(layout::RulerPitch * i, 0);
        auto *label = makeLabel(this, arrayName(QStringLiteral("gridpos2"), i), place,
                                QStringLiteral("1"));
        label->setFont(serifFont(layout::ColumnRulerPoints, true));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setBorder(label);
        setBackground(label, Qt::white);
        mColumnRuler << label;
        mLabels << label;
    }
    for (int i = 0; i < VisibleRows; ++i) {
        QRect place = layout::RowRulerFirst.translated(0, layout::RulerPitch * i);
        auto *label = makeLabel(this, arrayName(QStringLiteral("gridpos"), i), place,
                                QStringLiteral("0"));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setBorder(label);
        setBackground(label, Qt::white);
        mRowRuler << label;
        mLabels << label;
    }

    auto *backdrop = makeLabel(this, QStringLiteral("Label4"), layout::Label4, QString());
    setBorder(backdrop);
    setBackground(backdrop, QColor(0x40, 0x40, 0x40));
    mLabels << backdrop;

    auto *notice = makeLabel(
        this, QStringLiteral("Printer"), layout::Printer,
        QStringLiteral("Please read the README and the other documents.  They will help clear up "
                       "any questions. If not, just drop me an e-mail. This is beta. Please report "
                       "any bugs you find. HAVE FUN!"));
    // The desktop's window background and window text: Qt's Base and Text roles.
    QPalette noticeColours = notice->palette();
    noticeColours.setColor(QPalette::Window, palette().color(QPalette::Base));
    noticeColours.setColor(QPalette::WindowText, palette().color(QPalette::Text));
    notice->setPalette(noticeColours);
    notice->setAutoFillBackground(true);
    notice->setAlignment(Qt::AlignCenter);
    notice->setWordWrap(true);
    setBorder(notice);
    mLabels << notice;

    // The title's red shadow, a little right of and below it.
    auto *shadow = makeLabel(this, QStringLiteral("Label7"), layout::Label7, productTitle());
    shadow->setFont(sansFont(layout::TitlePoints, true));
    QPalette red = shadow->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    shadow->setPalette(red);
    mLabels << shadow;
}

void ClientWindow::createControls()
{
    const QFont small = sansFont(layout::SmallPoints, true);
    const QFont large = sansFont(layout::ExportPoints, true);
    mSaveCourse = makeButton(this, QStringLiteral("SaveCourse"), layout::SaveCourse,
                             QStringLiteral("Save Course To File"), small);
    mFromFile = makeButton(this, QStringLiteral("FromFile"), layout::FromFile,
                           QStringLiteral("From File"), large);
    mCourseList = makeCombo(this, QStringLiteral("CourseList"), layout::CourseList,
                            initialCourseText(),
                            serifFont(layout::SmallPoints));
    mSplash = new Splash(this);
    placeTwips(mSplash, layout::Splash);
    mVScroll = new QScrollBar(Qt::Vertical, this);
    mVScroll->setObjectName(QStringLiteral("VScroll1"));
    mVScroll->setRange(0, VScrollMax);
    mVScroll->setSingleStep(VScrollSmallStep);
    mVScroll->setPageStep(VScrollLargeStep);
    placeTwips(mVScroll, layout::VScroll1);
    mHScroll = new QScrollBar(Qt::Horizontal, this);
    mHScroll->setObjectName(QStringLiteral("HScroll1"));
    mHScroll->setRange(0, HScrollMax);
    mHScroll->setSingleStep(HScrollSmallStep);
    mHScroll->setPageStep(HScrollLargeStep);
    placeTwips(mHScroll, layout::HScroll1);
    mCommand2 = makeButton(this, QStringLiteral("Command2"), layout::Command2,
                           QStringLiteral("Import Course From File"), small);
    // The file opener: shown, unlike the hidden test button it grew out of.
    mCommand2->show();

    mViewport = new QFrame(this);
    mViewport->setObjectName(QStringLiteral("Frame1"));
    mViewport->setFrameStyle(QFrame::NoFrame);
    placeTwips(mViewport, layout::Frame1);
    mMapView = new MapView(mDocument, mViewport);
    placeTwips(mMapView, layout::Frame2);
    QFont cellFont = serifFont(layout::CellPoints);
    // At this size hinting squeezes a serif "0" to the height of an "o"; unhinted, "01" reads right.
    cellFont.setHintingPreference(QFont::PreferNoHinting);
    mMapView->setFont(cellFont);
    mMapView->setCursor(QCursor(QPixmap(QStringLiteral(":/velmor/cell_cursor.png")),
                                CellCursorHotSpot.x(), CellCursorHotSpot.y()));
    // A press on the map takes the keyboard from a palette's edit field, so that Ctrl+Z undoes
    // the paint rather than the typed tile number.
    mMapView->setFocusPolicy(Qt::ClickFocus);
    mTools = new ToolController(mDocument, this);
    mTools->setPaletteSource([this] { return palettes(); });
    mMapView->setToolController(mTools);
    mActions->setToolController(mTools);
    mMapView->setScrollBars(mHScroll, mVScroll);
    // Cells under the splash and under the scroll bars' edges cannot be seen, so they are not painted.
    mMapView->addObstruction(mSplash);
    mMapView->addObstruction(mVScroll);
    mMapView->addObstruction(mHScroll);

    mCommand1 = makeButton(this, QStringLiteral("Command1"), layout::Command1,
                           QStringLiteral("Clear Color"), small);
    mPickTile2 = makeCombo(this, QStringLiteral("Picktile2"), layout::Picktile2,
                           QStringLiteral("00"), sansFont(layout::SmallPoints));
    mFromVelmor = makeButton(this, QStringLiteral("FromVelmor"), layout::FromVelmor,
                             QStringLiteral("From Velmor"), large);
    mPickTile = makeCombo(this, QStringLiteral("PickTile"), layout::PickTile, QStringLiteral("00"),
                          sansFont(layout::SmallPoints));
    mTextureFiller = makeButton(this, QStringLiteral("TextureFiller"), layout::TextureFiller,
                                QStringLiteral("Texture Filler"), small);

    mOtherControls = {mSaveCourse, mFromFile, mCourseList, mSplash, mVScroll, mHScroll, mCommand2,
                      mViewport, mCommand1, mPickTile2, mFromVelmor, mPickTile, mTextureFiller};

    mScroller = new MapScroller(mMapView, mHScroll, mVScroll, this);
    mScroller->setRulers(mColumnRuler, mRowRuler);
}

void ClientWindow::stackControls()
{
    // Controls listed earlier lie in front; every control lies in front of every label.
    for (auto it = mLabels.crbegin(); it != mLabels.crend(); ++it)
        (*it)->raise();
    for (auto it = mOtherControls.crbegin(); it != mOtherControls.crend(); ++it)
        (*it)->raise();
}

void ClientWindow::wireControls()
{
    CourseActions *actions = mActions;
    // The one place the list's text becomes the course the document is for.
    connect(mCourseList, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        mDocument.setCourseChoice(CourseChoice::fromText(text));
    });
    connect(mCommand1, &QPushButton::clicked, actions, &CourseActions::clearColor);
    connect(mTextureFiller, &QPushButton::clicked, this,
            [this] { mActions->textureFiller(mPickTile->currentText()); });
    connect(mSaveCourse, &QPushButton::clicked, actions, &CourseActions::save);
    connect(mCommand2, &QPushButton::clicked, actions, [actions] { actions->open(); });
    connect(mFromFile, &QPushButton::clicked, actions, &CourseActions::insertFromFile);
    connect(mFromVelmor, &QPushButton::clicked, actions, &CourseActions::exportAndInsert);

    // A typed tile number is two hexadecimal digits at most; anything else would corrupt exports.
    mPickTile->setValidator(createTileValidator(mPickTile));
    mPickTile2->setValidator(createTileValidator(mPickTile2));
    addShortcuts();
}

void ClientWindow::addShortcuts()
{
    auto addAction = [this](QAction *action, QList<QKeySequence> keys) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        QWidget::addAction(action);
    };
    // The keys and the menu entries press the buttons: one piece of code runs either way.
    mSaveAction = new QAction(tr("&Save Track File"), this);
    mSaveAction->setObjectName(QStringLiteral("actionSaveTrackFile"));
    connect(mSaveAction, &QAction::triggered, mSaveCourse, &QPushButton::click);
    addAction(mSaveAction, QKeySequence::keyBindings(QKeySequence::Save));
    mOpenAction = new QAction(tr("&Open Track File…"), this);
    mOpenAction->setObjectName(QStringLiteral("actionOpenTrackFile"));
    connect(mOpenAction, &QAction::triggered, mCommand2, &QPushButton::click);
    addAction(mOpenAction, QKeySequence::keyBindings(QKeySequence::Open));

    QUndoStack *stack = mActions->history().stack();
    mUndoAction = stack->createUndoAction(this);
    mUndoAction->setObjectName(QStringLiteral("actionUndo"));
    addAction(mUndoAction, QKeySequence::keyBindings(QKeySequence::Undo));
    // Ctrl+Shift+Z and Ctrl+Y both redo, whatever the platform's own choice is.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                    QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    mRedoAction = stack->createRedoAction(this);
    mRedoAction->setObjectName(QStringLiteral("actionRedo"));
    addAction(mRedoAction, redoKeys);
}

void ClientWindow::closeEvent(QCloseEvent *event)
{
    if (mActions->confirmClose())
        event->accept();
    else
        event->ignore();
}

bool ClientWindow::insertionEnabled() const
{
    return mFromFile->isEnabled();
}

Palettes ClientWindow::palettes() const
{
    return {mPickTile->currentText(), mPickTile2->currentText()};
}

void ClientWindow::load()
{
    runFirstRunOrReadConfiguration();
    checkConfiguration();
    setUpGrid();
    fillPalettes();
    fillCourseList();
    // Last: the splash's timer runs only once everything else is in place.
    mSplash->startTimer();
}

void ClientWindow::runFirstRunOrReadConfiguration()
{
    mStartup.setUpOrReadConfiguration();
    const StartupState &state = mStartup.state();
    mActions->setInsertionSettings(state.config);
    mActions->trackState().targetRom = state.targetRom;
}

void ClientWindow::checkConfiguration()
{
    if (mStartup.checkConfiguration())
        return;
    // In the start-up's order; nothing enables them again during the run.
    for (const QString &name : LoadSequence::insertionControls())
        findChild<QWidget *>(name)->setEnabled(false);
}

void ClientWindow::setUpGrid()
{
    mScroller->setUp();
}

void ClientWindow::fillPalettes()
{
    const QStringList numbers = tileNumbers();
    fillKeepingText(mPickTile, numbers);
    fillKeepingText(mPickTile2, numbers);
}

void ClientWindow::fillCourseList()
{
    // Also when the list is disabled; its initial text stays as it is.
    fillKeepingText(mCourseList, courseListEntries());
    fitEntriesToEditField(mCourseList);
    mDocument.setCourseChoice(CourseChoice::fromText(mCourseList->currentText()));
}

} // namespace velmor
