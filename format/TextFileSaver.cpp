#include "TextFileSaver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A file that is not a regular file (a FIFO, a character device such as a terminal) is
// written into: replacing it by a regular file would break whatever reads from it.
QString writeInto(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    file.close();
    return QString();
}

} // namespace

QString TextFileSaver::writeAtomically(const QString &path, const QString &text)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return writeInto(path, text.toUtf8());
    QSaveFile file(path);
    // Unbuffered: a failing write is seen at once, with the system's reason ("No space
    // left on device"), not later as an unknown error.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}
