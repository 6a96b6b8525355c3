// Session text speed for a full session: 128 songs, 128 stacks and a library of 1,000
// entries (about 150 kB of file form).
#include "RandomSession.h"

#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "model/Normaliser.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLibraryEntries = 1000;

void fillFull(DataHandler &store)
{
    RandomSession random(2024);
    random.fill(store, {kLibraryEntries, true, true});
    // Every song and stack name as long as it can be, so that the text has its full size.
    for (const SongRef &song : store.SongList)
        song->UpdateName(QString(30, QLatin1Char('n')));
    for (MidiStack &stack : store.MidiStackList) {
        stack.Name = QString(30, QLatin1Char('s'));
        for (MidiStackMessage &m : stack.MidiStackMessageList)
            m.Name = QString(28, QLatin1Char('m')) + QStringLiteral("\u00e9!");
    }
}

QString fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File);
}

void WriteFileForm(benchmark::State &state)
{
    DataHandler store;
    fillFull(store);
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QString text = writer.write(store, SessionWriter::Form::File);
        bytes = text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["characters"] = double(bytes);
}
BENCHMARK(WriteFileForm)->Unit(benchmark::kMicrosecond);

void WritePedalFormOfAllPages(benchmark::State &state)
{
    DataHandler store;
    fillFull(store);
    SessionWriter writer;
    writer.selectPage(SessionKeys::Page::All);
    for (auto _ : state) {
        QString text = writer.write(store, SessionWriter::Form::Pedal);
        text.replace(QLatin1Char(' '), QLatin1Char('_'));
        benchmark::DoNotOptimize(text.constData());
    }
}
BENCHMARK(WritePedalFormOfAllPages)->Unit(benchmark::kMicrosecond);

void ReadAndApply(benchmark::State &state)
{
    DataHandler source;
    fillFull(source);
    const QString text = fileForm(source);
    DataHandler store;
    for (auto _ : state) {
        SessionReader reader;
        if (reader.readText(text, store) != SessionReader::Status::Read) {
            state.SkipWithError(reader.problem().toUtf8().constData());
            break;
        }
        reader.apply(store);
        // Opening adds the library entries to those there; start from none each time.
        store.MidiMessageLibrary.clear();
    }
    state.counters["characters"] = double(text.size());
}
BENCHMARK(ReadAndApply)->Unit(benchmark::kMicrosecond);

void OpenFile(benchmark::State &state)
{
    // The whole Open from disk: read the bytes, decode UTF-8, read, apply, normalise.
    DataHandler source;
    fillFull(source);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("cannot write the session file");
            return;
        }
        file.write(fileForm(source).toUtf8());
    }
    DataHandler store;
    for (auto _ : state) {
        SessionReader reader;
        if (reader.readFile(path, store) != SessionReader::Status::Read) {
            state.SkipWithError(reader.problem().toUtf8().constData());
            break;
        }
        reader.apply(store);
        Normaliser::normalise(store);
        store.MidiMessageLibrary.clear();
    }
}
BENCHMARK(OpenFile)->Unit(benchmark::kMicrosecond);

void Normalise(benchmark::State &state)
{
    DataHandler store;
    fillFull(store);
    // Names and numbers that need the clamps.
    for (size_t i = 0; i < store.SongList.size(); ++i) {
        Song &song = *store.SongList[i];
        song.UpdateName(QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix seven eight nine ten"));
        song.Tempo = i % 2 ? 20 : 400;
    }
    const DataHandler &constStore = store;
    for (auto _ : state) {
        Normaliser::normalise(store);
        benchmark::DoNotOptimize(&constStore);
    }
}
BENCHMARK(Normalise)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
