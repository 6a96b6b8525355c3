// The editor window on the offscreen platform: building and showing it, re-reading every
// page from a full session, and the session history: the memory that 1,000 single-field
// steps hold, and the time of an undo or redo of a one-field step and of a Load All.

#include "editor/SessionHistory.h"
#include "editor/PageTabs.h"
#include "editor/ViewController.h"
#include "model/DataHandler.h"
#include "ScriptedDialogs.h"
#include "model/SessionSnapshot.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

// Every song named and set, every stack named and filled, a full library.
void fillSession(DataHandler &store)
{
    for (size_t i = 0; i < store.SongList.size(); ++i) {
        Song &song = *store.SongList[i];
        song.UpdateName(QStringLiteral("Song Nr %1\nPart B").arg(i + 1));
        song.UpdateTempo(60 + qint64(i));
        song.JackOne = qint64(i % 4);
        song.Jack1TipTAPFunction = 10;
        song.Jack1TipHOLDFunction = 10;
    }
    for (size_t s = 0; s < store.MidiStackList.size(); ++s) {
        MidiStack &stack = store.MidiStackList[s];
        stack.Name = QStringLiteral("Stack %1 of the set").arg(s + 1);
        for (size_t m = 0; m < stack.MidiStackMessageList.size(); ++m)
            stack.MidiStackMessageList[m] =
                MidiStackMessage(1, 1 + qint64(m), qint64(s), qint64(m), QStringLiteral("Msg %1").arg(m));
    }
    for (int e = 0; e < 500; ++e)
        store.MidiMessageLibrary.emplace_back(QStringLiteral("Maker %1").arg(e % 7),
                                              QStringLiteral("Device %1").arg(e % 13),
                                              QStringLiteral("Action %1").arg(e), e % 7, e % 128, e % 100);
}

// The baseline for the start-up (run first, so that it meets the first-use costs of the
// platform, as the editor's window does in a real start): a bare window of five tabs. The editor's
// window should be shown within twice this time.
void BM_BareWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        QMainWindow window;
        auto *tabs = new QTabWidget(&window);
        for (const char *title : {"Set Jacks", "Songs", "Setlist", "Midi Management", "Global Settings"})
            tabs->addTab(new QLabel(QString::fromLatin1(title)), QString::fromLatin1(title));
        window.setCentralWidget(tabs);
        window.resize(1180, 820);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        DataHandler store;
        ScriptedDialogs dialogs;
        ViewController vc(store, dialogs);
        vc.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(vc.isVisible());
    }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond)->Iterations(5);

// The pages not shown at start are built when first needed: all of them at once.
void BM_EveryPageBuilt(benchmark::State &state)
{
    for (auto _ : state) {
        DataHandler store;
        ScriptedDialogs dialogs;
        ViewController vc(store, dialogs);
        vc.show();
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        vc.pages().buildAll();
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_EveryPageBuilt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RefreshAllPages(benchmark::State &state)
{
    DataHandler store;
    fillSession(store);
    ScriptedDialogs dialogs;
    ViewController vc(store, dialogs);
    vc.pages().buildAll();
    vc.show();
    QApplication::processEvents();
    for (auto _ : state) {
        vc.RefreshAllPages();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshAllPages)->Unit(benchmark::kMillisecond);

// Bytes the program holds: the heap in use where the C library can tell (not under
// AddressSanitizer, whose allocator it does not see), else the resident size.
double heldBytes()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
#else
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
#endif
}

// 1,000 steps that each change one field of one song (no two merge): what the history
// holds for them.
void BM_ThousandSingleFieldSteps(benchmark::State &state)
{
    for (auto _ : state) {
        DataHandler store;
        fillSession(store);
        ScriptedDialogs dialogs;
        ViewController vc(store, dialogs);
        vc.show();
        QApplication::processEvents();
        const double before = heldBytes();
        for (int i = 0; i < 1000; ++i) {
            Song &song = *store.SongList[size_t(i % 128)];
            vc.history().edit(QStringLiteral("Tempo"), [&song, i] { song.UpdateTempo(200 + i / 128); });
        }
        const double held = heldBytes() - before;
        state.counters["steps"] = vc.history().undoStack().count();
        state.counters["MB"] = held / 1e6;
        state.counters["bytes_per_step"] = held / 1000;
    }
}
BENCHMARK(BM_ThousandSingleFieldSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

// Undo and redo of one step through the window, the pages showing the result each time.
// The time reported is that of one undo or one redo.
void undoRedo(benchmark::State &state, ViewController &vc)
{
    double undoSeconds = 0;
    double redoSeconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        vc.history().undo();
        const auto t1 = std::chrono::steady_clock::now();
        vc.history().redo();
        const auto t2 = std::chrono::steady_clock::now();
        const double undo = std::chrono::duration<double>(t1 - t0).count();
        const double redo = std::chrono::duration<double>(t2 - t1).count();
        undoSeconds += undo;
        redoSeconds += redo;
        state.SetIterationTime((undo + redo) / 2);
    }
    state.counters["undo_ms"] = benchmark::Counter(undoSeconds * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["redo_ms"] = benchmark::Counter(redoSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

void BM_UndoRedoFieldStep(benchmark::State &state)
{
    DataHandler store;
    fillSession(store);
    ScriptedDialogs dialogs;
    ViewController vc(store, dialogs);
    vc.pages().buildAll();
    vc.show();
    vc.showPage(SessionKeys::Page::Songs);
    QApplication::processEvents();
    vc.context().state.SongsSongIndex = 3;
    vc.history().edit(QStringLiteral("Tempo of Song 4"), [&store] { store.SongList[3]->UpdateTempo(99); });
    undoRedo(state, vc);
}
BENCHMARK(BM_UndoRedoFieldStep)->UseManualTime()->Unit(benchmark::kMillisecond);

// A Load All that replaced every song, stack, setting and the setlist.
void BM_UndoRedoLoadAll(benchmark::State &state)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    ViewController vc(store, dialogs);
    vc.pages().buildAll();
    vc.show();
    vc.showPage(SessionKeys::Page::Songs);
    QApplication::processEvents();
    DataHandler pedal;
    fillSession(pedal);
    for (SongRef &song : pedal.SongList)
        song->FontSize = 2;
    pedal.Setlist.resize(40);
    pedal.GlobalMenu.MidiChannelIn = 9;
    SessionSnapshot::of(pedal).restoreInto(store);
    vc.history().changedOutside();
    vc.history().commitOutside(QStringLiteral("Load All"));
    undoRedo(state, vc);
}
BENCHMARK(BM_UndoRedoLoadAll)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Nothing of the user's settings is read or written.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
