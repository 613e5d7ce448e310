#include "document/course_map.h"
#include "editor/painting.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmor;

Q_DECLARE_METATYPE(velmor::Mark)

namespace {

const Palettes palettesAB{QStringLiteral("A0"), QStringLiteral("B1")};

} // namespace

// The press and move rules, "Clear Color" and "Texture Filler" on the course map.
class TestPaintingRules : public QObject
{
    Q_OBJECT

private slots:
    void freshMap();
    void press_data();
    void press();
    void pressOnEqualTextRenewsTheMark();
    void move_data();
    void move();
    void moveOverEqualTextKeepsMark();
    void middleMoveErasesEachTime();
    void typedTextIsWrittenAsItStands();
    void clearColorKeepsTexts();
    void textureFillerKeepsMarks();
    void changesAreAnnouncedByRegion();
};

void TestPaintingRules::freshMap()
{
    CourseMap map;
    QCOMPARE(map.texts().size(), CellCount);
    for (int i = 0; i < CellCount; ++i) {
        QCOMPARE(map.text(i), QStringLiteral("01"));
        QCOMPARE(map.mark(i), Mark::Untouched);
    }
}

void TestPaintingRules::press_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Mark>("mark");
    QTest::newRow("left") << int(LeftButton) << QStringLiteral("A0") << Mark::Painted;
    QTest::newRow("right") << int(RightButton) << QStringLiteral("B1") << Mark::Painted;
    QTest::newRow("middle") << int(MiddleButton) << QStringLiteral("01") << Mark::Erased;
}

void TestPaintingRules::press()
{
    QFETCH(int, button);
    CourseMap map;
    map.setCell(647, QStringLiteral("7F"), Mark::Untouched);
    TilePainter painter(map);
    painter.press(647, button, palettesAB);
    QTEST(map.text(647), "text");
    QTEST(map.mark(647), "mark");
    // Neighbours untouched.
    QCOMPARE(map.cell(646), (Cell{QStringLiteral("01"), Mark::Untouched}));
    QCOMPARE(map.cell(648), (Cell{QStringLiteral("01"), Mark::Untouched}));
}

void TestPaintingRules::pressOnEqualTextRenewsTheMark()
{
    CourseMap map;
    map.setCell(5, QStringLiteral("B1"), Mark::Untouched);
    TilePainter painter(map);
    painter.press(5, RightButton, palettesAB);
    QCOMPARE(map.cell(5), (Cell{QStringLiteral("B1"), Mark::Painted}));
}

void TestPaintingRules::move_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Mark>("mark");
    QTest::newRow("none") << 0 << QStringLiteral("7F") << Mark::Untouched;
    QTest::newRow("left") << 1 << QStringLiteral("A0") << Mark::Painted;
    QTest::newRow("right") << 2 << QStringLiteral("B1") << Mark::Painted;
    QTest::newRow("left+right") << 3 << QStringLiteral("7F") << Mark::Untouched;
    QTest::newRow("middle") << 4 << QStringLiteral("01") << Mark::Erased;
    QTest::newRow("left+middle") << 5 << QStringLiteral("7F") << Mark::Untouched;
    QTest::newRow("right+middle") << 6 << QStringLiteral("7F") << Mark::Untouched;
    QTest::newRow("all three") << 7 << QStringLiteral("7F") << Mark::Untouched;
}

void TestPaintingRules::move()
{
    QFETCH(int, buttons);
    CourseMap map;
    map.setCell(100, QStringLiteral("7F"), Mark::Untouched);
    TilePainter painter(map);
    painter.move(100, buttons, palettesAB);
    QTEST(map.text(100), "text");
    QTEST(map.mark(100), "mark");
}

void TestPaintingRules::moveOverEqualTextKeepsMark()
{
    CourseMap map;
    map.setCell(9, QStringLiteral("A0"), Mark::Erased);
    map.setCell(10, QStringLiteral("B1"), Mark::Untouched);
    TilePainter painter(map);
    painter.move(9, LeftButton, palettesAB);
    painter.move(10, RightButton, palettesAB);
    QCOMPARE(map.cell(9), (Cell{QStringLiteral("A0"), Mark::Erased}));
    QCOMPARE(map.cell(10), (Cell{QStringLiteral("B1"), Mark::Untouched}));
    // The comparison is exact: a different case is a different text.
    painter.move(9, LeftButton, {QStringLiteral("a0"), QString()});
    QCOMPARE(map.cell(9), (Cell{QStringLiteral("a0"), Mark::Painted}));
}

void TestPaintingRules::middleMoveErasesEachTime()
{
    CourseMap map;
    TilePainter painter(map);
    // A fresh cell already shows "01": a middle move still marks it erased.
    painter.move(0, MiddleButton, palettesAB);
    QCOMPARE(map.cell(0), (Cell{QStringLiteral("01"), Mark::Erased}));
    map.setCell(1, QStringLiteral("C3"), Mark::Painted);
    painter.move(1, MiddleButton, palettesAB);
    QCOMPARE(map.cell(1), (Cell{QStringLiteral("01"), Mark::Erased}));
}

void TestPaintingRules::typedTextIsWrittenAsItStands()
{
    CourseMap map;
    TilePainter painter(map);
    painter.press(3, LeftButton, {QStringLiteral("e"), QString()});
    QCOMPARE(map.text(3), QStringLiteral("e"));
    painter.press(4, RightButton, {QString(), QStringLiteral(" 1x ")});
    QCOMPARE(map.text(4), QStringLiteral(" 1x "));
    painter.press(5, LeftButton, {QString(), QString()});
    QCOMPARE(map.text(5), QString());
}

void TestPaintingRules::clearColorKeepsTexts()
{
    CourseMap map;
    TilePainter painter(map);
    painter.press(0, LeftButton, palettesAB);
    painter.press(16383, MiddleButton, palettesAB);
    painter.press(700, RightButton, palettesAB);
    const QStringList texts = map.texts();
    painter.clearColor();
    QCOMPARE(map.texts(), texts);
    for (int i = 0; i < CellCount; ++i)
        QCOMPARE(map.mark(i), Mark::Untouched);
}

void TestPaintingRules::textureFillerKeepsMarks()
{
    CourseMap map;
    TilePainter painter(map);
    painter.press(1, LeftButton, palettesAB);
    painter.press(2, MiddleButton, palettesAB);
    const QList<Mark> marks = map.marks();
    painter.textureFiller(QStringLiteral("00"));
    QCOMPARE(map.marks(), marks);
    for (int i = 0; i < CellCount; ++i)
        QCOMPARE(map.text(i), QStringLiteral("00"));
}

void TestPaintingRules::changesAreAnnouncedByRegion()
{
    CourseMap map;
    TilePainter painter(map);
    QSignalSpy spy(&map, &CourseMap::cellsChanged);
    painter.press(647, LeftButton, palettesAB);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toRect(), QRect(7, 5, 1, 1));
    // Skipped cells announce nothing, so nothing is repainted.
    painter.move(647, LeftButton, palettesAB);
    QCOMPARE(spy.size(), 1);
    painter.clearColor();
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(1).at(0).toRect(), QRect(0, 0, 128, 128));
}

VELMOR_GUILESS_TEST_MAIN(TestPaintingRules)
#include "test_painting_rules.moc"
