#pragma once

#include "document/course_ref.h"
#include "course/configuration.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {


struct Services;
struct ToolResult;
struct TrackState;

// The two ways into a ROM: "From File" inserts a saved track file, "From Velmor" exports the map
// first. Both end in the ROM step: choose or make the target ROM, then start the compressor on it.
// The compressor runs on its own while the event loop goes on; only its exit status 0 counts as
// an import, and the user hears about it when it ends.
class RomInsertion : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Imported, // the tool ran and exited with status 0
        Cancelled, // a dialog was cancelled, or the export ended on its own terms
        Refused, // the input could not be inserted (no course, no track file, bad ROM)
        Failed // a copy, the tool start or the tool itself failed; the user was told
    };
    Q_ENUM(Outcome)

    RomInsertion(Services &services, TrackState &state, QObject *parent = nullptr);

    // What insertion reads from the configuration: the compressor, the user's ROM (the source of
    // every new target ROM), its base name and its folder (where the ROM dialog opens).
    void setSettings(const Configuration &settings) { mSettings = settings; }
    const Configuration &settings() const { return mSettings; }

    // `FromFile` click, with what the text of `CourseList` names at the click.
    void insertFromFile(const CourseChoice &choice);
    // `FromVelmor` click. cellTexts are the map cells' texts in index order. True when the export
    // wrote the map to a track file, whatever became of the insertion after it.
    bool exportAndInsert(const QStringList &cellTexts, const CourseChoice &choice);

    // Compressors started by this object that have not ended yet.
    int runningTools() const { return mRunning; }

    // The offset the compressor needs for a course in a ROM of romSize bytes: the table's offsets
    // count the copier header, so a ROM without one gets the offset 0x200 lower. Nothing when the
    // size is no SNES ROM size or the course would not lie inside the ROM.
    static std::optional<qint64> toolOffset(qint64 courseOffset, qint64 romSize);

    // Emitted once per click. Ends before the tool starts are reported before the call returns;
    // a started tool reports when it ends.
    Q_SIGNAL void finished(velmor::RomInsertion::Outcome outcome);

private:
    std::optional<qint64> checkedCourse(const CourseChoice &choice);
    // False, after telling the user, for a track file that describes only part of a course.
    bool holdsWholeCourse(const QString &trackPath);
    void romStep(const QString &trackPath, qint64 courseOffset, const QString &title);
    // Leaves state.targetRom naming a ROM file that is there; nothing when the step ended.
    std::optional<Outcome> chooseTargetRom(const QString &title);
    void startTool(const QString &trackPath, const QString &romPath, const QString &offsetText);
    void report(const QString &trackPath, const QString &romPath, const QString &offsetText,
        const ToolResult &result);
    // A course that a 4 Mbit ROM has no room for: Expand ROM offered, then the same insertion
    // into the expanded ROM.
    void offerExpansion(const QString &trackPath, const QString &romPath, const QString &offsetText,
        const QString &why);
    void fail(const QString &text);
    void end(Outcome outcome);

    Services &mServices;
    TrackState &mState;
    Configuration mSettings;
    int mRunning = 0;
};

} // namespace velmor
