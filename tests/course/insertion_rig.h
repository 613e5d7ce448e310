#pragma once

#include "course/rom_insertion.h"
#include "course/track_state.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/tool_runner.h"
#include "tests/course/tool_fixture.h"
#include "tests/support/scripted_ui.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace velmor::test {

inline constexpr qsizetype HeaderedRomSize = 524800;
inline constexpr qsizetype PlainRomSize = 524288;

// Everything an insertion needs, with record_args as the compressor, the user's ROM "kart.smc"
// in a temporary folder, and scripts for the dialogs and message boxes.
struct InsertionRig
{
    QTemporaryDir dir;
    ScriptedFileDialog dialog;
    ScriptedMessageBoxes messages;
    QtFileSystem files;
    ToolRunner runner;
    Services services {dialog, messages, files, &runner};
    TrackState state;
    RomInsertion insertion {services, state};
    QSignalSpy ended {&insertion, &RomInsertion::finished};
    QString argsFile = dir.filePath(QStringLiteral("recorded args.json"));

    explicit InsertionRig(qsizetype userRomSize = HeaderedRomSize)
    {
        Configuration settings;
        settings.recompPath = recordArgsProgram();
        settings.userRomPath = dir.filePath(QStringLiteral("kart.smc"));
        settings.romBaseName = QStringLiteral("kart");
        settings.romFolder = dir.path() + QLatin1Char('/');
        insertion.setSettings(settings);
        if (userRomSize > 0)
            writeBytes(settings.userRomPath, syntheticRom(userRomSize));
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // A whole course of tile 01, as fill groups of 32 cells: only whole courses are inserted.
    QString makeTrack(const QString &name)
    {
        const QString trackPath = path(name);
        writeBytes(trackPath, QByteArray("\x3f\x01").repeated(16384 / 32) + '\xff');
        return trackPath;
    }

    // Waits for the end of the procedure, whether it ended at once or through the tool.
    std::optional<RomInsertion::Outcome> outcome()
    {
        if (ended.isEmpty() && !ended.wait(15000)) {
            QTest::qFail("the insertion did not end within 15 s", __FILE__, __LINE__);
            return std::nullopt;
        }
        if (ended.size() != 1)
            return std::nullopt;
        return ended.at(0).at(0).value<RomInsertion::Outcome>();
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const ScriptedMessageBoxes::Message &message : messages.messages())
            texts.append(message.text);
        return texts;
    }
};

} // namespace velmor::test
