#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "document/map_history.h"
#include "document/tile_layer.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>
#include <QUndoCommand>
#include <QUndoStack>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

// A layer of one number, changed only by undoable steps: what every kind of course data does.
class CounterLayer : public Layer
{
public:
    CounterLayer()
        : Layer(u"counter"_s, u"Counter"_s)
    { }
    int value = 0;

    void set(int to)
    {
        struct Step : QUndoCommand
        {
            Step(CounterLayer &layer, int to)
                : QUndoCommand(u"Count"_s)
                , layer(layer)
                , from(layer.value)
                , to(to)
            { }
            void redo() override { layer.apply(to); }
            void undo() override { layer.apply(from); }
            CounterLayer &layer;
            int from;
            int to;
        };
        push(new Step(*this, to));
    }
    void draw(QPainter &, const LayerCanvas &) const override { }

private:
    void apply(int to)
    {
        value = to;
        emit changed(QRect(to, 0, 1, 1));
    }
};

} // namespace

// The course being edited as one thing: its layers, one stack for all of their edits, the course
// it is for and the ROM it came from.
class TestCourseDocument : public QObject
{
    Q_OBJECT

private slots:
    void everyLayersEditsShareOneStack();
    void theCourseChangesOnlyWithAnotherCourse_data();
    void theCourseChangesOnlyWithAnotherCourse();
    void theHitTestKeepsTheDescribedOverlap_data();
    void theHitTestKeepsTheDescribedOverlap();
};

void TestCourseDocument::everyLayersEditsShareOneStack()
{
    CourseDocument document;
    auto *counter = new CounterLayer;
    QSignalSpy changes(&document, &CourseDocument::layerChanged);
    document.addLayer(counter);
    QCOMPARE(document.layers(), (QList<Layer *> {&document.tiles(), counter}));
    QCOMPARE(document.layer(u"counter"_s), counter);
    QVERIFY(!document.isModified());

    document.history().begin(u"Paint"_s);
    document.map().setCell(5, u"3C"_s, Mark::Painted);
    document.history().end();
    counter->set(7);
    QCOMPARE(document.undoStack()->count(), 2);
    QVERIFY(document.isModified());
    // Each layer's change reaches the views through the document, with its cells.
    QCOMPARE(changes.size(), 2);
    QCOMPARE(changes.at(0).at(1).toRect(), QRect(5, 0, 1, 1));
    QCOMPARE(changes.at(1).at(0).value<Layer *>(), counter);

    document.setClean();
    document.undoStack()->undo();
    QCOMPARE(counter->value, 0);
    QVERIFY(document.isModified());
    document.undoStack()->undo();
    QCOMPARE(document.map().text(5), CourseMap::freshText());
    document.undoStack()->redo();
    document.undoStack()->redo();
    QVERIFY(!document.isModified());
    QCOMPARE(document.tiles().describeAt(QPointF(5 * 8 + 3, 2)), u"tile 3C"_s);
}

void TestCourseDocument::theCourseChangesOnlyWithAnotherCourse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("id"); // -1: no course
    QTest::addColumn<bool>("changed");
    QTest::newRow("the same course, typed in capitals") << u"68F2C - x"_s << 0x07 << false;
    QTest::newRow("another course") << u"7a381 - Donut Plains 1"_s << 0x13 << true;
    QTest::newRow("a heading") << u"STAR CUP"_s << -1 << true;
    QTest::newRow("half typed") << u"68f2"_s << -1 << true;
}

void TestCourseDocument::theCourseChangesOnlyWithAnotherCourse()
{
    QFETCH(QString, text);
    QFETCH(int, id);
    QFETCH(bool, changed);
    CourseDocument document;
    QCOMPARE(document.course().id(), 0x07);
    QSignalSpy course(&document, &CourseDocument::courseChanged);
    QSignalSpy choice(&document, &CourseDocument::courseChoiceChanged);
    document.setCourseChoice(CourseChoice::fromText(text));
    QCOMPARE(document.course().id(), id);
    QCOMPARE(document.course().isValid(), id >= 0);
    QCOMPARE(course.size(), changed ? 1 : 0);
    QCOMPARE(choice.size(), 1);
}

void TestCourseDocument::theHitTestKeepsTheDescribedOverlap_data()
{
    QTest::addColumn<QPointF>("coursePixel");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("inside") << QPointF(12.5, 3) << QPoint(1, 0);
    QTest::newRow("a shared border goes to the lower neighbour") << QPointF(16, 16) << QPoint(2, 2);
    QTest::newRow("past the last column's pitch, in its overlap") << QPointF(1024.3, 5)
                                                                 << QPoint(127, 0);
    QTest::newRow("past the overlap") << QPointF(1024.5, 5) << QPoint(128, 0);
    QTest::newRow("left of the map") << QPointF(-0.1, 5) << QPoint(-1, 0);
}

void TestCourseDocument::theHitTestKeepsTheDescribedOverlap()
{
    QFETCH(QPointF, coursePixel);
    QFETCH(QPoint, cell);
    QCOMPARE(cellAt(coursePixel), cell);
}

VELMOR_GUILESS_TEST_MAIN(TestCourseDocument)
#include "test_course_document.moc"
