#include "graphics/tile_set_view.h"

#include "document/tile_text.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace velmor::graphics {

namespace {

// Room between and around the tiles for the left pick's frame.
constexpr int Gap = 2;
constexpr int FrameWidth = 2;
const QColor LeftPickColour(255, 210, 0);
const QColor RightPickColour(0, 200, 255);

void fillFrame(QPainter &painter, const QRect &outer, int width, const QColor &colour)
{
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), colour);
    painter.fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), colour);
}

} // namespace

TileSetView::TileSetView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TileSet"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(sizeHint());
}

void TileSetView::setTiles(const TileImages &tiles)
{
    mTiles = tiles;
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QSize TileSetView::sizeHint() const
{
    const int side = Gap + Columns * (mTiles.side() + Gap);
    return QSize(side, side);
}

QRect TileSetView::tileRect(int tile) const
{
    const int pitch = mTiles.side() + Gap;
    return QRect(Gap + (tile % Columns) * pitch, Gap + (tile / Columns) * pitch, mTiles.side(),
        mTiles.side());
}

int TileSetView::tileAt(QPoint point) const
{
    const int pitch = mTiles.side() + Gap;
    const int column = (point.x() - Gap) / pitch;
    const int row = (point.y() - Gap) / pitch;
    if (point.x() < Gap || point.y() < Gap || column >= Columns || row >= Columns)
        return -1;
    const int tile = row * Columns + column;
    return tileRect(tile).contains(point) ? tile : -1;
}

void TileSetView::setPick(int &pick, int tile)
{
    tile = tile >= 0 && tile < TileCount ? tile : -1;
    if (tile == pick)
        return;
    if (pick >= 0)
        update(tileRect(pick).adjusted(-Gap, -Gap, Gap, Gap));
    pick = tile;
    if (pick >= 0)
        update(tileRect(pick).adjusted(-Gap, -Gap, Gap, Gap));
}

void TileSetView::setLeftPick(int tile)
{
    setPick(mLeft, tile);
}

void TileSetView::setRightPick(int tile)
{
    setPick(mRight, tile);
}

void TileSetView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    for (int tile = 0; tile < TileCount; ++tile)
        painter.drawImage(tileRect(tile).topLeft(), mTiles.image(tile));
    if (mLeft >= 0)
        fillFrame(
            painter, tileRect(mLeft).adjusted(-Gap, -Gap, Gap, Gap), FrameWidth, LeftPickColour);
    if (mRight >= 0) {
        const QRect inner = tileRect(mRight);
        fillFrame(painter, inner, FrameWidth, RightPickColour);
        // A dark line inside keeps the cyan frame apart from a light tile.
        fillFrame(painter, inner.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth), 1,
            Qt::black);
    }
}

void TileSetView::mousePressEvent(QMouseEvent *event)
{
    const int tile = tileAt(event->position().toPoint());
    if (tile < 0 || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)) {
        event->ignore();
        return;
    }
    event->accept();
    if (event->button() == Qt::LeftButton) {
        setLeftPick(tile);
        emit leftTilePicked(tile);
    } else {
        setRightPick(tile);
        emit rightTilePicked(tile);
    }
}

bool TileSetView::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const int tile = tileAt(help->pos());
    if (tile < 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QString text = tr("Tile %1").arg(tileText(tile));
    if (tile >= ThemeTileCount)
        text += tr(" (the same in every theme)");
    if (mTiles.hasTheme() && !mTiles.isDefined(tile))
        text += tr("\nThis theme's graphics do not define it: shown as a placeholder.");
    QToolTip::showText(help->globalPos(), text, this, tileRect(tile));
    return true;
}

} // namespace velmor::graphics
