// Writes the seed corpora of the fuzz targets from the project's own code:
//   make_fuzz_seeds <corpus folder>
// fills <corpus folder>/session_file, /receive and /pedal_input from the factory session
// and randomised ones (fixed seeds, so the corpora are reproducible).
#include "FuzzChecks.h"

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"
#include "tests/support/RandomSession.h"
#include "tools/virtual-pedal/VirtualPedal.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using FuzzChecks::Input;

namespace {

QString g_root;

void save(const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir(g_root).mkpath(target);
    const QString path = g_root + QLatin1Char('/') + target + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// A randomised session whose song Ids stay positions + 1.
void randomise(DataHandler &store, quint32 seed)
{
    RandomSession(seed).fill(store, {-1, true, false});
    Normaliser::normalise(store);
}

QByteArray written(const DataHandler &store, SessionWriter::Form form, SessionKeys::Page page)
{
    SessionWriter writer;
    writer.selectPage(page);
    if (form == SessionWriter::Form::File && page == SessionKeys::Page::All)
        writer.setAllKeyFlags(true);
    return writer.write(store, form).toUtf8();
}

const SessionKeys::Page pages[] = {SessionKeys::Page::Songs, SessionKeys::Page::SetJacks, SessionKeys::Page::Setlist,
                                   SessionKeys::Page::Midi,  SessionKeys::Page::Global,   SessionKeys::Page::All};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    DataHandler factory, random;
    randomise(random, 1);
    using Form = SessionWriter::Form;

    // Session files: whole, page by page, the upload form, the single-line layout of old
    // (128 names and tempos, answered "Ok" and cut short), and lines in the wrong places.
    const QString s = QStringLiteral("session_file");
    save(s, QStringLiteral("factory.txt"), '\0' + written(factory, Form::File, SessionKeys::Page::All));
    for (int p = 0; p < 6; ++p) {
        save(s, QStringLiteral("page-%1.txt").arg(p), '\0' + written(random, Form::File, pages[p]));
        save(s, QStringLiteral("upload-%1.txt").arg(p), '\0' + written(random, Form::Pedal, pages[p]));
    }
    const QByteArray legacy = SessionWriter::value(random, SessionKeys::indexOf(u"Name"), Form::File).toUtf8()
        + QByteArray("120").repeated(128) + QByteArray("0203").repeated(128) + "\r\n";
    save(s, QStringLiteral("legacy-ok.txt"), char(FuzzChecks::LegacyOk) + legacy);
    save(s, QStringLiteral("legacy-short.txt"), char(FuzzChecks::LegacyOk) + legacy.left(4000));
    save(s, QStringLiteral("odd-lines.txt"),
         '\0' + QByteArray("Tempos]120095\r\nName\r\nTempos]\r\n\xef\xbb\xbfGlobal]12\n"));

    // Replies: the page data of every load request, the nine of Load All in a row cut
    // small and odd (the clock running), and noise.
    const QString r = QStringLiteral("receive");
    VirtualPedal pedal;
    randomise(pedal.session(), 3);
    const int codes[] = {5, 14, 6, 7, 8, 9, 10, 11, 13};
    const std::uint8_t loads[] = {1, 0, 4, 5, 6, 2, 0, 0, 0};
    QByteArray all;
    for (int i = 0; i < 9; ++i) {
        save(r, QStringLiteral("page-%1.bin").arg(codes[i]), Input::make(loads[i], {}, pedal.pageData(codes[i])));
        all += pedal.pageData(codes[i]);
    }
    save(r, QStringLiteral("load-all-chunks-64.bin"), Input::make(3, {63}, all));
    save(r, QStringLiteral("load-all-odd-chunks.bin"),
         Input::make(3 | FuzzChecks::ClockRuns, {0, 6, 200, 0xf0, 2}, all));
    save(r, QStringLiteral("noise.bin"),
         Input::make(4, {2, 9},
                     "Tempos]120\r\n;\r\n]3\r\nGlobal]0001\r\nTempos\r\n\xff\xfe\r\nSetlist]001002255\r\n;\n"));

    // What the editor writes: the greeting and an upload of every page, previews, load
    // requests, a factory reset and stray bytes.
    const QString e = QStringLiteral("pedal_input");
    for (int p = 0; p < 6; ++p)
        save(e, QStringLiteral("upload-%1.bin").arg(p),
             Input::make(p == 5 ? FuzzChecks::ReadReplies : 0,
                         p == 5 ? QList<std::uint8_t>{0xf0} : QList<std::uint8_t>{},
                         "]0;]3;\r\n" + written(random, Form::Pedal, pages[p]).replace(' ', '_') + ";"));
    save(e, QStringLiteral("previews.bin"),
         Input::make(0, {}, "]1;007120312Hi[You" + QByteArray(24, '`') + ";]2;176007100;"));
    save(e, QStringLiteral("loads.bin"),
         Input::make(FuzzChecks::ReadReplies, {3, 1}, "]12;]5;]14;]6;]7;]8;]9;]10;]11;]13;]12;"));
    save(e, QStringLiteral("reset-then-load.bin"),
         Input::make(FuzzChecks::ReadReplies, {}, "]4;]8;]99;garbage]3;Tempos]1;"));
    return 0;
}
