#pragma once

#include <QList>
#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;

namespace velmor {

class ClientWindow;
class RaceOrderPanel;
class TargetsTool;
class WindowMenus;
class ZonesTool;

// The AI tools as the user reaches them: the Tools menu's zone entries (the shape a drag draws,
// Change Shape Ctrl+M, Duplicate Ctrl+D, Delete), the target speeds on the keys 0-3, the race
// order panel (View > Race Order) kept on the same zone as the map, and what an edit shifted in
// the status bar.
class AiToolsUi : public QObject
{
    Q_OBJECT

public:
    AiToolsUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus, QObject *parent = nullptr);

    // The race order's tool window and its panel, made when first shown or asked for.
    QDockWidget *raceOrderWindow();
    RaceOrderPanel *raceOrder();
    // For the main window's ordered take-down: the tool window goes, if it was ever made.
    void deleteRaceOrderWindow();

private:
    void buildMenus(WindowMenus &menus);
    void updateEntries();
    void tell(const QString &text);

    QMainWindow *mWindow;
    ClientWindow *mClient;
    WindowMenus &mMenus;
    ZonesTool *mZones;
    TargetsTool *mTargets;
    QAction *mOrderEntry = nullptr;
    RaceOrderPanel *mPanel = nullptr;
    QDockWidget *mDock = nullptr;
    QList<QAction *> mDrawKinds;
    QList<QAction *> mSpeeds;
};

} // namespace velmor
