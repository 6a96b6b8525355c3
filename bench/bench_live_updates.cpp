// Live Updates in the window, in real time, against the virtual pedal program on its real
// pseudo-terminal: the editor is connected by Connect, sends the whole session once (Send
// All, after which the pedal's session is known) and turns Live Updates on. Then:
//
// - LiveUpdateOfOneTempo: a tempo typed into the Songs page's tempo field (its editing
//   finished), to the pedal's log saying it applied the upload. That is the quiet time of
//   Live Updates (0.3 s) and the pacing of one piece (0.3 s). Goal: at most 0.7 s.
// - LiveUpdatesOfATypedName: a song name of 20 characters typed into the name field at 8
//   characters a second: the uploads made for it (goal: at most 3), and the time from the
//   last key to the pedal's applying the name (4 pieces of the song names, 1.2 s of pacing).
//
// Each reports the median of its runs as a counter, beside the goal.
#include "editor/PageTabs.h"
#include "editor/PedalSessionFlow.h"
#include "editor/VirtualPedalProcess.h"
#include "editor/ViewController.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds (true) or `ms` have passed (false).
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        pause(2);
    }
    return true;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The window with its real serial port and clock, and the virtual pedal with its log,
// made once for every benchmark.
struct Rig
{
    QTemporaryDir dir;
    QProcess pedal;
    QString logPath;
    DataHandler store;
    ScriptedDialogs dialogs; // every question answered with its first button
    QtScheduler scheduler;
    std::unique_ptr<SerialHandler> serial;
    std::unique_ptr<PedalLink> link;
    std::unique_ptr<FirmwareUpdater> firmware;
    std::unique_ptr<ViewController> vc;
    int uploadsStarted = 0;
    QString problem;

    Rig()
    {
        // The ports present before the pedal is plugged in, as at the editor's start.
        serial = std::make_unique<SerialHandler>(scheduler);
        link = std::make_unique<PedalLink>(*serial, store, scheduler);
        firmware = std::make_unique<FirmwareUpdater>(*serial, scheduler);
        vc = std::make_unique<ViewController>(store, dialogs,
                                              ViewController::Pedal{serial.get(), link.get(), firmware.get()});
        vc->pages().buildAll();
        vc->show();
        QObject::connect(link.get(), &PedalLink::sendStarted, [this] { ++uploadsStarted; });

        logPath = dir.filePath(QStringLiteral("pedal.log"));
        pedal.start(QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal"),
                    {QStringLiteral("--log"), logPath});
        if (!pedal.waitForStarted(10000) || !waitFor([this] { return pedal.canReadLine(); }, 10000)) {
            problem = QStringLiteral("the virtual pedal did not start");
            return;
        }
        // Plugged in: its device is the new port that Connect takes.
        VirtualPedalProcess::addExtraPort(QString::fromLocal8Bit(pedal.readLine()).trimmed());
        click("connectToPedalButton");
        if (!waitFor([this] { return serial->isConnected() && serial->portHeld(); },
                     SerialHandler::GreetingDelayMs + 5000)) {
            problem = QStringLiteral("the window did not connect to the virtual pedal");
            return;
        }
        // The greeting goes a while after the port opened; a send is not started before it.
        pause(SerialHandler::GreetingDelayMs + 500);
        click("SendAllCommand");
        if (!waitFor([this] { return applied() >= 1 && !link->busy(); }, 60000)) {
            problem = QStringLiteral("Send All did not reach the virtual pedal: ") + dialogs.messages().join(" | ");
            return;
        }
        if (QAction *live = vc->findChild<QAction *>(QStringLiteral("liveUpdatesAction")); !live->isChecked())
            live->trigger();
        vc->showPage(SessionKeys::Page::Songs);
        if (!settled())
            problem = QStringLiteral("the pedal does not match the session after Send All");
    }

    ~Rig()
    {
        vc.reset();
        serial->closePort();
        pedal.terminate();
        pedal.waitForFinished(5000);
    }

    void click(const char *name) { vc->findChild<QAbstractButton *>(QLatin1String(name))->click(); }

    QString indicator() const
    {
        return vc->findChild<QAbstractButton *>(QStringLiteral("pedalStateIndicator"))->text();
    }

    // Waits until nothing more goes: the quiet time passed, no upload runs, and the
    // indicator says the pedal matches.
    bool settled()
    {
        pause(2 * PedalSessionFlow::QuietMs);
        return waitFor([this] { return !link->busy() && indicator() == QLatin1String("Pedal matches"); }, 20000);
    }

    int applied() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return int(file.readAll().count("upload applied"));
    }
};

// Made by the first benchmark that runs, ended before the application.
std::unique_ptr<Rig> theRig;

Rig &rig()
{
    if (!theRig)
        theRig = std::make_unique<Rig>();
    return *theRig;
}

void LiveUpdateOfOneTempo(benchmark::State &state)
{
    Rig &rig = ::rig();
    if (!rig.problem.isEmpty()) {
        state.SkipWithError(rig.problem.toLocal8Bit().constData());
        return;
    }
    auto *field = rig.vc->findChild<QLineEdit *>(QStringLiteral("tempoTF"));
    std::vector<double> seconds;
    int round = 0;
    for (auto _ : state) {
        const int before = rig.applied();
        field->setText(QString::number(100 + ++round));
        QElapsedTimer clock;
        clock.start();
        Q_EMIT field->editingFinished();
        if (!waitFor([&] { return rig.applied() > before; }, 10000)) {
            state.SkipWithError("the tempo did not reach the pedal");
            return;
        }
        seconds.push_back(double(clock.nsecsElapsed()) / 1e9);
        state.SetIterationTime(seconds.back());
        if (!rig.settled()) {
            state.SkipWithError("the pedal does not match the session after the tempo");
            return;
        }
    }
    state.counters["median_s"] = median(seconds);
    state.counters["max_s"] = *std::max_element(seconds.begin(), seconds.end());
    state.counters["goal_s"] = 0.7;
}
BENCHMARK(LiveUpdateOfOneTempo)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

// The name typed key by key, each key pressed and released as a keyboard does, one every 125 ms.
void LiveUpdatesOfATypedName(benchmark::State &state)
{
    Rig &rig = ::rig();
    if (!rig.problem.isEmpty()) {
        state.SkipWithError(rig.problem.toLocal8Bit().constData());
        return;
    }
    auto *field = rig.vc->findChild<QPlainTextEdit *>(QStringLiteral("nameTF"));
    std::vector<double> uploads;
    int round = 0;
    for (auto _ : state) {
        const QString name = QStringLiteral("Intro riff take %1").arg(++round).leftJustified(20, QLatin1Char('x'));
        field->selectAll(); // the first key replaces the name
        const int before = rig.uploadsStarted;
        const int appliedBefore = rig.applied();
        QElapsedTimer typing;
        typing.start();
        for (int i = 0; i < name.size(); ++i) {
            waitFor([&] { return typing.elapsed() >= 125 * i; }, 1000);
            const QChar c = name.at(i);
            const int key = c == QLatin1Char(' ') ? int(Qt::Key_Space) : int(c.toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QApplication::sendEvent(field, &release);
        }
        // The time reported: from the last key to the pedal's log saying it applied the name.
        // The link is done with the closing ";" a little before the pedal has applied it.
        QElapsedTimer clock;
        clock.start();
        const auto allApplied = [&] {
            return rig.uploadsStarted > before && !rig.link->busy()
                && rig.applied() - appliedBefore == rig.uploadsStarted - before;
        };
        if (!waitFor(allApplied, 20000)) {
            state.SkipWithError("the name did not reach the pedal");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!rig.settled() || field->toPlainText() != name || !waitFor(allApplied, 5000)) {
            state.SkipWithError("the pedal does not match the session after the name");
            return;
        }
        uploads.push_back(double(rig.uploadsStarted - before));
    }
    state.counters["median_uploads"] = median(uploads);
    state.counters["max_uploads"] = *std::max_element(uploads.begin(), uploads.end());
    state.counters["goal_uploads"] = 3;
}
BENCHMARK(LiveUpdatesOfATypedName)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Nothing of the user's settings or backups is read or written.
    const QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath(QStringLiteral("config")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theRig.reset();
    return 0;
}
