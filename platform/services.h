#pragma once

namespace velmor {

class FileDialog;
class FileSystem;
class MessageBoxes;
class ReplaceDialog;
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
};

} // namespace velmor
