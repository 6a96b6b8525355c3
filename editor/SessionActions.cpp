#include "SessionActions.h"

#include "RecentFiles.h"
#include "SessionHistory.h"

#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "model/Diagnostics.h"
#include "Dialogs.h"
#include "model/Normaliser.h"

#include <QFileInfo>
#include <QPointer>

SessionActions::SessionActions(DataHandler &store, Dialogs &dialogs, SessionHistory &history, QObject *parent)
    : QObject(parent), m_store(store), m_dialogs(dialogs), m_history(history)
{
    connect(&history, &SessionHistory::modifiedChanged, this, &SessionActions::stateChanged);
    connect(&history, &SessionHistory::filePathChanged, this, &SessionActions::stateChanged);
}

QString SessionActions::openingInformative()
{
    return tr("Your changes are lost if you open another session without saving them.");
}

bool SessionActions::whenChangesSettled(const QString &informative, const std::function<void()> &proceed)
{
    if (!isModified()) {
        proceed();
        return true;
    }
    const QStringList buttons = {tr("Save"), tr("Don't Save"), tr("Cancel")};
    const int answer = m_dialogs.alert(
        {tr("Do you want to save the changes to this session?"), informative, buttons, tr("Unsaved Changes")});
    if (answer == 1) {
        proceed();
        return true;
    }
    if (answer != 0)
        return false;
    // The save panel may complete at once or later.
    auto insideThisCall = std::make_shared<bool>(true);
    auto ranAtOnce = std::make_shared<bool>(false);
    QPointer<SessionActions> self(this);
    save([self, proceed, insideThisCall, ranAtOnce](bool wasSaved) {
        if (!self || !wasSaved)
            return;
        if (*insideThisCall)
            *ranAtOnce = true;
        proceed();
    });
    *insideThisCall = false;
    return *ranAtOnce;
}

bool SessionActions::open()
{
    auto opened = std::make_shared<bool>(false);
    QPointer<SessionActions> self(this);
    whenChangesSettled(openingInformative(), [self, opened] {
        if (!self)
            return;
        const QString path = chooseSessionFile(self->m_dialogs);
        if (path.isEmpty())
            return;
        SessionReader reader;
        const SessionReader::Status status = readAsking(reader, path, self->m_dialogs, self->m_store);
        *opened = self->finishOpen(reader, status);
    });
    return *opened;
}

bool SessionActions::openFile(const QString &path)
{
    auto opened = std::make_shared<bool>(false);
    QPointer<SessionActions> self(this);
    whenChangesSettled(openingInformative(), [self, path, opened] {
        if (self)
            *opened = self->openNow(path);
    });
    return *opened;
}

bool SessionActions::openBackup(const QString &path, const QString &stepText)
{
    auto opened = std::make_shared<bool>(false);
    QPointer<SessionActions> self(this);
    whenChangesSettled(openingInformative(), [self, path, stepText, opened] {
        if (self)
            *opened = self->openNow(path, stepText);
    });
    return *opened;
}

bool SessionActions::openNow(const QString &path, const QString &backupStep)
{
    SessionReader reader;
    const SessionReader::Status status = readAsking(reader, path, m_dialogs, m_store);
    if (backupStep.isEmpty() && status == SessionReader::Status::Failed && !QFileInfo::exists(path)) {
        RecentFiles::remove(path);
        Q_EMIT recentFilesChanged();
    }
    return finishOpen(reader, status, backupStep);
}

QString SessionActions::chooseSessionFile(Dialogs &dialogs)
{
    const QString path = dialogs.chooseFileToOpen(
        tr("Open Session"), {QStringLiteral("txt"), QStringLiteral("text"), QStringLiteral("bin"), QString()});
    if (path.isEmpty())
        Diagnostics::line(QStringLiteral("file selection was canceled"));
    return path;
}

SessionReader::Status SessionActions::readAsking(SessionReader &reader, const QString &path, Dialogs &dialogs,
                                                 const DataHandler &store)
{
    const SessionReader::Status status = reader.readFile(path, store);
    if (status != SessionReader::Status::NeedsConsent)
        return status;
    return reader.answerLegacy(dialogs.alert(reader.legacyQuestion()) == 0);
}

void SessionActions::saveThroughPanel(Dialogs &dialogs, const QString &text, std::function<void(const QString &)> done,
                                      const QString &suffix)
{
    Dialogs *d = &dialogs;
    dialogs.chooseFileToSave({suffix}, [d, text, done, suffix](const QString &chosen) {
        if (chosen.isEmpty()) {
            if (done)
                done(QString());
            return;
        }
        QString path = chosen;
        if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
            path += QLatin1Char('.') + suffix;
        const QString error = TextFileSaver::writeAtomically(path, text);
        if (!error.isEmpty()) {
            Diagnostics::line(QStringLiteral("could not save %1: %2").arg(path, error));
            d->warn(tr("The file could not be saved"), QStringLiteral("%1\n%2").arg(path, error));
            if (done)
                done(QString());
            return;
        }
        if (done)
            done(path);
    });
}

bool SessionActions::finishOpen(const SessionReader &reader, SessionReader::Status status, const QString &backupStep)
{
    if (status == SessionReader::Status::Failed) {
        m_dialogs.warn(tr("The session could not be opened"), reader.problem());
        return false;
    }
    // A declined older-layout file leaves everything as it was: no step, the same file.
    if (status == SessionReader::Status::Declined)
        return false;
    for (const QString &warning : reader.warnings())
        Q_EMIT warned(reader.path() + QStringLiteral(": ") + warning);
    const QString name = QFileInfo(reader.path()).fileName();
    const bool backup = !backupStep.isEmpty();
    m_history.edit(backup ? backupStep : tr("Open %1").arg(name), [this, &reader, backup] {
        reader.apply(m_store);
        Normaliser::normalise(m_store);
        // A file of the older layout, or a backup, is not the session's own file: Save
        // asks where to write rather than replace it.
        m_history.setFilePath(reader.wasLegacy() || backup ? QString() : reader.path());
    });
    // A legacy file carries only part of a session: what is shown is not that file.
    if (!reader.wasLegacy() && !backup)
        m_history.markSaved();
    if (!backup) {
        RecentFiles::add(reader.path());
        Q_EMIT recentFilesChanged();
    }
    Q_EMIT sessionReplaced();
    Q_EMIT stateChanged();
    return true;
}

QString SessionActions::prepareText()
{
    m_history.editAndShow(tr("Normalise Session"), [this] { Normaliser::normalise(m_store); });
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QString text = writer.write(m_store, SessionWriter::Form::File);
    writer.setAllKeyFlags(false);
    return text;
}

void SessionActions::save(std::function<void(bool saved)> done)
{
    const QString path = m_history.filePath();
    if (path.isEmpty()) {
        saveAs(std::move(done));
        return;
    }
    const QString text = prepareText();
    const int step = m_history.undoStack().index();
    const QString error = TextFileSaver::writeAtomically(path, text);
    if (!error.isEmpty()) {
        Diagnostics::line(QStringLiteral("could not save %1: %2").arg(path, error));
        m_dialogs.warn(tr("The file could not be saved"), QStringLiteral("%1\n%2").arg(path, error));
        if (done)
            done(false);
        return;
    }
    saved(path, step);
    if (done)
        done(true);
}

void SessionActions::saveAs(std::function<void(bool saved)> done)
{
    const QString text = prepareText();
    // What the file will hold is the session as it is now, whatever is edited while the
    // panel is open.
    const int step = m_history.undoStack().index();
    QPointer<SessionActions> self(this);
    saveThroughPanel(m_dialogs, text, [self, step, done](const QString &path) {
        if (self && !path.isEmpty())
            self->saved(path, step);
        if (done)
            done(!path.isEmpty());
    });
}

void SessionActions::saved(const QString &path, int stepWritten)
{
    m_history.setFilePath(path);
    // Edits made while the panel was open are not in the file.
    if (m_history.undoStack().index() == stepWritten && !m_history.outsidePending())
        m_history.markSaved();
    RecentFiles::add(path);
    Q_EMIT recentFilesChanged();
    Q_EMIT stateChanged();
}

bool SessionActions::reset()
{
    auto didReset = std::make_shared<bool>(false);
    QPointer<SessionActions> self(this);
    const auto resetNow = [self, didReset] {
        if (!self)
            return;
        self->m_history.edit(tr("Reset Session"), [self] {
            self->m_store.resetSessionContents();
            self->m_history.setFilePath(QString());
        });
        // A new session: nothing in it to save yet.
        self->m_history.markSaved();
        *didReset = true;
        Q_EMIT self->sessionReplaced();
        Q_EMIT self->stateChanged();
    };
    if (isModified()) {
        whenChangesSettled(tr("This computer session will be reset to factory settings; your changes "
                              "are lost if you do not save them.\nYour pedal will remain the same"),
                           resetNow);
    } else if (m_dialogs.confirmDestructive(tr("About to reset"),
                                            tr("This computer session will be reset to factory settings.\n"
                                               "Your pedal will remain the same"))) {
        resetNow();
    }
    if (!*didReset) {
        // The pages show the session again all the same.
        Q_EMIT sessionReplaced();
        Q_EMIT stateChanged();
    }
    return *didReset;
}

bool SessionActions::isModified() const
{
    return m_history.isModified();
}

QString SessionActions::filePath() const
{
    return m_history.filePath();
}

QString SessionActions::displayName() const
{
    const QString path = m_history.filePath();
    return path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
}

void SessionActions::markUnmodified()
{
    m_history.markSaved();
}
