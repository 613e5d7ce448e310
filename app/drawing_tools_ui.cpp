#include "app/drawing_tools_ui.h"

#include "app/client_window.h"
#include "app/window_menus.h"
#include "document/map_geometry.h"
#include "editor/map_view.h"
#include "editor/tool_registry.h"
#include "platform/message_box.h"
#include "platform/replace_dialog.h"
#include "platform/services.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QToolBar>

namespace velmor {


DrawingToolsUi::DrawingToolsUi(
    ClientWindow *client, Services &services, WindowMenus &menus, QToolBar *strip, QObject *parent)
    : QObject(parent)
    , mClient(client)
    , mTools(client->toolController())
    , mServices(services)
    , mMenus(menus)
{
    addTools(menus, strip);
    addEditEntries(menus);
    connect(mTools, &ToolController::picked, this, [this](int button, const QString &text) {
        QComboBox *palette = button == RightButton ? mClient->pickTile2() : mClient->pickTile();
        palette->setEditText(text);
    });
    connect(mTools, &ToolController::refused, this,
        [this](const QString &message) { mServices.messages.inform(message, tr("Cannot Draw")); });
    connect(mTools, &ToolController::selectionChanged, this, &DrawingToolsUi::updateEntries);
    connect(mTools, &ToolController::previewChanged, this, &DrawingToolsUi::updateEntries);
    updateEntries();
}

void DrawingToolsUi::addTools(WindowMenus &menus, QToolBar *strip)
{
    mToolGroup = new QActionGroup(this);
    mToolGroup->setExclusive(true);
    for (const ToolInfo &info : toolRegistry()) {
        QAction *action = menus.add(
            menus.toolsMenu(), info.actionName(), info.shownTitle(), info.shortcut);
        action->setCheckable(true);
        action->setChecked(info.key == mTools->tool());
        mToolGroup->addAction(action);
        strip->addAction(action);
        const QString key = info.key;
        connect(action, &QAction::triggered, this, [this, key] { chooseTool(key); });
    }
}

void DrawingToolsUi::addEditEntries(WindowMenus &menus)
{
    QMenu *edit = menus.editMenu();
    edit->addSeparator();
    connect(menus.add(edit, QStringLiteral("actionCut"), tr("Cu&t"), QKeySequence::Cut),
        &QAction::triggered, this, &DrawingToolsUi::cut);
    connect(menus.add(edit, QStringLiteral("actionCopy"), tr("&Copy"), QKeySequence::Copy),
        &QAction::triggered, this, &DrawingToolsUi::copy);
    connect(menus.add(edit, QStringLiteral("actionPaste"), tr("&Paste"), QKeySequence::Paste),
        &QAction::triggered, this, &DrawingToolsUi::paste);
    connect(menus.add(edit, QStringLiteral("actionDelete"), tr("&Delete"), QKeySequence::Delete),
        &QAction::triggered, mTools, &ToolController::deleteSelection);
    connect(menus.add(edit, QStringLiteral("actionDropSelection"), tr("Drop &Selection"),
                QKeySequence(Qt::Key_Escape)),
        &QAction::triggered, mTools, &ToolController::escape);
    edit->addSeparator();
    connect(menus.add(edit, QStringLiteral("actionReplace"), tr("&Replace…"),
                QKeySequence(Qt::CTRL | Qt::Key_H)),
        &QAction::triggered, this, &DrawingToolsUi::replace);
}

void DrawingToolsUi::chooseTool(const QString &key)
{
    mTools->setTool(key);
    if (const ToolInfo *info = toolInfo(mTools->tool()))
        mMenus.action(info->actionName())->setChecked(true);
    updateEntries();
}

void DrawingToolsUi::copy()
{
    if (mTools->hasSelection())
        QGuiApplication::clipboard()->setText(mTools->copyText());
}

void DrawingToolsUi::cut()
{
    if (mTools->hasSelection())
        QGuiApplication::clipboard()->setText(mTools->cutText());
}

void DrawingToolsUi::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (mTools->pasteOwn(text, pasteCell()))
        return;
    const ParsedBlock parsed = CellBlock::fromText(text);
    if (!parsed.ok()) {
        mServices.messages.inform(
            tr("The clipboard holds no cells to paste. Cells are rows of two-digit tile numbers "
               "separated by blanks, one row per line.\n\n%1")
                .arg(parsed.error),
            tr("Cannot Paste"));
        return;
    }
    mTools->beginPaste(parsed.block, pasteCell());
}

void DrawingToolsUi::replace()
{
    if (!mServices.replace)
        return;
    // Pick the tile to replace into the right palette (Alt + right click), paint with the left.
    const std::optional<ReplaceDialog::Tiles> tiles = mServices.replace->ask(
        {mClient->pickTile2()->currentText(), mClient->pickTile()->currentText()});
    if (!tiles)
        return;
    const EditResult result = mTools->replace(tiles->from, tiles->to);
    // Said, because "0a" and "0A" are different tiles and a silent nothing looks like a fault.
    if (!result.isRefused() && result.changedCells == 0 && tiles->from != tiles->to) {
        mServices.messages.inform(
            tr("No cell holds the tile \"%1\"; nothing was replaced.").arg(tiles->from),
            tr("Replace Tiles"));
    }
}

QPoint DrawingToolsUi::pasteCell() const
{
    MapView *view = mClient->mapView();
    const QPoint pixel = view->mapFromGlobal(QCursor::pos());
    if (view->isVisibleAt(pixel) && view->rect().contains(pixel))
        return MapView::cellAt(pixel);
    return MapView::cellAt(view->mapFrom(mClient, view->parentWidget()->geometry().topLeft()));
}

void DrawingToolsUi::updateEntries()
{
    const bool selection = mTools->hasSelection();
    const QString none = tr("Select cells first: the Select tool (S), then drag over the map");
    for (const char16_t *name : {u"actionCut", u"actionCopy", u"actionDelete"})
        WindowMenus::setAvailable(mMenus.action(QString::fromUtf16(name)), selection, none);
    WindowMenus::setAvailable(mMenus.action(QStringLiteral("actionDropSelection")),
        selection || mTools->isPasting(), tr("Nothing is selected or being pasted"));
}

} // namespace velmor
