#pragma once

// Files for tests: read and written whole, and a temporary folder to write them in.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline QString readFile(const QString &path) // empty when it cannot be read
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A temporary folder, removed with everything in it at the end of its life.
struct TempFiles
{
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    // Writes the file `name` of the folder and gives its path; a failure fails the test.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString at = path(name);
        EXPECT_TRUE(writeFile(at, bytes)) << qPrintable(at);
        return at;
    }
};
