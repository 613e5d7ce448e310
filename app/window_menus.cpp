#include "app/window_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace velmor {

WindowMenus::WindowMenus(QMenuBar *bar, QObject *parent)
    : QObject(parent)
    , mFile(bar->addMenu(tr("&File")))
    , mRecent(new QMenu(tr("Recent &Files"), mFile))
    , mEdit(bar->addMenu(tr("&Edit")))
    , mView(bar->addMenu(tr("&View")))
    , mCourse(bar->addMenu(tr("&Course")))
    , mTools(bar->addMenu(tr("&Tools")))
    , mHelp(bar->addMenu(tr("&Help")))
{
    mFile->setObjectName(QStringLiteral("menuFile"));
    mRecent->setObjectName(QStringLiteral("menuRecentFiles"));
    mEdit->setObjectName(QStringLiteral("menuEdit"));
    mView->setObjectName(QStringLiteral("menuView"));
    mCourse->setObjectName(QStringLiteral("menuCourse"));
    mTools->setObjectName(QStringLiteral("menuTools"));
    mHelp->setObjectName(QStringLiteral("menuHelp"));
}

QAction *WindowMenus::add(
    QMenu *menu, const QString &name, const QString &text, const QKeySequence &keys)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    if (!keys.isEmpty())
        action->setShortcut(keys);
    mActions.insert(name, action);
    return action;
}

void WindowMenus::addExisting(QMenu *menu, QAction *action)
{
    menu->addAction(action);
    mActions.insert(action->objectName(), action);
}

void WindowMenus::setAvailable(QAction *action, bool available, const QString &whyNot)
{
    action->setEnabled(available);
    action->setStatusTip(available ? QString() : whyNot);
    action->setToolTip(available ? action->text().remove(QLatin1Char('&')) : whyNot);
}

} // namespace velmor
