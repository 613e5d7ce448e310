#include "course/emulator_choice.h"

#include "platform/process_start.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace velmor::emulator {

namespace {

const QString ProgramKey = QStringLiteral("emulator/program");
const QString ArgumentsKey = QStringLiteral("emulator/arguments");
const QString RomToken = QStringLiteral("%f");

QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velmor"),
        QStringLiteral("Velmor"));
}

struct Known
{
    const char *name;
    const char *arguments;
};

// Programs that take a ROM as their last argument and run it at once. RetroArch needs a core
// besides, found below.
constexpr Known KnownEmulators[] = {
    {"mednafen", "%f"},
    {"snes9x-gtk", "%f"},
    {"snes9x", "%f"},
    {"bsnes", "%f"},
    {"higan", "%f"},
    {"zsnes", "%f"},
    {"retroarch", nullptr},
};

// RetroArch's SNES cores, most accurate first where they run at full speed.
constexpr const char *SnesCores[] = {
    "snes9x_libretro", "bsnes_libretro", "bsnes_mercury_balanced_libretro", "snes9x2010_libretro"};

QString quoted(const QString &path)
{
    return path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
}

QString snesCore(QStringList dirs)
{
    if (dirs.isEmpty()) {
        dirs = {QStringLiteral("/usr/lib/x86_64-linux-gnu/libretro"),
            QStringLiteral("/usr/lib/aarch64-linux-gnu/libretro"),
            QStringLiteral("/usr/lib/libretro"),
            QDir::homePath() + QStringLiteral("/.config/retroarch/cores")};
    }
    for (const char *core : SnesCores) {
        for (const QString &dir : dirs) {
            for (const char *suffix : {".so", ".dll", ".dylib"}) {
                const QString path =
                    QDir(dir).filePath(QString::fromLatin1(core) + QString::fromLatin1(suffix));
                if (QFileInfo(path).isFile())
                    return path;
            }
        }
    }
    return {};
}

} // namespace

Emulator stored()
{
    const QSettings stored = settings();
    return {stored.value(ProgramKey).toString(), stored.value(ArgumentsKey).toString(), {}};
}

void store(const Emulator &emulator)
{
    QSettings stored = settings();
    stored.setValue(ProgramKey, emulator.program);
    stored.setValue(ArgumentsKey, emulator.arguments);
    stored.sync();
}

QStringList knownNames()
{
    QStringList names;
    for (const Known &known : KnownEmulators)
        names << QString::fromLatin1(known.name);
    return names;
}

QList<Emulator> foundOnPath(const QStringList &coreDirs)
{
    QList<Emulator> found;
    for (const Known &known : KnownEmulators) {
        const QString name = QString::fromLatin1(known.name);
        const QString path = findOnPath(name);
        if (path.isEmpty())
            continue;
        Emulator offer {path, QString::fromLatin1(known.arguments ? known.arguments : ""), name};
        if (!known.arguments) {
            const QString core = snesCore(coreDirs);
            offer.arguments =
                core.isEmpty() ? RomToken : QStringLiteral("-L %1 %2").arg(quoted(core), RomToken);
            if (core.isEmpty())
                offer.name += QObject::tr(" (no SNES core found: add -L and a core's path)");
        }
        found.append(offer);
    }
    return found;
}

QStringList argumentsFor(const QString &arguments, const QString &romPath)
{
    QStringList split = QProcess::splitCommand(arguments);
    bool named = false;
    for (QString &argument : split) {
        if (argument.contains(RomToken)) {
            argument.replace(RomToken, romPath);
            named = true;
        }
    }
    if (!named)
        split << romPath;
    return split;
}

} // namespace velmor::emulator
