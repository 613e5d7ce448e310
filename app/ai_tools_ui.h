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

    QDockWidget *raceOrderWindow() const { return mDock; }
    RaceOrderPanel *raceOrder() const { return mPanel; }

private:
    void buildMenus(WindowMenus &menus);
    void updateEntries();
    void tell(const QString &text);

    QMainWindow *mWindow;
    ClientWindow *mClient;
    WindowMenus &mMenus;
    ZonesTool *mZones;
    TargetsTool *mTargets;
    RaceOrderPanel *mPanel;
    QDockWidget *mDock;
    QList<QAction *> mDrawKinds;
    QList<QAction *> mSpeeds;
};

} // namespace velmor
