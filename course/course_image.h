#pragma once

#include "course/course_blocks.h"
#include "course/sharing_answers.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace velmor {

class CourseDocument;

// The ROM as it will be with one course in it, built in memory and checked block by block before
// anything is written: what Save Course into ROM and a course import write, and what a test run
// in an emulator starts. The blocks are the layout (compressed into the room the course has in
// that ROM, or moved into an expanded ROM's added banks when it outgrows that), the theme (and
// the object kind that follows it), the overlay items, the object positions, the start grid, the
// lap line and the AI, which is repacked with every other course's into the AI block; the
// header's checksum is made true again. A block whose values the ROM already holds is not
// rewritten; every block written is read back and compared. All or nothing: a refusal names the
// block and why, and no bytes are handed back.
struct CourseImage
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CourseImage)

public:
    enum class Outcome { Built, Cancelled, Refused };

    Outcome outcome = Outcome::Refused;
    bool ok = false; // Built
    QByteArray rom; // the whole new ROM file, on success
    // On a refusal why, naming the block; on success what was written, in one line. Also on
    // success: what was not written and why (AI the ROM holds unreadably).
    QString message;
    // The blocks rewritten, by their names in the messages ("layout", "start grid").
    QStringList written;
    // Refused only because a 4 Mbit ROM has no room for the layout: Expand ROM would help.
    bool needsExpansion = false;

    // The document's whole course. While its race layers hold no race of this course (a fresh
    // document, a track file opened, another course chosen), its layout alone; a layer that could
    // not be read from the ROM is left as the ROM has it, and the message says so.
    static CourseImage build(const CourseDocument &document, const QByteArray &romFile,
                             const SharingAnswers &answers);
    static CourseImage build(const rom::CourseData &course, const QByteArray &romFile,
                             const SharingAnswers &answers, const UnreadBlocks &unread = {});
};

} // namespace velmor
