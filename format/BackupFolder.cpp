#include "BackupFolder.h"

#include "SessionWriter.h"
#include "TextFileSaver.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd hh-mm-ss.zzz");

// A file name part: no folder separators, no control characters, no brackets that would
// end the name, not too long.
QString namePart(const QString &text, bool allowBrackets)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7f
            || (!allowBrackets && (c == QLatin1Char('(') || c == QLatin1Char(')'))))
            out += QLatin1Char('_');
        else
            out += c;
    }
    return out.trimmed().left(120);
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2} \\d{2}-\\d{2}-\\d{2}\\.\\d{3}) ([^()]+?)(?: \\((.*)\\))?\\.txt$"));
    return pattern;
}

} // namespace

QString BackupFolder::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/backups");
}

BackupFolder::BackupFolder(const QString &folder) : m_folder(folder) {}

QString BackupFolder::fileName(const QDateTime &when, const QString &reason, const QString &sessionName)
{
    QString name = when.toString(TimeFormat) + QLatin1Char(' ') + namePart(reason, false);
    const QString session = namePart(sessionName, true);
    if (!session.isEmpty())
        name += QStringLiteral(" (%1)").arg(session);
    return name + QStringLiteral(".txt");
}

bool BackupFolder::parse(const QString &fileName, Entry &entry)
{
    const QRegularExpressionMatch m = namePattern().match(fileName);
    if (!m.hasMatch())
        return false;
    entry.time = QDateTime::fromString(m.captured(1), TimeFormat);
    if (!entry.time.isValid())
        return false;
    entry.reason = m.captured(2);
    entry.sessionName = m.captured(3);
    return true;
}

QString BackupFolder::write(const DataHandler &store, const QString &reason, const QString &sessionName,
                            QString *writtenPath, const QDateTime &when)
{
    if (m_folder.isEmpty())
        return QStringLiteral("there is no folder for application data");
    if (!QDir().mkpath(m_folder))
        return QStringLiteral("the folder %1 cannot be made").arg(m_folder);
    // Two backups in the same millisecond get distinct names.
    QDateTime time = when;
    QString path;
    for (int i = 0; i < 1000; ++i, time = time.addMSecs(1)) {
        path = m_folder + QLatin1Char('/') + fileName(time, reason, sessionName);
        if (!QFileInfo::exists(path))
            break;
    }
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QString error = TextFileSaver::writeAtomically(path, writer.write(store, SessionWriter::Form::File));
    if (!error.isEmpty())
        return QStringLiteral("%1: %2").arg(path, error);
    if (writtenPath)
        *writtenPath = path;
    prune();
    return QString();
}

QList<BackupFolder::Entry> BackupFolder::list() const
{
    QList<Entry> entries;
    const QDir dir(m_folder);
    const QStringList names = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        Entry e;
        if (!parse(name, e))
            continue;
        e.path = dir.filePath(name);
        entries.append(e);
    }
    // Names start with the time, so the name order is the time order.
    return entries;
}

QString BackupFolder::prune(int keep) const
{
    const QList<Entry> entries = list();
    QStringList failed;
    for (qsizetype i = qMax(keep, 0); i < entries.size(); ++i)
        if (!QFile::remove(entries[i].path))
            failed.append(entries[i].path);
    return failed.isEmpty() ? QString() : QStringLiteral("could not remove %1").arg(failed.join(QStringLiteral(", ")));
}
