#include "app/theme_views.h"

#include "app/client_window.h"
#include "app/window_menus.h"
#include "document/course_document.h"
#include "document/map_geometry.h"
#include "editor/course_overview.h"
#include "editor/map_view.h"
#include "graphics/course_art.h"
#include "document/tile_text.h"
#include "graphics/course_image_export.h"
#include "graphics/tile_set_view.h"
#include "platform/file_filters.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/save_dialog.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "rom/rom_image.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <functional>

namespace velmor {

namespace {

const int ExportScales[] = {1, 2, 4, 8};
// The tile's picture inside a palette's field: the game's own 8 x 8 pixels, a little enlarged.
constexpr int PalettePictureSide = 12;

// A tool window opens beside the main window the first time, on the same screen: to its right
// where there is room, else over its right side. `below` is how far down from its top.
void placeBeside(QDockWidget *dock, QMainWindow *window, int below, QSize size)
{
    const QRect frame = window->frameGeometry();
    QRect place(QPoint(frame.right() + 8, frame.top() + below), size.expandedTo(dock->sizeHint()));
    if (const QScreen *screen = window->screen()) {
        const QRect room = screen->availableGeometry();
        place.moveRight(qMin(place.right(), room.right()));
        place.moveBottom(qMin(place.bottom(), room.bottom()));
        place.moveLeft(qMax(place.left(), room.left()));
        place.moveTop(qMax(place.top(), room.top()));
    }
    dock->setGeometry(place);
}

QDockWidget *toolWindow(QMainWindow *window, const QString &name, const QString &title,
    QWidget *content, int below, QSize size = {})
{
    auto *dock = new QDockWidget(title, window);
    dock->setObjectName(name);
    // Floating only: docked, it would make the fixed window around the described one grow.
    dock->setAllowedAreas(Qt::NoDockWidgetArea);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
        | QDockWidget::DockWidgetFloatable);
    dock->setWidget(content);
    dock->setFloating(true);
    dock->hide();
    auto placed = std::make_shared<bool>(false);
    QObject::connect(dock, &QDockWidget::visibilityChanged, dock,
        [dock, window, below, size, placed](bool visible) {
            if (!visible || *placed)
                return;
            *placed = true;
            placeBeside(dock, window, below, size);
        });
    return dock;
}

// The line above a tool window's content that says why it shows no tiles.
QLabel *reasonLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setMargin(6);
    label->hide();
    return label;
}

} // namespace

ThemeViews::ThemeViews(QMainWindow *window, ClientWindow *client, WindowMenus &menus,
    Services &services, QObject *parent)
    : QObject(parent)
    , mWindow(window)
    , mClient(client)
    , mServices(services)
    , mMenus(menus)
{
    // The tool windows are made when first opened: a start that needs neither pays for neither.
    buildViewMenu(menus);
    wirePalettes();
    // Once the document has a theme of its own (read with its race, or chosen in Course ▸
    // Theme), the views draw with it, at once.
    connect(&client->document(), &CourseDocument::themeChanged, this, [this] {
        mFollowDocument = true;
        if (!mRomPath.isEmpty() || mTheme.ok())
            loadTheme();
    });
    connect(&client->document(), &CourseDocument::courseChoiceChanged, this, [this] {
        // Only once a first theme was asked for: the start waits for its first paint. A text
        // being typed names no course until it is whole, and the same course keeps its theme:
        // neither reads the ROM again nor leaves the Tiles view.
        const std::optional<qint64> offset = mClient->document().courseChoice().listedOffset;
        if ((!mRomPath.isEmpty() || mTheme.ok()) && offset && offset != mThemeOffset)
            loadTheme();
    });
    updateAvailability();
}

QDockWidget *ThemeViews::tileSetWindow()
{
    if (mTileSetWindow)
        return mTileSetWindow;
    auto *tileSetArea = new QWidget;
    auto *tileSetLayout = new QVBoxLayout(tileSetArea);
    tileSetLayout->setContentsMargins(0, 0, 0, 0);
    mTileSetReason = reasonLabel(tileSetArea, QStringLiteral("tileSetReason"));
    mTileSet = new graphics::TileSetView(tileSetArea);
    tileSetLayout->addWidget(mTileSetReason);
    tileSetLayout->addWidget(mTileSet, 1);
    mTileSetWindow =
        toolWindow(mWindow, QStringLiteral("tileSetWindow"), tr("Tile Set"), tileSetArea, 0);
    QComboBox *left = mClient->pickTile();
    QComboBox *right = mClient->pickTile2();
    connect(mTileSet, &graphics::TileSetView::leftTilePicked, this,
        [left](int tile) { left->setEditText(tileText(tile)); });
    connect(mTileSet, &graphics::TileSetView::rightTilePicked, this,
        [right](int tile) { right->setEditText(tileText(tile)); });
    mTileSet->setLeftPick(tileNumberOf(left->currentText()));
    mTileSet->setRightPick(tileNumberOf(right->currentText()));
    if (mTheme.ok())
        mTileSet->setTiles(mTheme.tiles);
    followVisibility(mTileSetWindow, QStringLiteral("actionViewTileSet"));
    updateAvailability();
    return mTileSetWindow;
}

QDockWidget *ThemeViews::overviewWindow()
{
    if (mOverviewWindow)
        return mOverviewWindow;
    auto *overviewArea = new QWidget;
    auto *layout = new QVBoxLayout(overviewArea);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(overviewArea);
    mOverview = new CourseOverview(mClient->document(), overviewArea);
    mOverview->setToolController(mClient->toolController());
    const struct
    {
        const char16_t *name;
        QString text;
        QKeySequence keys;
        void (CourseOverview::*slot)();
    } zooms[] = {
        {u"actionOverviewZoomIn", tr("Zoom In"), QKeySequence(Qt::CTRL | Qt::Key_Plus),
            &CourseOverview::zoomIn},
        {u"actionOverviewZoomOut", tr("Zoom Out"), QKeySequence(Qt::CTRL | Qt::Key_Minus),
            &CourseOverview::zoomOut},
        {u"actionOverviewFit", tr("Fit"), QKeySequence(Qt::CTRL | Qt::Key_0),
            &CourseOverview::zoomToFit},
    };
    // While the overview has the keyboard: it floats as a window of its own, so the main
    // window's keys do not reach it.
    const auto ownKeys = [overviewArea](QAction *action, const QList<QKeySequence> &keys) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        overviewArea->addAction(action);
    };
    for (const auto &zoom : zooms) {
        QAction *action = bar->addAction(zoom.text, mOverview, zoom.slot);
        action->setObjectName(QString::fromUtf16(zoom.name));
        ownKeys(action, {zoom.keys});
    }
    // Undo and redo of the document's one stack, the same steps as the window's.
    QUndoStack *stack = mClient->document().undoStack();
    QAction *undo = stack->createUndoAction(overviewArea);
    undo->setObjectName(QStringLiteral("actionOverviewUndo"));
    ownKeys(undo, mClient->undoAction()->shortcuts());
    QAction *redo = stack->createRedoAction(overviewArea);
    redo->setObjectName(QStringLiteral("actionOverviewRedo"));
    ownKeys(redo, mClient->redoAction()->shortcuts());
    // The tools' keys and the Edit menu's edits work there as in the window: the same entries,
    // which then listen in both windows (undo and redo have their own above).
    const std::function<void(QMenu *)> shareKeys = [&](QMenu *menu) {
        for (QAction *action : menu->actions()) {
            if (action->menu())
                shareKeys(action->menu());
            else if (!action->isSeparator() && action != mClient->undoAction()
                     && action != mClient->redoAction())
                overviewArea->addAction(action);
        }
    };
    shareKeys(mMenus.toolsMenu());
    shareKeys(mMenus.editMenu());
    auto *exportButton = new QToolButton(bar);
    exportButton->setObjectName(QStringLiteral("exportImageButton"));
    exportButton->setText(tr("Export Image…"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto *scales = new QMenu(exportButton);
    for (const int scale : ExportScales) {
        scales->addAction(tr("%1 × (%2 × %2 pixels)…").arg(scale).arg(1024 * scale), this,
            [this, scale] { exportImage(scale); });
    }
    exportButton->setMenu(scales);
    bar->addWidget(exportButton);
    mOverviewReason = reasonLabel(overviewArea, QStringLiteral("overviewReason"));
    layout->addWidget(bar);
    layout->addWidget(mOverviewReason);
    layout->addWidget(mOverview, 1);
    mOverviewWindow = toolWindow(mWindow, QStringLiteral("overviewWindow"), tr("Course Overview"),
        overviewArea, 120, QSize(560, 620));

    if (mTheme.ok())
        mOverview->setGraphics(mTheme.graphics);
    QScrollBar *horizontal = mClient->horizontalScrollBar();
    QScrollBar *vertical = mClient->verticalScrollBar();
    connect(mOverview, &CourseOverview::scrollRequested, this,
        [horizontal, vertical](int column, int row) {
            horizontal->setValue(column);
            vertical->setValue(row);
        });
    const auto follow = [this, horizontal, vertical] {
        mOverview->setViewCells(
            QRect(horizontal->value(), vertical->value(), VisibleColumns, VisibleRows));
    };
    connect(horizontal, &QScrollBar::valueChanged, this, follow);
    connect(vertical, &QScrollBar::valueChanged, this, follow);
    follow();
    followVisibility(mOverviewWindow, QStringLiteral("actionViewOverview"));
    updateAvailability();
    return mOverviewWindow;
}

graphics::TileSetView *ThemeViews::tileSet()
{
    tileSetWindow();
    return mTileSet;
}

CourseOverview *ThemeViews::overview()
{
    overviewWindow();
    return mOverview;
}

void ThemeViews::followVisibility(QDockWidget *window, const QString &entry)
{
    QAction *action = mMenus.action(entry);
    connect(window, &QDockWidget::visibilityChanged, action, [action, window] {
        const QSignalBlocker quiet(action);
        action->setChecked(window->isVisible());
    });
}

void ThemeViews::deleteToolWindows()
{
    delete mTileSetWindow;
    delete mOverviewWindow;
    mTileSetWindow = nullptr;
    mOverviewWindow = nullptr;
    mTileSet = nullptr;
    mOverview = nullptr;
    mTileSetReason = nullptr;
    mOverviewReason = nullptr;
}

void ThemeViews::buildViewMenu(WindowMenus &menus)
{
    QMenu *view = menus.viewMenu();
    auto *modes = new QActionGroup(this);
    QAction *numbers = menus.add(view, QStringLiteral("actionViewNumbers"), tr("Tile &Numbers"),
        QKeySequence(Qt::CTRL | Qt::Key_1));
    QAction *tiles = menus.add(
        view, QStringLiteral("actionViewTiles"), tr("&Tiles"), QKeySequence(Qt::CTRL | Qt::Key_2));
    for (QAction *mode : {numbers, tiles}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    numbers->setChecked(true);
    connect(numbers, &QAction::triggered, this, [this] { showTiles(false); });
    connect(tiles, &QAction::triggered, this, [this] { showTiles(true); });
    QAction *grid = menus.add(
        view, QStringLiteral("actionViewGrid"), tr("&Grid"), QKeySequence(Qt::CTRL | Qt::Key_G));
    grid->setCheckable(true);
    grid->setChecked(true);
    connect(grid, &QAction::toggled, mClient->mapView(), &MapView::setGridVisible);
    view->addSeparator();
    QAction *tileSet = menus.add(view, QStringLiteral("actionViewTileSet"), tr("Tile &Set"),
        QKeySequence(Qt::CTRL | Qt::Key_T));
    tileSet->setCheckable(true);
    connect(tileSet, &QAction::toggled, this,
        [this](bool shown) { tileSetWindow()->setVisible(shown); });
    QAction *overview = menus.add(view, QStringLiteral("actionViewOverview"),
        tr("Course &Overview"), QKeySequence(Qt::CTRL | Qt::Key_M));
    overview->setCheckable(true);
    connect(overview, &QAction::toggled, this,
        [this](bool shown) { overviewWindow()->setVisible(shown); });
    QMenu *exports = view->addMenu(tr("&Export Image"));
    exports->setObjectName(QStringLiteral("menuExportImage"));
    for (const int scale : ExportScales) {
        connect(menus.add(exports, QStringLiteral("actionExportImage%1").arg(scale),
                    tr("%1 × (%2 × %2 pixels)…").arg(scale).arg(1024 * scale)),
            &QAction::triggered, this, [this, scale] { exportImage(scale); });
    }
}

void ThemeViews::wirePalettes()
{
    QComboBox *left = mClient->pickTile();
    QComboBox *right = mClient->pickTile2();
    connect(left, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (mTileSet)
            mTileSet->setLeftPick(tileNumberOf(text));
        showPalettePictures();
    });
    connect(right, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (mTileSet)
            mTileSet->setRightPick(tileNumberOf(text));
        showPalettePictures();
    });
    // The picture sits inside each palette's field, before the number, only in the Tiles view;
    // the field is narrow, so the picture is small and the number keeps its room.
    mLeftPicture = new QLabel(left->lineEdit());
    mRightPicture = new QLabel(right->lineEdit());
    mLeftPicture->setObjectName(QStringLiteral("leftPalettePicture"));
    mRightPicture->setObjectName(QStringLiteral("rightPalettePicture"));
    for (QLabel *picture : {mLeftPicture, mRightPicture})
        picture->hide();
}

void ThemeViews::setRomPath(const QString &path)
{
    mRomPath = path;
    mCache.clear();
    loadTheme();
}

void ThemeViews::loadTheme()
{
    mRomError.clear();
    const std::optional<qint64> offset = mClient->document().courseChoice().listedOffset;
    mThemeOffset = offset;
    std::optional<QByteArray> romFile;
    if (mRomPath.isEmpty()) {
        mRomError = tr("Velmor knows no ROM yet: finish the first-run set-up, or open a course "
                       "from a ROM");
    } else {
        // On failure mRomError names the file and says why.
        romFile = mServices.files.readFile(mRomPath, qint64(rom::MaxFileSize), &mRomError);
    }
    if (romFile && mFollowDocument)
        mTheme = mCache.forTheme(*romFile, mClient->document().theme());
    else if (romFile && !offset)
        mRomError = tr("the course list names no course");
    else
        mTheme = romFile && offset ? mCache.forListedOffset(*romFile, *offset)
                                   : graphics::LoadedTheme();
    if (mTheme.ok()) {
        mClient->mapView()->setTileImages(mTheme.tiles.images(), mTheme.tiles.placeholder());
        if (mTileSet)
            mTileSet->setTiles(mTheme.tiles);
        if (mOverview)
            mOverview->setGraphics(mTheme.graphics);
    } else if (mRomError.isEmpty()) {
        mRomError = mTheme.error;
    }
    // A course without usable tiles shows numbers for a while; the next one that has them
    // brings the Tiles view back if that is what the user chose.
    showMode(mTilesWanted);
    updateAvailability();
    emit themeChanged();
}

QString ThemeViews::unavailableReason() const
{
    return mTheme.ok() ? QString() : tr("No tiles to show: %1").arg(mRomError);
}

void ThemeViews::showTiles(bool tiles)
{
    mTilesWanted = tiles;
    showMode(tiles);
}

void ThemeViews::showMode(bool tiles)
{
    if (tiles && !mTheme.ok())
        tiles = false;
    mClient->mapView()->setViewMode(tiles ? MapView::ViewMode::Tiles : MapView::ViewMode::Numbers);
    mMenus.action(tiles ? QStringLiteral("actionViewTiles") : QStringLiteral("actionViewNumbers"))
        ->setChecked(true);
    showPalettePictures();
}

void ThemeViews::showPalettePictures()
{
    const bool shown = mTheme.ok() && mClient->mapView()->viewMode() == MapView::ViewMode::Tiles;
    const struct
    {
        QComboBox *palette;
        QLabel *picture;
    } palettes[] = {{mClient->pickTile(), mLeftPicture}, {mClient->pickTile2(), mRightPicture}};
    for (const auto &[palette, picture] : palettes) {
        QLineEdit *field = palette->lineEdit();
        if (!shown) {
            picture->hide();
            field->setTextMargins(0, 0, 0, 0);
            continue;
        }
        const int tile = tileNumberOf(palette->currentText());
        const QImage image = tile >= 0 ? mTheme.tiles.image(tile) : mTheme.tiles.placeholder();
        const int side = qMin(PalettePictureSide, field->height() - 2);
        picture->setPixmap(QPixmap::fromImage(
            image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
        picture->setGeometry(1, (field->height() - side) / 2, side, side);
        field->setTextMargins(side + 2, 0, 0, 0);
        picture->show();
    }
}

void ThemeViews::updateAvailability()
{
    const QString why = unavailableReason();
    WindowMenus::setAvailable(mMenus.action(QStringLiteral("actionViewTiles")), mTheme.ok(), why);
    for (const int scale : ExportScales)
        WindowMenus::setAvailable(
            mMenus.action(QStringLiteral("actionExportImage%1").arg(scale)), mTheme.ok(), why);
    // The tool windows would show only placeholders: they say why above them.
    for (QLabel *reason : {mTileSetReason, mOverviewReason}) {
        if (!reason)
            continue;
        reason->setText(why);
        reason->setVisible(!mTheme.ok());
    }
}

void ThemeViews::exportImage(int scale)
{
    if (!mTheme.ok()) {
        mServices.messages.inform(unavailableReason() + QLatin1Char('.'), tr("Export Image"));
        return;
    }
    const std::optional<QString> path = askSaveName(mServices, [this](FileDialog &dialog) {
        dialog.setTitle(tr("Export the Course Image"));
        dialog.setFilter(filters::pngImages());
        dialog.setDefaultExtension(QStringLiteral("png"));
        dialog.setFileName(QStringLiteral("course.png"));
        dialog.setDirectory(QFileInfo(mRomPath).absolutePath());
    });
    if (!path)
        return;
    // Drawn here rather than taken from the overview, which need not exist for an export:
    // the document's shown layers over the tiles, at the size asked for.
    const QImage picture = graphics::paintCourse(mClient->document(), mTheme.graphics, scale);
    const QString shown = displayPath(*path);
    const graphics::ImageExport saved = picture.isNull()
        ? graphics::ImageExport {false,
              tr("not enough memory for a picture of %1 × %1 pixels").arg(1024 * scale)}
        : graphics::exportCourseImage(picture, *path, 1);
    if (saved.ok)
        mServices.messages.inform(tr("The course image was saved as %1 (%2 × %2 pixels).")
                                      .arg(shown)
                                      .arg(1024 * scale),
            tr("Image Exported"));
    else
        mServices.messages.inform(
            tr("The course image was not saved: %1").arg(saved.error), tr("Export Image"));
}

} // namespace velmor
