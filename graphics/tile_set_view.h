#pragma once

#include "graphics/tile_images.h"

#include <QWidget>

namespace velmor::graphics {

// The theme's 256 tiles in a 16 x 16 grid to pick from. A left click picks a tile for the left
// palette (`PickTile`), a right click for the right one (`Picktile2`); hovering names the tile.
// The two picks are outlined differently: the left one by a yellow frame around the tile, the
// right one by a cyan frame inside it, so a tile picked for both shows both. Tiles the theme does
// not define show the placeholder.
class TileSetView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Columns = 16;

    explicit TileSetView(QWidget *parent = nullptr);

    void setTiles(const TileImages &tiles);
    const TileImages &tiles() const { return mTiles; }
    int leftPick() const { return mLeft; }
    int rightPick() const { return mRight; }

    // The tile under a point of this widget; -1 between and around the tiles.
    int tileAt(QPoint point) const;
    QRect tileRect(int tile) const;
    QSize sizeHint() const override;

public slots:
    // -1 (or any text that names no tile on the caller's side) outlines nothing.
    void setLeftPick(int tile);
    void setRightPick(int tile);

signals:
    void leftTilePicked(int tile);
    void rightTilePicked(int tile);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void setPick(int &pick, int tile);

    TileImages mTiles;
    int mLeft = -1;
    int mRight = -1;
};

} // namespace velmor::graphics
