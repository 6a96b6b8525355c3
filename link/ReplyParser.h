#pragma once

#include "ChainedLoad.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class DataHandler;

// Acts on each reply line of the pedal while a load is running (begin() ... the finish):
//   "]3"            starts the page data of the request written last;
//   key "]" value   (in page data) is checked whole and, when it fits, stored at once;
//   ";"             (after its "]3") ends the data of one request: during a chained load
//                   the next request is written, after the last one "]12;" is written,
//                   the chain is reset and the load finishes; outside a chain the load
//                   finishes at once.
// Everything before the "]3" of a request's own reply, and everything while no load is
// running, is left alone: bytes left over from an earlier, broken-off transfer cannot end
// or fill a new load.
//
// Only the keys that page data carries are stored (the per-song keys, "Setlist",
// "Global" and the three stack message keys, stacks without positions), decoded exactly
// as a session file's lines are. A line that does not fit the format stores nothing; it
// goes to the diagnostic output with its key and the reason. A load is complete when
// every key it asked for arrived whole and no line was lost; finished() says what is
// missing otherwise (what did arrive stays stored). Unknown and file-only keys change
// nothing (a diagnostic line, not counted).
class ReplyParser : public QObject
{
    Q_OBJECT
public:
    using Writer = std::function<void(const QString &)>;

    ReplyParser(DataHandler &store, Writer write, QObject *parent = nullptr);

    void parseReply(const QString &text);

    // A load starts: the keys it asks for (table indexes). Counts start afresh and page
    // data mode is left.
    void begin(const std::vector<int> &expectedKeys);
    // The running load is given up (no finished()); the chain is reset.
    void abandon();
    // A line of the reply that never reached the parser (not UTF-8, over-long): counted
    // as a line that could not be read when it came inside page data.
    void lineLost(const QString &reason);

    bool loadRunning() const { return m_running; }
    bool pageDataMode() const { return m_pageData; }
    ChainedLoad &chainedLoad() { return m_chain; }
    const ChainedLoad &chainedLoad() const { return m_chain; }
    // Lines refused since the load began.
    int badLines() const { return m_badLines; }
    // Keys asked for that have arrived whole since the load began.
    int keysReceived() const { return m_received; }
    // The names of the keys asked for that have not arrived (yet).
    QStringList missingKeys() const;

    // Checks and stores one page data line (key "]" value) as it came, trimmed to `line`.
    // Returns false with a reason when the line does not fit; `known` tells whether the
    // key is one page data carries.
    bool storeLine(QStringView raw, QStringView line, bool &known, QString &key, QString &reason);

    // What a load with these lines refused and these keys missing lacks (empty when
    // complete).
    static QString shortfall(int badLines, const QStringList &missing, bool anyKey);

Q_SIGNALS:
    // A key's values went into the store.
    void stored(int keyIndex);
    // Request `number` (counted from 1) of `total` of a chained load was written.
    void requestWritten(int number, int total);
    // The load's last reply arrived: `complete` when every key asked for arrived and no line
    // was lost, else `problem` says what is missing (one line).
    void finished(bool complete, const QString &problem);

private:
    void finish();

    DataHandler &m_store;
    Writer m_write;
    ChainedLoad m_chain;
    bool m_running = false;
    bool m_pageData = false;
    int m_badLines = 0;
    std::vector<char> m_expected; // per key of the table: asked for by the running load
    std::vector<char> m_arrived;  // per key: arrived whole
    int m_received = 0;
};
