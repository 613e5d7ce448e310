#include "app/layer_views.h"

#include "app/window_menus.h"
#include "document/course_document.h"
#include "document/layer.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velmor {

namespace {

// "items" → "Items": the part of an object name that follows "actionLayer" or "layerCheck".
QString nameOf(const Layer *layer)
{
    QString key = layer->key();
    key[0] = key[0].toUpper();
    return key;
}

QString shownTitle(const Layer *layer)
{
    return layer->unreadableReason().isEmpty() ? layer->title()
                                               : LayerViews::tr("%1 (unreadable)").arg(layer->title());
}

} // namespace

LayerViews::LayerViews(QMainWindow *window, CourseDocument &document, WindowMenus &menus,
                       QObject *parent)
    : QObject(parent)
    , mWindow(window)
    , mDocument(document)
    , mMenus(menus)
    , mMenu(menus.viewMenu()->addMenu(tr("&Layers")))
{
    mMenu->setObjectName(QStringLiteral("menuLayers"));
    QAction *panel = menus.add(menus.viewMenu(), QStringLiteral("actionViewLayers"),
                               tr("Layers &Window"), QKeySequence(Qt::CTRL | Qt::Key_L));
    panel->setCheckable(true);
    connect(panel, &QAction::toggled, this, [this](bool shown) { layersWindow()->setVisible(shown); });
    // The tiles are the map itself: only what lies over them is switched.
    for (Layer *layer : document.layers()) {
        if (layer != document.layers().constFirst())
            addLayer(layer);
    }
    connect(&document, &CourseDocument::layerAdded, this, &LayerViews::addLayer);
}

void LayerViews::addLayer(Layer *layer)
{
    QAction *action = mMenus.add(mMenu, QStringLiteral("actionLayer") + nameOf(layer), layer->title());
    action->setCheckable(true);
    connect(action, &QAction::toggled, layer, &Layer::setVisible);
    connect(layer, &Layer::visibilityChanged, this, [this, layer] { showState(layer); });
    // Reading a course may make a layer unreadable or readable again; changed() says so.
    connect(layer, &Layer::changed, this, [this, layer] { showState(layer); });
    if (mDock)
        addBox(layer);
    showState(layer);
}

void LayerViews::addBox(Layer *layer)
{
    QWidget *content = mDock->widget();
    auto *column = static_cast<QVBoxLayout *>(content->layout());
    auto *box = new QCheckBox(content);
    box->setObjectName(QStringLiteral("layerCheck") + nameOf(layer));
    connect(box, &QCheckBox::toggled, layer, &Layer::setVisible);
    // Above the stretch that keeps the boxes together at the top.
    column->insertWidget(column->count() - 1, box);
}

void LayerViews::showState(Layer *layer)
{
    const QString reason = layer->unreadableReason();
    if (QAction *action = mMenus.action(QStringLiteral("actionLayer") + nameOf(layer))) {
        const QSignalBlocker quiet(action);
        action->setChecked(layer->isVisible());
        action->setText(shownTitle(layer));
        action->setStatusTip(reason);
        action->setToolTip(reason.isEmpty() ? layer->title() : reason);
    }
    if (!mDock)
        return;
    if (auto *box = mDock->findChild<QCheckBox *>(QStringLiteral("layerCheck") + nameOf(layer))) {
        const QSignalBlocker quiet(box);
        box->setChecked(layer->isVisible());
        box->setText(shownTitle(layer));
        box->setToolTip(reason);
    }
}

QDockWidget *LayerViews::layersWindow()
{
    if (mDock)
        return mDock;
    mDock = new QDockWidget(tr("Layers"), mWindow);
    mDock->setObjectName(QStringLiteral("layersWindow"));
    // Floating only, as the other tool windows: docked, it would make the fixed window grow.
    mDock->setAllowedAreas(Qt::NoDockWidgetArea);
    mDock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                       | QDockWidget::DockWidgetFloatable);
    auto *content = new QWidget(mDock);
    auto *column = new QVBoxLayout(content);
    column->addStretch();
    mDock->setWidget(content);
    for (Layer *layer : mDocument.layers()) {
        if (layer != mDocument.layers().constFirst())
            addBox(layer);
    }
    mDock->setFloating(true);
    mDock->hide();
    // Below the window's left end where the screen has room, else over its lower part; the
    // other tool windows open on its right.
    const QRect frame = mWindow->frameGeometry();
    QRect place(QPoint(frame.left(), frame.bottom() + 8), QSize(200, 230).expandedTo(mDock->sizeHint()));
    if (const QScreen *screen = mWindow->screen())
        place.moveBottom(qMin(place.bottom(), screen->availableGeometry().bottom()));
    mDock->setGeometry(place);
    QAction *panel = mMenus.action(QStringLiteral("actionViewLayers"));
    connect(mDock, &QDockWidget::visibilityChanged, panel, [this, panel] {
        const QSignalBlocker quiet(panel);
        panel->setChecked(mDock && mDock->isVisible());
    });
    for (Layer *layer : mDocument.layers())
        showState(layer);
    return mDock;
}

void LayerViews::deleteToolWindow()
{
    delete mDock;
    mDock = nullptr;
}

} // namespace velmor
