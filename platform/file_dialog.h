#pragma once

#include <QString>

#include <optional>

namespace velmor {

// The window's one file-dialog component, `cmd`. Its four settings persist between showings, and a
// completed pick becomes the next initial file name. The look of the dialog is left to a backend:
// the Qt dialog in the program, a script in the tests.
class FileDialog
{
public:
    enum class Mode { Open, Save };

    struct Settings
    {
        QString title;
        QString fileName;
        // In the product's form: "description|pattern", e.g. "BIN Files (*.bin)|*.bin".
        QString filter;
        QString defaultExtension;
        // Where the dialog opens when fileName is a bare name; empty leaves it to the backend.
        QString directory;
    };

    virtual ~FileDialog() = default;

    void setTitle(const QString &title) { mSettings.title = title; }
    void setFileName(const QString &fileName) { mSettings.fileName = fileName; }
    void setFilter(const QString &filter) { mSettings.filter = filter; }
    void setDefaultExtension(const QString &extension) { mSettings.defaultExtension = extension; }
    void setDirectory(const QString &directory) { mSettings.directory = directory; }
    const Settings &settings() const { return mSettings; }

    // The chosen full path, or nothing when the user cancelled: a cancel is a failure, never an
    // empty name.
    std::optional<QString> showOpen() { return show(Mode::Open); }
    std::optional<QString> showSave() { return show(Mode::Save); }

protected:
    virtual std::optional<QString> run(Mode mode, const Settings &settings) = 0;

private:
    std::optional<QString> show(Mode mode)
    {
        std::optional<QString> chosen = run(mode, mSettings);
        if (chosen)
            mSettings.fileName = *chosen;
        return chosen;
    }

    Settings mSettings{QStringLiteral("Point to recomp.exe"), QStringLiteral("recomp.exe"),
                       QStringLiteral("EXE Files (*.exe)|*.exe"), QStringLiteral("exe"), QString()};
};

} // namespace velmor
