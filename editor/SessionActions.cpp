#include "SessionActions.h"

#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "model/Dialogs.h"
#include "model/Normaliser.h"

#include <QFileInfo>
#include <QPointer>

SessionActions::SessionActions(DataHandler &store, Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_store(store), m_dialogs(dialogs), m_saved(SessionSnapshot::of(store))
{
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(0);
    connect(&m_checkTimer, &QTimer::timeout, this, &SessionActions::check);
}

bool SessionActions::open()
{
    SessionReader reader;
    const SessionReader::Status status = reader.chooseAndRead(m_dialogs, m_store);
    return finishOpen(reader, int(status));
}

bool SessionActions::openFile(const QString &path)
{
    SessionReader reader;
    const SessionReader::Status status = reader.readFile(path, m_dialogs, m_store);
    return finishOpen(reader, int(status));
}

bool SessionActions::finishOpen(const SessionReader &reader, int status)
{
    if (status == int(SessionReader::Status::Cancelled))
        return false;
    if (status == int(SessionReader::Status::Failed)) {
        m_dialogs.warn(QStringLiteral("The session could not be opened"), reader.problem());
        return false;
    }
    reader.apply(m_store);
    Normaliser::normalise(m_store);
    m_path = reader.path();
    // A legacy file carries only part of a session: what is shown is not that file.
    m_saved = reader.wasLegacy() ? SessionSnapshot() : SessionSnapshot::of(m_store);
    Q_EMIT sessionReplaced();
    check();
    Q_EMIT stateChanged();
    return true;
}

void SessionActions::save(std::function<void(bool saved)> done)
{
    Normaliser::normalise(m_store);
    Q_EMIT sessionNormalised();
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QString text = writer.write(m_store, SessionWriter::Form::File);
    writer.setAllKeyFlags(false);
    // What the file will hold is the session as it is now, whatever is edited while the
    // panel is open.
    const SessionSnapshot written = SessionSnapshot::of(m_store);
    QPointer<SessionActions> self(this);
    TextFileSaver::saveThroughPanel(m_dialogs, text, [self, written, done](const QString &path) {
        if (self && !path.isEmpty()) {
            self->m_path = path;
            self->m_saved = written;
            self->check();
            Q_EMIT self->stateChanged();
        }
        if (done)
            done(!path.isEmpty());
    });
}

bool SessionActions::reset()
{
    const bool didReset = m_store.resetSession(m_dialogs);
    if (didReset) {
        m_path.clear();
        m_saved = SessionSnapshot::of(m_store);
    }
    Q_EMIT sessionReplaced();
    check();
    Q_EMIT stateChanged();
    return didReset;
}

bool SessionActions::isModified() const
{
    return m_saved.isEmpty() || SessionSnapshot::of(m_store) != m_saved;
}

QString SessionActions::displayName() const
{
    return m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
}

void SessionActions::sessionMayHaveChanged()
{
    m_checkTimer.start();
}

void SessionActions::markUnmodified()
{
    m_saved = SessionSnapshot::of(m_store);
    check();
}

void SessionActions::check()
{
    m_checkTimer.stop();
    const bool modified = isModified();
    if (modified != m_modified) {
        m_modified = modified;
        Q_EMIT stateChanged();
    }
}
