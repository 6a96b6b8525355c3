#include "SongsCsvFlow.h"

#include "CompareDock.h"
#include "Dialogs.h"
#include "SessionActions.h"
#include "SessionHistory.h"
#include "ViewController.h"

#include "format/SongsCsv.h"
#include "model/DataHandler.h"
#include "model/SessionSnapshot.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The lines of what was not taken, at most `limit` of them and how many more.
QString notTaken(const QStringList &lines, int limit = 20)
{
    QString text = lines.mid(0, limit).join(QLatin1Char('\n'));
    if (lines.size() > limit)
        text +=
            QLatin1Char('\n') + QCoreApplication::translate("SongsCsvFlow", "… and %1 more").arg(lines.size() - limit);
    return text;
}

} // namespace

void SongsCsvFlow::exportSongs(ViewController &window)
{
    EditorContext &ctx = window.context();
    SessionActions::saveThroughPanel(ctx.dialogs, SongsCsv::write(ctx.store), nullptr, QStringLiteral("csv"));
}

void SongsCsvFlow::importSongs(ViewController &window)
{
    EditorContext &ctx = window.context();
    const QString path = ctx.dialogs.chooseFileToOpen(
        QCoreApplication::translate("SongsCsvFlow", "Import Songs from CSV"), {QStringLiteral("csv")});
    if (path.isEmpty())
        return;
    DataHandler imported;
    SessionSnapshot::of(ctx.store).restoreInto(imported);
    const SongsCsv::Result result = SongsCsv::readFile(path, imported);
    if (!result.ok()) {
        ctx.dialogs.warn(QCoreApplication::translate("SongsCsvFlow", "The songs could not be imported"),
                         result.problem);
        return;
    }
    std::vector<int> changed;
    for (size_t p = 0; p < imported.SongList.size(); ++p)
        if (!sameSong(*imported.SongList[p], *ctx.store.SongList[p]))
            changed.push_back(int(p));
    const QString name = QFileInfo(path).fileName();
    const QStringList lines = SongsCsv::lines(result);
    const QString refused = lines.isEmpty()
        ? QString()
        : QCoreApplication::translate("SongsCsvFlow", "Not taken:") + QLatin1Char('\n') + notTaken(lines);
    if (changed.empty()) {
        ctx.dialogs.inform(QCoreApplication::translate("SongsCsvFlow", "%1 changes no song").arg(name), refused);
        return;
    }
    CompareDock::compareWith(&window, imported, name);
    const QString step = changed.size() == 1
        ? QCoreApplication::translate("SongsCsvFlow", "Import 1 song from %1").arg(name)
        : QCoreApplication::translate("SongsCsvFlow", "Import %1 songs from %2").arg(changed.size()).arg(name);
    QString informative = QCoreApplication::translate("SongsCsvFlow", "The Compare dock lists the changes.");
    if (!refused.isEmpty())
        informative += QStringLiteral("\n\n") + refused;
    if (!ctx.dialogs.confirm(step + QLatin1Char('?'), informative))
        return;
    window.history().editAndShow(step, [&] {
        for (int p : changed)
            *ctx.store.SongList[size_t(p)] = *imported.SongList[size_t(p)];
    });
    // The dock now finds the session and the file the same.
    CompareDock::compareWith(&window, imported, name);
}
