#pragma once

#include "graphics/theme_cache.h"

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;

namespace velmor {

class ClientWindow;
class WindowMenus;
struct Services;

class CourseOverview;

namespace graphics {
class TileSetView;
} // namespace graphics

// The course as the game draws it: the View menu's numbers/Tiles switch and grid, the tile set
// and course overview tool windows, "Export Image…", and the palettes' tile pictures. The theme is
// that of the course chosen in `CourseList`, read from the ROM the editor looks at; without a
// usable one the Tiles view is unavailable and says why, and the numbers stay.
class ThemeViews : public QObject
{
    Q_OBJECT

public:
    ThemeViews(QMainWindow *window, ClientWindow *client, WindowMenus &menus, Services &services,
        QObject *parent = nullptr);

    // The ROM to read the themes from; the theme is read again.
    void setRomPath(const QString &path);
    // Reads the theme of the chosen course now (the window calls it after its first paint, so
    // that the start is not held up).
    void loadTheme();

    bool tilesAvailable() const { return mTheme.ok(); }
    // The theme's tiles at the map's scale; none without a theme.
    QList<QImage> tileImages() const { return mTheme.ok() ? mTheme.tiles.images() : QList<QImage>(); }
    // Why the Tiles view cannot be had; empty while it can.
    QString unavailableReason() const;
    void showTiles(bool tiles);
    // Saves the whole course as a PNG at scale times 1024 pixels square, asking for the file.
    void exportImage(int scale);

    // The tool windows and what they show, made on first use.
    QDockWidget *tileSetWindow();
    QDockWidget *overviewWindow();
    graphics::TileSetView *tileSet();
    CourseOverview *overview();
    // For the window's end: the tool windows look at the map, so they go before it.
    void deleteToolWindows();

signals:
    void themeChanged();

private:
    void buildViewMenu(WindowMenus &menus);
    // Keeps a View entry checked while its window is shown, however it was closed.
    void followVisibility(QDockWidget *window, const QString &entry);
    void wirePalettes();
    void updateAvailability();
    // The view the user chose, or the numbers while there are no tiles to show.
    void showMode(bool tiles);
    void showPalettePictures();

    QMainWindow *mWindow;
    ClientWindow *mClient;
    Services &mServices;
    WindowMenus &mMenus;
    graphics::ThemeCache mCache;
    graphics::LoadedTheme mTheme;
    QString mRomPath;
    QString mRomError;
    // The course whose theme was read last, and whether the user chose the Tiles view.
    std::optional<qint64> mThemeOffset;
    bool mTilesWanted = false;
    // Whether the document's own theme decides, rather than the ROM's table for the course.
    bool mFollowDocument = false;
    graphics::TileSetView *mTileSet = nullptr;
    CourseOverview *mOverview = nullptr;
    QDockWidget *mTileSetWindow = nullptr;
    QDockWidget *mOverviewWindow = nullptr;
    QLabel *mTileSetReason = nullptr;
    QLabel *mOverviewReason = nullptr;
    QLabel *mLeftPicture = nullptr;
    QLabel *mRightPicture = nullptr;
};

} // namespace velmor
