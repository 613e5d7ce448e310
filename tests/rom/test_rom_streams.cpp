#include "tests/support/synthetic_rom.h"

#include "course/rom_file.h"
#include "rom/checksum.h"
#include "rom/course_catalogue.h"
#include "rom/course_placement.h"
#include "rom/expansion.h"
#include "rom/hex_offset.h"
#include "rom/rom_map.h"
#include "rom/rom_streams.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;
using rom::insertIntoRom;

namespace {

constexpr std::size_t CourseOffset = 0x68f2c;
// A place outside every course's slot.
constexpr std::size_t NoStreamOffset = 0x1000;

using test::looseStream;

void place(codec::Bytes &rom, std::size_t offset, const codec::Bytes &bytes)
{
    std::copy(bytes.begin(), bytes.end(), rom.begin() + std::ptrdiff_t(offset));
}

codec::Bytes freshTrack()
{
    return test::trackStream(codec::Bytes(16384, 0x01));
}

// A ROM with a course (the fresh map's track, loosely compressed) at the given offset, and
// bytes that are no valid stream at the place a headerless ROM would be looked at wrongly.
codec::Bytes romWithCourse(bool copierHeader, std::size_t offset)
{
    codec::Bytes rom = test::syntheticRom(copierHeader ? 1 : 2, copierHeader);
    place(rom, offset, looseStream(freshTrack()));
    return rom;
}

constexpr int MarioCircuit1 = 0x07;

// A valid track whose optimal compression takes exactly `size` bytes: random tiles at the start of
// a fresh map, as many as it takes, the last one repeated or not to close the gaps of two bytes
// that a new copy header leaves. The size grows with the count of tiles, so a binary search finds
// the neighbourhood; nothing when no track there has the size.
std::optional<codec::Bytes> trackCompressingTo(std::size_t size)
{
    std::mt19937 rng {unsigned(size)};
    const codec::Bytes tiles = test::randomBytes(rng, 16384);
    const auto track = [&tiles](std::size_t count, bool repeatLast) {
        codec::Bytes cells(16384, 0x01);
        std::copy(tiles.begin(), tiles.begin() + std::ptrdiff_t(count), cells.begin());
        if (repeatLast && count >= 2)
            cells[count - 1] = cells[count - 2];
        return test::trackStream(cells);
    };
    std::size_t low = 2;
    std::size_t high = 16384;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (codec::compress(track(middle, false)).size() < size)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t count = low > 16 ? low - 16 : 2; count < low + 16; ++count) {
        for (const bool repeatLast : {false, true}) {
            codec::Bytes candidate = track(count, repeatLast);
            if (codec::compress(candidate).size() == size)
                return candidate;
        }
    }
    return std::nullopt;
}

bool sameOutside(const codec::Bytes &a, const codec::Bytes &b, std::size_t from, std::size_t to)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.begin() + std::ptrdiff_t(from), b.begin())
        && std::equal(a.begin() + std::ptrdiff_t(to), a.end(), b.begin() + std::ptrdiff_t(to));
}


// The game's way to a course, written apart from the project's reader: the 24-bit pointer, then
// the stream decoded by a plain reading of the format, twice.
codec::Bytes referenceDecode(const codec::Bytes &in, std::size_t at)
{
    codec::Bytes out;
    while (at < in.size() && in[at] != 0xFF) {
        int command = in[at] >> 5;
        std::size_t length = (in[at] & 0x1F) + 1;
        if (command == 7) {
            command = (in[at] >> 2) & 7;
            length = (std::size_t(in[at] & 3) << 8 | in[at + 1]) + 1;
            ++at;
        }
        ++at;
        const auto copy = [&](std::size_t from, std::uint8_t flip) {
            for (std::size_t i = 0; i < length; ++i)
                out.push_back(out[from + i] ^ flip);
        };
        switch (command) {
        case 0: out.insert(out.end(), in.begin() + std::ptrdiff_t(at), in.begin() + std::ptrdiff_t(at + length)); at += length; break;
        case 1: out.insert(out.end(), length, in[at]); at += 1; break;
        case 2: for (std::size_t i = 0; i < length; ++i) out.push_back(in[at + (i & 1)]); at += 2; break;
        case 3: for (std::size_t i = 0; i < length; ++i) out.push_back(std::uint8_t(in[at] + i)); at += 1; break;
        case 4: case 5: copy(in[at] | (in[at + 1] << 8), command == 5 ? 0xFF : 0); at += 2; break;
        default: copy(out.size() - in[at], command == 7 ? 0xFF : 0); at += 1; break;
        }
    }
    return out;
}

std::size_t pointerTarget(const codec::Bytes &rom, std::size_t gameStart, int id)
{
    const std::size_t at = gameStart + rom::map::CourseLayoutPointers + 3 * std::size_t(id);
    return gameStart + ((std::size_t(rom[at + 2] & 0x3F) << 16) | rom[at] | (rom[at + 1] << 8));
}

std::uint16_t plainChecksum(const codec::Bytes &rom, std::size_t gameStart)
{
    unsigned sum = 0;
    for (std::size_t i = gameStart; i < rom.size(); ++i) {
        const std::size_t at = i - gameStart;
        sum += at >= 0xFFDC && at < 0xFFE0 ? (at < 0xFFDE ? 0x00 : 0xFF) : rom[i];
    }
    return std::uint16_t(sum);
}

// A whole course whose compressed layout takes at least `size` bytes: that many random tiles
// leave the compressor nothing to gain.
codec::Bytes trackOfAtLeast(std::size_t size)
{
    std::mt19937 rng {unsigned(size)};
    codec::Bytes cells = test::randomBytes(rng, size);
    cells.resize(16384, 0x01);
    return test::trackStream(cells);
}

codec::Bytes expanded(const codec::Bytes &rom, int megabits)
{
    const rom::ExpandOutcome grown = rom::expandRom(rom, megabits);
    return grown.rom;
}

} // namespace

// Insertion over bytes: what it writes, what it leaves alone, and everything it refuses.
class TestRomStreams : public QObject
{
    Q_OBJECT

private slots:
    void insertsAndLeavesEverythingElse();
    void refusals_data();
    void refusals();
    void acceptsAnyDataInASlotThatHeldNoCourse();
    void extractsWhatWasInserted();
    void fileInsertionReplacesTheRom();
    void fileRefusalsLeaveTheRomAlone_data();
    void fileRefusalsLeaveTheRomAlone();
    void extractionWritesNothingOnFailure();
    void courseUsesItsWholeOriginalSlot_data();
    void courseUsesItsWholeOriginalSlot();
    void movedCourseKeepsOnlyItsStream();
    void refusesWhatIsNoRomPlace_data();
    void refusesWhatIsNoRomPlace();
    void expansionPadsAndKeepsEverythingElse_data();
    void expansionPadsAndKeepsEverythingElse();
    void largeCoursesMoveIntoSeparateBlocks();
    void shrunkCourseMovesHomeAndFreesItsBlock();
    void placementRefusals_data();
    void placementRefusals();
};

void TestRomStreams::insertsAndLeavesEverythingElse()
{
    const codec::Bytes rom = romWithCourse(true, CourseOffset);
    QCOMPARE(rom.size(), std::size_t(524800));
    const std::size_t slot = looseStream(freshTrack()).size();
    const codec::Bytes track = test::trackStream(test::courseLikeCells(4));

    const rom::InsertOutcome outcome = insertIntoRom(rom, track, CourseOffset);
    QVERIFY2(outcome.ok, outcome.message.c_str());
    QCOMPARE(outcome.slot.used, slot);
    QCOMPARE(outcome.slot.capacity, slot);
    QCOMPARE(outcome.written, codec::compress(track).size());
    QCOMPARE(QString::fromStdString(outcome.message),
        QStringLiteral("wrote %1 bytes at 0x68f2c (Mario Circuit 1's slot of %2 bytes, %3 free)")
            .arg(outcome.written)
            .arg(slot)
            .arg(slot - outcome.written));
    QCOMPARE(outcome.rom.size(), rom.size());
    for (std::size_t i = 0; i < rom.size(); ++i) {
        if (i < CourseOffset || i >= CourseOffset + outcome.written)
            QVERIFY2(
                outcome.rom[i] == rom[i], qPrintable(QStringLiteral("byte %1 changed").arg(i)));
    }
    const codec::DecodeResult back =
        codec::decode(codec::ByteView(outcome.rom).subspan(CourseOffset));
    QVERIFY(back.ok);
    QVERIFY(back.output == track);
}

void TestRomStreams::refusals_data()
{
    QTest::addColumn<QByteArray>("rom");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("message");

    const QByteArray withHeader = test::toQByteArray(romWithCourse(true, CourseOffset));
    const QByteArray fresh = test::toQByteArray(freshTrack());

    QTest::newRow("offset past the end")
        << withHeader << fresh << 524800
        << QStringLiteral("offset 0x80200 lies past the end of the ROM (524800 bytes)");

    codec::Bytes broken = romWithCourse(true, CourseOffset);
    place(broken, CourseOffset, {0x80, 0x00, 0x00}); // a copy from an empty output
    QTest::newRow("no stream")
        << test::toQByteArray(broken) << fresh << int(CourseOffset)
        << QStringLiteral("no valid compressed stream at 0x68f2c (absolute copy from 0x0, which is "
                          "not yet written (output has 0 bytes) at 0x68f2c)");

    codec::Bytes small = romWithCourse(true, CourseOffset);
    place(small, CourseOffset, codec::compress(freshTrack()));
    const codec::Bytes noisy = test::trackStream(test::courseLikeCells(9));
    QTest::newRow("too big") << test::toQByteArray(small) << test::toQByteArray(noisy)
                             << int(CourseOffset)
                             << QStringLiteral(
                                    "needs %1 bytes, Mario Circuit 1's slot at 0x68f2c holds %2")
                                    .arg(codec::compress(noisy).size())
                                    .arg(codec::compress(freshTrack()).size());

    QTest::newRow("input is no stream")
        << withHeader << QByteArray::fromHex("0f0102") << int(CourseOffset)
        << QStringLiteral("the slot at 0x68f2c holds a course, but the input is not a valid track "
                          "file: direct copy of 16 bytes cut short at input offset 0x0");
    QTest::newRow("input has too many tiles")
        << withHeader
        << QByteArray::fromHex("e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e7ff01e"
                               "7ff01e7ff01e7ff01e7ff01e7ff0120 01ff")
        << int(CourseOffset)
        << QStringLiteral(
               "the slot at 0x68f2c holds a course, but the input is not a valid track file: chunk "
               "would make the output longer than 16384 bytes at input offset 0x30");
    QTest::newRow("input has bytes after the end")
        << withHeader << fresh + QByteArray(3, 'x') << int(CourseOffset)
        << QStringLiteral("the slot at 0x68f2c holds a course, but the input is not a valid track "
                          "file: 3 bytes follow the end marker at input offset 0x400");

    // A course whose stream goes on after its track's end marker is still a course.
    codec::Bytes trailing = romWithCourse(true, CourseOffset);
    codec::Bytes trackAndMore = freshTrack();
    trackAndMore.insert(trackAndMore.end(), {0x12, 0x34});
    place(trailing, CourseOffset, looseStream(trackAndMore));
    QTest::newRow("course with bytes after its track, input is no track")
        << test::toQByteArray(trailing) << QByteArray::fromHex("0f0102") << int(CourseOffset)
        << QStringLiteral("the slot at 0x68f2c holds a course, but the input is not a valid track "
                          "file: direct copy of 16 bytes cut short at input offset 0x0");

    codec::Bytes headerless = romWithCourse(false, CourseOffset - 0x200);
    place(headerless, CourseOffset, {0xFC, 0x00, 0x01}); // an inverted copy from an empty output
    QTest::newRow("headerless ROM, offset of the course table")
        << test::toQByteArray(headerless) << fresh << int(CourseOffset)
        << QStringLiteral(
               "offset 0x68f2c lies inside Mario Circuit 1's slot (0x68d2c to 0x6952a): writing "
               "there would damage that course, which starts at 0x68d2c; the course list's offsets "
               "are for ROMs with the 512-byte copier header, and this ROM has none");
}

void TestRomStreams::refusals()
{
    QFETCH(QByteArray, rom);
    QFETCH(QByteArray, input);
    QFETCH(int, offset);
    QFETCH(QString, message);
    const rom::InsertOutcome outcome =
        insertIntoRom(test::bytesOf(rom), test::bytesOf(input), std::size_t(offset));
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.rom.empty());
    QCOMPARE(QString::fromStdString(outcome.message), message);
}

void TestRomStreams::acceptsAnyDataInASlotThatHeldNoCourse()
{
    // Graphics, text, anything: the slot decodes to data that is no track stream, so the input
    // needs no track shape either.
    std::mt19937 rng(3);
    codec::Bytes rom = test::syntheticRom(5, true);
    place(rom, 0x1000, looseStream(codec::Bytes(3000, 0xEE)));
    const codec::Bytes data = test::randomBytes(rng, 600, 4);
    const rom::InsertOutcome outcome = insertIntoRom(rom, data, 0x1000);
    QVERIFY2(outcome.ok, outcome.message.c_str());
    QVERIFY(codec::decode(codec::ByteView(outcome.rom).subspan(0x1000)).output == data);
}

void TestRomStreams::extractsWhatWasInserted()
{
    const codec::Bytes rom = romWithCourse(true, CourseOffset);
    const rom::ExtractOutcome before = rom::extractFromRom(rom, CourseOffset);
    QVERIFY(before.ok);
    QVERIFY(before.data == freshTrack());
    QCOMPARE(before.used, looseStream(freshTrack()).size());

    const codec::Bytes track = test::trackStream(test::courseLikeCells(2));
    const rom::InsertOutcome inserted = insertIntoRom(rom, track, CourseOffset);
    QVERIFY(inserted.ok);
    const rom::ExtractOutcome after = rom::extractFromRom(inserted.rom, CourseOffset);
    QVERIFY(after.ok);
    QVERIFY(after.data == track);
    QCOMPARE(after.used, inserted.written);

    QVERIFY(!rom::extractFromRom(rom, rom.size()).ok);
}

void TestRomStreams::fileInsertionReplacesTheRom()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString romPath = dir.filePath(QStringLiteral("kart.smc"));
    const QString inputPath = dir.filePath(QStringLiteral("new track.bin"));
    const codec::Bytes rom = romWithCourse(true, CourseOffset);
    const codec::Bytes track = test::trackStream(test::courseLikeCells(7));
    QFile romFile(romPath);
    QVERIFY(romFile.open(QIODevice::WriteOnly));
    romFile.write(test::toQByteArray(rom));
    romFile.close();
    QFile inputFile(inputPath);
    QVERIFY(inputFile.open(QIODevice::WriteOnly));
    inputFile.write(test::toQByteArray(track));
    inputFile.close();

    const FileOutcome outcome = insertFile(inputPath, romPath, CourseOffset);
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QVERIFY(romFile.open(QIODevice::ReadOnly));
    const codec::Bytes written = test::bytesOf(romFile.readAll());
    QCOMPARE(written, insertIntoRom(rom, track, CourseOffset).rom);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
}

void TestRomStreams::fileRefusalsLeaveTheRomAlone_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("inputMissing");
    QTest::addColumn<QString>("message");
    QTest::newRow("read-only ROM")
        << int(CourseOffset) << true << false << QStringLiteral("read-only");
    QTest::newRow("missing input")
        << int(CourseOffset) << false << true << QStringLiteral("no such file");
    QTest::newRow("inside a course") << int(CourseOffset + 7) << false << false
                                     << QStringLiteral("lies inside Mario Circuit 1's slot");
    QTest::newRow("no stream at the offset")
        << int(NoStreamOffset) << false << false << QStringLiteral("no valid compressed stream");
    QTest::newRow("offset past the end")
        << 0x90000 << false << false << QStringLiteral("past the end");
}

void TestRomStreams::fileRefusalsLeaveTheRomAlone()
{
    QFETCH(int, offset);
    QFETCH(bool, readOnly);
    QFETCH(bool, inputMissing);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString romPath = dir.filePath(QStringLiteral("kart.smc"));
    const QString inputPath = dir.filePath(QStringLiteral("track.bin"));
    codec::Bytes rom = romWithCourse(true, CourseOffset);
    place(rom, CourseOffset + 7, {0xA0, 0xFF, 0xFF}); // inside a copy's operand: no stream there
    place(rom, NoStreamOffset, {0xA0, 0xFF, 0xFF});
    QFile romFile(romPath);
    QVERIFY(romFile.open(QIODevice::WriteOnly));
    romFile.write(test::toQByteArray(rom));
    romFile.close();
    if (!inputMissing) {
        QFile inputFile(inputPath);
        QVERIFY(inputFile.open(QIODevice::WriteOnly));
        inputFile.write(test::toQByteArray(test::trackStream(test::courseLikeCells(1))));
    }
    if (readOnly)
        QVERIFY(romFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadUser));

    const FileOutcome outcome = insertFile(inputPath, romPath, std::size_t(offset));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
    QVERIFY(!outcome.message.contains(QLatin1Char('\n')));
    QVERIFY(romFile.open(QIODevice::ReadOnly));
    QVERIFY(test::bytesOf(romFile.readAll()) == rom);
    romFile.close();
    romFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestRomStreams::extractionWritesNothingOnFailure()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString romPath = dir.filePath(QStringLiteral("kart.smc"));
    const QString outPath = dir.filePath(QStringLiteral("out.bin"));
    QFile romFile(romPath);
    QVERIFY(romFile.open(QIODevice::WriteOnly));
    romFile.write(test::toQByteArray(romWithCourse(true, CourseOffset)));
    romFile.close();

    QVERIFY(!extractFile(romPath, outPath, 0x90000).ok);
    QVERIFY(!QFile::exists(outPath));
    const FileOutcome done = extractFile(romPath, outPath, CourseOffset);
    QVERIFY2(done.ok, qPrintable(done.message));
    QFile out(outPath);
    QVERIFY(out.open(QIODevice::ReadOnly));
    QVERIFY(test::bytesOf(out.readAll()) == freshTrack());
}

void TestRomStreams::courseUsesItsWholeOriginalSlot_data()
{
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("upperBanks");
    QTest::newRow("headered, $C0 banks") << true << false;
    QTest::newRow("headerless, $80 banks") << false << true;
}

void TestRomStreams::courseUsesItsWholeOriginalSlot()
{
    QFETCH(bool, header);
    QFETCH(bool, upperBanks);
    const test::GameRom built = test::gameRom(
        {8, header, upperBanks ? test::BankForm::UpperWherePossible : test::BankForm::Whole});
    const rom::Course &course = *rom::courseById(MarioCircuit1);
    const std::size_t offset = built.fileOffset(course.layoutOffset);
    const std::size_t small = built.streamLength[MarioCircuit1];

    // Bigger than the small course there now, well inside the game's original room.
    const codec::Bytes bigger = test::trackStream(test::courseLikeCells(3));
    const std::size_t biggerSize = codec::compress(bigger).size();
    QVERIFY(biggerSize > small && biggerSize < course.slotLength);
    rom::InsertOutcome first = insertIntoRom(built.bytes, bigger, offset);
    QVERIFY2(first.ok, first.message.c_str());
    QCOMPARE(first.slot.used, small);
    QCOMPARE(first.slot.capacity, course.slotLength);
    QVERIFY(sameOutside(first.rom, built.bytes, offset, offset + biggerSize));

    // A small course, then the bigger one again: the slot did not shrink to the small one.
    const rom::InsertOutcome smaller =
        insertIntoRom(first.rom, test::trackStream(test::courseCells(1)), offset);
    QVERIFY2(smaller.ok, smaller.message.c_str());
    QCOMPARE(smaller.slot.capacity, course.slotLength);
    // The rest of the slot behind the new end mark stays as it was: unused.
    QVERIFY(sameOutside(smaller.rom, first.rom, offset, offset + smaller.written));
    const rom::InsertOutcome again = insertIntoRom(smaller.rom, bigger, offset);
    QVERIFY2(again.ok, again.message.c_str());
    QCOMPARE(again.slot.used, smaller.written);
    QCOMPARE(rom::extractFromRom(again.rom, offset).data, bigger);

    // Exactly the original slot fits; one byte more is refused, naming the course and its room.
    const std::optional<codec::Bytes> full = trackCompressingTo(course.slotLength);
    const std::optional<codec::Bytes> over = trackCompressingTo(course.slotLength + 1);
    QVERIFY2(full && over, "no track compresses to the sizes wanted");
    const rom::InsertOutcome fits = insertIntoRom(again.rom, *full, offset);
    QVERIFY2(fits.ok, fits.message.c_str());
    QCOMPARE(fits.written, course.slotLength);
    QVERIFY(sameOutside(fits.rom, again.rom, offset, offset + course.slotLength));
    const rom::InsertOutcome refused = insertIntoRom(fits.rom, *over, offset);
    QVERIFY(!refused.ok);
    QVERIFY(refused.rom.empty());
    QCOMPARE(QString::fromStdString(refused.message),
        QStringLiteral("needs %1 bytes, Mario Circuit 1's slot at %2 holds %3")
            .arg(course.slotLength + 1)
            .arg(QString::fromStdString(rom::hexText(offset)))
            .arg(course.slotLength));
}

void TestRomStreams::movedCourseKeepsOnlyItsStream()
{
    // Another tool sent Mario Circuit 1 elsewhere: what follows its old stream may be in use now,
    // so only the stream that is there counts.
    test::GameRom built = test::gameRom({9, true, test::BankForm::Whole});
    built.writePointer(
        rom::map::CourseLayoutPointers + 3 * MarioCircuit1, 0x1000, test::BankForm::Whole);
    const std::size_t offset = built.fileOffset(rom::courseById(MarioCircuit1)->layoutOffset);
    const rom::SlotResult slot = rom::slotAt(built.bytes, offset);
    QVERIFY2(slot.slot, slot.error.c_str());
    QCOMPARE(slot.slot->capacity, built.streamLength[MarioCircuit1]);
    const rom::InsertOutcome outcome =
        insertIntoRom(built.bytes, test::trackStream(test::courseLikeCells(3)), offset);
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.find("Mario Circuit 1's slot at 0x68f2c holds "
                 + std::to_string(built.streamLength[MarioCircuit1]))
            != std::string::npos,
        outcome.message.c_str());
}

void TestRomStreams::refusesWhatIsNoRomPlace_data()
{
    QTest::addColumn<qlonglong>("size");
    QTest::addColumn<qlonglong>("offset");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong size") << 524801LL << 0x68f2cLL
                                << QStringLiteral("a file of 524801 bytes is no SNES ROM");
    QTest::newRow("in the copier header")
        << 524800LL << 0x100LL
        << QStringLiteral("offset 0x100 lies in the ROM's 512-byte copier header");
    QTest::newRow("one byte into a course")
        << 524800LL << 0x68f2dLL
        << QStringLiteral("offset 0x68f2d lies inside Mario Circuit 1's slot (0x68f2c to 0x6972a): "
                          "writing there would damage that course, which starts at 0x68f2c");
    QTest::newRow("last byte of a course")
        << 524288LL << 0x6952aLL
        << QStringLiteral("lies inside Mario Circuit 1's slot (0x68d2c to 0x6952a)");
}

void TestRomStreams::refusesWhatIsNoRomPlace()
{
    QFETCH(qlonglong, size);
    QFETCH(qlonglong, offset);
    QFETCH(QString, message);
    codec::Bytes rom = test::gameRom({10, size % 1024 != 0, test::BankForm::Whole}).bytes;
    rom.resize(std::size_t(size), 0);
    // A valid stream right there, so only the place itself can be the reason.
    place(rom, std::size_t(offset), codec::compress(freshTrack()));
    const rom::InsertOutcome outcome = insertIntoRom(rom, freshTrack(), std::size_t(offset));
    QVERIFY(!outcome.ok);
    QVERIFY2(QString::fromStdString(outcome.message).contains(message), outcome.message.c_str());
}

void TestRomStreams::expansionPadsAndKeepsEverythingElse_data()
{
    QTest::addColumn<bool>("copierHeader");
    QTest::addColumn<int>("megabits");
    QTest::newRow("headered, 8 Mbit") << true << 8;
    QTest::newRow("headerless, 32 Mbit") << false << 32;
}

void TestRomStreams::expansionPadsAndKeepsEverythingElse()
{
    QFETCH(bool, copierHeader);
    QFETCH(int, megabits);
    test::GameRomOptions options;
    options.copierHeader = copierHeader;
    const codec::Bytes before = test::gameRom(options).bytes;
    const std::size_t start = copierHeader ? 0x200 : 0;
    const codec::Bytes after = expanded(before, megabits);
    QCOMPARE(after.size(), start + std::size_t(megabits) * 0x20000);
    QVERIFY(std::all_of(after.begin() + std::ptrdiff_t(before.size()), after.end(),
        [](std::uint8_t b) { return b == 0xFF; }));
    QCOMPARE(int(after[start + 0xFFD7]), megabits == 8 ? 0x0A : 0x0C);
    const std::uint16_t sum = plainChecksum(after, start);
    QCOMPARE(after[start + 0xFFDE] | (after[start + 0xFFDF] << 8), int(sum));
    QCOMPARE(after[start + 0xFFDC] | (after[start + 0xFFDD] << 8), int(sum ^ 0xFFFF));
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::size_t at = i - start;
        const bool header = i >= start && (at == 0xFFD7 || (at >= 0xFFDC && at < 0xFFE0));
        if (!header && after[i] != before[i])
            QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i, 0, 16)));
    }
}

void TestRomStreams::largeCoursesMoveIntoSeparateBlocks()
{
    const codec::Bytes before = expanded(test::gameRom().bytes, 8);
    constexpr std::size_t Start = 0x200;
    codec::Bytes rom = before;
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    for (const int id : {MarioCircuit1, 0x00, 0x0B}) {
        const rom::Course &course = *rom::courseById(id);
        const std::optional<codec::Bytes> track = trackOfAtLeast(course.slotLength + 3000);
        const codec::Bytes previous = rom;
        const rom::PlaceOutcome placed = rom::insertCourse(rom, *track, id);
        QVERIFY2(placed.ok, placed.message.c_str());
        QVERIFY(placed.moved);
        QVERIFY(placed.written >= course.slotLength + 3000);
        rom = placed.rom;
        const std::size_t at = pointerTarget(rom, Start, id);
        QVERIFY(at >= Start + 0x80100);
        QCOMPARE((at - Start) >> 16, (at - Start + placed.written - 1) >> 16);
        QCOMPARE(referenceDecode(referenceDecode(rom, at), 0).size(), std::size_t(16384));
        QVERIFY(referenceDecode(rom, at) == *track);
        for (const auto &[from, length] : blocks)
            QVERIFY(at >= from + length || at + placed.written <= from);
        blocks.emplace_back(at, placed.written);
        QCOMPARE(rom[Start + 0xFFDE] | (rom[Start + 0xFFDF] << 8), int(plainChecksum(rom, Start)));
        // Outside the block, the pointer, the table and the checksum pair nothing changed.
        const std::size_t pointer = Start + rom::map::CourseLayoutPointers + 3 * std::size_t(id);
        for (std::size_t i = 0; i < rom.size(); ++i) {
            const bool expected = (i >= at && i < at + placed.written) || (i >= pointer && i < pointer + 3)
                || (i >= Start + 0x80000 && i < Start + 0x80100) || (i >= Start + 0xFFDC && i < Start + 0xFFE0);
            if (!expected && rom[i] != previous[i])
                QFAIL(qPrintable(QStringLiteral("byte %1 changed").arg(i, 0, 16)));
        }
        for (int other = 0; other < rom::CourseCount; ++other) {
            if (other != id)
                QCOMPARE(pointerTarget(rom, Start, other), pointerTarget(previous, Start, other));
        }
    }
    // The listing shows a moved course where it lives now, with its room.
    const rom::HomeResult home = rom::courseHome(rom, 0x00);
    QVERIFY(home.home);
    QCOMPARE(home.home->kind, rom::CourseHome::Kind::AddedBlock);
    QCOMPARE(home.home->fileOffset, blocks[1].first);
}

void TestRomStreams::shrunkCourseMovesHomeAndFreesItsBlock()
{
    const rom::Course &course = *rom::courseById(MarioCircuit1);
    const std::optional<codec::Bytes> large = trackOfAtLeast(course.slotLength + 500);
    const rom::PlaceOutcome out = rom::insertCourse(expanded(test::gameRom().bytes, 8), *large, MarioCircuit1);
    QVERIFY2(out.ok, out.message.c_str());
    const std::size_t block = pointerTarget(out.rom, 0x200, MarioCircuit1);
    const codec::Bytes small = freshTrack();
    const rom::PlaceOutcome home = rom::insertCourse(out.rom, small, MarioCircuit1);
    QVERIFY2(home.ok, home.message.c_str());
    QCOMPARE(pointerTarget(home.rom, 0x200, MarioCircuit1), 0x200 + course.layoutOffset);
    QVERIFY(referenceDecode(home.rom, 0x200 + course.layoutOffset) == small);
    QVERIFY(std::all_of(home.rom.begin() + std::ptrdiff_t(block),
        home.rom.begin() + std::ptrdiff_t(block + out.written), [](std::uint8_t b) { return b == 0xFF; }));
    // The freed block is the first room the next move finds.
    const rom::PlaceOutcome again = rom::insertCourse(home.rom, *large, MarioCircuit1);
    QVERIFY2(again.ok, again.message.c_str());
    QCOMPARE(pointerTarget(again.rom, 0x200, MarioCircuit1), block);
}

void TestRomStreams::placementRefusals_data()
{
    QTest::addColumn<codec::Bytes>("rom");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("needsExpansion");
    const codec::Bytes us = test::gameRom().bytes;
    QTest::newRow("4 Mbit") << us << u"a 4 Mbit ROM has no room for a larger course: Expand ROM"_s << true;
    for (const auto &[region, name] : {std::pair(rom::Region::Japan, "Japanese"), std::pair(rom::Region::Europe, "European")}) {
        test::GameRomOptions options;
        options.region = region;
        QTest::newRow(name) << test::gameRom(options).bytes
            << u"This is the %1 ROM of the game; Velmor writes only into the US ROM."_s.arg(QLatin1String(name)) << false;
    }
    test::GameRomOptions none;
    none.region.reset();
    QTest::newRow("not the game") << test::gameRom(none).bytes << u"This file is not a ROM of Super Mario Kart"_s << false;
    codec::Bytes lying = us;
    lying.resize(lying.size() + 0x80000, 0xFF);
    QTest::newRow("size byte") << lying << u"The ROM's header claims 4 Mbit (size byte 0x9) but the file holds 8 Mbit"_s << false;
    codec::Bytes overlapping = expanded(us, 8);
    test::GameRom shape;
    shape.bytes = overlapping;
    for (const int id : {0, 1})
        shape.writePointer(rom::map::CourseLayoutPointers + 3 * std::size_t(id), 0x90000 + std::size_t(id) * 4, test::BankForm::Whole);
    const codec::Bytes stream = codec::compress(freshTrack());
    std::copy(stream.begin(), stream.end(), shape.bytes.begin() + 0x200 + 0x90000);
    QTest::newRow("overlapping blocks") << shape.bytes << u"overlap in the added banks"_s << false;
}

void TestRomStreams::placementRefusals()
{
    QFETCH(codec::Bytes, rom);
    QFETCH(QString, message);
    QFETCH(bool, needsExpansion);
    static const std::optional<codec::Bytes> large =
        trackOfAtLeast(rom::courseById(MarioCircuit1)->slotLength + 3000);
    const rom::PlaceOutcome placed = rom::insertCourse(rom, *large, MarioCircuit1);
    QVERIFY(!placed.ok);
    QVERIFY(placed.rom.empty());
    QCOMPARE(placed.needsExpansion, needsExpansion);
    QVERIFY2(QString::fromStdString(placed.message).contains(message), placed.message.c_str());
}

VELMOR_GUILESS_TEST_MAIN(TestRomStreams)
#include "test_rom_streams.moc"
