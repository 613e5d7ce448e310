#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"
#include "document/map_history.h"
#include "document/race_layers.h"
#include "document/tile_layer.h"
#include "rom/course_layers.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QImage>
#include <QPainter>
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
    void aTrackFileSavesOnlyTheTiles();
    void aReplaceIsOneStepUndoneWhole();
    void aPreviewedDragIsOneStep();
    void loadRaceMarksAnUnreadableLayer();
    void everyCourseLoadsWhole_data();
    void everyCourseLoadsWhole();
    void aCourseReplacedIsOneStep();
    void eachLayerDrawsOnlyWhereItSaysItChanged_data();
    void eachLayerDrawsOnlyWhereItSaysItChanged();
    void theShownLayersNameWhatLiesThere_data();
    void theShownLayersNameWhatLiesThere();
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
    QCOMPARE(document.layers().constFirst(), &document.tiles());
    QCOMPARE(document.layers().constLast(), counter);
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

namespace {

const rom::OverlayItems SomeItems = {{0, 0, 10, 20}, {3, 30, 40, 50}};

} // namespace

void TestCourseDocument::aTrackFileSavesOnlyTheTiles()
{
    CourseDocument document;
    document.history().begin(u"Paint"_s);
    document.map().setCell(5, u"3C"_s, Mark::Painted);
    document.history().end();
    document.items().replace(SomeItems, u"Place Item Box"_s);
    document.setTilesClean();
    // The race's edit is in no file: still unsaved, whatever the stack says.
    QVERIFY(document.undoStack()->isClean());
    QVERIFY(document.isRaceModified());
    QVERIFY(document.isModified());
    document.setClean();
    QVERIFY(!document.isModified());
    // A later track save leaves the race as it was saved whole: a tile edit alone is saved.
    document.history().begin(u"Paint"_s);
    document.map().setCell(6, u"3D"_s, Mark::Painted);
    document.history().end();
    document.setTilesClean();
    QVERIFY(!document.isModified());
    document.undoStack()->undo();
    document.undoStack()->undo();
    QVERIFY(document.isRaceModified());
    document.undoStack()->redo();
    QVERIFY(!document.isRaceModified());
}

namespace {

// The course list's line for a course ID.
CourseChoice choiceOf(int id)
{
    for (const QString &entry : courseListEntries()) {
        const CourseChoice choice = CourseChoice::fromText(entry);
        if (choice.course.id() == id)
            return choice;
    }
    return {};
}

const test::GameRom &raceRom()
{
    static const test::GameRom rom = test::gameRom({.seed = 5, .raceData = true});
    return rom;
}

} // namespace

void TestCourseDocument::aReplaceIsOneStepUndoneWhole()
{
    CourseDocument document;
    QSignalSpy changes(&document.items(), &Layer::changed);
    document.items().replace(SomeItems, u"Move Item Box"_s);
    QCOMPARE(document.undoStack()->count(), 1);
    QCOMPARE(document.undoStack()->undoText(), u"Move Item Box"_s);
    QCOMPARE(document.items().value(), SomeItems);
    // The first item's 2 x 2 tiles and the second's 5 x 5, with a pixel of outline around them.
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.at(0).at(0).toRect(), QRect(QPoint(9, 19), QPoint(45, 55)));
    QCOMPARE(document.items().describeAt(QPointF(10 * 8 + 3, 21 * 8)), u"Item box"_s);
    QCOMPARE(document.items().describeAt(QPointF(42 * 8, 52 * 8)), u"Coins"_s);
    QCOMPARE(document.items().describeAt(QPointF(0, 0)), QString());

    document.undoStack()->undo();
    QVERIFY(document.items().value().empty());
    QVERIFY(!document.isModified());
    // Replacing a value by itself changes nothing, so it is no step.
    document.undoStack()->redo();
    document.items().replace(SomeItems, u"Move Item Box"_s);
    QCOMPARE(document.undoStack()->count(), 1);
}

void TestCourseDocument::aPreviewedDragIsOneStep()
{
    CourseDocument document;
    const rom::RaceStart first {100, 200, 24};
    document.start().replace(first, u"Move Start"_s);
    for (int x = 101; x < 110; ++x)
        document.start().preview(rom::RaceStart {x, 200, 24});
    QVERIFY(document.start().isPreviewing());
    QCOMPARE(document.start().value(), rom::StartGrid(rom::RaceStart {109, 200, 24}));
    QCOMPARE(document.undoStack()->count(), 1);
    document.start().replace(rom::RaceStart {120, 200, 24}, u"Move Start"_s);
    QVERIFY(!document.start().isPreviewing());
    QCOMPARE(document.undoStack()->count(), 2);
    document.undoStack()->undo();
    QCOMPARE(document.start().value(), rom::StartGrid(first));

    // A cancelled drag leaves no step and the value it started from.
    document.start().preview(rom::RaceStart {300, 300, -24});
    document.start().cancelPreview();
    QCOMPARE(document.start().value(), rom::StartGrid(first));
    QCOMPARE(document.undoStack()->index(), 1);
    QCOMPARE(document.start().describeAt(QPointF(124, 224)), u"Kart place 2"_s);
}

void TestCourseDocument::loadRaceMarksAnUnreadableLayer()
{
    CourseDocument document;
    document.items().replace(SomeItems, u"Move Item Box"_s);
    rom::CourseLayers layers = rom::readCourseLayers(*rom::RomImage::open(raceRom().bytes), 0x07);
    const std::string message = "Mario Circuit 1: AI zones at 0x60531: no end mark";
    layers.ai = rom::refused<rom::CourseAi>(message);
    document.loadRace(layers);

    QCOMPARE(document.undoStack()->count(), 0);
    QVERIFY(!document.isModified());
    QCOMPARE(document.items().value(), *layers.items.value);
    QVERIFY(document.items().unreadableReason().isEmpty());
    QCOMPARE(document.zones().unreadableReason(), QString::fromStdString(message));
    // The targets are the zones' AI: unreadable with it.
    QCOMPARE(document.targets().unreadableReason(), QString::fromStdString(message));
    QVERIFY(document.zones().value().zones.empty());
    QVERIFY(!document.courseData().has_value());

    // An edit gives the layer a value it can save; undoing it gives back the reason.
    const rom::CourseAi ai = test::syntheticCourses()[0x07].ai;
    document.zones().replace(ai, u"Replace AI"_s);
    QVERIFY(document.zones().unreadableReason().isEmpty());
    QVERIFY(document.courseData().has_value());
    document.undoStack()->undo();
    QCOMPARE(document.zones().unreadableReason(), QString::fromStdString(message));
}

void TestCourseDocument::everyCourseLoadsWhole_data()
{
    QTest::addColumn<int>("id");
    for (int id = 0; id < rom::CourseCount; ++id)
        QTest::addRow("course 0x%02x", id) << id;
}

void TestCourseDocument::everyCourseLoadsWhole()
{
    QFETCH(int, id);
    const rom::CourseData &expected = test::syntheticCourses()[std::size_t(id)];
    CourseDocument document;
    document.setCourseChoice(choiceOf(id));
    document.map().setAll(tileTexts(test::courseCells(id)), document.map().marks());
    document.loadRace(rom::readCourseLayers(*rom::RomImage::open(raceRom().bytes), id));
    QCOMPARE(document.theme(), expected.theme);
    const std::optional<rom::CourseData> data = document.courseData();
    QVERIFY(data.has_value());
    QVERIFY(*data == expected);
    // Under the first target: the target itself, and the zone the game writes there.
    const rom::Target &target = expected.ai.targets.front();
    const QPointF at(target.x * 8 + 4, target.y * 8 + 4);
    QVERIFY(document.targets().describeAt(at).startsWith(u"target 0, speed "_s));
    const QString zone = document.zones().describeAt(at);
    QVERIFY(zone.isEmpty() || zone.startsWith(u"AI zone "_s));
}

void TestCourseDocument::aCourseReplacedIsOneStep()
{
    CourseDocument document;
    const QStringList freshTexts = document.map().texts();
    const rom::CourseData &course = test::syntheticCourses()[0x03];
    document.setCourseChoice(choiceOf(course.id));
    QSignalSpy theme(&document, &CourseDocument::themeChanged);
    document.replaceCourse(course, u"Import Course"_s);
    QCOMPARE(document.undoStack()->count(), 1);
    QVERIFY(document.courseData() == course);

    document.undoStack()->undo();
    QCOMPARE(document.map().texts(), freshTexts);
    QVERIFY(document.items().value().empty());
    QVERIFY(document.zones().value().zones.empty());
    QCOMPARE(document.theme(), rom::Theme::MarioCircuit);
    document.undoStack()->redo();
    QVERIFY(document.courseData() == course);
    QCOMPARE(theme.size(), course.theme == rom::Theme::MarioCircuit ? 0 : 3);
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

// A course whose every layer holds a little of everything, for the hit tests.
rom::CourseData sampleCourse()
{
    rom::CourseData course = test::syntheticCourses()[0x07];
    course.items = {{0, 0, 10, 10}, {1, 20, 30, 10}, {0, 16, 10, 10}};
    course.objects = rom::ObjectPositions {};
    course.objects->groups[2][1] = {50, 60};
    course.objects->match = {{70, 80, 2}};
    course.start = rom::RaceStart {400, 100, 24};
    course.lap = rom::LapLine {500, 10, 31, 4, 1};
    course.ai.zones = {{rom::ZoneShape::Rectangle, 0, 0, 8, 8}, {rom::ZoneShape::Rectangle, 4, 4, 8, 8}};
    course.ai.targets = {{2, 2, 1}, {14, 14, 3}};
    course.ai.spare.clear();
    return course;
}

void TestCourseDocument::eachLayerDrawsOnlyWhereItSaysItChanged_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("scale");
    for (const char *key : {"items", "objects", "start", "lap", "zones", "targets"}) {
        QTest::addRow("%s, map view", key) << 0x07 << QString::fromLatin1(key) << 2.0;
        QTest::addRow("%s, overview", key) << 0x0D << QString::fromLatin1(key) << 0.5;
    }
    QTest::newRow("battle start") << 0x14 << u"start"_s << 2.0;
    QTest::newRow("battle AI") << 0x16 << u"targets"_s << 2.0;
}

// A view repaints only the cells a change names: everything a layer draws must lie in them, or
// an edit would leave its old picture behind.
void TestCourseDocument::eachLayerDrawsOnlyWhereItSaysItChanged()
{
    QFETCH(int, id);
    QFETCH(QString, key);
    QFETCH(double, scale);
    CourseDocument document;
    QSignalSpy changes(&document, &CourseDocument::layerChanged);
    document.replaceCourse(test::syntheticCourses()[std::size_t(id)], u"Import Course"_s);
    Layer *layer = document.layer(key);
    QRect said;
    for (const QList<QVariant> &change : changes) {
        if (change.at(0).value<Layer *>() == layer)
            said |= change.at(1).toRect();
    }
    const int side = int(CoursePixelSide * scale);
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        layer->draw(painter, LayerCanvas(scale, QPointF(0, 0), QRectF(picture.rect()), nullptr));
    }
    QRect drawn;
    for (int y = 0; y < side; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            if (qAlpha(line[x]) != 0)
                drawn |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(!drawn.isEmpty(), "the layer drew nothing");
    const double tile = CoursePixelsPerTile * scale;
    const QRect drawnCells(QPoint(int(drawn.left() / tile), int(drawn.top() / tile)),
                           QPoint(int(drawn.right() / tile), int(drawn.bottom() / tile)));
    QVERIFY2(said.contains(drawnCells), qPrintable(u"drew on cells %1,%2 to %3,%4 but named %5,%6 to %7,%8"_s
        .arg(drawnCells.left()).arg(drawnCells.top()).arg(drawnCells.right()).arg(drawnCells.bottom())
        .arg(said.left()).arg(said.top()).arg(said.right()).arg(said.bottom())));
}

void TestCourseDocument::theShownLayersNameWhatLiesThere_data()
{
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QString>("named");
    QTest::newRow("a zone and the mark of its target")
        << QPointF(2 * 8 + 4, 2 * 8 + 4) << QStringList() << u"AI zone 0 · target 0, speed 1"_s;
    QTest::newRow("the later of two items, the later zone")
        << QPointF(10 * 8 + 4, 10 * 8 + 4) << QStringList()
        << u"Oil slick · AI zone 1 · target 1, speed 3"_s;
    QTest::newRow("a hidden layer names nothing")
        << QPointF(10 * 8 + 4, 10 * 8 + 4) << QStringList {u"zones"_s, u"targets"_s} << u"Oil slick"_s;
    QTest::newRow("a jump bar") << QPointF(31 * 8, 10 * 8 + 2) << QStringList() << u"Jump bar"_s;
    QTest::newRow("an object of group 2") << QPointF(50 * 8 + 4, 60 * 8 + 4) << QStringList()
                                          << u"Object, group 2"_s;
    QTest::newRow("a match-race object") << QPointF(70 * 8 + 4, 80 * 8 + 4) << QStringList()
                                         << u"Match-race object"_s;
    QTest::newRow("the fourth kart") << QPointF(424, 100 + 3 * 24) << QStringList()
                                     << u"Kart place 4"_s;
    QTest::newRow("the lap line") << QPointF(10 * 16 + 5, 500) << QStringList() << u"Lap line"_s;
    QTest::newRow("nothing") << QPointF(900, 900) << QStringList() << QString();
}

void TestCourseDocument::theShownLayersNameWhatLiesThere()
{
    QFETCH(QPointF, at);
    QFETCH(QStringList, hidden);
    QFETCH(QString, named);
    CourseDocument document;
    document.replaceCourse(sampleCourse(), u"Import Course"_s);
    for (Layer *layer : document.layers())
        layer->setVisible(!hidden.contains(layer->key()));
    QCOMPARE(document.describeRaceAt(at), named);
}

VELMOR_TEST_MAIN(TestCourseDocument)
#include "test_course_document.moc"
