#include "app/ai_tools_ui.h"

#include "app/client_window.h"
#include "app/race_order_panel.h"
#include "app/window_menus.h"
#include "document/course_document.h"
#include "document/race_layers.h"
#include "editor/targets_tool.h"
#include "editor/tool_controller.h"
#include "editor/zones_tool.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace velmor {

namespace {

constexpr int StatusMessageMs = 8000;
const QString ZonesKey = QStringLiteral("zones");
const QString TargetsKey = QStringLiteral("targets");
// The course overview's keys, lent to Change AI Zone Shape while that can run.
const QString OverviewEntry = QStringLiteral("actionViewOverview");
const QKeySequence ShapeKeys(Qt::CTRL | Qt::Key_M);

} // namespace

AiToolsUi::AiToolsUi(QMainWindow *window, ClientWindow *client, WindowMenus &menus, QObject *parent)
    : QObject(parent)
    , mWindow(window)
    , mClient(client)
    , mMenus(menus)
    , mZones(qobject_cast<ZonesTool *>(client->toolController()->toolNamed(ZonesKey)))
    , mTargets(qobject_cast<TargetsTool *>(client->toolController()->toolNamed(TargetsKey)))
{
    buildMenus(menus);

    connect(mZones, &ZonesTool::zoneSelected, this, &AiToolsUi::updateEntries);
    connect(mZones, &ZonesTool::told, this, &AiToolsUi::tell);
    connect(mTargets, &TargetsTool::targetSelected, this, &AiToolsUi::updateEntries);
    connect(&client->document().zones(), &Layer::changed, this, &AiToolsUi::updateEntries);
    connect(client->toolController(), &ToolController::toolChanged, this, &AiToolsUi::updateEntries);
    updateEntries();
}

void AiToolsUi::buildMenus(WindowMenus &menus)
{
    QMenu *tools = menus.toolsMenu();
    tools->addSeparator();
    QMenu *kinds = tools->addMenu(tr("New AI Zone &Shape"));
    kinds->setObjectName(QStringLiteral("menuZoneShape"));
    auto *group = new QActionGroup(this);
    const struct
    {
        const char *name;
        QString text;
        ZoneDraw kind;
    } entries[] = {
        {"actionZoneDrawRectangle", tr("&Rectangle (Shift: Triangle)"), ZoneDraw::Rectangle},
        {"actionZoneDrawTriangle", tr("&Triangle, Corner Where the Drag Starts"), ZoneDraw::Triangle},
        {"actionZoneDrawDiagonalLeft", tr("Diagonal &Left"), ZoneDraw::DiagonalLeft},
        {"actionZoneDrawDiagonalRight", tr("Diagonal R&ight"), ZoneDraw::DiagonalRight},
    };
    for (const auto &entry : entries) {
        QAction *action = menus.add(kinds, QString::fromLatin1(entry.name), entry.text);
        action->setCheckable(true);
        action->setChecked(entry.kind == mZones->drawKind());
        group->addAction(action);
        mDrawKinds.append(action);
        const ZoneDraw kind = entry.kind;
        connect(action, &QAction::triggered, this, [this, kind] {
            mZones->setDrawKind(kind);
            mClient->toolController()->setTool(ZonesKey);
        });
    }
    connect(menus.add(tools, QStringLiteral("actionChangeZoneShape"), tr("C&hange AI Zone Shape"),
                ShapeKeys),
        &QAction::triggered, mZones, &ZonesTool::changeShape);
    connect(menus.add(tools, QStringLiteral("actionDuplicateZone"), tr("D&uplicate AI Zone"),
                QKeySequence(Qt::CTRL | Qt::Key_D)),
        &QAction::triggered, mZones, &ZonesTool::duplicate);
    connect(menus.add(tools, QStringLiteral("actionDeleteZone"), tr("Delete AI &Zone"),
                QKeySequence::Delete),
        &QAction::triggered, mZones, &ZonesTool::deleteSelected);

    QMenu *speeds = tools->addMenu(tr("AI Target S&peed"));
    speeds->setObjectName(QStringLiteral("menuTargetSpeed"));
    auto *speedGroup = new QActionGroup(this);
    const QString names[] = {tr("&0 Slowest"), tr("&1 Slow"), tr("&2 Fast"), tr("&3 Fastest")};
    for (int speed = 0; speed <= 3; ++speed) {
        QAction *action = menus.add(speeds, QStringLiteral("actionTargetSpeed%1").arg(speed),
            names[speed], QKeySequence(Qt::Key_0 + speed));
        action->setCheckable(true);
        speedGroup->addAction(action);
        mSpeeds.append(action);
        connect(action, &QAction::triggered, this, [this, speed] { mTargets->setSpeed(speed); });
    }

    QAction *order = menus.add(menus.viewMenu(), QStringLiteral("actionViewRaceOrder"),
        tr("&Race Order"));
    order->setCheckable(true);
    mOrderEntry = order;
    connect(order, &QAction::toggled, this, [this](bool shown) {
        if (shown || mDock)
            raceOrderWindow()->setVisible(shown);
    });
}

QDockWidget *AiToolsUi::raceOrderWindow()
{
    // Made when first needed: a floating tool window is a fair part of the start-up.
    if (mDock)
        return mDock;
    mPanel = new RaceOrderPanel(mClient->document());
    mDock = new QDockWidget(tr("Race Order"), mWindow);
    mDock->setObjectName(QStringLiteral("raceOrderWindow"));
    // Floating, as the other tool windows: docked, it would make the fixed window grow.
    mDock->setAllowedAreas(Qt::NoDockWidgetArea);
    mDock->setWidget(mPanel);
    mDock->setFloating(true);
    mDock->resize(420, 360);
    mDock->hide();
    connect(mPanel, &RaceOrderPanel::zoneChosen, mZones, &ZonesTool::select);
    connect(mZones, &ZonesTool::zoneSelected, mPanel, &RaceOrderPanel::setCurrentZone);
    connect(mTargets, &TargetsTool::targetSelected, mPanel, &RaceOrderPanel::setCurrentZone);
    connect(mDock, &QDockWidget::visibilityChanged, mOrderEntry, [this](bool) {
        // Hidden with the window minimised is not closed by the user.
        if (!mWindow->isMinimized())
            mOrderEntry->setChecked(mDock->isVisible());
    });
    // The zone the map has chosen, as if the panel had followed it all along.
    const QString tool = mClient->toolController()->tool();
    const int chosen = tool == ZonesKey ? mZones->selected()
        : tool == TargetsKey             ? mTargets->selected()
                                         : -1;
    if (chosen >= 0)
        mPanel->setCurrentZone(chosen);
    return mDock;
}

RaceOrderPanel *AiToolsUi::raceOrder()
{
    raceOrderWindow();
    return mPanel;
}

void AiToolsUi::deleteRaceOrderWindow()
{
    delete mDock;
    mDock = nullptr;
    mPanel = nullptr;
}

void AiToolsUi::updateEntries()
{
    const QString tool = mClient->toolController()->tool();
    const bool zones = tool == ZonesKey;
    const QString blocked = mClient->document().zones().unreadableReason().isEmpty()
        ? QString() : tr("The AI of this course could not be read from the ROM");
    const QString noZone = tr("Choose a zone first: the AI Zones tool (Z), then click a zone");
    const bool zoneChosen = zones && mZones->selected() >= 0 && blocked.isEmpty();
    for (const char16_t *name : {u"actionChangeZoneShape", u"actionDuplicateZone", u"actionDeleteZone"})
        WindowMenus::setAvailable(mMenus.action(QString::fromUtf16(name)), zoneChosen,
            blocked.isEmpty() ? noZone : blocked);
    // Ctrl+M opens the course overview except while it changes the chosen zone's shape.
    if (QAction *overview = mMenus.action(OverviewEntry))
        overview->setShortcut(zoneChosen ? QKeySequence() : ShapeKeys);

    const int target = tool == TargetsKey && blocked.isEmpty() ? mTargets->selected() : -1;
    const std::vector<rom::Target> &targets = mClient->document().zones().value().targets;
    for (int speed = 0; speed < int(mSpeeds.size()); ++speed) {
        QAction *action = mSpeeds[speed];
        WindowMenus::setAvailable(action, target >= 0,
            tr("Choose a target first: the AI Targets tool (G), then click a target"));
        action->setChecked(target >= 0 && targets[std::size_t(target)].speed == speed);
    }
}

void AiToolsUi::tell(const QString &text)
{
    mWindow->statusBar()->showMessage(text, StatusMessageMs);
    if (mPanel)
        mPanel->tell(text);
}

} // namespace velmor
