#pragma once

namespace velmor {

class FileDialog;
class FileSystem;
class MessageBoxes;
class PreferencesDialog;
class ProcessStarter;
class ReplaceDialog;
class RestorePointDialog;
class ToolRunner;

// The platform services a procedure may use. The program passes the real ones; tests pass scripts
// for the human and the real file system.
struct Services
{
    FileDialog &dialog;     // `cmd`, the one file dialog
    MessageBoxes &messages;
    FileSystem &files;
    ToolRunner *tools = nullptr; // starts the outside compressor
    ReplaceDialog *replace = nullptr; // asks which tiles Edit ▸ Replace… exchanges
    ProcessStarter *processes = nullptr; // starts the emulator; none: the system's own starter
    PreferencesDialog *preferences = nullptr; // Edit ▸ Preferences…; none: it cannot be shown
    RestorePointDialog *restorePoints = nullptr; // File ▸ Restore Points…; none: not shown
};

} // namespace velmor
