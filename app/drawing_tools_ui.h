#pragma once

#include "editor/tool_controller.h"

#include <QObject>

class QActionGroup;
class QToolBar;

namespace velmor {

class ClientWindow;
class WindowMenus;
struct Services;

// The drawing tools as the user reaches them: the Tools menu and the tool strip (one active tool,
// the brush by default), the Edit menu's Cut, Copy, Paste, Delete, Drop Selection and Replace…,
// the clipboard (cells as rows of two-digit numbers), the palettes that Pick fills, and one
// message box for what the tools refuse. The tools' rules are the ToolController's.
class DrawingToolsUi : public QObject
{
    Q_OBJECT

public:
    DrawingToolsUi(ClientWindow *client, Services &services, WindowMenus &menus, QToolBar *strip,
        QObject *parent = nullptr);

    void chooseTool(const QString &key);

    // The Edit entries, also reachable from tests without keys.
    void copy();
    void cut();
    void paste();
    void replace();

private:
    void addTools(WindowMenus &menus, QToolBar *strip);
    void addEditEntries(WindowMenus &menus);
    void updateEntries();
    // Where a paste starts floating: the cell under the pointer, else the view's first cell.
    QPoint pasteCell() const;

    ClientWindow *mClient;
    ToolController *mTools;
    Services &mServices;
    WindowMenus &mMenus;
    QActionGroup *mToolGroup = nullptr;
};

} // namespace velmor
