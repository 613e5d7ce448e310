#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace velmor {

// The menu bar's entries: each with its usual keys, and each disabled, with the reason in its
// status tip, when it cannot run. An entry that has a button in the window presses that button,
// so the two run one piece of code. Entries are found by object name ("actionSaveTrackFile").
class WindowMenus : public QObject
{
    Q_OBJECT

public:
    explicit WindowMenus(QMenuBar *bar, QObject *parent = nullptr);

    QMenu *fileMenu() const { return mFile; }
    QMenu *editMenu() const { return mEdit; }
    QMenu *viewMenu() const { return mView; }
    QMenu *courseMenu() const { return mCourse; }
    QMenu *toolsMenu() const { return mTools; }
    QMenu *helpMenu() const { return mHelp; }
    QMenu *recentMenu() const { return mRecent; }

    // A new entry in a menu, known from now on by its object name.
    QAction *add(
        QMenu *menu, const QString &name, const QString &text, const QKeySequence &keys = {});
    // An entry made elsewhere (the window's own keys), put into a menu.
    void addExisting(QMenu *menu, QAction *action);
    QAction *action(const QString &name) const { return mActions.value(name); }

    // Enables an entry, or disables it and says why where the status bar shows tips.
    static void setAvailable(QAction *action, bool available, const QString &whyNot = {});

private:
    QMenu *mFile;
    QMenu *mRecent;
    QMenu *mEdit;
    QMenu *mView;
    QMenu *mCourse;
    QMenu *mTools;
    QMenu *mHelp;
    QHash<QString, QAction *> mActions;
};

} // namespace velmor
