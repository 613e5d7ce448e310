#pragma once

#include <QString>

namespace velmor {

struct Configuration;
struct Services;

// The ROM a course is written into, as the user chooses it: the ROM dialog proposes the working
// ROM in the ROM's folder; an existing ROM is taken only after the overwrite question, and a new
// name is made first as a copy of the user's own ROM (never of the working one).
struct RomTarget
{
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    QString path;
    // When the copy could not be made: what to tell the user.
    QString error;
};

RomTarget chooseRomToWrite(Services &services, const Configuration &settings, const QString &title);

} // namespace velmor
