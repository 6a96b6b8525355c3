#pragma once

#include "format/SessionKeys.h"

#include <QLatin1String>
#include <QString>

#include <iterator>
#include <vector>

// The pedal's commands. Each is written as "]", its decimal code and ";". This table is
// the one place that knows a code: what it is called, what the editor writes after it
// and what the pedal answers. The link, the reply parser and the virtual pedal read it.
namespace PedalCommands {

enum class Code {
    Greeting = 0,
    NamePreview = 1,
    StackPreview = 2,
    Upload = 3,
    FactoryReset = 4,
    SongsFirstPart = 5,
    Setlist = 6,
    Midi = 7,
    Global = 8,
    SetJacksFirstPart = 9,
    SetJacksSecondPart = 10,
    SetJacksThirdPart = 11,
    ChainBracket = 12, // before the first request of a chained load and after its last reply
    SetJacksFourthPart = 13,
    SongsSecondPart = 14,
};

// What the editor writes after the command (each but Nothing closed by a ";" of its own).
enum class Follows {
    Nothing,
    NamePreviewFields,  // song number (3), display name only (1), font size (1), two colours (2 each), name (30)
    StackPreviewFields, // status, message and value, 3 digits each
    UploadText,         // the session text in its pedal form, in paced pieces
};

struct Command
{
    Code code;
    const char *words; // the command in words ("greeting", "load request")
    Follows follows;
    // The page the command concerns. A load request, answered with page data, carries
    // part `part` (from 0) of `parts` of the page's keys and has its place in the chain of
    // Load All; commands that the pedal does not answer have parts 0.
    SessionKeys::Page page;
    int part;
    int parts;
    int loadAllPosition;

    constexpr bool answered() const { return parts > 0; }
};

using Page = SessionKeys::Page;
// One row per code, in code order.
inline constexpr Command Table[] = {
    {Code::Greeting, "greeting", Follows::Nothing, Page::All, 0, 0, -1},
    {Code::NamePreview, "name preview", Follows::NamePreviewFields, Page::Songs, 0, 0, -1},
    {Code::StackPreview, "stack preview", Follows::StackPreviewFields, Page::Midi, 0, 0, -1},
    {Code::Upload, "upload", Follows::UploadText, Page::All, 0, 0, -1},
    {Code::FactoryReset, "factory reset", Follows::Nothing, Page::All, 0, 0, -1},
    {Code::SongsFirstPart, "load request", Follows::Nothing, Page::Songs, 0, 2, 0},
    {Code::Setlist, "load request", Follows::Nothing, Page::Setlist, 0, 1, 2},
    {Code::Midi, "load request", Follows::Nothing, Page::Midi, 0, 1, 3},
    {Code::Global, "load request", Follows::Nothing, Page::Global, 0, 1, 8},
    {Code::SetJacksFirstPart, "load request", Follows::Nothing, Page::SetJacks, 0, 4, 4},
    {Code::SetJacksSecondPart, "load request", Follows::Nothing, Page::SetJacks, 1, 4, 5},
    {Code::SetJacksThirdPart, "load request", Follows::Nothing, Page::SetJacks, 2, 4, 6},
    {Code::ChainBracket, "chained load bracket", Follows::Nothing, Page::All, 0, 0, -1},
    {Code::SetJacksFourthPart, "load request", Follows::Nothing, Page::SetJacks, 3, 4, 7},
    {Code::SongsSecondPart, "load request", Follows::Nothing, Page::Songs, 1, 2, 1},
};
inline constexpr int Count = 15;
static_assert(std::size(Table) == Count, "one row per code");

constexpr bool rowsInCodeOrder()
{
    for (int i = 0; i < Count; ++i)
        if (int(Table[i].code) != i)
            return false;
    return true;
}
static_assert(rowsInCodeOrder(), "row i holds code i");

// The number of load requests, and so the length of Load All's chain.
constexpr int loadRequestCount()
{
    int n = 0;
    for (const Command &c : Table)
        n += c.answered() ? 1 : 0;
    return n;
}
static_assert(loadRequestCount() == 9, "Load All asks for every page in nine requests");

// Each load request has its own place in Load All's chain.
constexpr bool loadAllChainWhole()
{
    for (int position = 0; position < loadRequestCount(); ++position) {
        int rows = 0;
        for (const Command &c : Table)
            rows += c.answered() && c.loadAllPosition == position ? 1 : 0;
        if (rows != 1)
            return false;
    }
    return true;
}
static_assert(loadAllChainWhole(), "Load All writes each request once");

// The framing of commands, of page data replies and of an upload's end.
inline constexpr char Start = ']';
inline constexpr char End = ';';
inline constexpr QLatin1String PageDataStart("]3"); // the pedal's line before page data
inline constexpr QLatin1String EndOfData(";");      // the pedal's line after page data

// The row of `code`, or null for a code the pedal does not know.
const Command *find(int code);
inline const Command &of(Code code)
{
    return Table[int(code)];
}

// What goes on the wire: "]5;" (any number, known or not).
QString text(int code);
inline QString text(Code code)
{
    return text(int(code));
}

// The command in words: "greeting", "load request, Songs page, part 1 of 2".
QString describe(const Command &command);

// The load requests of a page in writing order (Page::All: Load All's chain).
std::vector<Code> loadRequests(SessionKeys::Page page);
// The keys (table indexes) that answer load request `code`: its share of its page's keys.
// Empty when `code` is not a load request.
std::vector<int> keysOfRequest(int code);

} // namespace PedalCommands
