#pragma once

#include "course/import_track.h"
#include "course/track_state.h"
#include "document/course_map.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/support/scripted_ui.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace velmor::test {

// What an import test opens a course with: a fresh temporary folder, scripted dialogs and
// message boxes, the real file system, an empty map and a fresh track state for every case.
class ImportFixture
{
protected:
    // For init().
    void setUpImport()
    {
        mDir = std::make_unique<QTemporaryDir>();
        QVERIFY(mDir->isValid());
        mDialog = std::make_unique<ScriptedFileDialog>();
        mMessages = std::make_unique<ScriptedMessageBoxes>();
        mServices.reset(new Services {*mDialog, *mMessages, mFiles});
        mMap = std::make_unique<CourseMap>();
        mState = TrackState();
    }

    // For cleanup(): every scripted pick was used and nothing was asked that the case did not
    // expect.
    void verifyScriptsUsed()
    {
        QCOMPARE(mDialog->unanswered(), 0);
        QCOMPARE(mDialog->unexpected(), 0);
        QCOMPARE(mMessages->unexpected(), 0);
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = mDir->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }

    // Work an import must replace: a painted cell at the start and an erased one at `farCell`.
    void paintSomething(int farCell)
    {
        mMap->setCell(0, QStringLiteral("3c"), Mark::Painted);
        mMap->setCell(farCell, QStringLiteral("AB"), Mark::Erased);
    }

    // The first dialog shown is the one that picks a track file or a ROM to open.
    void verifyImportDialog()
    {
        QVERIFY(!mDialog->showings().isEmpty());
        const auto &showing = mDialog->showings().at(0);
        QCOMPARE(showing.mode, FileDialog::Mode::Open);
        QCOMPARE(showing.settings.title, QStringLiteral("Import Course From File"));
        QCOMPARE(showing.settings.filter,
            QStringLiteral("BIN Files (*.bin)|*.bin|SNES Files (*.smc *.sfc)|*.smc;*.sfc"));
    }

    // Paints, picks `path` and imports it as `course`: the import must fail and leave every
    // tile and mark as it was, with one message naming the file. The message goes to `text` for
    // the case's own facts.
    void verifyImportRefused(const QString &path, const QString &course, int farCell, QString &text)
    {
        paintSomething(farCell);
        const QStringList textsBefore = mMap->texts();
        const QList<Mark> marksBefore = mMap->marks();
        mDialog->pick(path);
        QSignalSpy changes(mMap.get(), &CourseMap::cellsChanged);

        QCOMPARE(importTrack(*mMap, mState, *mServices, course), ImportResult::Failed);

        QCOMPARE(changes.size(), 0);
        QCOMPARE(mMap->texts(), textsBefore);
        QCOMPARE(mMap->marks(), marksBefore);
        QCOMPARE(mMessages->titles(), QStringList {QStringLiteral("Import Course From File")});
        text = mMessages->messages().at(0).text;
        QVERIFY2(text.contains(path.toUpper()), qPrintable(text));
    }

    std::unique_ptr<QTemporaryDir> mDir;
    std::unique_ptr<ScriptedFileDialog> mDialog;
    std::unique_ptr<ScriptedMessageBoxes> mMessages;
    QtFileSystem mFiles;
    std::unique_ptr<Services> mServices;
    std::unique_ptr<CourseMap> mMap;
    TrackState mState;
};

} // namespace velmor::test
