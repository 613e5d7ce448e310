#include "brute_force.h"
#include "tests/support/synthetic_rom.h"

#include "codec/codec.h"
#include "tests/support/test_main.h"

#include <QTest>

using namespace velmor;

// The compressors: every output decodes back to its input, and the optimal parse is as short as
// an exhaustive search and a plain reference parse say the format allows.
class TestCodecCompress : public QObject
{
    Q_OBJECT

private slots:
    void optimalEqualsBruteForce_data();
    void optimalEqualsBruteForce();
    void optimalEqualsReferenceOnLongerInputs_data();
    void optimalEqualsReferenceOnLongerInputs();
    void roundTrips_data();
    void roundTrips();
    void knownShortestStreams_data();
    void knownShortestStreams();
    void rejectsInputBeyondTheFormat();

private:
    static void checkRoundTrip(const codec::Bytes &data, const codec::Bytes &stream);
};

void TestCodecCompress::checkRoundTrip(const codec::Bytes &data, const codec::Bytes &stream)
{
    const codec::DecodeResult back = codec::decode(stream);
    QVERIFY2(back.ok, back.error.c_str());
    QCOMPARE(back.consumed, stream.size());
    QVERIFY(back.output == data);
}

void TestCodecCompress::optimalEqualsBruteForce_data()
{
    QTest::addColumn<QByteArray>("data");
    std::mt19937 rng(77);
    // Small alphabets make fills, copies and inverted copies (with bytes near 0x00 and 0xFF)
    // all worth taking, so every command competes.
    for (int k = 0; k < 160; ++k) {
        const int alphabet = 1 + k % 5;
        const std::size_t length = 1 + rng() % 56;
        codec::Bytes data = test::randomBytes(rng, length, alphabet);
        for (auto &b : data) {
            if (rng() % 3 == 0)
                b = std::uint8_t(0xFF - b);
            else if (rng() % 7 == 0)
                b = std::uint8_t(b + 0x10 * (rng() % 3));
        }
        QTest::addRow("random %d (%zu bytes, alphabet %d)", k, length, alphabet)
            << test::toQByteArray(data);
    }
    QTest::newRow("long run past the short header") << QByteArray(45, 'x');
    QTest::newRow("increasing wrap") << QByteArray::fromHex("fafbfcfdfeff000102030405");
    QTest::newRow("inverted echo") << QByteArray::fromHex("0102030405fefdfcfbfa0102030405");
}

void TestCodecCompress::optimalEqualsBruteForce()
{
    QFETCH(QByteArray, data);
    const codec::Bytes bytes = test::bytesOf(data);
    const codec::Bytes stream = codec::compress(bytes);
    checkRoundTrip(bytes, stream);
    QCOMPARE(stream.size(), test::bruteForceShortest(bytes));
    QVERIFY(stream.size() <= codec::compressGreedy(bytes).size());
}

void TestCodecCompress::optimalEqualsReferenceOnLongerInputs_data()
{
    QTest::addColumn<QByteArray>("data");
    std::mt19937 rng(9);
    for (int k = 0; k < 6; ++k) {
        // Pieces of noise, long runs (past 32 and past 1024) and echoes of earlier pieces, near
        // and far, plain and inverted, so long headers and the length limits come into play.
        codec::Bytes data;
        while (data.size() < 2500) {
            const auto kind = rng() % 5;
            if (kind == 0 || data.size() < 8) {
                const codec::Bytes noise = test::randomBytes(rng, 1 + rng() % 40, 2 + k);
                data.insert(data.end(), noise.begin(), noise.end());
            } else if (kind == 1) {
                data.insert(data.end(), 20 + rng() % 1100, std::uint8_t(rng()));
            } else {
                const std::size_t from = rng() % data.size();
                const std::size_t length = std::min<std::size_t>(data.size() - from, 10 + rng() % 900);
                const std::uint8_t mask = kind == 4 ? 0xFF : 0;
                for (std::size_t i = 0; i < length; ++i)
                    data.push_back(std::uint8_t(data[from + i] ^ mask));
            }
        }
        QTest::addRow("mixed %d", k) << test::toQByteArray(data);
    }
    // A long inverted echo 50 bytes back: a relative inverted copy would be the cheapest chunk
    // if it could pass 768 bytes, which its header cannot say.
    QTest::newRow("relative inverted beyond 768")
        << test::toQByteArray([&rng] {
               codec::Bytes d = test::randomBytes(rng, 50);
               for (int i = 0; i < 900; ++i)
                   d.push_back(std::uint8_t(d[d.size() - 50] ^ 0xFF));
               return d;
           }());
}

void TestCodecCompress::optimalEqualsReferenceOnLongerInputs()
{
    QFETCH(QByteArray, data);
    const codec::Bytes bytes = test::bytesOf(data);
    const codec::Bytes stream = codec::compress(bytes);
    checkRoundTrip(bytes, stream);
    QCOMPARE(stream.size(), test::referenceShortest(bytes));
}

void TestCodecCompress::roundTrips_data()
{
    QTest::addColumn<QByteArray>("data");
    std::mt19937 rng(5);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte 0xff") << QByteArray(1, char(0xFF));
    QTest::newRow("noise 64 KB") << test::toQByteArray(test::randomBytes(rng, codec::MaxOutput));
    QTest::newRow("zeros 64 KB") << QByteArray(int(codec::MaxOutput), '\0');
    QTest::newRow("period 3 pattern") << QByteArray("abb").repeated(7000);
    QTest::newRow("fresh map track") << test::toQByteArray(
        test::trackStream(codec::Bytes(16384, 0x01)));
    codec::Bytes pattern(16384);
    for (std::size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = i % 3 == 0 ? 0x0A : 0x0B;
    QTest::newRow("repeating pattern track") << test::toQByteArray(test::trackStream(pattern));
    for (unsigned seed = 1; seed <= 3; ++seed)
        QTest::addRow("course-like track %u", seed)
            << test::toQByteArray(test::trackStream(test::courseLikeCells(seed)));
    QTest::newRow("noise track") << test::toQByteArray(
        test::trackStream(test::randomBytes(rng, 16384)));
}

void TestCodecCompress::roundTrips()
{
    QFETCH(QByteArray, data);
    const codec::Bytes bytes = test::bytesOf(data);
    const codec::Bytes optimal = codec::compress(bytes);
    const codec::Bytes greedy = codec::compressGreedy(bytes);
    checkRoundTrip(bytes, optimal);
    checkRoundTrip(bytes, greedy);
    QVERIFY(optimal.size() <= greedy.size());
}

void TestCodecCompress::knownShortestStreams_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("stream");
    QTest::newRow("nothing") << QByteArray() << QByteArray("ff");
    QTest::newRow("32 equal bytes, short fill") << QByteArray(32, 'A') << QByteArray("3f41ff");
    QTest::newRow("1024 equal bytes, long fill") << QByteArray(1024, 'A') << QByteArray("e7ff41ff");
    QTest::newRow("counting up") << QByteArray::fromHex("0001020304") << QByteArray("6400ff");
}

void TestCodecCompress::knownShortestStreams()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, stream);
    QCOMPARE(test::toQByteArray(codec::compress(test::bytesOf(data))).toHex(), stream);
}

void TestCodecCompress::rejectsInputBeyondTheFormat()
{
    // No stream can describe more than 64 KB; an empty result is never a valid stream.
    QVERIFY(codec::compress(codec::Bytes(codec::MaxOutput + 1, 0)).empty());
    QVERIFY(codec::compressGreedy(codec::Bytes(codec::MaxOutput + 1, 0)).empty());
}

VELMOR_GUILESS_TEST_MAIN(TestCodecCompress)
#include "test_codec_compress.moc"
