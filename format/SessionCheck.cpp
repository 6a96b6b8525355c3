#include "SessionCheck.h"

#include "Encodings.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

using Hits = std::vector<SessionCheck::Hit>;
using Page = SessionKeys::Page;
using Severity = CheckFinding::Severity;

// Jack modes with inputs behind them (jacks 1 to 3): a footswitch, and on jack 1 an
// expression pedal.
constexpr qint64 FootswitchMode = 2;
constexpr qint64 ExpressionMode = 3;
constexpr qint64 FactoryTempo = 120;

QString oneLine(const QString &name)
{
    QString line = name;
    line.remove(QLatin1Char('\r'));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

// "12", or "12 (Intro Riff)" for a named song.
QString songRef(const DataHandler &store, int position)
{
    const QString name = oneLine(store.SongList[size_t(position)]->FullName);
    const QString number = QString::number(position + 1);
    return name.isEmpty() ? number : QStringLiteral("%1 (%2)").arg(number, name);
}

// "5 (Bass)".
QString stackRef(const DataHandler &store, int position)
{
    return QStringLiteral("%1 (%2)").arg(position + 1).arg(store.MidiStackList[size_t(position)].Name);
}

// The pedal takes a message of status 0 (a Control row on channel 0) as no message.
bool hasActiveMessage(const MidiStack &stack)
{
    const auto &messages = stack.MidiStackMessageList;
    return std::any_of(messages.begin(), messages.end(),
                       [](const MidiStackMessage &m) { return Encodings::statusNumber(m.Typey, m.Channel) != 0; });
}

// Each song of the setlist once, at its first position: {setlist position, song position}.
std::vector<std::pair<int, int>> setlistSongs(const DataHandler &store)
{
    std::vector<std::pair<int, int>> out;
    std::vector<bool> seen(store.SongList.size(), false);
    for (size_t q = 0; q < store.Setlist.size(); ++q) {
        const int song = store.songPosition(store.Setlist[q].get());
        if (song >= 0 && !seen[size_t(song)]) {
            seen[size_t(song)] = true;
            out.emplace_back(int(q), song);
        }
    }
    return out;
}

// A footswitch input that is in use on a song: the pedal's own switch always, a jack's
// contact while the jack is a footswitch input.
bool inputInUse(const Song &song, size_t input)
{
    if (input < 2) // the foot switch's tap and hold
        return true;
    const size_t jack = (input - 2) / 4; // tip tap, tip hold, ring tap, ring hold of each jack
    return song.*songJacks()[jack].mode == FootswitchMode;
}

// The inputs of the setlist's songs whose function is `code(hold)`, on the foot switch
// (`foot`) or on the jacks, with the target the sibling field names.
template<typename Target>
Hits inputsCalling(const DataHandler &store, bool foot, qint64 (*code)(bool), Target target)
{
    Hits hits;
    for (const auto &[q, s] : setlistSongs(store)) {
        const Song &song = *store.SongList[size_t(s)];
        for (size_t i = foot ? 0 : 2; i < (foot ? 2 : songInputs().size()); ++i) {
            const SongInput &input = songInputs()[i];
            if (inputInUse(song, i) && song.*input.function == code(input.hold))
                target(s, song, input, hits);
        }
    }
    return hits;
}

Hits emptyStacks(const DataHandler &store, bool foot)
{
    return inputsCalling(
        store, foot, stackFunctionCode, [&store](int s, const Song &song, const SongInput &input, Hits &hits) {
            const qint64 stack = song.*input.stack;
            if (stack < 0 || stack >= qint64(store.MidiStackList.size())
                || hasActiveMessage(store.MidiStackList[size_t(stack)]))
                return;
            hits.push_back({{songRef(store, s), SessionKeys::fieldLabel(input.function), stackRef(store, int(stack))},
                            s,
                            int(stack),
                            -1});
        });
}

Hits songsOutsideSetlist(const DataHandler &store, bool foot)
{
    std::vector<bool> inSetlist(store.SongList.size(), false);
    for (const auto &[q, s] : setlistSongs(store))
        inSetlist[size_t(s)] = true;
    return inputsCalling(
        store, foot, presetFunctionCode,
        [&store, &inSetlist](int s, const Song &song, const SongInput &input, Hits &hits) {
            const qint64 target = song.*input.preset;
            if (target < 0 || target >= qint64(store.SongList.size()) || inSetlist[size_t(target)])
                return;
            hits.push_back(
                {{songRef(store, s), SessionKeys::fieldLabel(input.function), songRef(store, int(target))}, s, -1, -1});
        });
}

Hits emptySetlist(const DataHandler &store)
{
    return store.Setlist.empty() ? Hits{SessionCheck::Hit{}} : Hits{};
}

Hits repeatedSongs(const DataHandler &store)
{
    Hits hits;
    std::vector<int> first(store.SongList.size(), -1);
    for (size_t q = 0; q < store.Setlist.size(); ++q) {
        const int song = store.songPosition(store.Setlist[q].get());
        if (song < 0)
            continue;
        int &at = first[size_t(song)];
        if (at < 0)
            at = int(q);
        else
            hits.push_back({{QString::number(at + 1), QString::number(q + 1), songRef(store, song)}, song, -1, int(q)});
    }
    return hits;
}

// Names as the pedal's display tells them apart: line breaks as spaces, any case.
Hits sharedNames(const DataHandler &store)
{
    Hits hits;
    const auto songs = setlistSongs(store);
    for (size_t b = 0; b < songs.size(); ++b) {
        const QString name = oneLine(store.SongList[size_t(songs[b].second)]->FullName).simplified();
        if (name.isEmpty())
            continue;
        for (size_t a = 0; a < b; ++a) {
            const QString other = oneLine(store.SongList[size_t(songs[a].second)]->FullName).simplified();
            if (other.compare(name, Qt::CaseInsensitive) == 0) {
                hits.push_back({{QString::number(songs[a].first + 1), QString::number(songs[b].first + 1),
                                 QString::number(songs[a].second + 1), QString::number(songs[b].second + 1), name},
                                songs[b].second,
                                -1,
                                songs[b].first});
                break;
            }
        }
    }
    return hits;
}

Hits emptyExpressionStacks(const DataHandler &store)
{
    Hits hits;
    for (const auto &[q, s] : setlistSongs(store)) {
        const Song &song = *store.SongList[size_t(s)];
        const qint64 stack = song.ExpStack;
        if (song.JackOne == ExpressionMode && stack >= 0 && stack < qint64(store.MidiStackList.size())
            && !hasActiveMessage(store.MidiStackList[size_t(stack)]))
            hits.push_back({{songRef(store, s), stackRef(store, int(stack))}, s, int(stack), -1});
    }
    return hits;
}

Hits unnamedSongs(const DataHandler &store)
{
    Hits hits;
    for (const auto &[q, s] : setlistSongs(store))
        if (oneLine(store.SongList[size_t(s)]->FullName).trimmed().isEmpty())
            hits.push_back({{QString::number(q + 1), QString::number(s + 1)}, s, -1, q});
    return hits;
}

Hits factoryTempos(const DataHandler &store)
{
    Hits hits;
    for (size_t s = 0; s < store.SongList.size(); ++s) {
        const Song &song = *store.SongList[s];
        if (song.Tempo == FactoryTempo && !oneLine(song.FullName).trimmed().isEmpty())
            hits.push_back({{songRef(store, int(s))}, int(s), -1, -1});
    }
    return hits;
}

// The setlist's songs are the ones checked for what their inputs call: they are the ones
// played. Messages name setlist positions and songs from 1, stacks from 1 as the stack
// lists do.
// clang-format off
const std::vector<SessionCheck::Check> table = {
    {"empty-setlist", Severity::Problem, Page::Setlist,
     QT_TRANSLATE_NOOP("SessionCheck", "The setlist is empty: the pedal has no setlist songs to step through"),
     emptySetlist},
    {"repeated-song", Severity::Problem, Page::Setlist,
     QT_TRANSLATE_NOOP("SessionCheck", "Setlist positions %1 and %2 both hold Song %3: a song is played twice"),
     repeatedSongs},
    {"shared-name", Severity::Problem, Page::Songs,
     QT_TRANSLATE_NOOP("SessionCheck", "Setlist positions %1 and %2: Song %3 and Song %4 share the name \"%5\", so the pedal shows them alike"),
     sharedNames},
    {"foot-empty-stack", Severity::Problem, Page::Songs,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1: %2 \"Send MIDI Stack\" calls stack %3, which has no active message, so the press sends nothing"),
     [](const DataHandler &store) { return emptyStacks(store, true); }},
    {"jack-empty-stack", Severity::Problem, Page::SetJacks,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1: %2 \"Send MIDI Stack\" calls stack %3, which has no active message, so the press sends nothing"),
     [](const DataHandler &store) { return emptyStacks(store, false); }},
    {"foot-song-outside-setlist", Severity::Problem, Page::Songs,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1: %2 \"Go to Song\" goes to Song %3, which is not in the setlist"),
     [](const DataHandler &store) { return songsOutsideSetlist(store, true); }},
    {"jack-song-outside-setlist", Severity::Problem, Page::SetJacks,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1: %2 \"Go to Song\" goes to Song %3, which is not in the setlist"),
     [](const DataHandler &store) { return songsOutsideSetlist(store, false); }},
    {"expression-empty-stack", Severity::Problem, Page::SetJacks,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1: jack 1 is an expression input whose stack %2 has no active message, so the expression pedal sends nothing"),
     emptyExpressionStacks},
    {"unnamed-song", Severity::Note, Page::Songs,
     QT_TRANSLATE_NOOP("SessionCheck", "Setlist position %1: Song %2 has no name"),
     unnamedSongs},
    {"factory-tempo", Severity::Note, Page::Songs,
     QT_TRANSLATE_NOOP("SessionCheck", "Song %1 still has the factory tempo of 120 BPM; easy to forget when a song was named"),
     factoryTempos},
};
// clang-format on

} // namespace

QString CheckFinding::fill(const QString &format, const QStringList &args)
{
    // In one pass, so that a "%" in a song's name stays as it is.
    QString text;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const qsizetype n = i + 1 < format.size() ? format[i + 1].digitValue() : -1;
        if (format[i] == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            text += args[n - 1];
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

QString CheckFinding::message() const
{
    return fill(QString::fromLatin1(format), args);
}

QString CheckFinding::severityName() const
{
    return severity == Severity::Problem ? QStringLiteral("problem") : QStringLiteral("note");
}

QString CheckFinding::line() const
{
    return severityName() + QStringLiteral(": ") + message();
}

QJsonObject CheckFinding::toJson() const
{
    QJsonObject o{{QStringLiteral("check"), QLatin1String(check)},
                  {QStringLiteral("severity"), severityName()},
                  {QStringLiteral("message"), message()}};
    if (page != Page::All)
        o.insert(QStringLiteral("page"), SessionKeys::pageTitle(page));
    // Numbered from 1, as the window and the messages show them.
    if (song >= 0)
        o.insert(QStringLiteral("song"), song + 1);
    if (stack >= 0)
        o.insert(QStringLiteral("stack"), stack + 1);
    if (setlistPosition >= 0)
        o.insert(QStringLiteral("setlistPosition"), setlistPosition + 1);
    return o;
}

const std::vector<SessionCheck::Check> &SessionCheck::checks()
{
    return table;
}

std::vector<CheckFinding> SessionCheck::run(const DataHandler &store)
{
    std::vector<CheckFinding> findings;
    for (const Check &check : table)
        for (Hit &hit : check.find(store))
            findings.push_back({check.name, check.severity, check.format, std::move(hit.args), check.page, hit.song,
                                hit.stack, hit.setlistPosition});
    return findings;
}

QJsonArray SessionCheck::toJson(const std::vector<CheckFinding> &findings)
{
    QJsonArray out;
    for (const CheckFinding &f : findings)
        out.append(f.toJson());
    return out;
}
