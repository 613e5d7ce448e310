#pragma once

#include "course/sharing_answers.h"
#include "rom/ai_repack.h"
#include "rom/course_data.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// Blocks a course's values do not truly hold, as their layer could not be read from the ROM: by
// the layer's key ("items", "objects", "start", "lap", "zones"), with the reason. They are not
// written, and the message says so.
using UnreadBlocks = QMap<QString, QString>;

// A course's blocks besides its layout (theme and the object kind that follows it, items,
// objects, start grid, lap line, AI) as a write into one ROM changes them: which differ from what
// the ROM holds, what that does to courses sharing a record, the writes themselves and the reading
// back of every block written. Over a ROM's bytes only; the layout and the files are the caller's.
class CourseBlocks
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CourseBlocks)

public:
    // Compares the course with what the ROM holds. A course the game cannot use is refused.
    CourseBlocks(const rom::RomImage &rom, const rom::CourseData &course,
                 const UnreadBlocks &unread = {});

    // Why the course cannot be written into this ROM at all; empty when it can.
    QString refusal() const { return mRefusal; }
    // Asks about the records the course shares with others that the write would change. The
    // message when the answer is not to write; nothing when the write may go on.
    std::optional<QString> ask(const SharingAnswers &answers);
    // The changed blocks into the game's bytes (of the ROM read, or of it with a new layout).
    // On a refusal (naming the block and why) the bytes may be half changed: write into a copy.
    QString write(rom::GameBytes game) const;
    // Reads every block written back out of the new ROM file and compares it with what was meant,
    // and every other course's AI with what it was.
    QString check(codec::ByteView romFile) const;

    // The blocks write() changes, by their names in the messages.
    QStringList written() const;
    // What the write leaves as it was although the course differs, and why.
    QStringList notes() const { return mNotes; }

    static QString layoutName();

private:
    rom::CourseData mCourse;
    QString mName;
    QString mRefusal;
    QStringList mNotes;
    bool mTheme = false;
    std::optional<std::uint8_t> mObjectKind; // to be written
    bool mItems = false;
    bool mObjects = false;
    bool mStart = false;
    std::vector<int> mStartSharers;
    // Every course's AI as it is to be after the write; nothing when the AI is not written.
    std::optional<rom::AiSets> mAi;
    std::vector<int> mAiSharers;
    rom::CourseAi mAiBefore; // the course's set as the ROM holds it
    bool mLap = false;
};

} // namespace velmor
