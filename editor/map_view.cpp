#include "editor/map_view.h"

#include "document/course_map.h"
#include "document/map_geometry.h"
#include "editor/tool_controller.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace velmor {

namespace {

constexpr int PitchPx = CellPitchTwips / TwipsPerPixel; // 16
constexpr int CellPx = CellSizeTwips / TwipsPerPixel;   // 17
constexpr int FacePx = CellPx - 2;                      // inside the two border lines
constexpr qsizetype MaxCachedFaces = 1024;
constexpr double CellFontPoints = 6.0;
constexpr int WheelNotch = 120;

int buttonBit(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return 0;
    }
}

int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & b)
            bits |= buttonBit(b);
    }
    return bits;
}

QPoint toTwips(QPointF pixel)
{
    return (pixel * TwipsPerPixel).toPoint();
}

} // namespace

MapView::MapView(CourseMap &map, TilePainter &painter, QWidget *parent)
    : QWidget(parent)
    , mMap(map)
    , mPainter(painter)
{
    setObjectName(QStringLiteral("Frame2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont cellFont(QStringLiteral("MS Serif"));
    cellFont.setStyleHint(QFont::Serif);
    // At this size hinting squeezes a vector serif face's "0" down to the height of an "o", so the
    // cells would read "o1"; unhinted glyphs keep the digits full height.
    cellFont.setHintingPreference(QFont::PreferNoHinting);
    cellFont.setPointSizeF(CellFontPoints);
    setFont(cellFont);
    connect(&mMap, &CourseMap::cellsChanged, this,
            [this](const QRect &cells) { update(cellsPixelRect(cells)); });
}

void MapView::setToolController(ToolController *tools)
{
    mTools = tools;
    // The outlines lie on the cells' borders; a pixel around covers them.
    connect(tools, &ToolController::previewChanged, this,
            [this](const QRect &cells) { update(cellsPixelRect(cells).adjusted(-1, -1, 1, 1)); });
}

QPoint MapView::cellAt(QPointF pixel)
{
    return QPoint(int(std::floor(pixel.x() / PitchPx)), int(std::floor(pixel.y() / PitchPx)));
}

void MapView::setScrollBars(QScrollBar *horizontal, QScrollBar *vertical)
{
    mHorizontal = horizontal;
    mVertical = vertical;
}

QRect MapView::cellPixelRect(int index)
{
    return QRect(cellColumn(index) * PitchPx, cellRow(index) * PitchPx, CellPx, CellPx);
}

QRect MapView::cellsPixelRect(const QRect &cells)
{
    return QRect(cells.x() * PitchPx, cells.y() * PitchPx, cells.width() * PitchPx + 1,
                 cells.height() * PitchPx + 1);
}

bool MapView::isVisibleAt(QPoint pixel) const
{
    const QWidget *viewport = parentWidget();
    if (viewport && !viewport->rect().contains(mapToParent(pixel)))
        return false;
    const QPoint global = mapToGlobal(pixel);
    for (const QPointer<QWidget> &obstruction : mObstructions) {
        if (obstruction && obstruction->isVisible()
            && obstruction->rect().contains(obstruction->mapFromGlobal(global)))
            return false;
    }
    return true;
}

Palettes MapView::currentPalettes() const
{
    return mPalettes ? mPalettes() : Palettes{QStringLiteral("00"), QStringLiteral("00")};
}

void MapView::setViewMode(ViewMode mode)
{
    if (mode == mMode)
        return;
    mMode = mode;
    update();
}

void MapView::setTileImages(const QList<QImage> &tiles, const QImage &placeholder)
{
    mTileLayer.setTileImages(tiles, placeholder);
    if (mMode == ViewMode::Tiles)
        update();
}

void MapView::setGridVisible(bool visible)
{
    if (visible == mTileLayer.isGridVisible())
        return;
    mTileLayer.setGridVisible(visible);
    if (mMode == ViewMode::Tiles)
        update();
}

void MapView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    if (mMode == ViewMode::Tiles) {
        mTileLayer.paint(painter, exposed, mMap, palette());
        paintPreview(painter, exposed);
        return;
    }
    painter.fillRect(exposed, palette().color(QPalette::Button));

    const int firstColumn = qMax(0, (exposed.left() - 1) / PitchPx);
    const int lastColumn = qMin(MapSide - 1, exposed.right() / PitchPx);
    const int firstRow = qMax(0, (exposed.top() - 1) / PitchPx);
    const int lastRow = qMin(MapSide - 1, exposed.bottom() / PitchPx);
    if (firstColumn > lastColumn || firstRow > lastRow)
        return;

    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int index = cellIndex(row, column);
            // The border lines are drawn once below; the face fills the inside.
            const QPoint inside = cellPixelRect(index).topLeft() + QPoint(1, 1);
            painter.drawPixmap(inside, cellFace(mMap.text(index), mMap.mark(index)));
        }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    // Neighbouring cells share their one-pixel borders, so the borders form one grid of lines.
    const int left = firstColumn * PitchPx;
    const int right = lastColumn * PitchPx + CellPx - 1;
    const int top = firstRow * PitchPx;
    const int bottom = lastRow * PitchPx + CellPx - 1;
    for (int column = firstColumn; column <= lastColumn + 1; ++column)
        painter.drawLine(column * PitchPx, top, column * PitchPx, bottom);
    for (int row = firstRow; row <= lastRow + 1; ++row)
        painter.drawLine(left, row * PitchPx, right, row * PitchPx);
    paintPreview(painter, exposed);
}

void MapView::paintPreview(QPainter &painter, const QRect &exposed)
{
    if (!mTools)
        return;
    const ToolPreview &preview = mTools->preview();
    const QRect cells = preview.bounds().intersected(wholeMapRect());
    if (cells.isEmpty())
        return;
    // What a line, a rectangle or a floating block would write, drawn as the map draws it.
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column) {
            const int index = cellIndex(row, column);
            if (!cellPixelRect(index).intersects(exposed))
                continue;
            const std::optional<Cell> shown = preview.at(index);
            if (!shown)
                continue;
            if (mMode == ViewMode::Tiles)
                mTileLayer.paintCell(painter, index, *shown, palette());
            else
                painter.drawPixmap(cellPixelRect(index).topLeft() + QPoint(1, 1),
                                   cellFace(shown->text, shown->mark));
        }
    }
    // Outlines that show on any tile and any face: black dashes over a white line.
    const auto outline = [&painter](const QRect &area) {
        if (area.isEmpty())
            return;
        const QRect pixels = cellsPixelRect(area).adjusted(0, 0, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(pixels);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(pixels);
    };
    outline(preview.selection());
    if (preview.isFloating()) {
        const CellBlock &block = preview.floatingBlock();
        outline(QRect(preview.floatingPosition(), QSize(block.columns(), block.rows())));
    }
}

const QPixmap &MapView::cellFace(const QString &text, Mark mark)
{
    QHash<QString, QPixmap> &faces = mFaces[int(mark)];
    auto found = faces.constFind(text);
    if (found != faces.constEnd())
        return *found;
    // Typed texts can be anything; keep the cache bounded.
    if (faces.size() >= MaxCachedFaces)
        faces.clear();

    const QColor backgrounds[] = {palette().color(QPalette::Button), QColor(Qt::white),
                                  palette().color(QPalette::Midlight)};
    const qreal ratio = devicePixelRatioF();
    QPixmap face(QSize(FacePx, FacePx) * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(backgrounds[int(mark)]);
    QPainter painter(&face);
    QFont cellFont = font();
    cellFont.setBold(isBold(mark));
    painter.setFont(cellFont);
    painter.setPen(palette().color(QPalette::WindowText));
    // Centred in the whole cell, borders included, as the face sits one pixel inside it.
    painter.drawText(QRect(-1, -1, CellPx, CellPx), Qt::AlignCenter, text);
    painter.end();
    return *faces.insert(text, face);
}

void MapView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange
        || event->type() == QEvent::StyleChange) {
        for (auto &faces : mFaces)
            faces.clear();
    }
    QWidget::changeEvent(event);
}

void MapView::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonBit(event->button());
    event->accept();
    if (button == 0)
        return;
    // Under the splash or outside the viewport nothing is drawn, by the tools or by the brush.
    // A brush stroke keeps the pointer until its buttons are up, whatever tool is chosen meanwhile.
    if (mTools && !mStrokeOpen && isVisibleAt(event->pos())
        && mTools->press(cellAt(event->position()), button, event->modifiers()))
        return;
    if (!mStrokeOpen) {
        mStrokeOpen = true;
        emit strokeStarted();
    }
    const int cell = mTracker.press(toTwips(event->position()), isVisibleAt(event->pos()));
    if (cell >= 0)
        mPainter.press(cell, button, currentPalettes());
}

void MapView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const int buttons = buttonBits(event->buttons());
    if (mTools && !mStrokeOpen
        && mTools->move(cellAt(event->position()), buttons, event->modifiers()))
        return;
    if (buttons == 0)
        return;
    const QList<int> cells = mTracker.move(toTwips(event->position()), isVisibleAt(event->pos()));
    if (cells.isEmpty())
        return;
    const Palettes palettes = currentPalettes();
    for (int cell : cells)
        mPainter.move(cell, buttons, palettes);
}

void MapView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (mTools && !mStrokeOpen
        && mTools->release(cellAt(event->position()), buttonBit(event->button()),
                           event->modifiers()))
        return;
    if (event->buttons() != Qt::NoButton)
        return;
    mTracker.release();
    if (mStrokeOpen) {
        mStrokeOpen = false;
        emit strokeFinished();
    }
}

void MapView::wheelEvent(QWheelEvent *event)
{
    QPoint delta = event->angleDelta();
    const bool horizontal = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
    QScrollBar *bar = horizontal ? mHorizontal.data() : mVertical.data();
    if (!bar) {
        event->ignore();
        return;
    }
    // Some systems turn Shift+wheel into a horizontal delta themselves; take whichever axis moved.
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    int &remainder = horizontal ? mWheelRemainder.rx() : mWheelRemainder.ry();
    remainder += amount;
    const int notches = remainder / WheelNotch;
    remainder -= notches * WheelNotch;
    if (notches != 0)
        bar->setValue(bar->value() - notches * bar->singleStep() * QApplication::wheelScrollLines());
    event->accept();
}

} // namespace velmor
