// The editor window on the offscreen platform: building and showing it, and re-reading
// every page from a full session.

#include "editor/ViewController.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"

#include <QApplication>

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
            stack.MidiStackMessageList[m] = MidiStackMessage(1, 1 + qint64(m), qint64(s), qint64(m), QStringLiteral("Msg %1").arg(m));
    }
    for (int e = 0; e < 500; ++e)
        store.MidiMessageLibrary.emplace_back(QStringLiteral("Maker %1").arg(e % 7), QStringLiteral("Device %1").arg(e % 13),
                                              QStringLiteral("Action %1").arg(e), e % 7, e % 128, e % 100);
}

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

void BM_RefreshAllPages(benchmark::State &state)
{
    DataHandler store;
    fillSession(store);
    ScriptedDialogs dialogs;
    ViewController vc(store, dialogs);
    vc.show();
    QApplication::processEvents();
    for (auto _ : state) {
        vc.RefreshAllPages();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshAllPages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
