#pragma once

// What a printed setlist holds, read back from its PDF with pdftotext and pdfinfo
// (poppler-utils): a header on each page, and every entry in order.

#include "format/SetlistSheet.h"

#include <QDate>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

inline QString popplerOutput(const char *program, const QStringList &args)
{
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF at `path` holds `rows` in the stage or the compact layout, in order, on pages of
// `pageSize` ("A4", "letter"), each with the header "NAME DATE Page N of M" (today's
// date); a full stage page holds 12 to 15 songs.
inline ::testing::AssertionResult holdsSetlist(const QString &path, const std::vector<SetlistRow> &rows,
                                               const QString &sessionName, bool stage, const QString &pageSize)
{
    const QString info = popplerOutput("pdfinfo", {path});
    if (!info.contains(QRegularExpression(QStringLiteral("Page size: .*\\(%1\\)").arg(pageSize))))
        return ::testing::AssertionFailure() << "not on " << pageSize.toStdString() << ":\n" << info.toStdString();
    QStringList pages = popplerOutput("pdftotext", {QStringLiteral("-layout"), path, QStringLiteral("-")}).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QString body;
    for (int p = 0; p < pages.size(); ++p) {
        QStringList lines = pages[p].trimmed().split('\n');
        const QString header = lines.takeFirst().simplified(),
                      expected = QStringLiteral("%1 %2 Page %3 of %4")
                                     .arg(sessionName)
                                     .arg(QDate::currentDate().toString(Qt::ISODate))
                                     .arg(p + 1)
                                     .arg(pages.size());
        if (header != expected)
            return ::testing::AssertionFailure() << "page " << p + 1 << " header: " << header.toStdString();
        const qsizetype songs = pages[p].count(QStringLiteral(" BPM"));
        if (stage && p + 1 < pages.size() && (songs < 12 || songs > 15))
            return ::testing::AssertionFailure() << "page " << p + 1 << " holds " << songs << " songs";
        body += lines.join(QString());
    }
    // pdftotext guesses the spaces from the gaps between letters, so the words are compared
    // without them: each row's line (stage), or its cells up to the bank and its jacks
    // (compact; the fonts here may lack letters of a stack's name), one after the other.
    // Ligatures ("fl" drawn as one glyph) come back as their letters.
    static const QRegularExpression space(QStringLiteral("\\s+"));
    body = body.normalized(QString::NormalizationForm_KC).remove(space);
    qsizetype at = 0;
    for (const SetlistRow &row : rows) {
        const QStringList cells = row.cells();
        const QStringList chunks = stage ? QStringList{cells[0] + row.name + QStringLiteral("%1BPM").arg(row.tempo)}
                                         : QStringList{cells.mid(0, 6).join(QString()), cells.mid(7).join(QString())};
        for (QString chunk : chunks) {
            chunk.remove(space);
            const qsizetype found = body.indexOf(chunk, at);
            if (found < 0)
                return ::testing::AssertionFailure()
                    << "position " << row.position << ": \"" << chunk.toStdString()
                    << "\" missing or out of order; next: " << body.mid(at, 80).toStdString();
            at = found + chunk.size();
        }
    }
    return ::testing::AssertionSuccess();
}
