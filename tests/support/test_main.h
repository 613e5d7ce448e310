#pragma once

#include <QTemporaryDir>
#include <QTest>

namespace velmor::test {

// Gives a test program a home of its own: an empty folder for HOME and the XDG folders, made
// before Qt starts and removed when the program ends. Nothing the machine's user has (Qt's file
// dialog history and last folder in QtProject.conf, fontconfig settings, caches) then decides what
// a test sees, and nothing a test does is left in the user's home.
class IsolatedHome
{
public:
    IsolatedHome();

    QString path() const { return mFolder.path(); }

private:
    QTemporaryDir mFolder;
};

} // namespace velmor::test

// As QTEST_MAIN and QTEST_GUILESS_MAIN, each program in its own empty home.
#define VELMOR_TEST_MAIN(TestObject)                                                               \
    QTEST_MAIN_WRAPPER(TestObject, const velmor::test::IsolatedHome isolatedHome;                  \
                       QTEST_MAIN_SETUP())
#define VELMOR_GUILESS_TEST_MAIN(TestObject)                                                       \
    QTEST_MAIN_WRAPPER(TestObject, const velmor::test::IsolatedHome isolatedHome;                  \
                       QTEST_QAPP_SETUP(QCoreApplication))
