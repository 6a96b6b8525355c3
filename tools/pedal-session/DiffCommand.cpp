#include "DiffCommand.h"

#include "SessionTool.h"

#include "format/SessionDiff.h"
#include "model/DataHandler.h"

#include <QCommandLineParser>
#include <QJsonDocument>

#include <cstdio>

namespace {

enum Exit { Same = 0, Different = 1, Trouble = 2 };

} // namespace

int diffCommand(const QCommandLineParser &args)
{
    const QStringList files = args.positionalArguments();
    const bool acceptLegacy = args.isSet(QStringLiteral("accept-legacy"));
    DataHandler a;
    DataHandler b;
    // openInto names the file and the problem on standard error.
    if (!SessionTool::openInto(a, files[0], acceptLegacy) || !SessionTool::openInto(b, files[1], acceptLegacy))
        return Trouble;

    const std::vector<SessionChange> changes = SessionDiff::compare(a, b);
    QByteArray out;
    if (args.isSet(QStringLiteral("json"))) {
        out = QJsonDocument(SessionDiff::toJson(changes)).toJson(QJsonDocument::Indented);
    } else {
        for (const SessionChange &c : changes)
            out += c.text().toUtf8() + '\n';
    }
    const size_t written = std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    if (std::fflush(stdout) != 0 || written != size_t(out.size())) {
        std::fputs("pedal-session: the result cannot be written to standard output\n", stderr);
        return Trouble;
    }
    return changes.empty() ? Same : Different;
}
