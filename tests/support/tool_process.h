#pragma once

#include "codec/codec.h"

#include <QString>
#include <QStringList>

namespace velmor::test {

// One run of a real command-line program of the build, as a test sees it.
struct ToolRun
{
    int exitCode = -1; // -2 when it crashed
    QString out;
    QString err;
    // Why the program could not be run to its end (did not start, did not end in time); empty
    // when it ran. A run that failed so has exitCode -1 and err saying the same.
    QString failure;
};

// Runs a program and waits, bounded, for its end: a program that does not end within waitMs is
// stopped and reported, never waited for indefinitely. The tools take well under a second, also
// under the sanitizers.
ToolRun runTool(const QString &program, const QStringList &arguments,
    const QString &workingDirectory = QString(), int waitMs = 15000);

bool writeBytes(const QString &path, const codec::Bytes &bytes);
// A FIFO (named pipe) at path, where the system has them; false, for the test to skip, elsewhere.
bool makeFifo(const QString &path);
bool isFifo(const QString &path);
// A file of size bytes that holds none: its blocks are never written, so it costs no disk space.
bool makeSparseFile(const QString &path, qint64 size);
codec::Bytes readBytes(const QString &path);

} // namespace velmor::test
