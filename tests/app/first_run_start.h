#pragma once

#include "app/load_sequence.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/app/startup_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace velmor::test {

// One start of the program in a folder of its own: the start-up directory holds the
// configuration file, tools/ the compressor, roms/ the user's ROM.
struct Start
{
    Start()
        : cwd(dir.path())
    {
        QDir(dir.path()).mkpath(QStringLiteral("tools"));
        QDir(dir.path()).mkpath(QStringLiteral("roms"));
    }

    QString path(const QString &relative) const { return dir.filePath(relative); }
    QString recomp() const { return path(QStringLiteral("tools/recomp.exe")); }
    QString rom(const QString &name) const { return path(QStringLiteral("roms/") + name); }
    QString romFolder() const { return path(QStringLiteral("roms/")); }
    QString configPath() const { return path(QStringLiteral("Velmor.cfg")); }

    void make(const QString &file, const QByteArray &bytes = "MZ")
    {
        QVERIFY(files.writeFile(file, bytes, nullptr));
    }

    // A synthetic ROM image: not a real game, just bytes that a copy must keep in order.
    static QByteArray romBytes()
    {
        QByteArray bytes;
        for (int i = 0; i < 3000; ++i)
            bytes.append(char(i * 7 + i / 256));
        return bytes;
    }

    const StartupState &run()
    {
        sequence = std::make_unique<LoadSequence>(services, dir.path());
        return sequence->run();
    }

    QByteArray read(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &file) const { return QFileInfo::exists(file); }

    // The user cancels the compressor's dialog, then answers Yes to going on without it.
    void goOnWithoutCompressor()
    {
        dialog.cancel();
        messages.answer(MessageBoxes::Answer::Yes);
    }

    void verifyScriptUsedUp() const
    {
        QCOMPARE(dialog.unexpected(), 0);
        QCOMPARE(dialog.unanswered(), 0);
        QCOMPARE(messages.unexpected(), 0);
        QCOMPARE(messages.unanswered(), 0);
    }

    QTemporaryDir dir;
    CurrentDirectory cwd;
    ScriptedFileDialog dialog;
    FiniteMessageBoxes messages;
    QtFileSystem files;
    Services services {dialog, messages, files};
    std::unique_ptr<LoadSequence> sequence;
};

inline void verifyCompressorDialog(const FileDialog::Settings &settings, const QString &fileName)
{
    QCOMPARE(settings.title, QStringLiteral("Point to recomp.exe"));
    QCOMPARE(settings.fileName, fileName);
    QCOMPARE(settings.filter, QStringLiteral("EXE Files (*.exe)|*.exe"));
    QCOMPARE(settings.defaultExtension, QStringLiteral("exe"));
}

inline void verifyRomDialog(const FileDialog::Settings &settings)
{
    QCOMPARE(settings.title, QStringLiteral("Select your SMK ROM"));
    QCOMPARE(settings.fileName, QStringLiteral("Super Mario Kart ROM"));
    QCOMPARE(settings.filter, QStringLiteral("SNES Files (*.smc)|*.smc"));
    QCOMPARE(settings.defaultExtension, QStringLiteral("smc"));
}

inline const QString Welcome = QStringLiteral("First time running Velmor?");
inline const QString WrongFile = QStringLiteral("That's not RECOMP.EXE!");
inline const QString Q1 = QStringLiteral("I did not find RECOMP.EXE.");
inline const QString PickRom = QStringLiteral("Point to your ROM file.");
inline const QString Q2 = QStringLiteral("You did not pick your SMK ROM.");

} // namespace velmor::test
