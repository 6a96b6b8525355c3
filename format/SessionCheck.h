#pragma once

#include "SessionKeys.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <vector>

// What a check of a session found: something that will go wrong on stage (a problem) or
// that is easy to forget (a note), in words, and where it is, so that the window can
// show it on its page.
struct CheckFinding
{
    enum class Severity { Problem, Note };

    const char *check = ""; // the check's name ("unnamed-song")
    Severity severity = Severity::Problem;
    const char *format = ""; // the message with %1, %2 ... (English; translatable in "SessionCheck")
    QStringList args;        // numbers and names put into the message
    SessionKeys::Page page = SessionKeys::Page::All; // All: no page of its own
    int song = -1;                                   // position in SongList, or -1
    int stack = -1;                                  // position in MidiStackList, or -1
    int setlistPosition = -1;                        // position in Setlist, or -1

    // `format` with %1 .. %9 replaced by `args`.
    static QString fill(const QString &format, const QStringList &args);
    // The message in English: "Setlist position 4: Song 12 has no name".
    QString message() const;
    // "problem" or "note".
    QString severityName() const;
    // One line: "problem: " or "note: " and the message.
    QString line() const;
    QJsonObject toJson() const;
};

namespace SessionCheck {

// The translation context of the messages.
constexpr const char *Context = "SessionCheck";

// What a check found in one place: the numbers and names of its message and where it is.
struct Hit
{
    QStringList args;
    int song = -1;
    int stack = -1;
    int setlistPosition = -1;
};

// One check: its name, severity, message, page, and the condition that finds its places.
struct Check
{
    const char *name;
    CheckFinding::Severity severity;
    SessionKeys::Page page;
    const char *format;
    std::vector<Hit> (*find)(const DataHandler &store);
};

// Every check, problems first.
const std::vector<Check> &checks();

// Every finding of every check, in the order of the checks and, within one, of the lists.
std::vector<CheckFinding> run(const DataHandler &store);

QJsonArray toJson(const std::vector<CheckFinding> &findings);

} // namespace SessionCheck
