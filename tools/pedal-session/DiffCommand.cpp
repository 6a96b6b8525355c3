#include "DiffCommand.h"

#include "SessionTool.h"

#include "format/SessionDiff.h"
#include "model/DataHandler.h"

#include <QCommandLineParser>
#include <QJsonDocument>

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
    QString out;
    if (args.isSet(QStringLiteral("json"))) {
        out = QString::fromUtf8(QJsonDocument(SessionDiff::toJson(changes)).toJson(QJsonDocument::Indented));
    } else {
        for (const SessionChange &c : changes)
            out += c.text() + QLatin1Char('\n');
    }
    // A full disk or a closed pipe is trouble, not a result.
    if (SessionTool::writeResult(out, QString()) != 0)
        return Trouble;
    return changes.empty() ? Same : Different;
}
