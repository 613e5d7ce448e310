#include "tests/support/test_main.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace velmor::test {

IsolatedHome::IsolatedHome()
    : mFolder(QDir::tempPath() + QStringLiteral("/velmor-test-home-XXXXXX"))
{
    if (!mFolder.isValid()) {
        std::fprintf(stderr, "cannot make a home folder for the test: %s\n",
            qPrintable(mFolder.errorString()));
        std::exit(EXIT_FAILURE);
    }
    const QDir home(mFolder.path());
    // The runtime folder must belong to the user alone (0700), as QTemporaryDir makes folders.
    const struct
    {
        const char *variable;
        const char *folder;
    } places[] = {
        {"HOME", ""},
        {"XDG_CONFIG_HOME", ".config"},
        {"XDG_CACHE_HOME", ".cache"},
        {"XDG_DATA_HOME", ".local/share"},
        {"XDG_STATE_HOME", ".local/state"},
        {"XDG_RUNTIME_DIR", "runtime"},
    };
    for (const auto &place : places) {
        const QString folder = home.filePath(QString::fromLatin1(place.folder));
        if (!home.mkpath(folder)) {
            std::fprintf(stderr, "cannot make %s for the test\n", qPrintable(folder));
            std::exit(EXIT_FAILURE);
        }
        qputenv(place.variable, QFile::encodeName(QDir::cleanPath(folder)));
    }
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Settings written by Qt itself (QSettings, QStandardPaths) go to test folders too.
    QStandardPaths::setTestModeEnabled(true);
}

} // namespace velmor::test
