#pragma once

#include <QMainWindow>

namespace velmor {

class AiToolsUi;
class ClientWindow;
class CourseCheckUi;
class DrawingToolsUi;
class RaceToolsUi;
class LayerViews;
class RecentFiles;
class ThemeViews;
class StatusReadout;
class WindowMenus;
struct Services;

// The program's window: the described window `velmor` as its central area, unchanged and still
// 720 x 421, with a menu bar above it and a status bar below. It assembles and wires; what the
// entries do is decided by the controllers the client window and this window hold.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // What the command line asks for once the window is up.
    struct StartOptions
    {
        QString file; // a track file or a ROM to open
        bool tiles = false;
        bool tileSet = false;
        bool overview = false;
        bool layers = false;
    };

    explicit MainWindow(Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    void setStartOptions(const StartOptions &options) { mStart = options; }

    // The load sequence of the described window, then what this window adds.
    void load();

    ClientWindow *client() const { return mClient; }
    WindowMenus &menus() const { return *mMenus; }
    StatusReadout &status() const { return *mStatus; }
    RecentFiles &recentFiles() const { return *mRecent; }
    DrawingToolsUi &drawingTools() const { return *mTools; }
    ThemeViews &themeViews() const { return *mThemes; }
    RaceToolsUi &raceTools() const { return *mRace; }
    LayerViews &layerViews() const { return *mLayers; }
    CourseCheckUi &courseCheck() const { return *mCheck; }

    // The ROM the editor looks at for the room of a course and its tiles: the document's (the one
    // last inserted into or opened from), else the working ROM, else the user's ROM.
    QString lookedAtRom() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFileMenu();
    void buildEditMenu();
    void buildCourseMenu();
    void buildHelpMenu();
    void fillRecentMenu();
    void updateAvailability();
    void romUsed(const QString &path);
    // After the first paint: the theme, then what the command line asked for.
    void afterFirstPaint();

    Services &mServices;
    ClientWindow *mClient;
    WindowMenus *mMenus;
    StatusReadout *mStatus;
    RecentFiles *mRecent;
    DrawingToolsUi *mTools;
    AiToolsUi *mAiTools = nullptr;
    ThemeViews *mThemes;
    RaceToolsUi *mRace = nullptr;
    LayerViews *mLayers = nullptr;
    CourseCheckUi *mCheck = nullptr;
    bool mPainted = false;
    StartOptions mStart;
};

} // namespace velmor
