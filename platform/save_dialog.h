#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace velmor {

class FileDialog;
struct Services;

// Every save's question: the file dialog in save mode until the user picks a name that is new or
// one they agree to overwrite ("Would you like to overwrite …?"; No shows the dialog again).
// prepare gives the dialog all its settings before every showing, since the dialog is shared and
// a declined overwrite must offer the same proposal again; picked hears of every name chosen,
// also a declined one. Nothing when the user cancels.
std::optional<QString> askSaveName(Services &services,
    const std::function<void(FileDialog &dialog)> &prepare,
    const std::function<void(const QString &path)> &picked = {});

} // namespace velmor
