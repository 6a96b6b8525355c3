#include "WidgetDialogs.h"
#include "ShownTexts.h"

#include "OpenPanelFilter.h"
#include "RecentFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

int WidgetDialogs::showAlert(const Alert &alert)
{
    QMessageBox box(m_window);
    box.setWindowTitle(alert.title.isEmpty() ? QApplication::applicationDisplayName() : ShownTexts::alert(alert.title));
    switch (alert.kind) {
    case Alert::Kind::Plain:
        box.setIcon(alert.buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Information);
        break;
    case Alert::Kind::Destructive:
    case Alert::Kind::Failure: box.setIcon(QMessageBox::Warning); break;
    }
    // The texts of the layers below come in English; the window's own are translated already.
    box.setText(ShownTexts::alert(alert.message));
    box.setInformativeText(ShownTexts::alert(alert.informative));
    const QStringList buttons = alert.buttons.isEmpty() ? QStringList{tr("Ok")} : alert.buttons;
    QList<QAbstractButton *> made;
    for (int i = 0; i < buttons.size(); ++i) {
        const QString &text = buttons[i];
        QMessageBox::ButtonRole role = QMessageBox::ActionRole;
        if (i == 0)
            role = QMessageBox::AcceptRole;
        else if (text == QLatin1String("Cancel") || text == tr("Cancel")
                 || (alert.kind == Alert::Kind::Destructive && i == buttons.size() - 1))
            role = QMessageBox::RejectRole; // the safe answer ("Cancel", "Keep Running")
        else
            role = QMessageBox::DestructiveRole;
        made.append(box.addButton(ShownTexts::alert(text), role));
    }
    // Return confirms, except where confirming destroys data: there it means the last
    // button ("Cancel").
    box.setDefaultButton(
        qobject_cast<QPushButton *>(alert.kind == Alert::Kind::Destructive ? made.last() : made.first()));
    // Escape means the last button ("Cancel" where there is one).
    box.setEscapeButton(made.last());
    box.exec();
    const int index = int(made.indexOf(box.clickedButton()));
    return index >= 0 ? index : int(made.size()) - 1;
}

QString WidgetDialogs::chooseFileToOpen(const QString &title, const QStringList &suffixes)
{
    QFileDialog panel(m_window, title);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setOption(QFileDialog::ReadOnly, true); // no folder creation
    panel.setDirectory(RecentFiles::lastFolder());
    QStringList patterns;
    for (const QString &suffix : suffixes)
        if (!suffix.isEmpty())
            patterns.append(QStringLiteral("*.") + suffix);
    panel.setNameFilter(
        QObject::tr("Session files (%1 and files without extension)").arg(patterns.join(QLatin1Char(' '))));
    panel.setProxyModel(new OpenPanelFilter(suffixes, &panel));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return QString();
    RecentFiles::setLastFolder(QFileInfo(panel.selectedFiles().first()).absolutePath());
    return panel.selectedFiles().first();
}

QString WidgetDialogs::chooseFirmwareImage(const QString &folder)
{
    QFileDialog panel(m_window, QObject::tr("Choose Firmware Image"));
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    panel.setOption(QFileDialog::ReadOnly, true);
    panel.setDirectory(folder);
    panel.setNameFilter(QObject::tr("Firmware images (*.bin)"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return QString();
    return panel.selectedFiles().first();
}

void WidgetDialogs::chooseFileToSave(const QStringList &suffixes, std::function<void(const QString &path)> done)
{
    // A session is saved as text; other files (a PDF) are exported.
    const bool session = suffixes.isEmpty() || suffixes.first() == QLatin1String("txt");
    auto *panel = new QFileDialog(m_window, session ? QObject::tr("Save Session") : QObject::tr("Export"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setOption(QFileDialog::DontUseNativeDialog, true);
    panel->setDirectory(RecentFiles::lastFolder());
    if (!suffixes.isEmpty()) {
        panel->setDefaultSuffix(suffixes.first());
        QStringList patterns;
        for (const QString &suffix : suffixes)
            patterns.append(QStringLiteral("*.") + suffix);
        panel->setNameFilter(
            session ? QObject::tr("Session files (%1)").arg(patterns.join(QLatin1Char(' ')))
                    : QObject::tr("%1 files (%2)").arg(suffixes.first().toUpper(), patterns.join(QLatin1Char(' '))));
    }
    // The panel completes once: with the chosen path, or empty when it is cancelled.
    auto pending = std::make_shared<std::function<void(const QString &)>>(std::move(done));
    auto finish = [pending](const QString &path) {
        if (!*pending)
            return;
        auto callback = std::move(*pending);
        *pending = nullptr;
        if (!path.isEmpty())
            RecentFiles::setLastFolder(QFileInfo(path).absolutePath());
        callback(path);
    };
    QObject::connect(panel, &QFileDialog::fileSelected, panel, finish);
    QObject::connect(panel, &QDialog::rejected, panel, [finish] { finish(QString()); });
    panel->setWindowModality(Qt::NonModal);
    panel->show();
}
