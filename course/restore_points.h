#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace velmor {

// The restore points of one ROM file: before each save into the ROM, a BPS patch that turns the
// ROM as that save leaves it back into the ROM as it was, so that a bad save costs nothing. They
// live in the folder "NAME.smc.restore" beside the ROM "NAME.smc", one file per save, named by
// its time and course (course/restore_point_files.h). The newest Kept are kept.
//
// Each patch undoes one save, from the state after it to the state before it, and is checked by
// its CRC32s: restoring an older point applies the newer points' patches on the way, newest first,
// and only when every one of them is whole and fits the ROM as it is now.
class RestorePoints
{
public:
    static constexpr int Kept = 50;

    enum class State {
        Usable,
        Damaged, // the patch file cannot be read, or its own CRC32 or structure is wrong
        NotApplicable, // whole, but the ROM as it is now cannot be brought back to it
    };

    struct Point
    {
        int number = 0; // 1 for the newest
        QDateTime time; // UTC, to the millisecond
        QString course; // as the file name holds it
        qint64 size = 0; // bytes of the patch file
        State state = State::Usable;
        QString problem; // why it is damaged or does not apply; empty when usable
        QString path;
    };

    struct Listing
    {
        bool ok = false;
        QList<Point> points; // newest first
        QString error;
    };

    struct Outcome
    {
        bool ok = false;
        QString error; // what failed and why; then nothing was written
        QString path; // the restore point kept
        QString warning; // something that went wrong after the point was kept (old ones stayed)
    };

    explicit RestorePoints(const QString &romPath);

    QString folder() const { return mFolder; }

    // Keeps the point of a save that turns the ROM from `before` into `after`; call it before the
    // save and do not save when it fails (a folder that cannot be made, a file that cannot be
    // written). A time that is not later than the newest point's becomes 1 ms after it, so that
    // the order of the names stays the order of the saves whatever the clock did. A save holds
    // the ROM's FileLock from reading the ROM to writing it, and keeps its point meanwhile, so
    // that two programs' saves and points take turns.
    Outcome keep(const QByteArray &before, const QByteArray &after, const QString &course,
        const QDateTime &time) const;

    // The points, newest first, each checked against the ROM as it is now. No folder: none.
    Listing list() const;

    // Brings the ROM back to the state it had before the save of point `number`, after checking
    // every patch on the way, and writes it once, whole or not at all. The restore is a save too:
    // it first keeps its own point (course "Restore", at `time`), so the next restore can undo it.
    Outcome restore(int number, const QDateTime &time) const;

private:
    QString mRomPath;
    QString mFolder;
};

} // namespace velmor
