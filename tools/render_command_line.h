#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor::tools {

// What velmor-render was asked to do.
struct RenderRequest
{
    QString romPath;
    QString course; // an ID in hex, a name, or an offset from the course list
    QString outputPath;
    QString trackPath; // empty: the course as the ROM holds it
    int scale = 1;
    // The race layers to draw over the course, by key, in the order they are drawn; none by
    // default.
    QStringList layers;
};

// The race layers velmor-render draws, by the keys the document gives them, in drawing order.
const QStringList &raceLayerKeys();

// The command line of velmor-render: ROM COURSE OUT.png with --track FILE and --scale N before
// "--", help only as the sole argument.
class RenderCommandLine
{
public:
    enum class Outcome { Render, Help, Wrong };

    // Reads the arguments (without the program's name).
    explicit RenderCommandLine(const QStringList &arguments);

    Outcome outcome() const { return mOutcome; }
    const RenderRequest &request() const { return mRequest; }
    // For Wrong: what is wrong, in a few words.
    const QString &error() const { return mError; }

    static QString usage();
    static QString help();

private:
    bool takeOption(const QStringList &arguments, qsizetype &at);
    bool takeLayers(const QString &value);
    void wrong(const QString &why);

    Outcome mOutcome = Outcome::Render;
    RenderRequest mRequest;
    QString mError;
    bool mTrackGiven = false;
    bool mScaleGiven = false;
    bool mLayersGiven = false;
};

} // namespace velmor::tools
