#pragma once

#include "rom/course_check.h"

#include <QObject>
#include <QString>

#include <functional>

class QDockWidget;
class QLabel;
class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmor {

class ClientWindow;
class FindingsLayer;
class WindowMenus;
struct Services;

// Course ▸ Check Course: checks the document's course against the ROM the editor looks at, lists
// the findings in a tool window (a click centres the map on one), draws them on the map as a
// layer of the document and sums them up in the status bar. Runs again after every save.
class CourseCheckUi : public QObject
{
    Q_OBJECT

public:
    using RomPath = std::function<QString()>;

    CourseCheckUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus,
                  Services &services, RomPath romPath, QObject *parent = nullptr);

    // Checks now and shows the findings; the tool window opens when asked.
    void check(bool showWindow);
    const rom::CheckReport &report() const { return mReport; }

    // The tool window and its list, made when first asked for.
    QDockWidget *findingsWindow();
    QTreeWidget *findingsList();
    QLabel *summaryLabel() const { return mSummary; }
    FindingsLayer *layer() const { return mLayer; }

    // Scrolls the map so that the finding's cells lie in the middle of the view.
    void centreOn(const rom::Finding &finding);

private:
    void show(rom::CheckReport report);
    void fillList();

    QMainWindow *mMainWindow;
    ClientWindow *mClient;
    Services &mServices;
    RomPath mRomPath;
    FindingsLayer *mLayer;
    QDockWidget *mWindow = nullptr;
    QTreeWidget *mList = nullptr;
    QLabel *mSummary;
    rom::CheckReport mReport;
};

} // namespace velmor
