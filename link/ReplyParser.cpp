#include "ReplyParser.h"

#include "format/SessionCodec.h"
#include "format/SessionKeys.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"
#include "model/Dialogs.h"

namespace {
// The keys that page data carries: every key that a send can select.
bool isPageDataKey(int index)
{
    return index >= 0 && SessionKeys::at(index).gated;
}
} // namespace

ReplyParser::ReplyParser(DataHandler &store, Dialogs &dialogs, Writer write, QObject *parent)
    : QObject(parent), m_store(store), m_dialogs(dialogs), m_write(std::move(write))
{
}

void ReplyParser::resetForNewLoad()
{
    m_pageData = false;
    m_badLines = 0;
}

void ReplyParser::parseReply(const QString &text)
{
    const QStringView line = QStringView(text).trimmed();
    if (line == QLatin1String(";")) {
        m_pageData = false;
        if (m_chain.inProgress) {
            if (!m_chain.atLast()) {
                ++m_chain.position;
                const QString request = m_chain.queue.at(m_chain.position);
                const int number = m_chain.position + 1;
                const int total = int(m_chain.queue.size());
                m_write(request);
                Q_EMIT requestWritten(number, total);
                return;
            }
            m_write(QStringLiteral("]12;"));
            m_chain.reset();
        }
        finish();
        return;
    }
    if (!m_pageData) {
        if (line == QLatin1String("]3"))
            m_pageData = true;
        return;
    }
    if (line.isEmpty() || line == QLatin1String("]3"))
        return;

    bool known = false;
    QString key;
    QString reason;
    if (storeLine(text, line, known, key, reason))
        return;
    if (!known) {
        Diagnostics::line(QStringLiteral("Reply line with key \"%1\" ignored: %2").arg(key, reason));
        return;
    }
    ++m_badLines;
    Diagnostics::line(QStringLiteral("Reply line with key \"%1\" not read: %2").arg(key, reason));
}

bool ReplyParser::storeLine(QStringView raw, QStringView line, bool &known, QString &key, QString &reason)
{
    known = false;
    const qsizetype bracket = line.indexOf(QLatin1Char(']'));
    if (bracket < 0) {
        key = line.left(40).toString();
        known = true; // garbled: a data line always holds "]"
        reason = QStringLiteral("no \"]\" in the line");
        return false;
    }
    key = line.left(bracket).toString();
    const int index = SessionKeys::indexOf(key);
    if (!isPageDataKey(index)) {
        reason = index < 0 ? QStringLiteral("unknown key") : QStringLiteral("not part of page data");
        return false;
    }
    known = true;
    const QStringView value = SessionCodec::lineValue(raw, index);

    SessionCodec::Options options;
    options.stackPositions = false;
    options.converterTypeFromSecondStatus = true;
    DecodedKey decoded;
    if (!SessionCodec::decode(index, value, m_store, options, decoded, reason))
        return false;
    SessionCodec::store(m_store, decoded);
    Q_EMIT stored(index);
    return true;
}

void ReplyParser::finish()
{
    QString informative = QStringLiteral("Finished Receiving");
    const int bad = m_badLines;
    if (bad == 1)
        informative += QStringLiteral("\n1 line could not be read");
    else if (bad > 1)
        informative += QStringLiteral("\n%1 lines could not be read").arg(bad);
    m_badLines = 0;
    Q_EMIT finished(bad);
    m_dialogs.inform(QStringLiteral("Press the REFRESH button"), informative);
}
