#pragma once

// Session files for the tests and the fuzz checks: the file form of a store with every
// key, the value of each key, and whole files written and read.

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"

#include <QFile>

inline QString fileForm(const DataHandler &store)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return writer.write(store, SessionWriter::Form::File);
}

// The value of every key as the session file writes it: two stores hold the same session
// exactly when their images are equal.
inline QStringList keyImage(const DataHandler &store)
{
    QStringList values;
    for (int k = 0; k < SessionKeys::Count; ++k)
        values.append(SessionWriter::value(store, k, SessionWriter::Form::File));
    return values;
}

namespace SessionFiles {

// The bytes of the file at `path`, or "<missing>" when it cannot be read.
inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace SessionFiles
