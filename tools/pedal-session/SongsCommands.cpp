#include "SongsCommands.h"

#include "SessionTool.h"

#include "format/SessionWriter.h"
#include "format/SongsCsv.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"
#include "model/SessionSnapshot.h"

#include <QCommandLineParser>

namespace {
enum Exit { Ok = 0, Failed = 1 };
} // namespace

int songsCommand(const QCommandLineParser &args)
{
    DataHandler store;
    if (!SessionTool::openInto(store, args.positionalArguments().at(0), args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    return SessionTool::writeResult(SongsCsv::write(store), args.value(QStringLiteral("o")));
}

int importSongsCommand(const QCommandLineParser &args)
{
    const QStringList files = args.positionalArguments();
    DataHandler store;
    if (!SessionTool::openInto(store, files[0], args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    const SessionSnapshot before = SessionSnapshot::of(store);
    const SongsCsv::Result result = SongsCsv::readFile(files[1], store);
    if (!result.ok()) {
        SessionTool::err(result.problem);
        return Failed;
    }
    for (const QString &line : SongsCsv::lines(result))
        SessionTool::err(QStringLiteral("%1: %2").arg(files[1], line));
    const SessionSnapshot after = SessionSnapshot::of(store);
    int changed = 0;
    for (size_t i = 0; i < after.songs.size(); ++i)
        changed += sameSong(before.songs[i], after.songs[i]) ? 0 : 1;
    SessionTool::err(QStringLiteral("%1: %2 changed, %3")
                         .arg(files[1],
                              changed == 1 ? QStringLiteral("1 song") : QStringLiteral("%1 songs").arg(changed),
                              result.refusals.size() == 1 ? QStringLiteral("1 refusal")
                                                          : QStringLiteral("%1 refusals").arg(result.refusals.size())));
    Normaliser::normalise(store); // as Save writes it
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const int written =
        SessionTool::writeResult(writer.write(store, SessionWriter::Form::File), args.value(QStringLiteral("o")));
    return written != Ok || !result.refusals.empty() ? Failed : Ok;
}
