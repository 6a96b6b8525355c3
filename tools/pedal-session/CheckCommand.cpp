#include "CheckCommand.h"

#include "SessionTool.h"

#include "format/SessionCheck.h"
#include "model/DataHandler.h"

#include <QCommandLineParser>
#include <QJsonDocument>

namespace {

enum Exit { Clean = 0, Found = 1, Trouble = 2 };

} // namespace

int checkCommand(const QCommandLineParser &args)
{
    DataHandler store;
    // openInto names the file and the problem on standard error.
    if (!SessionTool::openInto(store, args.positionalArguments().at(0), args.isSet(QStringLiteral("accept-legacy"))))
        return Trouble;

    const std::vector<CheckFinding> findings = SessionCheck::run(store);
    QString out;
    if (args.isSet(QStringLiteral("json"))) {
        out = QString::fromUtf8(QJsonDocument(SessionCheck::toJson(findings)).toJson(QJsonDocument::Indented));
    } else {
        for (const CheckFinding &f : findings)
            out += f.line() + QLatin1Char('\n');
    }
    // A full disk or a closed pipe is trouble, not a result.
    if (SessionTool::writeResult(out, QString()) != 0)
        return Trouble;
    return findings.empty() ? Clean : Found;
}
