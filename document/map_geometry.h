#pragma once

// Sizes, counts and places of the course map and of the window, in one place. Positions are in
// twips (1/1440 inch), as the window's layout is given; 15 twips make one device-independent pixel.
namespace velmor {

inline constexpr int TwipsPerPixel = 15;

inline constexpr int MapSide = 128;
inline constexpr int CellCount = MapSide * MapSide;

// Cells are a little larger than their pitch, so neighbours overlap by one pixel and their borders
// merge into single grid lines.
inline constexpr int CellPitchTwips = 240;
inline constexpr int CellSizeTwips = 255;

inline constexpr int VisibleColumns = 32;
inline constexpr int VisibleRows = 20;
inline constexpr int HScrollMax = MapSide - VisibleColumns; // 96
inline constexpr int VScrollMax = MapSide - VisibleRows;    // 108
inline constexpr int HScrollSmallStep = 1;
inline constexpr int HScrollLargeStep = 32;
inline constexpr int VScrollSmallStep = 2;
inline constexpr int VScrollLargeStep = 20;

// The map container is larger than the cells it carries; the rest lies empty right of and below them.
inline constexpr int MapContainerTwips = 50720;

constexpr int cellIndex(int row, int column)
{
    return MapSide * row + column;
}
constexpr int cellRow(int index)
{
    return index / MapSide;
}
constexpr int cellColumn(int index)
{
    return index % MapSide;
}
constexpr int cellLeftTwips(int index)
{
    return CellPitchTwips * cellColumn(index);
}
constexpr int cellTopTwips(int index)
{
    return CellPitchTwips * cellRow(index);
}
constexpr bool isCellIndex(int index)
{
    return index >= 0 && index < CellCount;
}

// Rounded to the nearest pixel; Qt scales device-independent pixels for high-DPI screens.
constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

} // namespace velmor
