#include "patch/ips.h"
#include "tests/support/synthetic_rom.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;
using patch::Bytes;
using patch::PatchFault;

Q_DECLARE_METATYPE(velmor::patch::PatchFault)

namespace {

struct Record
{
    std::size_t offset = 0;
    std::size_t size = 0;
    bool run = false;
};

// The records of a well-formed patch, read by hand, to see what the creator chose.
std::vector<Record> records(const Bytes &patch)
{
    std::vector<Record> found;
    std::size_t pos = 5;
    while (pos + 3 <= patch.size()
        && !(patch[pos] == 'E' && patch[pos + 1] == 'O' && patch[pos + 2] == 'F')) {
        Record r;
        r.offset =
            std::size_t(patch[pos]) << 16 | std::size_t(patch[pos + 1]) << 8 | patch[pos + 2];
        r.size = std::size_t(patch[pos + 3]) << 8 | patch[pos + 4];
        r.run = r.size == 0;
        pos += 5 + (r.run ? 3 : r.size);
        found.push_back(r);
    }
    return found;
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes ips(const char *recordsHex)
{
    return test::bytesOf(QByteArrayLiteral("PATCH")) + test::fromHex(recordsHex);
}

} // namespace

// IPS on its own, over bytes: round trips, run-length records where they are shorter, the offset
// that reads as "EOF", the 16 MB limit, and the refusals of broken patches.
class TestIps : public QObject
{
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void runRecordsOnlyWhereShorter_data();
    void runRecordsOnlyWhereShorter();
    void neverARecordAtTheEofOffset_data();
    void neverARecordAtTheEofOffset();
    void past16MegabytesIsRefused();
    void recordsExtendAndTruncate();
    void refusals_data();
    void refusals();
};

void TestIps::roundTrips_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("target");
    std::mt19937 rng(8);
    const Bytes rom = test::syntheticRom(4, false);
    Bytes scattered = rom;
    for (int k = 0; k < 300; ++k)
        scattered[rng() % scattered.size()] ^= 0x5A;
    Bytes big = rom; // a changed stretch longer than one record can hold
    for (std::size_t i = 1000; i < 150000; ++i)
        big[i] = std::uint8_t(i % 7 == 0 ? 0 : ~big[i]);
    const auto row = [](const char *name, const Bytes &s, const Bytes &t) {
        QTest::newRow(name) << test::toQByteArray(s) << test::toQByteArray(t);
    };
    row("identical", rom, rom);
    row("scattered bytes", rom, scattered);
    row("150 KB changed", rom, big);
    row("target longer", Bytes(rom.begin(), rom.begin() + 4000),
        Bytes(rom.begin(), rom.begin() + 9000));
    row("target shorter", rom, Bytes(rom.begin(), rom.begin() + 1024));
    row("target shorter and changed", rom, Bytes(scattered.begin(), scattered.begin() + 70000));
    row("empty source", Bytes(), Bytes(rom.begin(), rom.begin() + 700));
    row("empty target", rom, Bytes());
}

void TestIps::roundTrips()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, target);
    const Bytes s = test::bytesOf(source);
    const Bytes t = test::bytesOf(target);
    const patch::PatchResult made = patch::ips::create(s, t);
    QVERIFY2(made.ok, made.error.c_str());
    const patch::PatchResult applied = patch::ips::apply(s, made.bytes);
    QVERIFY2(applied.ok, applied.error.c_str());
    QVERIFY(applied.bytes == t);
    for (const Record &r : records(made.bytes))
        QVERIFY(r.run || r.size > 0);
}

void TestIps::runRecordsOnlyWhereShorter_data()
{
    // A run of equal new bytes, alone or between 20 other new bytes; run records cost 8 bytes and
    // split the plain record around them, so they pay off past 3, 8 and 13 bytes.
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("runRecords");
    QTest::newRow("alone, 3") << 0 << 3 << 0 << 0;
    QTest::newRow("alone, 4") << 0 << 4 << 0 << 1;
    QTest::newRow("alone, 1000") << 0 << 1000 << 0 << 1;
    QTest::newRow("alone, 70000") << 0 << 70000 << 0 << 2;
    QTest::newRow("leading, 8") << 0 << 8 << 20 << 0;
    QTest::newRow("leading, 9") << 0 << 9 << 20 << 1;
    QTest::newRow("trailing, 9") << 20 << 9 << 0 << 1;
    QTest::newRow("middle, 13") << 20 << 13 << 20 << 0;
    QTest::newRow("middle, 14") << 20 << 14 << 20 << 1;
}

void TestIps::runRecordsOnlyWhereShorter()
{
    QFETCH(int, before);
    QFETCH(int, length);
    QFETCH(int, after);
    QFETCH(int, runRecords);
    const Bytes source(100000, 0x00);
    Bytes target = source;
    std::size_t at = 500;
    for (int k = 0; k < before; ++k)
        target[at++] = std::uint8_t(0x10 + k);
    for (int k = 0; k < length; ++k)
        target[at++] = 0xEE;
    for (int k = 0; k < after; ++k)
        target[at++] = std::uint8_t(0x40 + k);
    const patch::PatchResult made = patch::ips::create(source, target);
    QVERIFY(made.ok);
    const std::vector<Record> found = records(made.bytes);
    QCOMPARE(int(std::count_if(found.begin(), found.end(), [](const Record &r) { return r.run; })),
        runRecords);
    QVERIFY(patch::ips::apply(source, made.bytes).bytes == target);
}

void TestIps::neverARecordAtTheEofOffset_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("equalBytes");
    const int eof = int(patch::ips::EofOffset);
    QTest::newRow("starts there") << eof << 10 << false;
    QTest::newRow("a run starts there") << eof << 500 << true;
    QTest::newRow("one byte there") << eof << 1 << false;
    QTest::newRow("the byte before changed too") << eof - 1 << 10 << false;
    QTest::newRow("a long record's second part") << eof - 0xFFFF << 0x10100 << false;
}

void TestIps::neverARecordAtTheEofOffset()
{
    QFETCH(int, from);
    QFETCH(int, length);
    QFETCH(bool, equalBytes);
    const Bytes source(0x460000, 0x11);
    Bytes target = source;
    for (int k = 0; k < length; ++k)
        target[std::size_t(from + k)] = equalBytes ? 0x77 : std::uint8_t(0x20 + k % 200);
    const patch::PatchResult made = patch::ips::create(source, target);
    QVERIFY(made.ok);
    for (const Record &r : records(made.bytes))
        QVERIFY2(r.offset != patch::ips::EofOffset, "a record at 0x454F46 reads as EOF");
    const patch::PatchResult applied = patch::ips::apply(source, made.bytes);
    QVERIFY2(applied.ok, applied.error.c_str());
    QVERIFY(applied.bytes == target);
}

void TestIps::past16MegabytesIsRefused()
{
    const Bytes small(16, 0);
    const Bytes large(patch::ips::MaxSize + 1, 1);
    for (const auto &[s, t] : {std::pair(&small, &large), std::pair(&large, &small)}) {
        const patch::PatchResult made = patch::ips::create(*s, *t);
        QVERIFY(!made.ok);
        QCOMPARE(made.fault, PatchFault::TooLarge);
        QVERIFY2(made.error.find("16777217 bytes: its offsets have 24 bits") != std::string::npos,
            made.error.c_str());
    }
    // Exactly 16 MB still has every offset.
    const Bytes full(patch::ips::MaxSize, 2);
    QVERIFY(patch::ips::apply(small, patch::ips::create(small, full).bytes).bytes == full);
}

void TestIps::recordsExtendAndTruncate()
{
    const Bytes source = test::fromHex("0102030405");
    // A record past the end extends the file, zeros filling the gap up to it.
    const patch::PatchResult extended = patch::ips::apply(source, ips("00000700020a0b454f46"));
    QVERIFY2(extended.ok, extended.error.c_str());
    QCOMPARE(test::toQByteArray(extended.bytes).toHex(), QByteArray("010203040500000a0b"));
    // A run record, then the truncate size after EOF.
    const patch::PatchResult cut = patch::ips::apply(source, ips("0000010000000377454f46000003"));
    QVERIFY2(cut.ok, cut.error.c_str());
    QCOMPARE(test::toQByteArray(cut.bytes).toHex(), QByteArray("017777"));
}

void TestIps::refusals_data()
{
    QTest::addColumn<QByteArray>("patch");
    QTest::addColumn<int>("limit");
    QTest::addColumn<PatchFault>("fault");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const Bytes &patch, int limit, PatchFault fault, int at,
                         const char *reason) {
        QTest::newRow(name) << test::toQByteArray(patch) << limit << fault << at
                            << QString::fromLatin1(reason);
    };
    row("not IPS", test::bytesOf(QByteArrayLiteral("PATCJ")) + test::fromHex("454f46"), 64,
        PatchFault::NotAPatch, 0, "does not start with \"PATCH\"");
    row("no EOF", ips("000001000141"), 64, PatchFault::Truncated, 11, "without its \"EOF\" marker");
    row("header cut",
        ips("000001000141"
            "00000200"),
        64, PatchFault::Truncated, 11, "ends inside a record's header");
    row("data cut", ips("0000010004414243"), 64, PatchFault::Truncated, 5,
        "the record of 4 bytes at 0x00000001 is cut off by the end of the patch");
    row("run cut", ips("00000100000010"), 64, PatchFault::Truncated, 5,
        "ends inside the run-length record at 0x00000001");
    row("run of nothing", ips("0000010000000041454f46"), 64, PatchFault::Malformed, 5,
        "repeats 0 times");
    row("record past the limit", ips("00003e000441424344454f46"), 64, PatchFault::PastEnd, 5,
        "the record for 0x0000003E-0x00000041 runs past the end of the 64 bytes it may change");
    row("run past the limit", ips("00003f00000002ff454f46"), 64, PatchFault::PastEnd, 5,
        "runs past the end of the 64 bytes");
    row("record past 16 MB", ips("ffffff00024142454f46"), 0x1000000, PatchFault::PastEnd, 5,
        "past the end of the 16777216 bytes");
    row("truncate past the limit", ips("454f46000041"), 64, PatchFault::PastEnd, 8,
        "the size to truncate to, 65 bytes, is past the 64 bytes");
    row("bytes after EOF", ips("454f460000"), 64, PatchFault::Malformed, 8,
        "2 bytes follow \"EOF\"");
}

void TestIps::refusals()
{
    QFETCH(QByteArray, patch);
    QFETCH(int, limit);
    QFETCH(PatchFault, fault);
    QFETCH(int, at);
    QFETCH(QString, reason);
    const patch::PatchResult applied =
        patch::ips::apply(Bytes(10, 0), test::bytesOf(patch), std::size_t(limit));
    QVERIFY(!applied.ok);
    QVERIFY(applied.bytes.empty());
    QCOMPARE(applied.fault, fault);
    const QString error = QString::fromStdString(applied.error);
    QVERIFY2(error.startsWith(QStringLiteral("IPS patch refused at byte %1: ").arg(at)),
        qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

VELMOR_GUILESS_TEST_MAIN(TestIps)
#include "test_ips.moc"
