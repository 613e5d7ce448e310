#include "app/load_sequence.h"

#include "app/config_file.h"
#include "app/first_run.h"
#include "app/startup_texts.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <QDir>

namespace velmor {

LoadSequence::LoadSequence(Services &services, const QString &startDirectory)
    : mServices(services)
    , mStartDirectory(startDirectory)
{
}

void LoadSequence::setUpOrReadConfiguration()
{
    const QString path = configPath(startup::configFileName());
    // Exact, letter case included: a "velmor.cfg" makes a first run.
    if (mServices.files.storedName(path) == startup::configFileName()) {
        if (std::optional<Configuration> config = ConfigFile::read(mServices.files, path, &mError)) {
            mState.config = *config;
            mState.firstRun = false;
            return;
        }
        // A file too short or unreadable is treated like none: the set-up writes a sound one.
    }
    FirstRunSetup setup(mServices, mStartDirectory);
    if (!setup.run(&mState))
        mError = setup.errorString();
}

bool LoadSequence::checkConfiguration()
{
    const QString found = mServices.files.storedName(configPath(startup::configFileNameAnyCase()));
    // A file that does not read as a configuration counts as none, so insertion never starts
    // from empty values left by a broken file.
    mState.insertionEnabled
        = !found.isEmpty() && ConfigFile::read(mServices.files, configPath(found), nullptr);
    return mState.insertionEnabled;
}

const StartupState &LoadSequence::run()
{
    setUpOrReadConfiguration();
    checkConfiguration();
    return mState;
}

QStringList LoadSequence::insertionControls()
{
    return startup::insertionControls();
}

QString LoadSequence::configPath(const QString &name) const
{
    return QDir(mStartDirectory).filePath(name);
}

} // namespace velmor
