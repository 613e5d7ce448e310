#pragma once

#include <QString>

namespace velmor {

// What a drawing tool's edit did: either refused, with a message for the user and the map and its
// history left as they were, or made, changing changedCells cells (none is no error: a fill on the
// tile it already has changes nothing).
struct EditResult
{
    QString error;
    int changedCells = 0;

    bool isRefused() const { return !error.isEmpty(); }
    static EditResult refusal(const QString &message) { return {message, 0}; }
};

} // namespace velmor
