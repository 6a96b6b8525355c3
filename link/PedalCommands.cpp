#include "PedalCommands.h"

#include <algorithm>

namespace PedalCommands {

const Command *find(int code)
{
    return code >= 0 && code < Count ? &Table[code] : nullptr;
}

QString text(int code)
{
    return QString(QLatin1Char(Start)) + QString::number(code) + QLatin1Char(End);
}

QString describe(const Command &command)
{
    QString words = QString::fromLatin1(command.words);
    if (!command.answered())
        return words;
    words += QStringLiteral(", %1 page").arg(SessionKeys::pageTitle(command.page));
    if (command.parts > 1)
        words += QStringLiteral(", part %1 of %2").arg(command.part + 1).arg(command.parts);
    return words;
}

std::vector<Code> loadRequests(SessionKeys::Page page)
{
    std::vector<const Command *> rows;
    for (const Command &c : Table)
        if (c.answered() && (page == SessionKeys::Page::All || c.page == page))
            rows.push_back(&c);
    std::stable_sort(rows.begin(), rows.end(), [page](const Command *a, const Command *b) {
        return page == SessionKeys::Page::All ? a->loadAllPosition < b->loadAllPosition : a->part < b->part;
    });
    std::vector<Code> codes;
    for (const Command *c : rows)
        codes.push_back(c->code);
    return codes;
}

std::vector<int> keysOfRequest(int code)
{
    const Command *request = find(code);
    if (!request || !request->answered())
        return {};
    const std::vector<int> keys = SessionKeys::keysOfPage(request->page);
    const size_t n = keys.size();
    const size_t from = n * size_t(request->part) / size_t(request->parts);
    const size_t to = n * size_t(request->part + 1) / size_t(request->parts);
    return std::vector<int>(keys.begin() + long(from), keys.begin() + long(to));
}

} // namespace PedalCommands
