#include "rom/course_tables.h"
#include "rom/rom_image.h"
#include "course/track_file.h"
#include "codec/codec.h"
#include "tests/course/insertion_rig.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QRandomGenerator>

using namespace velmor;
using namespace velmor::test;

using Outcome = RomInsertion::Outcome;

namespace {

constexpr int Cells = 128 * 128;
constexpr qint64 MarioCircuit1 = 0x68f2c; // as the course table gives it, header counted

QStringList noisyMap(quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList cells;
    cells.reserve(Cells);
    for (int i = 0; i < Cells; ++i)
        cells.append(
            QStringLiteral("%1").arg(random.bounded(256), 2, 16, QLatin1Char('0')).toUpper());
    return cells;
}

QStringList paintedMap()
{
    QStringList cells(Cells, QStringLiteral("01"));
    for (int i = 0; i < 128; ++i) {
        cells[i * 128 + i] = QStringLiteral("2A");
        cells[i * 128 + 64] = QStringLiteral("C4");
    }
    return cells;
}

QByteArray courseStream(const QStringList &cells)
{
    const QByteArray track = *track::toBytes(track::encode(cells));
    const codec::Bytes packed = codec::compress(
        codec::ByteView(reinterpret_cast<const std::uint8_t *>(track.constData()), track.size()));
    return QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size()));
}

// A ROM whose Mario Circuit 1 slot holds the course `old`; the rest is filler.
QByteArray romWithCourse(bool withHeader, const QStringList &old)
{
    QByteArray image = syntheticRom(withHeader ? HeaderedRomSize : PlainRomSize);
    const qint64 at = withHeader ? MarioCircuit1 : MarioCircuit1 - qint64(rom::CopierHeaderSize);
    const QByteArray stream = courseStream(old);
    image.replace(at, stream.size(), stream);
    return image;
}

// Reads the course back the way the game does: the ROM stream, then the track inside it.
QStringList courseInRom(const QByteArray &image, qint64 at)
{
    const auto view = codec::ByteView(
        reinterpret_cast<const std::uint8_t *>(image.constData()), std::size_t(image.size()))
                          .subspan(std::size_t(at));
    const codec::DecodeResult outer = codec::decode(view);
    if (!outer.ok)
        return {};
    const QByteArray track(
        reinterpret_cast<const char *>(outer.output.data()), qsizetype(outer.output.size()));
    return track::decode(track).texts;
}

} // namespace

// The whole road with the real compressor: the map goes into a synthetic ROM and comes back equal.
class TestInsertionWithRecomp : public QObject
{
    Q_OBJECT

private slots:
    void courseLandsWhereTheGameReadsIt_data();
    void courseLandsWhereTheGameReadsIt();
    void courseTooBigLeavesTheRomAlone();
    void aCourseTooBigForA4MbitRomOffersExpandRom();
};

void TestInsertionWithRecomp::courseLandsWhereTheGameReadsIt_data()
{
    QTest::addColumn<bool>("withHeader");
    QTest::newRow("copier header") << true;
    QTest::newRow("no header") << false;
}

void TestInsertionWithRecomp::courseLandsWhereTheGameReadsIt()
{
    QFETCH(bool, withHeader);
    InsertionRig rig(0);
    Configuration settings = rig.insertion.settings();
    settings.recompPath = QStringLiteral(VELMOR_RECOMP);
    rig.insertion.setSettings(settings);
    QVERIFY(writeBytes(settings.userRomPath, romWithCourse(withHeader, noisyMap(7))));

    const QString track = rig.path(QStringLiteral("painted course.bin"));
    const QString target = rig.path(QStringLiteral("kart_velmor.smc"));
    rig.dialog.pick(track);
    rig.dialog.pick(target);
    rig.insertion.exportAndInsert(paintedMap(), QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));
    QCOMPARE(rig.messages.titles().last(), QStringLiteral("Successful Import"));

    const QByteArray after = readBytes(target);
    const qint64 gameOffset = withHeader ? MarioCircuit1 : MarioCircuit1 - qint64(rom::CopierHeaderSize);
    QCOMPARE(courseInRom(after, gameOffset), paintedMap());
    // Nothing before the slot was touched.
    QCOMPARE(after.left(gameOffset), readBytes(settings.userRomPath).left(gameOffset));
}

void TestInsertionWithRecomp::courseTooBigLeavesTheRomAlone()
{
    InsertionRig rig(0);
    Configuration settings = rig.insertion.settings();
    settings.recompPath = QStringLiteral(VELMOR_RECOMP);
    rig.insertion.setSettings(settings);
    // The slot holds a plain course; a noisy one cannot fit in it.
    const QByteArray original = romWithCourse(false, QStringList(Cells, QStringLiteral("01")));
    QVERIFY(writeBytes(settings.userRomPath, original));

    const QString target = rig.path(QStringLiteral("kart_velmor.smc"));
    rig.dialog.pick(rig.path(QStringLiteral("noisy.bin")));
    rig.dialog.pick(target);
    rig.insertion.exportAndInsert(noisyMap(11), QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Failed));

    QCOMPARE(rig.messages.titles().last(), QStringLiteral("Import Failed"));
    const QString text = rig.messages.messages().last().text;
    QVERIFY2(text.contains(target.toUpper()), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("exit status 1")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Mario Circuit 1's slot at")), qPrintable(text));
    QCOMPARE(readBytes(target), original);
}

void TestInsertionWithRecomp::aCourseTooBigForA4MbitRomOffersExpandRom()
{
    InsertionRig rig(0);
    Configuration settings = rig.insertion.settings();
    settings.recompPath = QStringLiteral(VELMOR_RECOMP);
    rig.insertion.setSettings(settings);
    const QByteArray original = toQByteArray(gameRom({.seed = 4}).bytes);
    QVERIFY(writeBytes(settings.userRomPath, original));

    // Far larger than its slot, yet a track the game can decode.
    QStringList course = noisyMap(11);
    for (int i = 6000; i < Cells; ++i)
        course[i] = QStringLiteral("01");
    // Too large for its slot in 4 Mbit: the failure offers Expand ROM; yes, to 8 Mbit, saved
    // beside it; then the same insertion goes into the expanded ROM, the course moved.
    const QString target = rig.path(QStringLiteral("kart_velmor.smc"));
    const QString expanded = rig.path(QStringLiteral("kart_8mbit.smc"));
    rig.dialog.pick(rig.path(QStringLiteral("noisy.bin")));
    rig.dialog.pick(target);
    rig.messages.answer(MessageBoxes::Answer::Yes);
    rig.dialog.pick(target); // the ROM Expand ROM proposes
    rig.messages.answer(MessageBoxes::Answer::Yes);
    rig.dialog.pick(expanded);
    rig.insertion.exportAndInsert(course, QStringLiteral("68f2c - Mario Circuit 1"));
    QCOMPARE(rig.outcome(), std::optional(Outcome::Imported));
    QCOMPARE(rig.messages.titles(), (QStringList {QStringLiteral("Successful Export"), QStringLiteral("Import Failed"),
                                                  QStringLiteral("Expand ROM"), QStringLiteral("ROM Expanded"),
                                                  QStringLiteral("Successful Import")}));
    QVERIFY2(rig.messages.messages().at(1).text.contains(QStringLiteral("Expand ROM makes room for larger courses")),
             qPrintable(rig.messages.messages().at(1).text));
    QCOMPARE(readBytes(target), readBytes(settings.userRomPath));
    const QByteArray after = readBytes(expanded);
    QCOMPARE(after.size(), qsizetype(0x100200));
    const rom::CourseTables tables = rom::readCourseTables(*rom::RomImage::open(
        codec::ByteView(reinterpret_cast<const std::uint8_t *>(after.constData()), std::size_t(after.size()))));
    const std::size_t livesAt = *tables[0x07].layoutOffset;
    QVERIFY2(livesAt >= 0x80000, "the course did not move into the added banks");
    QCOMPARE(courseInRom(after, qint64(livesAt) + 0x200), course);
    QCOMPARE(rig.messages.unanswered(), 0);
}

VELMOR_GUILESS_TEST_MAIN(TestInsertionWithRecomp)
#include "test_insertion_with_recomp.moc"
