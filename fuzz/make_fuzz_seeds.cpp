// Writes the seed corpora of the fuzz targets from the project's own code:
//   make_fuzz_seeds <corpus folder>
// fills <corpus folder>/session_file, /receive and /pedal_input. The sessions are the
// factory session and randomised ones (fixed seeds, so the corpora are reproducible).
#include "FuzzInput.h"
#include "PedalInputCheck.h"
#include "ReceiveCheck.h"
#include "SessionFileCheck.h"

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "link/PedalLink.h"
#include "link/PortLister.h"
#include "link/SerialHandler.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/Normaliser.h"
#include "model/ScriptedDialogs.h"
#include "tests/support/RandomSession.h"
#include "tools/virtual-pedal/VirtualPedal.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

QString g_root;
int g_files = 0;
qint64 g_bytes = 0;

void save(const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir dir(g_root);
    dir.mkpath(target);
    QFile file(dir.filePath(target + QLatin1Char('/') + name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++g_files;
    g_bytes += bytes.size();
}

// A randomised session. SongList keeps its order so that song Ids stay positions + 1.
void randomise(DataHandler &store, quint32 seed, int libraryEntries)
{
    RandomSession random(seed);
    RandomSession::Options options;
    options.libraryEntries = libraryEntries;
    options.shuffleSongs = false;
    random.fill(store, options);
    Normaliser::normalise(store);
}

QByteArray fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File).toUtf8();
}

// The legacy single-line layout: 128 names, tempos, foreground and background colours
// (both counted from 1).
QByteArray legacyLine(const DataHandler &store, int keepCharacters = -1)
{
    QString line = SessionWriter::value(store, SessionKeys::indexOf(u"Name"), SessionWriter::Form::File)
        + SessionWriter::value(store, SessionKeys::indexOf(u"Tempos"), SessionWriter::Form::File);
    for (qint64 Song::*colour : {&Song::ForegroundColour, &Song::BackgroundColour})
        for (const SongRef &song : store.SongList)
            line += QStringLiteral("%1").arg((*song).*colour + 1, 2, 10, QLatin1Char('0'));
    if (keepCharacters >= 0)
        line = line.left(keepCharacters);
    return (line + QStringLiteral("\r\n")).toUtf8();
}

void sessionFileSeeds()
{
    const QString t = QStringLiteral("session_file");
    DataHandler factory;
    save(t, QStringLiteral("factory.txt"), SessionFileCheck::makeInput(false, fileForm(factory)));

    DataHandler random1, random2;
    randomise(random1, 1, 4);
    randomise(random2, 2, 0);
    save(t, QStringLiteral("random-1.txt"), SessionFileCheck::makeInput(false, fileForm(random1)));
    save(t, QStringLiteral("random-2.txt"), SessionFileCheck::makeInput(false, fileForm(random2)));

    // Each page's keys alone, as a file that holds only some pages.
    const struct
    {
        SessionKeys::Page page;
        const char *name;
    } pages[] = {
        {SessionKeys::Page::Songs, "page-songs.txt"},     {SessionKeys::Page::SetJacks, "page-setjacks.txt"},
        {SessionKeys::Page::Setlist, "page-setlist.txt"}, {SessionKeys::Page::Midi, "page-midi.txt"},
        {SessionKeys::Page::Global, "page-global.txt"},
    };
    for (const auto &p : pages)
        save(t, QLatin1String(p.name),
             SessionFileCheck::makeInput(false,
                                         SessionWriter::writeKeys(random1, SessionKeys::keysOfPage(p.page)).toUtf8()));

    // The exports of the Midi Management page.
    std::vector<int> library;
    for (int k = 0; k < SessionKeys::Count; ++k) {
        const KeyKind kind = SessionKeys::at(k).kind;
        if (kind == KeyKind::LibraryText || kind == KeyKind::LibraryNumber)
            library.push_back(k);
    }
    save(t, QStringLiteral("export-library.txt"),
         SessionFileCheck::makeInput(false, SessionWriter::writeKeys(random1, library).toUtf8()));
    save(t, QStringLiteral("export-stack-names.txt"),
         SessionFileCheck::makeInput(
             false, SessionWriter::writeKeys(random1, {SessionKeys::indexOf(u"MidiStackNames")}).toUtf8()));

    // Single-line sessions of the older layout, answered "Ok" and "Cancel", and one that
    // is too short.
    save(t, QStringLiteral("legacy-ok.txt"), SessionFileCheck::makeInput(true, legacyLine(random2)));
    save(t, QStringLiteral("legacy-cancel.txt"), SessionFileCheck::makeInput(false, legacyLine(random2)));
    save(t, QStringLiteral("legacy-short.txt"), SessionFileCheck::makeInput(true, legacyLine(random2, 4000)));

    // What an upload carries (stack keys with positions), opened as a file.
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    save(t, QStringLiteral("upload-form.txt"),
         SessionFileCheck::makeInput(false, writer.write(random2, SessionWriter::Form::Pedal).toUtf8()));
    // A few lines in the wrong places.
    save(t, QStringLiteral("odd-lines.txt"),
         SessionFileCheck::makeInput(false, QByteArray("Tempos]120095\r\nName\r\nTempos]\r\n\xef\xbb\xbfGlobal]12\n")));
}

void receiveSeeds()
{
    const QString t = QStringLiteral("receive");
    VirtualPedal pedal;
    randomise(pedal.session(), 3, 0);

    const struct
    {
        int code;
        std::uint8_t load;
        const char *name;
    } requests[] = {
        {5, ReceiveCheck::LoadSongs, "songs-5"},     {14, ReceiveCheck::NoLoad, "songs-14"},
        {6, ReceiveCheck::LoadSetlist, "setlist-6"}, {7, ReceiveCheck::LoadMidi, "midi-7"},
        {8, ReceiveCheck::LoadGlobal, "global-8"},   {9, ReceiveCheck::LoadSetJacks, "setjacks-9"},
        {10, ReceiveCheck::NoLoad, "setjacks-10"},   {11, ReceiveCheck::NoLoad, "setjacks-11"},
        {13, ReceiveCheck::NoLoad, "setjacks-13"},
    };
    for (const auto &r : requests)
        save(t, QStringLiteral("page-%1.bin").arg(QLatin1String(r.name)),
             FuzzInput::make(r.load, {}, pedal.pageData(r.code)));

    // Load all: the nine answers in a row, cut in small and in odd pieces, once with the
    // clock running.
    QByteArray all;
    for (int code : {5, 14, 6, 7, 8, 9, 10, 11, 13})
        all += pedal.pageData(code);
    save(t, QStringLiteral("load-all-chunks-64.bin"), FuzzInput::make(ReceiveCheck::LoadAll, {63}, all));
    save(t, QStringLiteral("load-all-odd-chunks.bin"),
         FuzzInput::make(ReceiveCheck::LoadAll | ReceiveCheck::ClockRuns, {0, 6, 200, 0xf0, 2}, all));
    // Load Songs, broken off after the first answer.
    save(t, QStringLiteral("songs-broken-off.bin"),
         FuzzInput::make(ReceiveCheck::LoadSongs | ReceiveCheck::ClockRuns, {31}, pedal.pageData(5)));
    // Noise: lines outside page data, an end mark without a load, a line that is not
    // UTF-8, a key without "]" and a short Global.
    save(t, QStringLiteral("noise.bin"),
         FuzzInput::make(ReceiveCheck::LoadSetlist, {2, 9},
                         QByteArray("Tempos]120\r\n;\r\n]3\r\nGlobal]0001\r\nTempos\r\n\xff\xfe\r\n"
                                    "Setlist]001002255\r\nName]A]B\r\n;\r\n;\n")));
}

// Everything the editor writes to the pedal: the greeting, sends of every page, loads,
// previews and the factory reset.
void pedalInputSeeds()
{
    const QString t = QStringLiteral("pedal_input");
    DataHandler store;
    randomise(store, 4, 0);
    ScriptedDialogs dialogs;
    ManualScheduler clock;
    QStringList ports{QStringLiteral("/dev/ttyS0")};
    auto transport = std::make_unique<FakeSerialTransport>();
    FakeSerialTransport *port = transport.get();
    SerialHandler serial(clock, std::move(transport), std::make_unique<PortLister>([&ports] { return ports; }));
    PedalLink link(serial, store, clock);
    serial.recordStartupPorts();
    ports.append(QStringLiteral("/dev/ttyACM0"));
    serial.connectToPedal();
    clock.advance(SerialHandler::GreetingDelayMs);
    const QByteArray greeting = port->writes.isEmpty() ? QByteArray() : port->writes.join();
    port->clearWrites();

    const auto written = [port] {
        const QByteArray bytes = port->writes.join();
        port->clearWrites();
        return bytes;
    };
    const struct
    {
        SessionKeys::Page page;
        const char *name;
    } pages[] = {
        {SessionKeys::Page::Songs, "songs"},     {SessionKeys::Page::SetJacks, "setjacks"},
        {SessionKeys::Page::Setlist, "setlist"}, {SessionKeys::Page::Midi, "midi"},
        {SessionKeys::Page::Global, "global"},
    };
    for (const auto &p : pages) {
        link.startSend(p.page);
        clock.runAll();
        save(t, QStringLiteral("upload-%1.bin").arg(QLatin1String(p.name)), FuzzInput::make(0, {}, written()));
    }
    link.startSend(SessionKeys::Page::All);
    clock.runAll();
    const QByteArray uploadAll = written();
    save(t, QStringLiteral("upload-all-in-pieces.bin"),
         FuzzInput::make(PedalInputCheck::ReadReplies, {0xf0}, uploadAll));

    link.previewName(7);
    link.previewStack(3);
    save(t, QStringLiteral("previews.bin"), FuzzInput::make(0, {}, written()));

    QByteArray loads = greeting;
    for (PedalLink::Load load : {PedalLink::Load::Songs, PedalLink::Load::SetJacks, PedalLink::Load::Setlist,
                                 PedalLink::Load::Midi, PedalLink::Load::Global}) {
        link.startLoad(load);
        for (int i = 0; i < 4; ++i)
            port->receive(QByteArray(";\r\n"));
        loads += written();
    }
    save(t, QStringLiteral("loads-and-replies.bin"), FuzzInput::make(PedalInputCheck::ReadReplies, {3, 1}, loads));
    save(t, QStringLiteral("factory-reset-then-load.bin"),
         FuzzInput::make(PedalInputCheck::ReadReplies, {}, QByteArray("]4;]8;]99;garbage]3;Tempos]1;")));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    Diagnostics::setSink([](const QString &) {});
    g_root = QString::fromLocal8Bit(argv[1]);
    sessionFileSeeds();
    receiveSeeds();
    pedalInputSeeds();
    std::printf("%d seed files, %lld bytes\n", g_files, static_cast<long long>(g_bytes));
    return 0;
}
