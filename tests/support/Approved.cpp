#include "Snapshot.h"
#include "TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

namespace Snapshot {
namespace {

QString sourcePath(const QString &relativePath)
{
    return QStringLiteral(PEDAL_SOURCE_DIR "/tests/data/") + relativePath;
}

// A unified diff of the reviewed file and the new text, by diff(1) where there is one. Each
// part of it is headed by the section (the page and step) it is in.
QString difference(const QString &path, const QString &text)
{
    const TempFiles dir;
    const QString now = dir.path(QStringLiteral("now"));
    writeFile(now, text.toUtf8());
    QProcess diff;
    diff.start(QStringLiteral("diff"),
               {QStringLiteral("-u"), QStringLiteral("--label"), QStringLiteral("reviewed"), QStringLiteral("--label"),
                QStringLiteral("now"), QStringLiteral("--show-function-line=^== "), path, now});
    if (diff.waitForFinished(30000) && diff.exitStatus() == QProcess::NormalExit)
        return QString::fromUtf8(diff.readAllStandardOutput());
    return QStringLiteral("now:\n") + text;
}

} // namespace

QStringList shortened(const QStringList &items, int whole, int first, int last)
{
    if (items.size() <= whole)
        return items;
    QStringList out = items.mid(0, first);
    const QStringList middle = items.mid(first, items.size() - first - last);
    const QByteArray hash = QCryptographicHash::hash(middle.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1);
    out << QStringLiteral("… %1 more (%2) …").arg(middle.size()).arg(QString::fromLatin1(hash.toHex().left(8)));
    out << items.mid(items.size() - last);
    return out;
}

::testing::AssertionResult matches(const QString &relativePath, const QString &text)
{
    const QString path = sourcePath(relativePath);
    if (qEnvironmentVariableIntValue("UPDATE_SNAPSHOTS") == 1) {
        QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure()
            << path.toStdString() << " is missing: run the test with UPDATE_SNAPSHOTS=1, then review it";
    if (QString::fromUtf8(file.readAll()) == text)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << relativePath.toStdString()
                                         << " differs from what is shown now (UPDATE_SNAPSHOTS=1 rewrites it for "
                                            "review):\n"
                                         << difference(path, text).toStdString();
}

} // namespace Snapshot
