#pragma once

#include <QString>

namespace velmor {

class CourseMap;

// Held mouse buttons as a bit set, the way the map's press and move rules read them.
enum ButtonBit : int {
    LeftButton = 1,
    RightButton = 2,
    MiddleButton = 4,
};

// The palettes' current texts, read afresh for every paint operation and used as they stand.
struct Palettes
{
    QString left;  // PickTile
    QString right; // Picktile2
};

// The painting rules over the course map: what a press, a move, "Clear Color" and "Texture Filler"
// do to cells. Pointer handling (which cells a stroke reaches) lives elsewhere.
class TilePainter
{
public:
    explicit TilePainter(CourseMap &map)
        : mMap(map)
    {}

    // A press always writes, also when the cell already shows the palette's text.
    void press(int index, int button, const Palettes &palettes);
    // A move paints only when exactly one button is held; left and right skip cells that already
    // show their palette's text, so those keep their mark.
    void move(int index, int buttons, const Palettes &palettes);
    void clearColor();
    void textureFiller(const QString &leftPalette);

private:
    CourseMap &mMap;
};

} // namespace velmor
