#include "editor/painting.h"

#include "document/course_map.h"

namespace velmor {

void TilePainter::press(int index, int button, const Palettes &palettes)
{
    switch (button) {
    case LeftButton:
        mMap.setCell(index, palettes.left, Mark::Painted);
        break;
    case RightButton:
        mMap.setCell(index, palettes.right, Mark::Painted);
        break;
    case MiddleButton:
        mMap.setCell(index, CourseMap::freshText(), Mark::Erased);
        break;
    default:
        break;
    }
}

void TilePainter::move(int index, int buttons, const Palettes &palettes)
{
    // The three rules are tested one after the other on the cell as the previous one left it; with
    // one bit set at most one of them can apply.
    if (buttons == LeftButton && mMap.text(index) != palettes.left)
        mMap.setCell(index, palettes.left, Mark::Painted);
    if (buttons == RightButton && mMap.text(index) != palettes.right)
        mMap.setCell(index, palettes.right, Mark::Painted);
    if (buttons == MiddleButton)
        mMap.setCell(index, CourseMap::freshText(), Mark::Erased);
}

void TilePainter::clearColor()
{
    mMap.setAllMarks(Mark::Untouched);
}

void TilePainter::textureFiller(const QString &leftPalette)
{
    mMap.setAllTexts(leftPalette);
}

} // namespace velmor
