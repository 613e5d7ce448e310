// Start-up to the first paint of the full window (menu bar, described window, status bar),
// offscreen, against a bare Qt window with one label built the same way. Each start runs in a
// fresh process; the parent times from starting the process to the child's report of its first
// paint, alternating the two kinds, and prints the medians, their ratio (target at most 1.3) and
// Velmor's peak memory (target under 40 MB, Linux).
// Each child also reports the processor time it used up to its first paint: on a loaded machine
// that ratio shows the work done, where the wall times mostly show the waiting.
//
// Usage: bench_startup [runs]      (the child modes --child-velmor, --child-bare are internal)
#include "app/config_file.h"
#include "app/client_window.h"
#include "app/main_window.h"
#include "bench/bench_figures.h"
#include "platform/file_system.h"
#include "platform/file_read.h"
#include "platform/services.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

using velmor::bench::Figures;

// Start-up shows no dialog and no message; these answer Cancel and No should one ever come.
class NoFileDialog : public velmor::FileDialog
{
protected:
    std::optional<QString> run(Mode, const Settings &) override { return std::nullopt; }
};

class NoMessageBoxes : public velmor::MessageBoxes
{
public:
    Answer show(const QString &, const QString &, Buttons buttons) override
    {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

constexpr double RatioTarget = 1.3;
constexpr double PeakTargetMb = 40.0;
// The system's few lines about this process; they report no size, so the limit is what counts.
constexpr qint64 SystemFileLimit = 64 * 1024;

// Peak resident memory in MB; -1 where the system does not tell (not Linux).
double peakMemoryMb()
{
    QString unread;
    const std::optional<QByteArray> status =
        velmor::readAtMost(QStringLiteral("/proc/self/status"), SystemFileLimit, &unread);
    if (!status)
        return -1;
    for (const QByteArray &line : status->split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Processor time of this process since it started, in ms (on Windows std::clock counts wall time).
double processorMs()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

// The system's load average over the last minute, as text; empty where the system does not tell.
QByteArray loadAverage()
{
    QString unread;
    return velmor::readAtMost(QStringLiteral("/proc/loadavg"), SystemFileLimit, &unread)
        .value_or(QByteArray())
        .split(' ')
        .value(0);
}

// Reports once the window's first paint has been delivered (children paint in the same pass, so
// the report waits for the event loop to come back).
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, QString phases, const QElapsedTimer &clock, qint64 shownNs)
        : mPhases(std::move(phases))
        , mClock(clock)
        , mShownNs(shownNs)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mSeen) {
            mSeen = true;
            QTimer::singleShot(0, qApp, [this] {
                const double paintMs = double(mClock.nsecsElapsed() - mShownNs) / 1e6;
                std::printf("painted %.1f %.1f %s paint=%.1fms\n", peakMemoryMb(), processorMs(),
                            qPrintable(mPhases), paintMs);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool mSeen = false;
    QString mPhases;
    const QElapsedTimer &mClock;
    qint64 mShownNs;
};

enum class Kind { Velmor, DescribedAlone, Bare };

int runChild(int argc, char **argv, Kind kind)
{
    // Offscreen, whatever the caller's display: both kinds start on equal terms.
    std::vector<char *> args = velmor::bench::offscreenArguments(argc, argv);
    int count = int(args.size());
    QElapsedTimer phase;
    phase.start();
    QApplication app(count, args.data());
    const qint64 appNs = phase.nsecsElapsed();

    NoFileDialog dialog;
    NoMessageBoxes messages;
    velmor::QtFileSystem files;
    velmor::Services services{dialog, messages, files};
    std::unique_ptr<QWidget> window;
    // Every start but the first finds its configuration and shows no dialog; measure that one.
    QTemporaryDir folder;
    if (kind != Kind::Bare) {
        const velmor::Configuration config{folder.filePath(QStringLiteral("recomp.exe")),
                                           folder.path() + QLatin1Char('/'),
                                           folder.filePath(QStringLiteral("kart.smc")),
                                           QStringLiteral("kart")};
        QString error;
        if (!folder.isValid() || !QDir::setCurrent(folder.path())
            || !velmor::ConfigFile::write(files, folder.filePath(QStringLiteral("Velmor.cfg")),
                                          config, &error)) {
            std::fprintf(stderr, "cannot prepare a configuration: %s\n", qPrintable(error));
            return 1;
        }
        if (kind == Kind::Velmor) {
            auto main = std::make_unique<velmor::MainWindow>(services);
            main->load();
            window = std::move(main);
        } else {
            auto described = std::make_unique<velmor::ClientWindow>(services);
            described->load();
            window = std::move(described);
        }
    } else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(720, 421);
        auto *label = new QLabel(QStringLiteral("Velmor Beta v.3"), window.get());
        label->setGeometry(576, 0, 137, 25);
    }
    const qint64 builtNs = phase.nsecsElapsed();
    FirstPaint watcher(window.get(),
                       QStringLiteral("app=%1ms window=%2ms")
                           .arg(double(appNs) / 1e6, 0, 'f', 1)
                           .arg(double(builtNs - appNs) / 1e6, 0, 'f', 1),
                       phase, builtNs);
    window->show();
    return app.exec();
}

// What one start measured.
struct Start
{
    double millis = 0;      // from starting the child to its report
    double peakMb = 0;      // as the child reported it
    double processorMs = 0; // as the child reported it
    QString phases;
};

bool startOnce(const QString &mode, Start *start)
{
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    QByteArray out;
    while (!out.contains('\n') && child.waitForReadyRead(30000))
        out += child.readAllStandardOutput();
    start->millis = double(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    if (!out.startsWith("painted ")) {
        std::fprintf(stderr, "child %s failed: %s %s\n", qPrintable(mode), out.constData(),
                     child.readAllStandardError().constData());
        return false;
    }
    const QList<QByteArray> words = out.trimmed().split(' ');
    start->peakMb = words.value(1).toDouble();
    start->processorMs = words.value(2).toDouble();
    start->phases = QString::fromLatin1(words.mid(3).join(' '));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child-velmor") == 0)
        return runChild(argc - 1, argv + 1, Kind::Velmor);
    if (argc > 1 && std::strcmp(argv[1], "--child-described") == 0)
        return runChild(argc - 1, argv + 1, Kind::DescribedAlone);
    if (argc > 1 && std::strcmp(argv[1], "--child-bare") == 0)
        return runChild(argc - 1, argv + 1, Kind::Bare);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(3, std::atoi(argv[1])) : 11;
    std::vector<double> velmorMs, bareMs, velmorPeak, barePeak, velmorCpu, bareCpu, describedMs;
    Start velmorStart, bareStart, describedStart;
    const QByteArray loadBefore = loadAverage();
    // One start of each to warm the disk cache, then alternate so drifts hit both alike.
    if (!startOnce(QStringLiteral("--child-velmor"), &velmorStart)
        || !startOnce(QStringLiteral("--child-bare"), &bareStart))
        return 1;
    for (int k = 0; k < runs; ++k) {
        if (!startOnce(QStringLiteral("--child-velmor"), &velmorStart))
            return 1;
        velmorMs.push_back(velmorStart.millis);
        velmorPeak.push_back(velmorStart.peakMb);
        velmorCpu.push_back(velmorStart.processorMs);
        if (!startOnce(QStringLiteral("--child-described"), &describedStart))
            return 1;
        describedMs.push_back(describedStart.millis);
        if (!startOnce(QStringLiteral("--child-bare"), &bareStart))
            return 1;
        bareMs.push_back(bareStart.millis);
        barePeak.push_back(bareStart.peakMb);
        bareCpu.push_back(bareStart.processorMs);
    }
    const QByteArray loadAfter = loadAverage();
    const Figures velmor = velmor::bench::summarise(velmorMs);
    const Figures bare = velmor::bench::summarise(bareMs);
    std::printf("start-up to first paint, %d fresh processes each (offscreen)", runs);
    if (!loadBefore.isEmpty())
        std::printf(", load average %s before, %s after", loadBefore.constData(),
                    loadAfter.constData());
    std::printf("\n");
    std::printf("  velmor window   median %7.1f ms  (min %7.1f, max %7.1f)\n", velmor.median,
                velmor.least, velmor.most);
    std::printf("  bare window     median %7.1f ms  (min %7.1f, max %7.1f)\n", bare.median,
                bare.least, bare.most);
    // The described window without the frame around it (menus, tool strip, status bar, tool
    // windows): what the window cost before the frame, for seeing what the frame adds.
    const Figures described = velmor::bench::summarise(describedMs);
    std::printf("  described window alone median %7.1f ms  (min %7.1f, max %7.1f), ratio %.2f\n",
                described.median, described.least, described.most,
                described.median / bare.median);
    std::printf("  last runs' phases: velmor %s | bare %s\n", qPrintable(velmorStart.phases),
                qPrintable(bareStart.phases));
    const double ratio = velmor.median / bare.median;
    std::printf("  ratio of medians %.2f  target <= %.1f  %s\n", ratio, RatioTarget,
                ratio <= RatioTarget ? "ok" : "MISSED");
    const Figures cpuVelmor = velmor::bench::summarise(velmorCpu);
    const Figures cpuBare = velmor::bench::summarise(bareCpu);
    std::printf("  processor time to first paint: velmor median %.1f ms (min %.1f, max %.1f), "
                "bare %.1f ms (min %.1f, max %.1f), ratio %.2f\n",
                cpuVelmor.median, cpuVelmor.least, cpuVelmor.most, cpuBare.median, cpuBare.least,
                cpuBare.most, cpuVelmor.median / cpuBare.median);
    const Figures peakVelmor = velmor::bench::summarise(velmorPeak);
    const Figures peakBare = velmor::bench::summarise(barePeak);
    if (peakVelmor.median < 0) {
        std::printf("  peak memory: not measured on this system\n");
    } else {
        std::printf("  peak memory velmor median %.1f MB (max %.1f), bare %.1f MB  target < %.0f MB"
                    "  %s\n",
                    peakVelmor.median, peakVelmor.most, peakBare.median, PeakTargetMb,
                    peakVelmor.most < PeakTargetMb ? "ok" : "MISSED");
    }
    return 0;
}
