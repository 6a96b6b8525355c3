#include "ReplyParser.h"

#include "PedalCommands.h"

#include "format/SessionCodec.h"
#include "format/SessionKeys.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"

namespace {
// The keys that page data carries: every key that a send can select.
bool isPageDataKey(int index)
{
    return index >= 0 && SessionKeys::at(index).gated;
}
} // namespace

ReplyParser::ReplyParser(DataHandler &store, Writer write, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_write(std::move(write)),
      m_expected(size_t(SessionKeys::Count), 0),
      m_arrived(size_t(SessionKeys::Count), 0)
{}

void ReplyParser::begin(const std::vector<int> &expectedKeys)
{
    m_running = true;
    m_pageData = false;
    m_badLines = 0;
    m_received = 0;
    std::fill(m_expected.begin(), m_expected.end(), 0);
    std::fill(m_arrived.begin(), m_arrived.end(), 0);
    for (int k : expectedKeys)
        if (k >= 0 && k < SessionKeys::Count)
            m_expected[size_t(k)] = 1;
}

void ReplyParser::abandon()
{
    m_running = false;
    m_pageData = false;
    m_chain.reset();
}

void ReplyParser::lineLost(const QString &reason)
{
    if (!m_running || !m_pageData)
        return;
    ++m_badLines;
    Diagnostics::line(QStringLiteral("Reply line lost: %1").arg(reason));
}

QStringList ReplyParser::missingKeys() const
{
    QStringList missing;
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (m_expected[size_t(k)] && !m_arrived[size_t(k)])
            missing.append(QString::fromLatin1(SessionKeys::at(k).key));
    return missing;
}

QString ReplyParser::shortfall(int badLines, const QStringList &missing, bool anyKey)
{
    QStringList parts;
    if (badLines == 1)
        parts.append(QStringLiteral("1 line could not be read"));
    else if (badLines > 1)
        parts.append(QStringLiteral("%1 lines could not be read").arg(badLines));
    if (!anyKey) {
        parts.append(QStringLiteral("the pedal sent none of the data asked for"));
    } else if (!missing.isEmpty()) {
        const int shown = 6;
        QString names = QStringList(missing.mid(0, shown)).join(QStringLiteral(", "));
        if (missing.size() > shown)
            names += QStringLiteral(" and %1 more").arg(missing.size() - shown);
        parts.append(
            QStringLiteral("%1 not received: %2")
                .arg(missing.size() == 1 ? QStringLiteral("1 key") : QStringLiteral("%1 keys").arg(missing.size()),
                     names));
    }
    return parts.join(QLatin1Char('\n'));
}

void ReplyParser::parseReply(const QString &text)
{
    const QStringView line = QStringView(text).trimmed();
    if (!m_running) {
        if (line == PedalCommands::EndOfData)
            Diagnostics::line(QStringLiteral("End of data without a load running, ignored"));
        return;
    }
    if (line == PedalCommands::EndOfData) {
        if (!m_pageData) {
            // Not the end of this request's data: its "]3" has not come yet.
            Diagnostics::line(QStringLiteral("End of data before the start of the reply, ignored"));
            return;
        }
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
            m_write(PedalCommands::text(PedalCommands::Code::ChainBracket));
            m_chain.reset();
        }
        finish();
        return;
    }
    if (!m_pageData) {
        if (line == PedalCommands::PageDataStart)
            m_pageData = true;
        return;
    }
    if (line.isEmpty() || line == PedalCommands::PageDataStart)
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
    if (m_expected[size_t(index)] && !m_arrived[size_t(index)]) {
        m_arrived[size_t(index)] = 1;
        ++m_received;
    }
    Q_EMIT stored(index);
    return true;
}

void ReplyParser::finish()
{
    const QStringList missing = missingKeys();
    const QString problem = shortfall(m_badLines, missing, m_received > 0 || missing.isEmpty());
    m_running = false;
    Q_EMIT finished(problem.isEmpty(), QString(problem).replace(QLatin1Char('\n'), QStringLiteral("; ")));
}
