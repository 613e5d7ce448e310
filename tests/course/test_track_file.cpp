#include "course/track_file.h"
#include "tests/course/track_fixtures.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

class TestTrackFile : public QObject
{
    Q_OBJECT

private slots:
    void encodedBytes_data();
    void encodedBytes();
    void hexTextKeepsTilesAsTyped();
    void toBytes_data();
    void toBytes();
    void firstBadCell_data();
    void firstBadCell();
    void decode_data();
    void decode();
    void roundTripOverRandomMaps();
    void randomBytesStayInBounds();
};

void TestTrackFile::encodedBytes_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("size"); // -1: not fixed by the case

    const QByteArray end = bytes({0xFF});
    const QByteArray fill01 = bytes({0x3F, 0x01});

    QTest::newRow("fresh map") << mapWith(QStringLiteral("01")) << repeated(fill01, 512) + end
                               << end << 1025;

    QStringList pattern;
    for (int i = 0; i < CellCount; ++i)
        pattern.append(i % 3 == 0 ? QStringLiteral("05") : QStringLiteral("07"));
    QTest::newRow("one tile and two equal others, repeated")
        << pattern << repeated(bytes({0x00, 0x05, 0x21, 0x07}), 5461)
        << bytes({0x21, 0x07, 0x00, 0x05, 0xFF}) << 21847;

    QTest::newRow("cell 0 differs")
        << mapWith(QStringLiteral("01"), {{0, QStringLiteral("02")}})
        << bytes({0x00, 0x02}) + repeated(fill01, 511) + bytes({0x3E, 0x01, 0xFF}) << end << 1027;

    QTest::newRow("cell 5 differs")
        << mapWith(QStringLiteral("01"), {{5, QStringLiteral("03")}})
        << bytes({0x24, 0x01, 0x00, 0x03}) + repeated(fill01, 511) + bytes({0x39, 0x01, 0xFF})
        << end << 1029;

    QStringList run17 = mapWith(QStringLiteral("01"));
    QStringList run33 = run17;
    for (int i = 0; i < 33; ++i) {
        if (i < 17)
            run17[i] = QStringLiteral("07");
        run33[i] = QStringLiteral("07");
    }
    QTest::newRow("run of 17") << run17 << bytes({0x30, 0x07, 0x3F, 0x01}) << end << -1;
    QTest::newRow("run of 33") << run33 << bytes({0x3F, 0x07, 0x20, 0x07, 0x3F, 0x01}) << end << -1;

    QStringList distinct16 = mapWith(QStringLiteral("01"));
    QStringList distinct20 = distinct16;
    QByteArray head16 = bytes({0x0F});
    for (int i = 0; i < 20; ++i) {
        const QString text = QString::number(0x10 + i, 16).toUpper();
        if (i < 16) {
            distinct16[i] = text;
            head16.append(char(0x10 + i));
        }
        distinct20[i] = text;
    }
    QTest::newRow("16-cell copy group") << distinct16 << head16 + fill01 << end << -1;
    QTest::newRow("20 cells: 16 and 4")
        << distinct20 << head16 + bytes({0x03, 0x20, 0x21, 0x22, 0x23, 0x3F, 0x01}) << end << -1;

    QTest::newRow("last two differ")
        << mapWith(QStringLiteral("01"),
               {{CellCount - 2, QStringLiteral("05")}, {CellCount - 1, QStringLiteral("06")}})
        << fill01 << bytes({0x3D, 0x01, 0x00, 0x05, 0x00, 0x06, 0xFF}) << -1;
    QTest::newRow("last three differ")
        << mapWith(QStringLiteral("01"),
               {{CellCount - 3, QStringLiteral("04")}, {CellCount - 2, QStringLiteral("05")},
                   {CellCount - 1, QStringLiteral("06")}})
        << fill01 << bytes({0x3C, 0x01, 0x01, 0x04, 0x05, 0x00, 0x06, 0xFF}) << -1;

    QTest::newRow("0a and 0A are different tiles")
        << mapWith(QStringLiteral("01"), {{0, QStringLiteral("0a")}, {1, QStringLiteral("0A")}})
        << bytes({0x01, 0x0A, 0x0A, 0x3F, 0x01}) << end << -1;

    QTest::newRow("single cell between fills")
        << mapWith(QStringLiteral("01"), {{64, QStringLiteral("09")}})
        << repeated(fill01, 2) + bytes({0x00, 0x09, 0x3F, 0x01}) << end << -1;
}

void TestTrackFile::encodedBytes()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);
    QFETCH(int, size);

    const std::optional<QByteArray> file = track::toBytes(track::encode(cells));
    QVERIFY(file.has_value());
    if (size >= 0)
        QCOMPARE(file->size(), size);
    QCOMPARE(file->left(head.size()), head);
    QCOMPARE(file->right(tail.size()), tail);
    // The end marker is the last byte: no line break follows it.
    QCOMPARE(quint8(file->back()), quint8(0xFF));
}

void TestTrackFile::hexTextKeepsTilesAsTyped()
{
    const QString fresh = track::encode(mapWith(QStringLiteral("01")));
    QCOMPARE(fresh, QStringLiteral("3f01").repeated(512) + QStringLiteral("FF"));

    // Command digits are lower case; tiles go in exactly as the cells show them.
    const QString mixed = track::encode(
        mapWith(QStringLiteral("ab"), {{0, QStringLiteral("Cd")}, {1, QStringLiteral("cD")}}));
    QVERIFY(mixed.startsWith(QStringLiteral("01CdcD3fab")));
    QVERIFY(mixed.endsWith(QStringLiteral("3dabFF")));
}

void TestTrackFile::toBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty") << QString() << true << QByteArray();
    QTest::newRow("mixed case") << QStringLiteral("3f0aFFcD") << true
                                << bytes({0x3F, 0x0A, 0xFF, 0xCD});
    QTest::newRow("odd length") << QStringLiteral("3f0") << false << QByteArray();
    QTest::newRow("not a digit") << QStringLiteral("3g") << false << QByteArray();
    QTest::newRow("blank") << QStringLiteral("0 ") << false << QByteArray();
}

void TestTrackFile::toBytes()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QByteArray, expected);

    const std::optional<QByteArray> result = track::toBytes(text);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, expected);
}

void TestTrackFile::firstBadCell_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("index"); // -1: none
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    const QString fresh = QStringLiteral("01");
    QTest::newRow("all good, mixed case")
        << mapWith(fresh, {{3, QStringLiteral("aF")}, {9, QStringLiteral("FF")}}) << -1 << 0 << 0;
    QTest::newRow("one digit") << mapWith(fresh, {{130, QStringLiteral("a")}}) << 130 << 2 << 3;
    QTest::newRow("not hexadecimal") << mapWith(fresh, {{0, QStringLiteral("G1")}}) << 0 << 1 << 1;
    QTest::newRow("empty, last cell")
        << mapWith(fresh, {{CellCount - 1, QString()}}) << CellCount - 1 << 128 << 128;
    QTest::newRow("three digits") << mapWith(fresh, {{127, QStringLiteral("123")}}) << 127 << 1
                                  << 128;
    QTest::newRow("first of two") << mapWith(
        fresh, {{700, QStringLiteral(" 1")}, {900, QStringLiteral("x")}})
                                  << 700 << 6 << 61;
}

void TestTrackFile::firstBadCell()
{
    QFETCH(QStringList, cells);
    QFETCH(int, index);
    QFETCH(int, row);
    QFETCH(int, column);

    const std::optional<track::BadCell> bad = track::firstBadCell(cells);
    QCOMPARE(bad.has_value(), index >= 0);
    if (!bad)
        return;
    QCOMPARE(bad->index, index);
    QCOMPARE(bad->text, cells.at(index));
    QCOMPARE(bad->row(), row);
    QCOMPARE(bad->column(), column);
}

void TestTrackFile::decode_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("head"); // the first tiles expected
    QTest::addColumn<int>("tileCount");
    QTest::addColumn<int>("errorOffset");

    const QStringList none;
    const QByteArray fresh = repeated(bytes({0x3F, 0x01}), 512) + bytes({0xFF});
    QTest::newRow("full map") << fresh << true << QStringList {QStringLiteral("01")} << CellCount
                              << 0;
    QTest::newRow("fewer tiles") << bytes({0x3F, 0x05, 0x00, 0xab, 0xFF}) << true
                                 << QStringList {QStringLiteral("05"), QStringLiteral("05")} << 33
                                 << 0;
    QTest::newRow("end marker alone")
        << bytes({0xFF}) << true << QStringList {QStringLiteral("00")} << 0 << 0;
    // Another tool may use every command of the format: word fill, increasing fill, copies.
    QTest::newRow("other commands")
        << bytes({0x41, 0x0A, 0xB0, 0x62, 0xFD, 0x81, 0x01, 0x00, 0xC1, 0x04, 0xA0, 0x00, 0x00,
               0xE4, 0x02, 0x11, 0xFF})
        << true
        << QStringList {QStringLiteral("0A"), QStringLiteral("B0"), QStringLiteral("FD"),
               QStringLiteral("FE"), QStringLiteral("FF"), QStringLiteral("B0"),
               QStringLiteral("FD"), QStringLiteral("FE"), QStringLiteral("FF"),
               QStringLiteral("F5"), QStringLiteral("11"), QStringLiteral("11"),
               QStringLiteral("11")}
        << 13 << 0;
    QTest::newRow("more tiles") << repeated(bytes({0x3F, 0x01}), 513) + bytes({0xFF}) << false
                                << none << 0 << 1024;
    QTest::newRow("truncated copy")
        << bytes({0x3F, 0x01, 0x05, 0x01, 0x02}) << false << none << 0 << 2;
    QTest::newRow("missing end marker")
        << bytes({0x3F, 0x01, 0x20, 0x02}) << false << none << 0 << 4;
    QTest::newRow("empty file") << QByteArray() << false << none << 0 << 0;
    QTest::newRow("reference before start")
        << bytes({0x20, 0x07, 0xC0, 0x05, 0xFF}) << false << none << 0 << 2;
    QTest::newRow("bytes after end marker")
        << bytes({0x20, 0x07, 0xFF, 0x0A}) << false << none << 0 << 3;
}

void TestTrackFile::decode()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, ok);
    QFETCH(QStringList, head);
    QFETCH(int, tileCount);
    QFETCH(int, errorOffset);

    const track::DecodedTrack result = track::decode(file);
    QCOMPARE(result.ok, ok);
    if (!ok) {
        QCOMPARE(result.errorOffset, errorOffset);
        QVERIFY(!result.error.isEmpty());
        QVERIFY2(result.error.contains(QStringLiteral("0x%1").arg(errorOffset, 0, 16)),
            qPrintable(result.error));
        QVERIFY(result.texts.isEmpty());
        return;
    }
    QCOMPARE(result.tileCount, tileCount);
    QCOMPARE(result.texts.size(), CellCount);
    QCOMPARE(result.texts.mid(0, head.size()), head);
    for (qsizetype i = tileCount; i < CellCount; ++i)
        QCOMPARE(result.texts.at(i), QStringLiteral("00"));
}

// Every command byte of a written track is a copy (0x00-0x0F) or fill (0x20-0x3F) group, and the
// groups end exactly at the final end marker.
static bool onlyTrackGroups(const QByteArray &file)
{
    qsizetype at = 0;
    while (at < file.size()) {
        const int command = quint8(file.at(at));
        if (command == 0xFF)
            return at == file.size() - 1;
        if (command <= 0x0F)
            at += command + 2;
        else if (command >= 0x20 && command <= 0x3F)
            at += 2;
        else
            return false;
    }
    return false;
}

void TestTrackFile::roundTripOverRandomMaps()
{
    QRandomGenerator random(20261208);
    const QStringList alphabet {QStringLiteral("01"), QStringLiteral("0a"), QStringLiteral("0A"),
        QStringLiteral("ff"), QStringLiteral("Ff"), QStringLiteral("7c")};
    for (int round = 0; round < 150; ++round) {
        // Run lengths from 1 to about 70 cover copy groups, group limits and long fills.
        const int maxRun = 1 + round % 70;
        QStringList cells;
        while (cells.size() < CellCount) {
            const QString tile = round % 5 == 0
                ? QString::number(random.bounded(256), 16).rightJustified(2, QLatin1Char('0'))
                : alphabet.at(random.bounded(alphabet.size()));
            for (int n = random.bounded(maxRun) + 1; n > 0 && cells.size() < CellCount; --n)
                cells.append(tile);
        }
        const std::optional<QByteArray> file = track::toBytes(track::encode(cells));
        QVERIFY(file.has_value());
        QVERIFY2(onlyTrackGroups(*file), qPrintable(QString::number(round)));
        const track::DecodedTrack decoded = track::decode(*file);
        QVERIFY2(decoded.ok, qPrintable(decoded.error));
        QCOMPARE(decoded.tileCount, CellCount);
        for (qsizetype i = 0; i < CellCount; ++i) {
            if (decoded.texts.at(i) != cells.at(i).toUpper())
                QFAIL(qPrintable(QStringLiteral("round %1, cell %2").arg(round).arg(i)));
        }
    }
}

// Whatever the bytes, the decoder answers a full map or an error inside the file; the sanitizer
// build checks that no read or write strays.
void TestTrackFile::randomBytesStayInBounds()
{
    QRandomGenerator random(8122026);
    for (int round = 0; round < 3000; ++round) {
        QByteArray file(random.bounded(400), Qt::Uninitialized);
        for (char &byte : file)
            byte = char(random.bounded(256));
        if (round % 2 == 0 && !file.isEmpty())
            file.back() = char(0xFF);
        const track::DecodedTrack result = track::decode(file);
        if (result.ok) {
            QCOMPARE(result.texts.size(), CellCount);
            QVERIFY(result.tileCount <= CellCount);
        } else {
            QVERIFY(!result.error.isEmpty());
            QVERIFY(result.errorOffset >= 0 && result.errorOffset <= file.size());
        }
    }
}

VELMOR_GUILESS_TEST_MAIN(TestTrackFile)
#include "test_track_file.moc"
