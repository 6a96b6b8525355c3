#pragma once

#include "ChainedLoad.h"

#include <QObject>
#include <QString>

#include <functional>

class DataHandler;
class Dialogs;

// Acts on each reply line of the pedal:
//   "]3"            starts page data;
//   key "]" value   (in page data) is checked whole and, when it fits, stored at once;
//   ";"             ends the data of one request: during a chained load the next request
//                   is written, after the last one "]12;" is written, the chain is reset
//                   and the finish alert is shown; outside a chain the finish alert is
//                   shown at once.
// Only the keys that page data carries are stored (the per-song keys, "Setlist",
// "Global" and the three stack message keys, stacks without positions). A line that
// does not fit the format stores nothing; it goes to the diagnostic output with its key
// and the reason, and the next finish alert says how many lines could not be read.
// Unknown and file-only keys change nothing (a diagnostic line, not counted).
class ReplyParser : public QObject
{
    Q_OBJECT
public:
    using Writer = std::function<void(const QString &)>;

    ReplyParser(DataHandler &store, Dialogs &dialogs, Writer write, QObject *parent = nullptr);

    void parseReply(const QString &text);

    bool pageDataMode() const { return m_pageData; }
    ChainedLoad &chainedLoad() { return m_chain; }
    const ChainedLoad &chainedLoad() const { return m_chain; }
    // Lines refused since the last finish alert.
    int badLines() const { return m_badLines; }
    // Starts counting afresh (a new load) and leaves page data mode.
    void resetForNewLoad();

    // Checks and stores one page data line (key "]" value) as it came, trimmed to `line`.
    // Returns false with a reason when the line does not fit; `known` tells whether the
    // key is one page data carries.
    bool storeLine(QStringView raw, QStringView line, bool &known, QString &key, QString &reason);

Q_SIGNALS:
    // A key's values went into the store.
    void stored(int keyIndex);
    // Request `number` (counted from 1) of `total` of a chained load was written.
    void requestWritten(int number, int total);
    // The finish alert was shown (`badLines` lines could not be read).
    void finished(int badLines);

private:
    void finish();

    DataHandler &m_store;
    Dialogs &m_dialogs;
    Writer m_write;
    ChainedLoad m_chain;
    bool m_pageData = false;
    int m_badLines = 0;
};
