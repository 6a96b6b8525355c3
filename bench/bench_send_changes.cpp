// Send Changes of one field over the virtual pedal on a real pseudo-terminal: the time
// from the command to the pedal's log saying it applied the upload, with the bytes sent
// and the pacing limit of those bytes (one piece of 1024 characters every 0.3 s, the
// closing ";" 0.3 s after the last piece).
//
// The pedal starts from the same session file as the editor's, which is taken as known
// (as after a Send All), so no Send All of 12 s is needed first.
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The virtual pedal with its log, and the editor's link to it.
struct Rig
{
    QTemporaryDir dir;
    QProcess pedal;
    QString logPath;
    QtScheduler scheduler;
    std::unique_ptr<SerialHandler> serial;
    DataHandler store;
    std::unique_ptr<PedalLink> link;
    std::unique_ptr<PedalKnownSession> known;
    QString problem;

    Rig()
    {
        // A full session: every song named as long as a name can be.
        for (size_t i = 0; i < store.SongList.size(); ++i)
            store.SongList[i]->UpdateName(QStringLiteral("Song %1 ").arg(i).leftJustified(30, QLatin1Char('n')));
        SessionWriter writer;
        writer.setAllKeyFlags(true);
        const QString session = dir.filePath(QStringLiteral("session.txt"));
        problem = TextFileSaver::writeAtomically(session, writer.write(store, SessionWriter::Form::File));
        if (!problem.isEmpty())
            return;
        logPath = dir.filePath(QStringLiteral("pedal.log"));
        pedal.start(QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal"),
                    {QStringLiteral("--session"), session, QStringLiteral("--log"), logPath});
        if (!pedal.waitForStarted(10000) || !pedal.waitForReadyRead(10000)) {
            problem = QStringLiteral("the virtual pedal did not start");
            return;
        }
        const QString device = QString::fromLocal8Bit(pedal.readLine()).trimmed();
        serial = std::make_unique<SerialHandler>(scheduler);
        if (!serial->openPort(device)) {
            problem = QStringLiteral("the port could not be opened");
            return;
        }
        pause(SerialHandler::GreetingDelayMs + 200);
        link = std::make_unique<PedalLink>(*serial, store, scheduler);
        known = std::make_unique<PedalKnownSession>(*serial, *link, store);
        known->setKnown(store);
    }

    ~Rig()
    {
        if (serial)
            serial->closePort();
        pedal.terminate();
        pedal.waitForFinished(5000);
    }

    int appliedUploads() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return int(file.readAll().count("upload applied"));
    }
};

// One iteration: the change, Send Changes, and the wait until the pedal applied it.
void sendChangesOf(benchmark::State &state, const std::function<void(DataHandler &, int)> &change)
{
    Rig rig;
    if (!rig.problem.isEmpty()) {
        state.SkipWithError(rig.problem.toLocal8Bit().constData());
        return;
    }
    qint64 characters = 0;
    int round = 0;
    for (auto _ : state) {
        change(rig.store, ++round);
        SessionWriter writer;
        for (int k : rig.known->changedKeys())
            writer.setKeyFlag(k, true);
        characters = writer.write(rig.store, SessionWriter::Form::Pedal).size();
        const int before = rig.appliedUploads();
        QElapsedTimer clock;
        clock.start();
        if (rig.known->sendChanges() != PedalKnownSession::Outcome::Started) {
            state.SkipWithError("Send Changes did not start");
            return;
        }
        while (rig.appliedUploads() == before && clock.elapsed() < 20000)
            pause(5);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        pause(50); // the link's own end of the transfer
    }
    const qint64 pieces = (characters + PedalLink::PieceLength - 1) / PedalLink::PieceLength;
    state.counters["characters"] = double(characters);
    state.counters["pieces"] = double(pieces);
    state.counters["pacing_limit_s"] = double(pieces * PedalLink::PieceIntervalMs) / 1000.0;
}

void SendChangesOfOneSongName(benchmark::State &state)
{
    sendChangesOf(state, [](DataHandler &s, int round) {
        s.SongList[5]->UpdateName(QStringLiteral("Intro Riff %1").arg(round));
    });
}
BENCHMARK(SendChangesOfOneSongName)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void SendChangesOfOneTempo(benchmark::State &state)
{
    sendChangesOf(state, [](DataHandler &s, int round) { s.SongList[5]->UpdateTempo(90 + round); });
}
BENCHMARK(SendChangesOfOneTempo)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void SendChangesOfOneGlobalSetting(benchmark::State &state)
{
    sendChangesOf(state, [](DataHandler &s, int round) { s.GlobalMenu.MidiChannelOut = 1 + round % 16; });
}
BENCHMARK(SendChangesOfOneGlobalSetting)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
