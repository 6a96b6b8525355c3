#include "SessionTool.h"

#include "format/SessionJson.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "link/PedalLink.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"

#include <QCommandLineParser>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>

namespace {

enum Exit { Ok = 0, Failed = 1, Usage = 2 };

using SessionTool::err;

QString fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File);
}

} // namespace

void SessionTool::err(const QString &text)
{
    std::fprintf(stderr, "pedal-session: %s\n", text.toLocal8Bit().constData());
}

int SessionTool::writeResult(const QString &text, const QString &output)
{
    if (output.isEmpty()) {
        const QByteArray bytes = text.toUtf8();
        errno = 0;
        const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        // A full disk or a closed pipe is a failure, not a result.
        if (std::fflush(stdout) != 0 || written != size_t(bytes.size()) || std::ferror(stdout)) {
            const int code = errno;
            err(QStringLiteral("the result cannot be written to standard output%1")
                    .arg(code ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code)) : QString()));
            return Failed;
        }
        return Ok;
    }
    const QString error = TextFileSaver::writeAtomically(output, text);
    if (!error.isEmpty()) {
        err(QStringLiteral("%1: cannot be written: %2").arg(output, error));
        return Failed;
    }
    return Ok;
}

bool SessionTool::openInto(DataHandler &store, const QString &path, bool acceptLegacy)
{
    SessionReader reader;
    reader.setLegacyAccepted(acceptLegacy);
    const SessionReader::Status status = reader.readFile(path, store);
    if (status == SessionReader::Status::Failed) {
        err(reader.problem());
        return false;
    }
    if (status == SessionReader::Status::NeedsConsent) {
        err(QStringLiteral("%1: the file is a single-line session of the older layout, of which only names, "
                           "tempos and colours can be read; give --accept-legacy to read them")
                .arg(path));
        return false;
    }
    // Keys passed over are told, and the file is read as before.
    for (const QString &warning : reader.warnings())
        err(QStringLiteral("warning: %1: %2").arg(path, warning));
    reader.apply(store);
    Normaliser::normalise(store);
    return true;
}

int SessionTool::newCommand(const QCommandLineParser &args)
{
    return writeResult(fileForm(DataHandler()), args.value(QStringLiteral("o")));
}

int SessionTool::openCommand(const QCommandLineParser &args)
{
    DataHandler store;
    if (!openInto(store, args.positionalArguments().at(0), args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    return writeResult(fileForm(store), args.value(QStringLiteral("o")));
}

int SessionTool::jsonCommand(const QCommandLineParser &args)
{
    DataHandler store;
    if (!openInto(store, args.positionalArguments().at(0), args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    return writeResult(QString::fromUtf8(QJsonDocument(SessionJson::toJson(store)).toJson(QJsonDocument::Indented)),
                       QString());
}

int SessionTool::uploadCommand(const QCommandLineParser &args)
{
    const QString pageName = args.value(QStringLiteral("page"));
    if (pageName.isEmpty()) {
        err(QStringLiteral("--page songs|setjacks|setlist|midi|global|all is needed"));
        return Usage;
    }
    SessionKeys::Page page;
    if (!SessionKeys::pageFromName(pageName, page)) {
        err(QStringLiteral("unknown page \"%1\"").arg(pageName));
        return Usage;
    }
    DataHandler store;
    if (!openInto(store, args.positionalArguments().at(0), args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    // The sends of songs, jacks, stacks and everything normalise first; the setlist and
    // global sends do not (opening has normalised already, so this changes nothing).
    if (page != SessionKeys::Page::Setlist && page != SessionKeys::Page::Global)
        Normaliser::normalise(store);
    SessionWriter writer;
    writer.selectPage(page);
    // Exactly what a send writes.
    return writeResult(PedalLink::uploadText(writer.write(store, SessionWriter::Form::Pedal)), QString());
}
