#pragma once

#include <QCoreApplication>
#include <QString>

namespace velmor {

struct Services;

// File ▸ Expand ROM… as a user runs it: the ROM to expand, the size asked one step at a time
// (8, 16, 32 Mbit, each larger than the ROM), the new file's name, and one message at the end.
// The file work is velmor-rom expand's (course/rom_file.h); the ROM chosen is only read.
class ExpandRom
{
    Q_DECLARE_TR_FUNCTIONS(velmor::ExpandRom)

public:
    enum class Outcome { Done, Cancelled, Refused };

    explicit ExpandRom(Services &services);

    // `proposal`: the ROM the dialog starts at (the one being worked on), or nothing.
    Outcome run(const QString &proposal);
    // After Done: the expanded ROM's path.
    QString written() const { return mWritten; }

private:
    Outcome refuse(const QString &text);

    Services &mServices;
    QString mWritten;
};

} // namespace velmor
