#pragma once

#include "link/PedalLog.h"

#include <QDockWidget>

class Dialogs;
class QPlainTextEdit;

// View ▸ Pedal Log: every line of the pedal log (commands, upload pieces, replies, port
// events and errors, alerts) with its time, the last PedalLog::Limit of them. Clear empties
// it; Save… writes it as a text file.
class PedalLogDock : public QDockWidget
{
    Q_OBJECT
public:
    PedalLogDock(Dialogs &dialogs, QWidget *parent = nullptr);

    void add(const PedalLogEntry &entry);
    void clear();
    // Through the save panel; a failed write is reported there.
    void save();
    const PedalLog &log() const { return m_log; }

private:
    Dialogs &m_dialogs;
    PedalLog m_log;
    QPlainTextEdit *m_view = nullptr;
};
