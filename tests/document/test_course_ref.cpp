#include "document/course_ref.h"
#include "rom/course_catalogue.h"
#include "rom/rom_image.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;

class TestCourseRef : public QObject
{
    Q_OBJECT

private slots:
    void listsTheEntriesInOrder_data();
    void listsTheEntriesInOrder();
    void everyCourseLineHasItsOffset();
    void coursesFollowTheGamesCupOrder();
    void offsetsOfNoCourse_data();
    void offsetsOfNoCourse();
    void startsOnMarioCircuit1();
    void courseOffset_data();
    void courseOffset();
};

void TestCourseRef::listsTheEntriesInOrder_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isCourse");

    const struct
    {
        int position;
        const char *text;
        bool isCourse;
    } rows[] = {
        {1, "MUSHROOM CUP", false},
        {2, "68f2c - Mario Circuit 1", true},
        {3, "7a381 - Donut Plains 1", true},
        {4, "6f7bf - Ghost Valley 1", true},
        {5, "7ba25 - Bowser's Castle 1", true},
        {6, "50e45 - Mario Circuit 2", true},
        {7, "FLOWER CUP", false},
        {8, "77451 - Choco Island 1", true},
        {9, "7ea21 - Ghost Valley 2", true},
        {10, "6aa23 - Donut Plains 2", true},
        {11, "7c727 - Bowser's Castle 2", true},
        {12, "68200 - Mario Circuit 3", true},
        {13, "STAR CUP", false},
        {14, "6e3ae - Koopa Beach 1", true},
        {15, "6d1c4 - Choco Island 2", true},
        {16, "3123c - Vanilla Lake 1", true},
        {17, "7d7ff - Bowser's Castle 3", true},
        {18, "6972b - Mario Circuit 4", true},
        {19, "SPECIAL CUP", false},
        {20, "78c6b - Donut Plains 3", true},
        {21, "3d751 - Koopa Beach 2", true},
        {22, "6a445 - Ghost Valley 3", true},
        {23, "6c168 - Vanilla Lake", true},
        {24, "3ecd1 - Rainbow Road", true},
        {25, "BATTLE MODE", false},
        {26, "6f538 - Battle Course 1", true},
        {27, "21965 - Battle Course 2", true},
        {28, "216ee - Battle Course 3", true},
        {29, "7ef3b - Battle Course 4", true},
    };
    for (const auto &row : rows) {
        QTest::addRow("%d", row.position)
            << row.position << QString::fromUtf8(row.text) << row.isCourse;
    }
}

void TestCourseRef::listsTheEntriesInOrder()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(bool, isCourse);

    const QStringList &entries = courseListEntries();
    QCOMPARE(entries.size(), 29);
    QCOMPARE(entries.at(position - 1), text);
    QCOMPARE(CourseChoice::fromText(text).listedOffset.has_value(), isCourse);
}

void TestCourseRef::everyCourseLineHasItsOffset()
{
    int courses = 0;
    for (const QString &entry : courseListEntries()) {
        const std::optional<qint64> offset = CourseChoice::fromText(entry).listedOffset;
        if (!offset)
            continue;
        ++courses;
        // The offset is exactly what the line shows, read as hexadecimal.
        QCOMPARE(QStringLiteral("%1").arg(*offset, 5, 16, QLatin1Char('0')), entry.left(5));
        QCOMPARE(entry.mid(5, 3), QStringLiteral(" - "));
    }
    QCOMPARE(courses, 24);
    QStringList unique = courseListEntries();
    QCOMPARE(unique.removeDuplicates(), 0);
}

void TestCourseRef::coursesFollowTheGamesCupOrder()
{
    // The list's texts are its own ("Bowser's Castle", "Vanilla Lake" without its number); what
    // each line points at must be the catalogue's course, in the order the game offers them.
    QStringList lines;
    for (const QString &entry : courseListEntries()) {
        if (CourseChoice::fromText(entry).listedOffset)
            lines.append(entry);
    }
    const std::vector<const rom::Course *> order = rom::coursesInCupOrder();
    QCOMPARE(lines.size(), qsizetype(order.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const rom::Course &course = *order.at(std::size_t(i));
        QCOMPARE(std::size_t(*CourseChoice::fromText(lines.at(i)).listedOffset),
                 rom::listedOffsetOfGame(course.layoutOffset));
        QCOMPARE(CourseChoice::fromText(lines.at(i)).course.course(), &course);
        QVERIFY(CourseChoice::fromText(lines.at(i)).whyNoCourse().isEmpty());
        const rom::Course *named = rom::courseNamed(lines.at(i).mid(8).toStdString());
        if (lines.at(i) != QStringLiteral("6c168 - Vanilla Lake"))
            QCOMPARE(named, &course);
    }
}

void TestCourseRef::offsetsOfNoCourse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("common tiles") << QStringLiteral("40200")
                                  << QStringLiteral("none of its 24 courses starts at 0x40200");
    QTest::newRow("headerless offset of a course") << QStringLiteral("68d2c - Mario Circuit 1")
                                                   << QStringLiteral("starts at 0x68d2c");
    QTest::newRow("inside the copier header") << QStringLiteral("00100")
                                              << QStringLiteral("starts at 0x100");
    QTest::newRow("header line") << QStringLiteral("STAR CUP")
                                 << QStringLiteral("\"STAR CUP\" is no course line");
}

void TestCourseRef::offsetsOfNoCourse()
{
    QFETCH(QString, text);
    QFETCH(QString, why);
    QVERIFY(!CourseChoice::fromText(text).course.course());
    const QString said = CourseChoice::fromText(text).whyNoCourse();
    QVERIFY2(said.contains(why), qPrintable(said));
}

void TestCourseRef::startsOnMarioCircuit1()
{
    QCOMPARE(initialCourseText(), QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(CourseChoice::fromText(initialCourseText()).listedOffset, qint64(0x68f2c));
}

void TestCourseRef::courseOffset_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("offset"); // -1: refused

    QTest::newRow("vanilla lake") << QStringLiteral("6c168 - Vanilla Lake") << qint64(0x6c168);
    QTest::newRow("vanilla lake 1") << QStringLiteral("3123c - Vanilla Lake 1") << qint64(0x3123c);
    QTest::newRow("typed upper case") << QStringLiteral("7EF3B") << qint64(0x7ef3b);
    QTest::newRow("typed, more text") << QStringLiteral("216ee battle") << qint64(0x216ee);
    QTest::newRow("all digits") << QStringLiteral("68200 - Mario Circuit 3") << qint64(0x68200);
    QTest::newRow("header") << QStringLiteral("MUSHROOM CUP") << qint64(-1);
    QTest::newRow("battle header") << QStringLiteral("BATTLE MODE") << qint64(-1);
    QTest::newRow("empty") << QString() << qint64(-1);
    QTest::newRow("four digits") << QStringLiteral("68f2") << qint64(-1);
    QTest::newRow("prefix") << QStringLiteral("0x68f2c") << qint64(-1);
    QTest::newRow("blank inside") << QStringLiteral("68 2c - x") << qint64(-1);
    QTest::newRow("leading blank") << QStringLiteral(" 68f2c") << qint64(-1);
    QTest::newRow("sign") << QStringLiteral("-68f2") << qint64(-1);
    QTest::newRow("letter g") << QStringLiteral("68g2c") << qint64(-1);
    QTest::newRow("fullwidth digit") << QStringLiteral("6８f2c") << qint64(-1);
    QTest::newRow("arabic-indic digit") << QStringLiteral("6\u0668f2c") << qint64(-1);
}

void TestCourseRef::courseOffset()
{
    QFETCH(QString, text);
    QFETCH(qint64, offset);

    const std::optional<qint64> parsed = CourseChoice::fromText(text).listedOffset;
    if (offset < 0) {
        QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0), 16)));
    } else {
        QVERIFY(parsed);
        QCOMPARE(*parsed, offset);
    }
}

VELMOR_GUILESS_TEST_MAIN(TestCourseRef)
#include "test_course_ref.moc"
