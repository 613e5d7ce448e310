#pragma once

#include "rom/course_catalogue.h"
#include "rom/object_positions.h"

#include <QImage>
#include <QList>
#include <QObject>

#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMainWindow;
class QToolBar;

namespace velmor {

class ClientWindow;
class ObjectsTool;
class ThemeViews;
class WindowMenus;

// The race tools as the user reaches them beyond the Tools menu: the strip of their options (the
// items palette, the chosen object's group and the match-race motion list), the status bar's
// "Items 17 of 41", and the Course menu's Theme entries, which change the theme as one step and
// say what else changed with it.
class RaceToolsUi : public QObject
{
    Q_OBJECT

public:
    RaceToolsUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus,
        ThemeViews &themes, QObject *parent = nullptr);

    QComboBox *itemPalette() const { return mPalette; }
    QComboBox *matchMotion() const { return mMotion; }
    QLabel *itemsReadout() const { return mItems; }
    void chooseTheme(rom::Theme theme);

    // "Items 17 of 41".
    static QString itemsText(int count);
    // The palette's picture of a pattern: the tiles it stamps (numbers, row by row, -1 clear)
    // when both are given, else an outlined glyph of the item's size with its kind's letter, as
    // the numbers view draws items.
    static QImage patternPicture(
        int pattern, const std::vector<int> &numbers, const QList<QImage> &tiles);

private:
    void buildThemeMenu(WindowMenus &menus);
    void buildOptions(QMainWindow *window);
    void fillPalette();
    // The objects a record shows in the race: its non-zero words and its match-race list.
    static int objectsShown(const std::optional<rom::ObjectPositions> &objects);
    void paletteOutdated();
    void toolChosen(const QString &key);
    void showObject();
    void showItemCount();
    void showTheme();

    ClientWindow *mClient;
    WindowMenus &mMenus;
    ThemeViews &mThemes;
    ObjectsTool *mObjects = nullptr;
    QToolBar *mOptions = nullptr;
    QComboBox *mPalette = nullptr;
    QAction *mPaletteEntry = nullptr;
    QLabel *mObjectLabel = nullptr;
    QAction *mObjectEntry = nullptr;
    QComboBox *mMotion = nullptr;
    QAction *mMotionEntry = nullptr;
    QLabel *mItems = nullptr;
    QList<QAction *> mThemeEntries;
};

} // namespace velmor
