#include "ScriptedDialogs.h"

int ScriptedDialogs::showAlert(const Alert &a)
{
    shown.append(a);
    if (whileShown)
        whileShown(a);
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

QString ScriptedDialogs::chooseFileToOpen(const QString &title, const QStringList &suffixes)
{
    Q_UNUSED(suffixes);
    openTitles.append(title);
    return openPaths.isEmpty() ? QString() : openPaths.takeFirst();
}

void ScriptedDialogs::chooseFileToSave(const QStringList &suffixes, std::function<void(const QString &)> done)
{
    Q_UNUSED(suffixes);
    ++savePanelsShown;
    if (deferSaves) {
        m_pending = std::move(done);
        return;
    }
    done(savePaths.isEmpty() ? QString() : savePaths.takeFirst());
}

void ScriptedDialogs::completePendingSave(const QString &path)
{
    auto done = std::move(m_pending);
    m_pending = nullptr;
    if (done)
        done(path);
}

QStringList ScriptedDialogs::messages() const
{
    QStringList out;
    for (const Alert &a : shown)
        out.append(a.message);
    return out;
}
