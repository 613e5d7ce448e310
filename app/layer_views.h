#pragma once

#include <QObject>

class QCheckBox;
class QDockWidget;
class QMainWindow;
class QMenu;

namespace velmor {

class CourseDocument;
class Layer;
class WindowMenus;

// What the race adds to the map, shown or hidden: View ▸ Layers with one checkable entry a layer
// ("actionLayerItems") and the Layers tool window with a check box a layer ("layerCheckItems").
// Both only call Layer::setVisible and follow what the layer says, so they always agree with each
// other and with the views. An unreadable layer says why in its entry's and box's tip.
class LayerViews : public QObject
{
    Q_OBJECT

public:
    LayerViews(QMainWindow *window, CourseDocument &document, WindowMenus &menus,
               QObject *parent = nullptr);

    QMenu *layersMenu() const { return mMenu; }
    // Made on first use.
    QDockWidget *layersWindow();
    // For the window's end: the tool window looks at the layers, so it goes before them.
    void deleteToolWindow();

private:
    void addLayer(Layer *layer);
    void addBox(Layer *layer);
    void showState(Layer *layer);

    QMainWindow *mWindow;
    CourseDocument &mDocument;
    WindowMenus &mMenus;
    QMenu *mMenu;
    QDockWidget *mDock = nullptr;
};

} // namespace velmor
