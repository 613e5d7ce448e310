#pragma once

#include "app/load_sequence.h"
#include "document/course_document.h"
#include "editor/painting.h"

#include <QList>
#include <QWidget>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace velmor {

class CourseActions;
class MapScroller;
class MapView;
class ToolController;
class Splash;
struct Services;

// The one window, `velmor`: it creates every control at its place with its looks, runs the load
// sequence and wires the controls' events to the course document, the tools and the procedures.
// `CourseList`'s text is read into the document as the course it names, in one place.
// Controls carry their product names as object names; arrays are named "gridpos(3)", "gridpos2(31)".
class ClientWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ClientWindow(Services &services, QWidget *parent = nullptr);
    ~ClientWindow() override;

    // The load sequence, run once before the window is first shown.
    void load();

    Services &services() { return mServices; }
    CourseActions &actions() const { return *mActions; }
    const StartupState &startup() const { return mStartup.state(); }
    CourseDocument &document() { return mDocument; }
    CourseMap &courseMap() { return mDocument.map(); }
    TilePainter &tilePainter() { return mPainter; }
    // The palettes' current texts, as a paint operation reads them.
    Palettes palettes() const;

    MapView *mapView() const { return mMapView; }
    // The drawing tools the map view hands its input to first.
    ToolController *toolController() const { return mTools; }
    MapScroller *scroller() const { return mScroller; }
    Splash *splash() const { return mSplash; }
    QFrame *viewport() const { return mViewport; }
    QScrollBar *horizontalScrollBar() const { return mHScroll; }
    QScrollBar *verticalScrollBar() const { return mVScroll; }
    QComboBox *pickTile() const { return mPickTile; }
    QComboBox *pickTile2() const { return mPickTile2; }
    QComboBox *courseList() const { return mCourseList; }
    QPushButton *saveCourseButton() const { return mSaveCourse; }
    QPushButton *fromFileButton() const { return mFromFile; }
    QPushButton *fromVelmorButton() const { return mFromVelmor; }
    QPushButton *command2Button() const { return mCommand2; }
    QPushButton *clearColorButton() const { return mCommand1; }
    QPushButton *textureFillerButton() const { return mTextureFiller; }
    const QList<QLabel *> &columnRuler() const { return mColumnRuler; }
    // The window's own keys, which the menus show too.
    QAction *saveAction() const { return mSaveAction; }
    QAction *openAction() const { return mOpenAction; }
    QAction *undoAction() const { return mUndoAction; }
    QAction *redoAction() const { return mRedoAction; }
    // Whether the start-up left the insertion controls enabled.
    bool insertionEnabled() const;
    const QList<QLabel *> &rowRuler() const { return mRowRuler; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createLabels();
    void createControls();
    void stackControls();
    void wireControls();
    void addShortcuts();

    // Load steps, in the order load() runs them.
    void runFirstRunOrReadConfiguration();
    void checkConfiguration();
    void setUpGrid();
    void fillPalettes();
    void fillCourseList();

    Services &mServices;
    CourseDocument mDocument;
    TilePainter mPainter{mDocument.map()};
    LoadSequence mStartup;
    CourseActions *mActions = nullptr;

    QList<QLabel *> mLabels; // in front-to-back order
    QList<QWidget *> mOtherControls; // in front-to-back order
    QList<QLabel *> mColumnRuler;
    QList<QLabel *> mRowRuler;
    QFrame *mViewport = nullptr;
    MapView *mMapView = nullptr;
    ToolController *mTools = nullptr;
    MapScroller *mScroller = nullptr;
    Splash *mSplash = nullptr;
    QScrollBar *mHScroll = nullptr;
    QScrollBar *mVScroll = nullptr;
    QComboBox *mPickTile = nullptr;
    QComboBox *mPickTile2 = nullptr;
    QComboBox *mCourseList = nullptr;
    QPushButton *mSaveCourse = nullptr;
    QPushButton *mFromFile = nullptr;
    QPushButton *mFromVelmor = nullptr;
    QPushButton *mCommand2 = nullptr;
    QPushButton *mCommand1 = nullptr;
    QPushButton *mTextureFiller = nullptr;
    QAction *mSaveAction = nullptr;
    QAction *mOpenAction = nullptr;
    QAction *mUndoAction = nullptr;
    QAction *mRedoAction = nullptr;
};

} // namespace velmor
