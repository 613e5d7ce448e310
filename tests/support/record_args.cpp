// A stand-in for an outside tool: writes the arguments it was given, as a JSON array, to the file
// named by RECORD_ARGS_OUT, then behaves as the environment tells it:
//   RECORD_ARGS_STDERR  text to write to standard error
//   RECORD_ARGS_EXIT    exit status (default 0)
//   RECORD_ARGS_SLEEP_MS  time to wait before exiting, for a tool that hangs
//   RECORD_ARGS_COPY    a path to copy the file named by the last argument to, as an emulator
//                       reads the ROM it is given; copied before the arguments are written
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const QString copy = qEnvironmentVariable("RECORD_ARGS_COPY");
    if (!copy.isEmpty() && !arguments.isEmpty()) {
        QFile::remove(copy);
        if (!QFile::copy(arguments.constLast(), copy)) {
            std::fprintf(stderr, "record_args: cannot copy %s\n", qPrintable(arguments.constLast()));
            return 124;
        }
    }
    const QString out = qEnvironmentVariable("RECORD_ARGS_OUT");
    if (!out.isEmpty()) {
        QFile file(out);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "record_args: cannot write %s\n", qPrintable(out));
            return 125;
        }
        file.write(QJsonDocument(QJsonArray::fromStringList(arguments)).toJson());
    }

    const QByteArray complaint = qgetenv("RECORD_ARGS_STDERR");
    if (!complaint.isEmpty()) {
        std::fputs(complaint.constData(), stderr);
        std::fflush(stderr);
    }
    const int sleepMs = qEnvironmentVariableIntValue("RECORD_ARGS_SLEEP_MS");
    if (sleepMs > 0)
        QThread::msleep(static_cast<unsigned long>(sleepMs));
    return qEnvironmentVariableIntValue("RECORD_ARGS_EXIT");
}
