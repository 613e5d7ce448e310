#include "course/slot_budget.h"
#include "document/map_geometry.h"
#include "rom/course_catalogue.h"
#include "rom/rom_map.h"
#include "rom/rom_streams.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const codec::Bytes &bytes)
{
    return test::toQByteArray(bytes);
}

const rom::Course &marioCircuit1()
{
    return *rom::courseById(0x07);
}

} // namespace

// The slot budget: the size insertion would write, the room it is measured against, its words,
// and that measuring off the UI thread delivers the newest map.
class TestSlotBudget : public QObject
{
    Q_OBJECT

private slots:
    void sizeIsWhatInsertionWrites_data();
    void sizeIsWhatInsertionWrites();
    void words_data();
    void words();
    void roomInTheRom();
    void newestMapWins();
};

void TestSlotBudget::sizeIsWhatInsertionWrites_data()
{
    QTest::addColumn<int>("seed");
    for (int seed : {1, 2, 3, 4})
        QTest::addRow("course-like map %d", seed) << seed;
}

void TestSlotBudget::sizeIsWhatInsertionWrites()
{
    QFETCH(int, seed);
    const codec::Bytes cells = test::courseLikeCells(unsigned(seed));
    const test::GameRom built = test::gameRom({unsigned(seed), true, test::BankForm::Whole});
    const rom::InsertOutcome inserted = rom::insertIntoRom(
        built.bytes, test::trackStream(cells), built.fileOffset(marioCircuit1().layoutOffset));
    QVERIFY2(inserted.ok, inserted.message.c_str());
    const Budget budget = measureBudget(
        tileTexts(cells), &marioCircuit1(), courseCapacity(marioCircuit1(), bytesOf(built.bytes)));
    QCOMPARE(budget.bytes, inserted.written);
    QCOMPARE(budget.capacity, inserted.slot.capacity);
    QVERIFY(budget.fits());
}

void TestSlotBudget::words_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QString>("text");
    QTest::newRow("fits") << int(Budget::State::Fits) << 1545 << 2047
                          << u"Mario Circuit 1: 1,545 of 2,047 bytes"_s;
    QTest::newRow("too big") << int(Budget::State::TooBig) << 2100 << 2047
                             << u"Mario Circuit 1: 2,100 of 2,047 bytes, 53 too many"_s;
    QTest::newRow("no course") << int(Budget::State::NoCourse) << 0 << 0 << u"No course chosen"_s;
}

void TestSlotBudget::words()
{
    QFETCH(int, state);
    QFETCH(int, bytes);
    QFETCH(int, capacity);
    QFETCH(QString, text);
    Budget budget;
    budget.state = Budget::State(state);
    budget.bytes = std::size_t(bytes);
    budget.capacity = std::size_t(capacity);
    budget.courseName = u"Mario Circuit 1"_s;
    QCOMPARE(budget.text(), text);

    // A cell that holds no tile number is named as export names it, from 1.
    QStringList texts(CellCount, u"01"_s);
    texts[cellIndex(4, 9)] = u""_s;
    const Budget bad = measureBudget(texts, &marioCircuit1(), 2047);
    QCOMPARE(bad.state, Budget::State::BadCell);
    QCOMPARE(
        bad.text(), u"Mario Circuit 1: the cell at row 5, column 10 is empty, no tile number"_s);
}

void TestSlotBudget::roomInTheRom()
{
    const rom::Course &course = marioCircuit1();
    QCOMPARE(courseCapacity(course, QByteArray()), course.slotLength);
    QCOMPARE(courseCapacity(course, QByteArray(1000, 'x')), course.slotLength);
    for (const bool header : {true, false}) {
        test::GameRom built = test::gameRom({7, header, test::BankForm::Whole});
        QCOMPARE(courseCapacity(course, bytesOf(built.bytes)), course.slotLength);
        // Sent elsewhere by another tool: the course lives there now, with only the room of the
        // stream it finds there.
        const codec::Bytes elsewhere = codec::compress(test::trackStream(codec::Bytes(16384, 0x02)));
        std::copy(elsewhere.begin(), elsewhere.end(),
            built.bytes.begin() + std::ptrdiff_t(built.fileOffset(0x1000)));
        built.writePointer(
            rom::map::CourseLayoutPointers + 3 * 0x07, 0x1000, test::BankForm::Whole);
        QCOMPARE(courseCapacity(course, bytesOf(built.bytes)), elsewhere.size());
    }
}

void TestSlotBudget::newestMapWins()
{
    SlotBudget budget;
    QStringList current = tileTexts(test::courseLikeCells(1));
    int taken = 0;
    budget.setMapSource([&] {
        ++taken;
        return current;
    });
    QSignalSpy delivered(&budget, &SlotBudget::budgetChanged);
    budget.setCourse(&marioCircuit1(), 2047);
    // Five changes while the first measuring runs: they wait as one.
    for (unsigned seed = 2; seed <= 6; ++seed) {
        current = tileTexts(test::courseLikeCells(seed));
        budget.mapChanged();
    }
    while (budget.isMeasuring() || delivered.size() < 2) {
        QVERIFY2(delivered.wait(10000), "the budget was not delivered within 10 s");
    }
    QCOMPARE(taken, 2);
    QCOMPARE(delivered.size(), 2);
    const Budget last = delivered.last().at(0).value<Budget>();
    QCOMPARE(last.bytes, *compressedSize(current));
    QCOMPARE(budget.budget().bytes, last.bytes);
}

VELMOR_TEST_MAIN(TestSlotBudget)
#include "test_slot_budget.moc"
