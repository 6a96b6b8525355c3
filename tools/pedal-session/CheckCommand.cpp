#include "CheckCommand.h"

#include "SessionTool.h"

#include "format/SessionCheck.h"
#include "model/DataHandler.h"

#include <QCommandLineParser>
#include <QJsonDocument>

#include <cstdio>

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
    QByteArray out;
    if (args.isSet(QStringLiteral("json"))) {
        out = QJsonDocument(SessionCheck::toJson(findings)).toJson(QJsonDocument::Indented);
    } else {
        for (const CheckFinding &f : findings)
            out += f.line().toUtf8() + '\n';
    }
    const size_t written = std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    if (std::fflush(stdout) != 0 || written != size_t(out.size())) {
        std::fputs("pedal-session: the result cannot be written to standard output\n", stderr);
        return Trouble;
    }
    return findings.empty() ? Clean : Found;
}
