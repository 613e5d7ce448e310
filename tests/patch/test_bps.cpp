#include "patch/bps.h"
#include "patch/bps_number.h"
#include "patch/crc32.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QTest>

#include <numeric>

using namespace velmor;
using patch::Bytes;
using patch::PatchFault;

Q_DECLARE_METATYPE(velmor::patch::PatchFault)

namespace {

// A patch from its middle part: "BPS1", the body as given, then the three CRC32s, the source's
// and target's as computed unless told otherwise.
Bytes finish(Bytes body, const Bytes &source, const Bytes &target,
    std::optional<std::uint32_t> sourceCrc = {}, std::optional<std::uint32_t> targetCrc = {})
{
    const auto append32 = [&body](std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            body.push_back(std::uint8_t(v >> shift));
    };
    body.insert(body.begin(), {'B', 'P', 'S', '1'});
    append32(sourceCrc.value_or(patch::crc32(source)));
    append32(targetCrc.value_or(patch::crc32(target)));
    append32(patch::crc32(body));
    return body;
}

Bytes bpsNumbers(std::initializer_list<std::uint64_t> values)
{
    Bytes out;
    for (const std::uint64_t v : values)
        patch::bps::appendNumber(out, v);
    return out;
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Action numbers: (length - 1) << 2 | kind.
std::uint64_t act(patch::bps::Action kind, std::uint64_t length)
{
    return ((length - 1) << 2) | std::uint64_t(kind);
}

const Bytes Source = test::fromHex("000102030405060708090a0b0c0d0e0f");
const Bytes Target = test::fromHex("101112131415161718191a1b1c1d1e1f");

// A game-like ROM and the same ROM with course `id` replaced by another map, as insertion does.
std::pair<Bytes, Bytes> courseChanged(int id, unsigned seed, bool header)
{
    const test::GameRom original = test::gameRom({seed, header, test::BankForm::Whole});
    Bytes modified = original.bytes;
    const Bytes stream = codec::compress(test::trackStream(test::courseLikeCells(seed + 40)));
    const std::size_t at = original.fileOffset(rom::courses()[std::size_t(id)].layoutOffset);
    std::copy(stream.begin(), stream.end(), modified.begin() + std::ptrdiff_t(at));
    return {original.bytes, modified};
}

} // namespace

// BPS on its own, over bytes: numbers, round trips, the creator's choice of actions, and a
// refusal with the right reason and place for every way a patch can be wrong.
class TestBps : public QObject
{
    Q_OBJECT

private slots:
    void crcOfTheCheckText();
    void numbers_data();
    void numbers();
    void numbersThatCannotBeRead_data();
    void numbersThatCannotBeRead();
    void roundTrips_data();
    void roundTrips();
    void refusals_data();
    void refusals();
    void everyDamagedByteIsRefused();
    void metadataIsKept();
};

void TestBps::crcOfTheCheckText()
{
    const Bytes text = test::bytesOf(QByteArrayLiteral("123456789"));
    QCOMPARE(patch::crc32(text), 0xCBF43926u);
    QCOMPARE(patch::crc32(Bytes()), 0u);
}

void TestBps::numbers_data()
{
    QTest::addColumn<quint64>("value");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("0") << quint64(0) << QByteArray::fromHex("80");
    QTest::newRow("127") << quint64(127) << QByteArray::fromHex("ff");
    QTest::newRow("128") << quint64(128) << QByteArray::fromHex("0080");
    QTest::newRow("16511") << quint64(16511) << QByteArray::fromHex("7fff");
    QTest::newRow("16512") << quint64(16512) << QByteArray::fromHex("000080");
    QTest::newRow("2113663") << quint64(2113663) << QByteArray::fromHex("7f7fff");
    QTest::newRow("2113664") << quint64(2113664) << QByteArray::fromHex("00000080");
    QTest::newRow("2^32") << (quint64(1) << 32) << QByteArray::fromHex("007f7e7e8e");
    QTest::newRow("2^64-1") << ~quint64(0) << QByteArray::fromHex("7f7e7e7e7e7e7e7e7e80");
}

void TestBps::numbers()
{
    QFETCH(quint64, value);
    QFETCH(QByteArray, encoded);
    Bytes out;
    patch::bps::appendNumber(out, value);
    QCOMPARE(test::toQByteArray(out).toHex(), encoded.toHex());
    QCOMPARE(patch::bps::numberSize(value), std::size_t(encoded.size()));
    // Read back from the middle of other bytes: exactly its own bytes are used.
    const Bytes stream = Bytes {0x55} + out + Bytes {0x81};
    std::size_t pos = 1;
    const auto read = patch::bps::readNumber(stream, pos, stream.size());
    QCOMPARE(read.status, patch::bps::NumberStatus::Ok);
    QCOMPARE(read.value, value);
    QCOMPARE(pos, std::size_t(1 + encoded.size()));
}

void TestBps::numbersThatCannotBeRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("no last byte") << QByteArray::fromHex("0000") << false;
    QTest::newRow("2^64") << QByteArray::fromHex("007f7e7e7e7e7e7e7e80") << true;
    QTest::newRow("eleven bytes") << QByteArray::fromHex("0000000000000000000080") << true;
}

void TestBps::numbersThatCannotBeRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, overflow);
    const Bytes stream = test::bytesOf(bytes);
    std::size_t pos = 0;
    const auto read = patch::bps::readNumber(stream, pos, stream.size());
    QCOMPARE(read.status,
        overflow ? patch::bps::NumberStatus::Overflow : patch::bps::NumberStatus::Truncated);
    QCOMPARE(pos, std::size_t(0));
}

void TestBps::roundTrips_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("target");
    // Moved and repeated data must come from copies, not from the patch: such patches stay far
    // smaller than the 10 000 and 25 000 bytes that changed place; a changed course costs its
    // changed bytes and little more. 0: no bound.
    QTest::addColumn<int>("largest");
    std::mt19937 rng(5);
    const Bytes noise = test::randomBytes(rng, 40000);
    Bytes moved = noise; // two blocks swapped
    std::rotate(moved.begin() + 1000, moved.begin() + 21000, moved.begin() + 31000);
    Bytes repeated = noise; // new bytes, then the same pattern many times over
    for (std::size_t i = 5000; i < 30000; ++i)
        repeated[i] = std::uint8_t("velmor"[i % 6]);
    const auto [original, modified] = courseChanged(5, 9, true);
    const auto changed = std::inner_product(original.begin(), original.end(), modified.begin(), 0,
        std::plus<>(), std::not_equal_to<>());
    QVERIFY(changed > 100);
    const auto row = [](const char *name, const Bytes &s, const Bytes &t, int largest = 0) {
        QTest::newRow(name) << test::toQByteArray(s) << test::toQByteArray(t) << largest;
    };
    row("identical", noise, noise, 40);
    row("one course changed", original, modified, changed + 100);
    row("blocks swapped", noise, moved, 60);
    row("repeated pattern", noise, repeated, 60);
    row("target longer", Bytes(noise.begin(), noise.begin() + 30000), noise);
    // A ROM padded to a larger size: a run that goes on past what the source has.
    const Bytes padded = noise + Bytes(10000, 0xFF);
    row("padding continued", padded, padded + Bytes(100000, 0xFF), 60);
    row("target shorter", noise, Bytes(noise.begin() + 10, noise.begin() + 30000));
    row("empty source", Bytes(), noise);
    row("empty target", noise, Bytes());
    row("unrelated", noise, test::randomBytes(rng, 1234));
}

void TestBps::roundTrips()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, target);
    QFETCH(int, largest);
    const Bytes s = test::bytesOf(source);
    const Bytes t = test::bytesOf(target);
    const patch::PatchResult made = patch::bps::create(s, t);
    QVERIFY2(made.ok, made.error.c_str());
    const patch::PatchResult applied = patch::bps::apply(s, made.bytes);
    QVERIFY2(applied.ok, applied.error.c_str());
    QVERIFY(applied.bytes == t);
    if (largest > 0)
        QVERIFY2(made.bytes.size() <= std::size_t(largest),
            qPrintable(QString::number(made.bytes.size())));
}

void TestBps::refusals_data()
{
    using A = patch::bps::Action;
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<PatchFault>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("reason");
    const Bytes good =
        finish(bpsNumbers({16, 16, 0, act(A::TargetRead, 16)}) + Target, Source, Target);
    const auto row = [](const char *name, const Bytes &patch, PatchFault fault, int at,
                         const char *reason) {
        QTest::newRow(name) << test::toQByteArray(patch) << fault << at
                            << QString::fromLatin1(reason);
    };
    row("not BPS", Bytes {'B', 'P', 'S', '2'} + Bytes(good.begin() + 4, good.end()),
        PatchFault::NotAPatch, 0, "does not start with \"BPS1\"");
    row("only the magic", Bytes {'B', 'P', 'S', '1', 0x90}, PatchFault::Truncated, 5,
        "before its header and checksums");
    row("cut in the middle", Bytes(good.begin(), good.begin() + 30), PatchFault::Truncated, 7,
        "TargetRead of 16 bytes runs into the checksums");
    row("overflowing size",
        finish(test::fromHex("007f7e7e7e7e7e7e7e80") + bpsNumbers({16, 0}), Source, Target),
        PatchFault::Malformed, 4, "source size is a number larger than 64 bits");
    row("number cut by the checksums",
        finish(bpsNumbers({16, 16, 0}) + Bytes {0x00}, Source, Target), PatchFault::Truncated, 7,
        "ends inside the action");
    row("metadata too long", finish(bpsNumbers({16, 16, 100}), Source, Target),
        PatchFault::Truncated, 6, "metadata of 100 bytes runs into the checksums");
    row("wrong source size",
        finish(bpsNumbers({17, 16, 0, act(A::TargetRead, 16)}) + Target, Source, Target),
        PatchFault::WrongSource, 4, "made for a source of 17 bytes, this source has 16 bytes");
    row("wrong source CRC",
        finish(
            bpsNumbers({16, 16, 0, act(A::TargetRead, 16)}) + Target, Source, Target, 0x12345678),
        PatchFault::WrongSource, 24,
        "made for another source: its source CRC32 is 0x12345678, this source's is 0x");
    row("wrong target CRC",
        finish(bpsNumbers({16, 16, 0, act(A::TargetRead, 16)}) + Target, Source, Target, {},
            0x12345678),
        PatchFault::Checksum, 28, "the result's CRC32 is");
    Bytes badPatch = good;
    badPatch.back() ^= 0x80;
    row("wrong patch CRC", badPatch, PatchFault::Checksum, 32, "the patch's own CRC32 is");
    row("SourceRead past the source",
        finish(bpsNumbers({16, 20, 0, act(A::SourceRead, 20)}), Source, Bytes(20)),
        PatchFault::PastEnd, 7,
        "SourceRead of 20 bytes at offset 0 reads past the end of the source");
    row("write past the target",
        finish(bpsNumbers({16, 16, 0, act(A::SourceRead, 17)}), Source, Source),
        PatchFault::PastEnd, 7, "writes past the end of the target (16 bytes)");
    row("SourceCopy before the source",
        finish(bpsNumbers({16, 4, 0, act(A::SourceCopy, 4), 3}), Source, Bytes(4)),
        PatchFault::PastEnd, 7, "moves its offset from 0 back by 1, outside the source");
    row("SourceCopy past the source",
        finish(bpsNumbers({16, 4, 0, act(A::SourceCopy, 4), 28}), Source, Bytes(4)),
        PatchFault::PastEnd, 7, "SourceCopy of 4 bytes from offset 14 reads past the end");
    row("TargetCopy of nothing",
        finish(bpsNumbers({16, 4, 0, act(A::TargetCopy, 4), 0}), Source, Bytes(4)),
        PatchFault::PastEnd, 7, "reads past the end of the target written so far (0 bytes)");
    row("TargetCopy ahead of the output",
        finish(bpsNumbers({16, 4, 0, act(A::TargetRead, 2)}) + Bytes {1, 2}
                + bpsNumbers({act(A::TargetCopy, 2), 4}),
            Source, Bytes(4)),
        PatchFault::PastEnd, 10,
        "TargetCopy of 2 bytes from offset 2 reads past the end of the "
        "target written so far (2 bytes)");
    row("actions end early", finish(bpsNumbers({16, 16, 0, act(A::SourceRead, 8)}), Source, Source),
        PatchFault::Truncated, 8, "the actions end after 8 bytes of the target's 16 bytes");
    row("target too large", finish(bpsNumbers({16, std::uint64_t(1) << 40, 0}), Source, Target),
        PatchFault::TooLarge, 4, "the target would have 1099511627776 bytes");
}

void TestBps::refusals()
{
    QFETCH(QByteArray, patch);
    QFETCH(PatchFault, fault);
    QFETCH(int, at);
    QFETCH(QString, reason);
    const patch::PatchResult applied = patch::bps::apply(Source, test::bytesOf(patch));
    QVERIFY(!applied.ok);
    QVERIFY(applied.bytes.empty());
    QCOMPARE(applied.fault, fault);
    const QString error = QString::fromStdString(applied.error);
    QVERIFY2(error.startsWith(QStringLiteral("BPS patch refused at byte %1: ").arg(at)),
        qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestBps::everyDamagedByteIsRefused()
{
    std::mt19937 rng(17);
    const Bytes source = test::randomBytes(rng, 3000, 16);
    Bytes target = source;
    std::rotate(target.begin() + 100, target.begin() + 900, target.begin() + 2000);
    for (std::size_t i = 2500; i < 2600; ++i)
        target[i] = std::uint8_t(i);
    const Bytes good = patch::bps::create(source, target).bytes;
    // CRC32 catches every error within 32 bits, so no damaged byte may get through: each is
    // refused, and never with a read or write outside the buffers (the sanitizer build checks).
    for (std::size_t at = 0; at < good.size(); ++at) {
        Bytes damaged = good;
        damaged[at] ^= std::uint8_t(1 + rng() % 255);
        const patch::PatchResult applied = patch::bps::apply(source, damaged);
        QVERIFY2(!applied.ok && !applied.error.empty(), qPrintable(QString::number(at)));
        const patch::PatchResult cut = patch::bps::apply(source, patch::ByteView(good).first(at));
        QVERIFY2(!cut.ok && !cut.error.empty(), qPrintable(QString::number(at)));
    }
}

void TestBps::metadataIsKept()
{
    const patch::PatchResult made = patch::bps::create(Source, Target, "made by Velmor");
    const auto header = patch::bps::readHeader(made.bytes);
    QVERIFY(header);
    QCOMPARE(header->metadata, std::string("made by Velmor"));
    QCOMPARE(header->sourceSize, quint64(16));
    QCOMPARE(header->sourceCrc, patch::crc32(Source));
    QCOMPARE(header->targetCrc, patch::crc32(Target));
    QVERIFY(patch::bps::apply(Source, made.bytes).bytes == Target);
}

VELMOR_GUILESS_TEST_MAIN(TestBps)
#include "test_bps.moc"
