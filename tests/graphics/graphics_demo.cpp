// The map view in its Tiles mode beside the tile set, or the course overview, over a course of a
// synthetic ROM (never the game's data), wired as the window will wire them: for the README's
// screenshots (scripts/screenshot.sh --graphics) and for looking at the widgets by hand.
//
// Usage: graphics_demo [--window tiles|overview]
//        graphics_demo --write-rom FILE   writes the synthetic ROM (with the copier header) and
//        ends,
//                                         for running the real window over it
#include "editor/course_map.h"
#include "editor/map_geometry.h"
#include "editor/map_scroller.h"
#include "editor/map_view.h"
#include "editor/painting.h"
#include "graphics/course_overview.h"
#include "graphics/theme_cache.h"
#include "editor/tile_text.h"
#include "graphics/tile_set_view.h"
#include "tests/support/synthetic_graphics.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QSaveFile>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

using namespace velmor;

namespace {

constexpr int CourseId = 0x07; // Mario Circuit 1's slot, Mario Circuit theme
const test::GameRomOptions RomOptions {.seed = 2, .themeGraphics = true};

// A few strokes' worth of marks, so that the frames over painted and erased cells show.
void paintSome(TilePainter &painter)
{
    const Palettes palettes {QStringLiteral("C7"), QStringLiteral("5A")};
    for (int column = 26; column <= 31; ++column)
        painter.press(cellIndex(26, column), LeftButton, palettes);
    for (int row = 25; row <= 28; ++row)
        painter.press(cellIndex(row, 20), RightButton, palettes);
    for (int column = 30; column <= 33; ++column)
        painter.press(cellIndex(14, column), MiddleButton, palettes);
}

} // namespace

int main(int argc, char **argv)
{
    // Before the application: writing a file needs no display.
    if (argc == 3 && std::strcmp(argv[1], "--write-rom") == 0) {
        const test::GameRom built = test::gameRom(RomOptions);
        QSaveFile file(QString::fromLocal8Bit(argv[2]));
        const QByteArray bytes = test::toQByteArray(built.bytes);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
            || !file.commit()) {
            std::fprintf(stderr, "graphics_demo: cannot write the ROM: %s\n",
                qPrintable(file.errorString()));
            return 1;
        }
        return 0;
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--window"));
    const QString which =
        at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QStringLiteral("tiles");
    if (which != QStringLiteral("tiles") && which != QStringLiteral("overview")) {
        std::fprintf(stderr, "graphics_demo: --window takes tiles or overview\n");
        return 2;
    }

    const test::GameRom built = test::gameRom(RomOptions);
    graphics::ThemeCache cache;
    const graphics::LoadedTheme theme = cache.forCourse(test::toQByteArray(built.bytes), CourseId);
    if (!theme.ok()) {
        std::fprintf(stderr, "graphics_demo: %s\n", qPrintable(theme.error));
        return 1;
    }
    CourseMap map;
    QStringList texts;
    for (const std::uint8_t cell : test::courseLikeCells(3))
        texts.append(tileText(cell));
    map.setAll(texts, QList<Mark>(CellCount, Mark::Untouched));
    TilePainter painter(map);
    paintSome(painter);

    QWidget window;
    window.setWindowTitle(which == QStringLiteral("tiles")
            ? QStringLiteral("Velmor Tiles view")
            : QStringLiteral("Velmor course overview"));
    auto *layout = new QHBoxLayout(&window);

    // The map as the window holds it: a clipping viewport, the map view inside, two scroll bars.
    auto *mapArea = new QWidget;
    auto *grid = new QVBoxLayout(mapArea);
    auto *viewport = new QFrame;
    viewport->setFixedSize(twipsToPixels(7935), twipsToPixels(4815));
    auto *view = new MapView(map, painter, viewport);
    view->setTileImages(theme.tiles.images(), theme.tiles.placeholder());
    view->setViewMode(MapView::ViewMode::Tiles);
    auto *horizontal = new QScrollBar(Qt::Horizontal);
    horizontal->setRange(0, HScrollMax);
    horizontal->setPageStep(HScrollLargeStep);
    auto *vertical = new QScrollBar(Qt::Vertical);
    vertical->setRange(0, VScrollMax);
    vertical->setPageStep(VScrollLargeStep);
    auto *scroller = new MapScroller(view, horizontal, vertical, &window);
    scroller->setUp();
    view->setScrollBars(horizontal, vertical);
    auto *row = new QHBoxLayout;
    row->addWidget(viewport);
    row->addWidget(vertical);
    grid->addLayout(row);
    grid->addWidget(horizontal);

    auto *tileSet = new graphics::TileSetView;
    tileSet->setTiles(theme.tiles);
    tileSet->setLeftPick(0xC7);
    tileSet->setRightPick(0x5A);
    auto *overview = new graphics::CourseOverview;
    overview->setGraphics(theme.graphics);
    overview->setMap(&map);
    QObject::connect(overview, &graphics::CourseOverview::scrollRequested,
        [horizontal, vertical](int column, int top) {
            horizontal->setValue(column);
            vertical->setValue(top);
        });
    const auto follow = [overview, horizontal, vertical] {
        overview->setViewCells(
            QRect(horizontal->value(), vertical->value(), VisibleColumns, VisibleRows));
    };
    QObject::connect(horizontal, &QScrollBar::valueChanged, follow);
    QObject::connect(vertical, &QScrollBar::valueChanged, follow);

    // Everything stays in the window, shown or not, so that the wiring above always has its ends.
    layout->addWidget(mapArea);
    layout->addWidget(tileSet, 0, Qt::AlignTop);
    layout->addWidget(overview);
    // A corner of the road loop, with the strokes above; the overview frames the same place.
    horizontal->setValue(10);
    vertical->setValue(12);
    if (which == QStringLiteral("tiles")) {
        overview->hide();
    } else {
        overview->setMinimumSize(420, 420);
        mapArea->hide();
        tileSet->hide();
    }
    window.show();
    return app.exec();
}
