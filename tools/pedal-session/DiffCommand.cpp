#include "DiffCommand.h"

#include "SessionTool.h"

#include "format/SessionDiff.h"
#include "model/DataHandler.h"

#include <QJsonDocument>

#include <cstdio>

namespace {

enum Exit { Same = 0, Different = 1, Trouble = 2 };

int usage(const QString &problem)
{
    std::fprintf(stderr, "pedal-session: %s\n", problem.toLocal8Bit().constData());
    std::fputs("usage: pedal-session diff A B [--json] [--accept-legacy]\n", stderr);
    return Trouble;
}

} // namespace

int diffCommand(const QStringList &args)
{
    QStringList files;
    bool json = false;
    bool acceptLegacy = false;
    for (const QString &a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a == QLatin1String("--accept-legacy"))
            acceptLegacy = true;
        else if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-"))
            return usage(QStringLiteral("unexpected argument \"%1\"").arg(a));
        else
            files << a;
    }
    if (files.size() != 2)
        return usage(QStringLiteral("two session files are needed"));

    DataHandler a;
    DataHandler b;
    // openInto names the file and the problem on standard error.
    if (!SessionTool::openInto(a, files[0], acceptLegacy) || !SessionTool::openInto(b, files[1], acceptLegacy))
        return Trouble;

    const std::vector<SessionChange> changes = SessionDiff::compare(a, b);
    QByteArray out;
    if (json) {
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
