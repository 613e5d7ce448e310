#include "app/config_file.h"
#include "tests/app/startup_test_support.h"
#include "platform/file_system.h"
#include "tests/support/test_main.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace velmor;

namespace {

Configuration example()
{
    return {QStringLiteral("C:\\tools\\recomp.exe"), QStringLiteral("C:\\roms\\"),
            QStringLiteral("C:\\roms\\kart.smc"), QStringLiteral("kart")};
}

// The eight lines of the example, joined by the given line end.
QByteArray exampleBytes(const QByteArray &end, bool lastEnd = true)
{
    const QList<QByteArray> lines{"Full Path to RECOMP.EXE", "C:\\tools\\recomp.exe", "ROM Folder",
                                  "C:\\roms\\", "Original ROM Path", "C:\\roms\\kart.smc",
                                  "ROM name with no Extension", "kart"};
    QByteArray bytes = lines.join(end);
    if (lastEnd)
        bytes += end;
    return bytes;
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void encodesTheEightLinesByteForByte()
    {
        QString error;
        const std::optional<QByteArray> bytes = ConfigFile::encode(example(), &error);
        QVERIFY2(bytes, qPrintable(error));
        QCOMPARE(*bytes, exampleBytes("\r\n"));
    }

    void encodesEmptyValuesAsEmptyLines()
    {
        const std::optional<QByteArray> bytes = ConfigFile::encode(Configuration{}, nullptr);
        QVERIFY(bytes);
        QCOMPARE(bytes->count("\r\n"), 8);
        const std::optional<Configuration> back = ConfigFile::decode(*bytes, nullptr);
        QVERIFY(back);
        QCOMPARE(*back, Configuration{});
    }

    void refusesValuesThatCannotComeBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("line feed") << QStringLiteral("C:\\roms\nkart.smc");
        QTest::newRow("carriage return") << QStringLiteral("C:\\roms\rkart.smc");
        // A lone surrogate has no form in any code page.
        QTest::newRow("unstorable character") << (QStringLiteral("C:\\") + QChar(0xD800));
    }

    void refusesValuesThatCannotComeBack()
    {
        QFETCH(QString, value);
        Configuration config = example();
        config.userRomPath = value;
        QString error;
        QVERIFY(!ConfigFile::encode(config, &error));
        QVERIFY(!error.isEmpty());
    }

    void readsLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << exampleBytes("\r\n");
        QTest::newRow("lone LF") << exampleBytes("\n");
        QTest::newRow("lone CR") << exampleBytes("\r");
        QTest::newRow("last line without end") << exampleBytes("\r\n", false);
        QTest::newRow("mixed") << QByteArray("a\r\nC:\\tools\\recomp.exe\nb\rC:\\roms\\\r\nc\n"
                                             "C:\\roms\\kart.smc\rd\r\nkart\n");
        QTest::newRow("changed labels")
            << QByteArray("x\r\nC:\\tools\\recomp.exe\r\n\r\nC:\\roms\\\r\nROM Folder\r\n"
                          "C:\\roms\\kart.smc\r\nwhatever\r\nkart\r\n");
        // Only eight lines are read: what follows, even bytes that are no text, is ignored.
        QTest::newRow("trailing lines") << exampleBytes("\r\n") + "more\r\n\xff\xfe\r\n";
    }

    void readsLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        const std::optional<Configuration> config = ConfigFile::decode(bytes, &error);
        QVERIFY2(config, qPrintable(error));
        QCOMPARE(*config, example());
    }

    void refusesShortFiles_data()
    {
        QTest::addColumn<int>("lines");
        for (int lines = 0; lines < 8; ++lines)
            QTest::addRow("%d lines", lines) << lines;
    }

    void refusesShortFiles()
    {
        QFETCH(int, lines);
        const QList<QByteArray> all = exampleBytes("\r\n").split('\n');
        QByteArray bytes;
        for (int i = 0; i < lines; ++i)
            bytes += all.at(i) + '\n';
        QString error;
        QVERIFY(!ConfigFile::decode(bytes, &error));
        QVERIFY(error.contains(QString::number(lines)));
    }

    void refusesLinesThatAreNoText()
    {
        QStringDecoder probe(QStringDecoder::System);
        const QString probed = probe(QByteArray("\xff\xfe\xc0"));
        Q_UNUSED(probed)
        if (!probe.hasError())
            QSKIP("every byte is text in this system's code page");
        QByteArray bytes = exampleBytes("\r\n");
        bytes.replace("kart\r\n", "k\xff\xfe\xc0\r\n");
        QString error;
        QVERIFY(!ConfigFile::decode(bytes, &error));
        QVERIFY(error.contains(QStringLiteral("Line 8")));
    }

    void writesAndReadsAFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QtFileSystem files;
        const QString path = dir.filePath(QStringLiteral("Velmor.cfg"));
        QString error;
        QVERIFY2(ConfigFile::write(files, path, example(), &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), exampleBytes("\r\n"));
        const std::optional<Configuration> back = ConfigFile::read(files, path, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(*back, example());
    }

    void aRefusedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        QtFileSystem files;
        const QString path = dir.filePath(QStringLiteral("Velmor.cfg"));
        QVERIFY(ConfigFile::write(files, path, example(), nullptr));
        Configuration bad = example();
        bad.recompPath = QStringLiteral("two\nlines");
        QString error;
        QVERIFY(!ConfigFile::write(files, path, bad, &error));
        QVERIFY(!error.isEmpty());
        const std::optional<Configuration> kept = ConfigFile::read(files, path, nullptr);
        QVERIFY(kept);
        QCOMPARE(*kept, example());
    }

    void readNamesTheFileThatFailed()
    {
        QTemporaryDir dir;
        QtFileSystem files;
        const QString path = dir.filePath(QStringLiteral("Velmor.cfg"));
        QString error;
        QVERIFY(!ConfigFile::read(files, path, &error));
        QVERIFY(error.contains(QDir::toNativeSeparators(path)));
        QVERIFY(files.writeFile(path, "one\r\ntwo\r\n", nullptr));
        QVERIFY(!ConfigFile::read(files, path, &error));
        QVERIFY(error.contains(QDir::toNativeSeparators(path)));
        QVERIFY(error.contains(QStringLiteral("2 lines")));
    }
};

VELMOR_GUILESS_TEST_MAIN(TestConfigFile)
#include "test_config_file.moc"
