#pragma once

#include <QRect>

// The window's controls in twips (left, top, width, height), as the window is laid out; 15 twips
// make one device-independent pixel (document/map_geometry.h converts).
namespace velmor::layout {

inline constexpr int ClientWidth = 10800;
inline constexpr int ClientHeight = 6315;

inline constexpr QRect SaveCourse{8640, 4080, 2055, 255};
inline constexpr QRect FromFile{8640, 5640, 2055, 255};
inline constexpr QRect CourseList{8640, 4680, 2055, 315};
inline constexpr QRect Splash{2280, 1560, 4365, 2275};
inline constexpr QRect VScroll1{8160, 360, 255, 4815};
inline constexpr QRect HScroll1{480, 120, 7695, 255};
inline constexpr QRect Command2{8640, 3720, 2055, 255};
inline constexpr QRect Frame1{480, 360, 7935, 4815};
inline constexpr QRect Frame2{0, 0, 7725, 4815}; // before the grid set-up enlarges it
inline constexpr QRect Command1{8640, 1440, 2055, 375};
inline constexpr QRect Picktile2{9720, 600, 975, 315};
inline constexpr QRect FromVelmor{8640, 5330, 2055, 255};
inline constexpr QRect PickTile{8640, 600, 975, 315};
inline constexpr QRect TextureFiller{8640, 960, 2055, 375};
inline constexpr QRect Label2{8640, 0, 2055, 375};
inline constexpr QRect Label1{8640, 360, 2055, 255};
inline constexpr QRect Label3{8640, 5100, 2055, 255};
inline constexpr QRect Label6{8640, 4440, 2055, 255};
inline constexpr QRect Label5{120, 6000, 10575, 255};
inline constexpr QRect Label4{0, 0, 8535, 5895};
inline constexpr QRect Printer{8640, 1920, 2055, 1695};
inline constexpr QRect Label7{8650, 15, 2055, 375};

// Rulers: one label per visible column (under the viewport) and per visible row (left of it), at
// the cells' 240-twip pitch.
inline constexpr int RulerPitch = 240;
inline constexpr QRect ColumnRulerFirst{480, 5160, 165, 615};
inline constexpr QRect RowRulerFirst{120, 360, 375, 255};

// Font sizes in points.
inline constexpr double SmallPoints = 8.25;
inline constexpr double ExportPoints = 9.75;
inline constexpr double TitlePoints = 12.0;
inline constexpr double ColumnRulerPoints = 6.75;
inline constexpr double CellPoints = 6.0;

} // namespace velmor::layout
