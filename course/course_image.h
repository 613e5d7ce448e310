#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

namespace velmor {

class CourseDocument;

// The ROM as it will be with the document's course in it, built in memory and checked block by
// block before anything is written: what Save Course into ROM writes, and what a test run in an
// emulator starts. Today the course's block is its layout, compressed into the room the course
// has in that ROM (or moved into an expanded ROM's added banks, rom::insertCourse), decoded
// back through its pointer and compared, the header's checksum fixed.
struct CourseImage
{
    Q_DECLARE_TR_FUNCTIONS(velmor::CourseImage)

public:
    bool ok = false;
    QByteArray rom; // the whole new ROM file, on success
    // On failure why, naming the block; on success what was written, in one line.
    QString message;
    // Refused only because a 4 Mbit ROM has no room for the layout: Expand ROM would help.
    bool needsExpansion = false;

    static CourseImage build(const CourseDocument &document, const QByteArray &romFile);
};

} // namespace velmor
