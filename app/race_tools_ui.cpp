#include "app/race_tools_ui.h"

#include "app/client_window.h"
#include "app/theme_views.h"
#include "app/window_menus.h"
#include "document/race_layers.h"
#include "editor/map_view.h"
#include "editor/items_tool.h"
#include "editor/objects_tool.h"
#include "editor/tool_controller.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "rom/item_kinds.h"
#include "rom/course_data.h"
#include "rom/race_map.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace velmor {

namespace {

constexpr int TilePx = 16; // a tile as the map view shows it
constexpr int StatusMessageMs = 8000;

QString text(std::string_view view)
{
    return QString::fromUtf8(view.data(), qsizetype(view.size()));
}

// The motions of a match-race object, as its word's bits 14-15 give them.
const struct
{
    int motion;
    const char *name;
} Motions[] = {
    {2, QT_TRANSLATE_NOOP("velmor::RaceToolsUi", "Still")},
    {1, QT_TRANSLATE_NOOP("velmor::RaceToolsUi", "Moves across (x)")},
    {0, QT_TRANSLATE_NOOP("velmor::RaceToolsUi", "Moves along (y)")},
    {3, QT_TRANSLATE_NOOP("velmor::RaceToolsUi", "Both bits set (as the ROM had it)")},
};

} // namespace

RaceToolsUi::RaceToolsUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus,
    ThemeViews &themes, QObject *parent)
    : QObject(parent)
    , mClient(client)
    , mMenus(menus)
    , mThemes(themes)
    , mObjects(qobject_cast<ObjectsTool *>(client->toolController()->toolNamed(QStringLiteral("objects"))))
    , mItems(new QLabel(window->statusBar()))
{
    mItems->setObjectName(QStringLiteral("itemsReadout"));
    window->statusBar()->addPermanentWidget(mItems);
    buildThemeMenu(menus);
    buildOptions(window);
    CourseDocument &document = client->document();
    connect(&document.items(), &Layer::changed, this, &RaceToolsUi::showItemCount);
    connect(&document, &CourseDocument::themeChanged, this, &RaceToolsUi::showTheme);
    connect(client->toolController(), &ToolController::toolChanged, this, &RaceToolsUi::toolChosen);
    connect(&themes, &ThemeViews::themeChanged, this, &RaceToolsUi::paletteOutdated);
    // The palette draws its items as the map does: the game's tiles, or glyphs over the numbers.
    connect(menus.action(QStringLiteral("actionViewTiles")), &QAction::toggled, this,
        &RaceToolsUi::paletteOutdated);
    connect(mObjects, &ObjectsTool::chosenChanged, this, &RaceToolsUi::showObject);
    connect(&document.objects(), &Layer::changed, this, &RaceToolsUi::showObject);
    showItemCount();
    showTheme();
    toolChosen(client->toolController()->tool());
}

QString RaceToolsUi::itemsText(int count)
{
    return tr("Items %1 of %2").arg(count).arg(rom::map::MaxItems);
}

void RaceToolsUi::buildThemeMenu(WindowMenus &menus)
{
    QMenu *theme = menus.courseMenu()->addMenu(tr("&Theme"));
    theme->setObjectName(QStringLiteral("menuTheme"));
    auto *group = new QActionGroup(this);
    for (int i = 0; i < rom::ThemeCount; ++i) {
        const auto code = rom::Theme(2 * i);
        const QString name = text(rom::themeName(code));
        QAction *entry = menus.add(theme,
            QStringLiteral("actionTheme") + QString(name).remove(QLatin1Char(' ')), name);
        entry->setCheckable(true);
        group->addAction(entry);
        mThemeEntries.append(entry);
        connect(entry, &QAction::triggered, this, [this, code] { chooseTheme(code); });
    }
}

void RaceToolsUi::buildOptions(QMainWindow *window)
{
    window->addToolBarBreak();
    mOptions = window->addToolBar(tr("Tool Options"));
    mOptions->setObjectName(QStringLiteral("toolOptions"));
    mOptions->setMovable(false);
    mOptions->setFloatable(false);

    mPalette = new QComboBox(mOptions);
    mPalette->setObjectName(QStringLiteral("itemPalette"));
    mPalette->setIconSize(QSize(TilePx * 2, TilePx * 2));
    mPalette->setToolTip(tr("The item a click places"));
    mPaletteEntry = mOptions->addWidget(mPalette);
    auto *items = qobject_cast<ItemsTool *>(mClient->toolController()->toolNamed(QStringLiteral("items")));
    connect(mPalette, &QComboBox::currentIndexChanged, this, [this, items] {
        if (mPalette->currentIndex() >= 0)
            items->setPattern(mPalette->currentData().toInt());
    });

    mObjectLabel = new QLabel(mOptions);
    mObjectLabel->setObjectName(QStringLiteral("chosenObject"));
    mObjectEntry = mOptions->addWidget(mObjectLabel);
    mMotion = new QComboBox(mOptions);
    mMotion->setObjectName(QStringLiteral("matchMotion"));
    mMotion->setToolTip(tr("How the chosen match-race object moves"));
    for (const auto &motion : Motions)
        mMotion->addItem(tr(motion.name), motion.motion);
    mMotionEntry = mOptions->addWidget(mMotion);
    connect(mMotion, &QComboBox::activated, this,
        [this] { mObjects->setMotion(mMotion->currentData().toInt()); });
}

void RaceToolsUi::paletteOutdated()
{
    // Drawn again only while the Items tool shows it, and when that tool is chosen: its pictures
    // are most of what the race tools would cost the start-up.
    if (mClient->toolController()->tool() == QStringLiteral("items"))
        fillPalette();
}

void RaceToolsUi::fillPalette()
{
    const bool tiles = mClient->mapView()->viewMode() == MapView::ViewMode::Tiles;
    const QList<QImage> images = tiles ? mThemes.tileImages() : QList<QImage>();
    const int chosen = qMax(0, mPalette->currentIndex());
    const QSignalBlocker quiet(mPalette);
    mPalette->clear();
    for (const rom::ItemRange &kind : rom::itemRanges()) {
        for (int pattern = kind.firstPattern; pattern <= kind.lastPattern; ++pattern) {
            const std::vector<int> numbers = mClient->document().patternTiles(pattern);
            mPalette->addItem(QPixmap::fromImage(patternPicture(pattern, numbers, images)),
                tr("%1 %2").arg(text(kind.name)).arg(pattern - kind.firstPattern + 1), pattern);
        }
    }
    mPalette->setCurrentIndex(chosen);
}

QImage RaceToolsUi::patternPicture(
    int pattern, const std::vector<int> &numbers, const QList<QImage> &tiles)
{
    const rom::OverlayItem item = rom::makeItem(pattern, 0, 0);
    const rom::ItemExtent extent = rom::itemExtent(item.size);
    const int side = 5 * TilePx / 2 * 2;
    // One picture size for every kind: the large coin groups at a smaller tile.
    const int step = side / std::max({extent.width, extent.height, 3});
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRect area((side - extent.width * step) / 2, (side - extent.height * step) / 2,
        extent.width * step, extent.height * step);
    if (!tiles.isEmpty() && int(numbers.size()) == extent.width * extent.height) {
        for (int i = 0; i < int(numbers.size()); ++i) {
            const QRect at(area.x() + i % extent.width * step, area.y() + i / extent.width * step,
                step, step);
            // A clear cell of the pattern leaves whatever the layout has there.
            if (numbers[std::size_t(i)] >= 0)
                painter.drawImage(at, tiles.value(numbers[std::size_t(i)]));
        }
        return picture;
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.drawText(area, Qt::AlignCenter, text(rom::itemName(item)).left(1));
    return picture;
}

void RaceToolsUi::toolChosen(const QString &key)
{
    // A race tool edits its own layer: what it edits is shown.
    if (Layer *layer = mClient->document().layer(key))
        layer->setVisible(true);
    const bool items = key == QStringLiteral("items");
    const bool objects = key == QStringLiteral("objects");
    if (items)
        fillPalette(); // the view may have changed between numbers and tiles
    mPaletteEntry->setVisible(items);
    mObjectEntry->setVisible(objects);
    mMotionEntry->setVisible(objects);
    mOptions->setVisible(items || objects);
    showObject();
}

void RaceToolsUi::showObject()
{
    const QString chosen = mObjects->chosenText();
    mObjectLabel->setText(chosen.isEmpty() ? tr("Click an object to move it") : chosen);
    const int motion = mObjects->chosenMotion();
    mMotion->setEnabled(motion >= 0);
    if (motion >= 0)
        mMotion->setCurrentIndex(mMotion->findData(motion));
}

void RaceToolsUi::showItemCount()
{
    const Layer &layer = mClient->document().items();
    if (!layer.unreadableReason().isEmpty()) {
        mItems->setText(tr("Items unreadable"));
        mItems->setToolTip(layer.unreadableReason());
        return;
    }
    mItems->setText(itemsText(int(mClient->document().items().value().size())));
    mItems->setToolTip(QString());
}

void RaceToolsUi::showTheme()
{
    const int index = rom::themeIndex(mClient->document().theme());
    for (int i = 0; i < mThemeEntries.size(); ++i)
        mThemeEntries.at(i)->setChecked(i == index);
}

int RaceToolsUi::objectsShown(const std::optional<rom::ObjectPositions> &objects)
{
    if (!objects)
        return 0;
    int count = int(objects->match.size());
    for (const auto &group : objects->groups)
        count += int(std::count_if(group.begin(), group.end(),
            [](const rom::ObjectPlace &place) { return place.holdsObject(); }));
    return count;
}

void RaceToolsUi::chooseTheme(rom::Theme theme)
{
    CourseDocument &document = mClient->document();
    if (theme == document.theme())
        return;
    const QString name = text(rom::themeName(theme));
    const bool noObjectKind = rom::objectKindOf(theme) == rom::objectKindOf(rom::Theme::GhostValley);
    const int objects = objectsShown(document.objects().value());
    // The course's objects would go from the race without a word: asked first.
    if (noObjectKind && objects > 0
        && !mClient->services().messages.askYesNo(
            tr("%1 has no objects: %2 would not be seen in the race (kept in the course, another "
               "theme shows them again). Change the theme to %1 anyway?")
                .arg(name,
                    objects == 1 ? tr("the course's one object")
                                 : tr("the course's %1 objects").arg(objects)),
            tr("Change Theme"))) {
        showTheme();
        return;
    }
    document.setTheme(theme, tr("Change Theme to %1").arg(name));
    // What else a theme brings: the kind of the course's objects, which the game keeps apart.
    QString kind;
    if (!rom::isRaceCourse(document.course().id()))
        kind = tr("A battle course has no objects.");
    else if (noObjectKind)
        kind = tr("%1's kind, 0x00, has no objects: the race shows none.").arg(name);
    else if (objects == 0 && document.objects().unreadableReason().isEmpty())
        kind = tr("The course has no object places: the race shows no objects of %1's kind.")
                   .arg(name);
    else
        kind = tr("Its objects take %1's kind, 0x%2, when the course is saved into a ROM.")
                   .arg(name)
                   .arg(rom::objectKindOf(theme), 2, 16, QLatin1Char('0'));
    auto *window = qobject_cast<QMainWindow *>(mOptions->parentWidget());
    window->statusBar()->showMessage(
        tr("The course now has the theme %1: the tiles, the tile set and the item palette show "
           "it. %2")
            .arg(name, kind),
        StatusMessageMs);
}

} // namespace velmor
