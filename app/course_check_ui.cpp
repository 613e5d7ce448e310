#include "app/course_check_ui.h"

#include "app/client_window.h"
#include "app/course_actions.h"
#include "app/window_menus.h"
#include "course/course_check_input.h"
#include "document/course_document.h"
#include "document/findings_layer.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "rom/rom_image.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>

namespace velmor {

namespace {

// How much of the map the view shows, in cells: the rulers' 32 columns and 20 rows.
constexpr int ViewColumns = 32;
constexpr int ViewRows = 20;
constexpr int FindingRole = Qt::UserRole;

} // namespace

CourseCheckUi::CourseCheckUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus,
                             Services &services, RomPath romPath, QObject *parent)
    : QObject(parent)
    , mMainWindow(window)
    , mClient(client)
    , mServices(services)
    , mRomPath(std::move(romPath))
    , mLayer(new FindingsLayer)
    , mSummary(new QLabel(window->statusBar()))
{
    client->document().addLayer(mLayer);

    mSummary->setObjectName(QStringLiteral("courseCheckSummary"));
    window->statusBar()->addPermanentWidget(mSummary);

    connect(menus.add(menus.courseMenu(), QStringLiteral("actionCheckCourse"), tr("&Check Course"),
                      QKeySequence(Qt::Key_F7)),
            &QAction::triggered, this, [this] { check(true); });
    // Every save is checked again, into a ROM and into a track file alike.
    connect(&client->actions(), &CourseActions::savedIntoRom, this, [this] { check(false); });
    connect(&client->actions(), &CourseActions::fileUsed, this, [this] { check(false); });
    // Findings about another course would point at the wrong places.
    connect(&client->document(), &CourseDocument::courseChanged, this, [this] {
        show({});
        mSummary->clear();
    });
}

QDockWidget *CourseCheckUi::findingsWindow()
{
    // Made when first needed: a floating tool window is a fair part of the start-up.
    if (mWindow)
        return mWindow;
    mWindow = new QDockWidget(tr("Course Check"), mMainWindow);
    mList = new QTreeWidget(mWindow);
    mList->setObjectName(QStringLiteral("courseCheckFindings"));
    mList->setRootIsDecorated(false);
    mList->setHeaderLabels({tr("Severity"), tr("Place"), tr("Finding")});
    mList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(mList, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const auto index = std::size_t(item->data(0, FindingRole).toInt());
        if (index < mReport.findings.size())
            centreOn(mReport.findings[index]);
    });
    // Floating, as the other tool windows: docked, it would make the fixed window grow.
    mWindow->setObjectName(QStringLiteral("courseCheckWindow"));
    mWindow->setAllowedAreas(Qt::NoDockWidgetArea);
    mWindow->setWidget(mList);
    mWindow->setFloating(true);
    mWindow->resize(560, 240);
    mWindow->hide();
    fillList();
    return mWindow;
}

QTreeWidget *CourseCheckUi::findingsList()
{
    findingsWindow();
    return mList;
}

void CourseCheckUi::check(bool showWindow)
{
    const QString path = mRomPath();
    rom::CheckInput input;
    if (path.isEmpty()) {
        input.unreadable.push_back(
            tr("no ROM to check against: open a course from a ROM first").toStdString());
        input.hasTheme = input.hasItems = input.hasObjects = input.hasStart = input.hasLap =
            input.hasAi = false;
    } else {
        QString error;
        const std::optional<QByteArray> bytes =
            mServices.files.readFile(path, qint64(rom::MaxFileSize), &error);
        if (bytes) {
            input = documentCheckInput(mClient->document(), *bytes);
        } else {
            input = documentCheckInput(mClient->document(), QByteArray());
            input.unreadable = {tr("the ROM %1: %2").arg(path, error).toStdString()};
        }
    }
    show(rom::checkCourse(input));
    if (showWindow) {
        findingsWindow()->show();
        mWindow->raise();
    }
}

void CourseCheckUi::show(rom::CheckReport report)
{
    mReport = std::move(report);
    mSummary->setText(QString::fromStdString(mReport.summary()));
    mLayer->setFindings(mReport.findings);
    if (mList)
        fillList();
}

void CourseCheckUi::fillList()
{
    mList->clear();
    for (std::size_t k = 0; k < mReport.findings.size(); ++k) {
        const rom::Finding &finding = mReport.findings[k];
        const bool error = finding.severity == rom::Severity::Error;
        const QString place = finding.area.isEmpty()
            ? tr("course")
            : QStringLiteral("(%1, %2)").arg(finding.area.col).arg(finding.area.row);
        auto *item = new QTreeWidgetItem(
            mList, {error ? tr("error") : tr("warning"), place, QString::fromStdString(finding.text)});
        item->setData(0, FindingRole, int(k));
        item->setForeground(0, error ? QColor(0xC0, 0x00, 0x00) : QColor(0xB0, 0x70, 0x00));
    }
    mWindow->setWindowTitle(
        tr("Course Check: %1").arg(QString::fromStdString(mReport.summary())));
}

void CourseCheckUi::centreOn(const rom::Finding &finding)
{
    const QRect cells = FindingsLayer::cellsOf(finding);
    if (cells.isEmpty())
        return;
    mClient->horizontalScrollBar()->setValue(cells.center().x() - ViewColumns / 2);
    mClient->verticalScrollBar()->setValue(cells.center().y() - ViewRows / 2);
}

} // namespace velmor
