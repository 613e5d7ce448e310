#include "course/track_file.h"
#include "editor/cell_block.h"
#include "document/map_geometry.h"
#include "document/tile_text.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

CellBlock block(int columns, int rows, const QString &spaced)
{
    return CellBlock(columns, rows, spaced.split(u' '));
}

} // namespace

// Blocks of cells as clipboard text, both ways.
class TestCellBlock : public QObject
{
    Q_OBJECT

private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void toleratedText_data();
    void toleratedText();
    void refusedText_data();
    void refusedText();
    void tileNumberRuleIsTheTrackEncoders();
};

void TestCellBlock::textRoundTrip_data()
{
    QTest::addColumn<CellBlock>("block");
    QTest::addColumn<QString>("text");
    QTest::newRow("one cell") << block(1, 1, u"7F"_s) << u"7F"_s;
    QTest::newRow("two rows") << block(3, 2, u"01 02 03 04 05 06"_s) << u"01 02 03\n04 05 06"_s;
    QTest::newRow("case kept") << block(2, 1, u"0a 0A"_s) << u"0a 0A"_s;
    QTest::newRow("one column") << block(1, 3, u"A1 B2 C3"_s) << u"A1\nB2\nC3"_s;
}

void TestCellBlock::textRoundTrip()
{
    QFETCH(CellBlock, block);
    QFETCH(QString, text);
    QCOMPARE(block.toText(), text);
    const ParsedBlock parsed = CellBlock::fromText(text);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(parsed.block, block);
}

void TestCellBlock::toleratedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << u"01 02\r\n03 04\r\n"_s;
    QTest::newRow("trailing blanks, final newlines") << u"01 02  \n03 04 \n\n"_s;
    QTest::newRow("tabs and runs of blanks") << u"\t01\t02\n 03    04"_s;
}

void TestCellBlock::toleratedText()
{
    QFETCH(QString, text);
    const ParsedBlock parsed = CellBlock::fromText(text);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(parsed.block, block(2, 2, u"01 02 03 04"_s));
}

void TestCellBlock::refusedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("empty") << QString() << 0 << 0;
    QTest::newRow("blanks only") << u" \n\t\n"_s << 0 << 0;
    QTest::newRow("row too short") << u"01 02\n03"_s << 2 << 2;
    QTest::newRow("row too long") << u"01\n02 03"_s << 2 << 2;
    QTest::newRow("empty row between") << u"01 02\n\n03 04"_s << 2 << 1;
    QTest::newRow("not hexadecimal") << u"01 0G"_s << 1 << 2;
    QTest::newRow("one digit") << u"01 02\n03 4"_s << 2 << 2;
    QTest::newRow("three digits") << u"123"_s << 1 << 1;
    QTest::newRow("commas") << u"01,02"_s << 1 << 1;
    QTest::newRow("129 columns") << QString(u"01 "_s.repeated(129)) << 1 << MapSide + 1;
    QTest::newRow("129 rows") << QString(u"01\n"_s.repeated(129)) << MapSide + 1 << 1;
}

void TestCellBlock::refusedText()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    const ParsedBlock parsed = CellBlock::fromText(text);
    QVERIFY(!parsed.ok());
    QVERIFY(parsed.block.isEmpty());
    QCOMPARE(parsed.errorRow, row);
    QCOMPARE(parsed.errorColumn, column);
    QVERIFY(!parsed.error.isEmpty());
    if (row > 0) {
        const QString place = u"Row %1, column %2"_s.arg(row).arg(column);
        QVERIFY2(parsed.error.startsWith(place), qPrintable(parsed.error));
    }
}

void TestCellBlock::tileNumberRuleIsTheTrackEncoders()
{
    const QString characters = u"09afAFgG/:@` x"_s;
    QStringList candidates {QString(), u"0"_s, u"000"_s, u"0A "_s};
    for (QChar a : characters) {
        for (QChar b : characters)
            candidates.append(QString(a) + b);
    }
    for (const QString &text : std::as_const(candidates))
        QVERIFY2(isTileNumber(text) == track::isTileText(text), qPrintable(text));
}

VELMOR_GUILESS_TEST_MAIN(TestCellBlock)
#include "test_cell_block.moc"
