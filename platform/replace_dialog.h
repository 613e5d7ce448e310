#pragma once

#include <QString>

#include <optional>

namespace velmor {

// The small dialog of Edit ▸ Replace…: which tile number to replace across the map, and by which.
// The program shows a real dialog; tests answer from a script.
class ReplaceDialog
{
public:
    struct Tiles
    {
        QString from;
        QString to;
    };

    virtual ~ReplaceDialog() = default;
    // The two tile numbers the user settled on, starting from the proposal; nothing on Cancel.
    virtual std::optional<Tiles> ask(const Tiles &proposal) = 0;
};

} // namespace velmor
