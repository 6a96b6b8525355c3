#include "TextFileSaver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace {

// The reason of a failure of `file` just now; errno was cleared before the failing call.
QString failure(const QFileDevice &file)
{
    return TextFileSaver::reason(file.errorString(), errno);
}

// A file that is not a regular file (a FIFO, a character device such as a terminal) is
// written into: replacing it by a regular file would break whatever reads from it.
QString writeInto(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return failure(file);
    file.close();
    return QString();
}

} // namespace

QString TextFileSaver::reason(const QString &qtText, int code)
{
    if (code == 0 || (!qtText.isEmpty() && qtText != QFile().errorString()))
        return qtText;
    return QString::fromLocal8Bit(std::strerror(code));
}

QString TextFileSaver::writeAtomically(const QString &path, const QString &text)
{
    return writeBytesAtomically(path, text.toUtf8());
}

QString TextFileSaver::writeBytesAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return writeInto(path, bytes);
    QSaveFile file(path);
    // Unbuffered: a failing write is seen at once where Qt allows it. Where Qt reports a
    // failed write or commit only as an unknown error, the system's reason is taken from
    // the error number of the call that failed.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(file);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const QString error = failure(file);
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit())
        return failure(file);
    return QString();
}
