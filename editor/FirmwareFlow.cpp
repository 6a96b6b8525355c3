#include "FirmwareFlow.h"

#include "Dialogs.h"
#include "RecentFiles.h"
#include "TransferStatus.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalLink.h"
#include "link/Scheduler.h"
#include "link/SerialHandler.h"

#include <QFileInfo>
#include <QLocale>
#include <QPointer>

#include <memory>

FirmwareFlow::FirmwareFlow(Dialogs &dialogs, SerialHandler *serial, PedalLink *link, FirmwareUpdater *firmware,
                           TransferStatus &status, std::function<bool(const QString &)> backup, QObject *parent)
    : QObject(parent),
      m_dialogs(dialogs),
      m_serial(serial),
      m_link(link),
      m_firmware(firmware),
      m_status(status),
      m_backup(std::move(backup))
{}

bool FirmwareFlow::running() const
{
    return m_firmware && m_firmware->running();
}

QString FirmwareFlow::chooseImage()
{
    // The image shipped with the program is offered first; another can always be chosen.
    const QString bundled = FirmwareUpdater::findImage();
    if (!bundled.isEmpty()) {
        const QFileInfo file(bundled);
        const int answer = m_dialogs.alert(
            {tr("Which firmware image?"),
             tr("The editor comes with the image %1 (%2 bytes, %3).\nA newer image can be chosen from a file.")
                 .arg(file.fileName(), QLocale().toString(file.size()),
                      QLocale().toString(file.lastModified(), QLocale::ShortFormat)),
             {tr("Use Bundled Image"), tr("Choose Image…"), tr("Cancel")},
             tr("Upload Firmware")});
        if (answer == 0)
            return bundled;
        if (answer != 1)
            return QString();
    }
    const QString image = m_dialogs.chooseFirmwareImage(bundled.isEmpty() ? RecentFiles::lastFirmwareFolder()
                                                                          : QFileInfo(bundled).absolutePath());
    if (!image.isEmpty())
        RecentFiles::setLastFirmwareFolder(QFileInfo(image).absolutePath());
    return image;
}

void FirmwareFlow::upload()
{
    if (!m_firmware || !m_serial || m_serial->refuseIfUpdating() || (m_link && m_link->refuseIfBusy()))
        return;
    if (!m_serial->isConnected()) {
        m_dialogs.notConnected();
        return;
    }
    const QString image = chooseImage();
    if (image.isEmpty())
        return;
    FirmwareUpdater::ImageInfo info;
    const QString refused = FirmwareUpdater::checkImage(image, &info);
    if (!refused.isEmpty()) {
        m_dialogs.warn(FirmwareUpdater::NotFirmware, tr("%1: %2.").arg(QFileInfo(image).fileName(), refused));
        return;
    }
    const QString bundled = FirmwareUpdater::findImage();
    const bool isBundled = !bundled.isEmpty() && info.path == QFileInfo(bundled).absoluteFilePath();
    const QString what = isBundled ? tr("The firmware required for this app")
                                   : tr("The firmware image %1").arg(QFileInfo(info.path).fileName());
    // Flashing is not undone: Return does not start it.
    if (!m_dialogs.confirmDestructive(tr("About to upload"),
                                      what
                                          + tr(" will be uploaded to the pedal\n"
                                               "Make sure you save your old session before doing this\n\n")
                                          + tr("Image: %1\n%2 bytes, %3")
                                                .arg(info.path, QLocale().toString(info.size),
                                                     QLocale().toString(info.modified, QLocale::LongFormat))))
        return;
    if (!m_backup(QString::fromLatin1(QT_TRANSLATE_NOOP("SessionBackups", "Firmware Update"))))
        return;
    QPointer<FirmwareFlow> self(this);
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(m_firmware, &FirmwareUpdater::finished, this, [self, once](bool success, const QString &details) {
        QObject::disconnect(*once);
        if (!self)
            return;
        self->m_status.updateConnection();
        Q_EMIT self->runningChanged();
        if (success)
            self->m_dialogs.inform(tr("Success!"), QString());
        else
            self->m_dialogs.warn(tr("Upload Failed:"), details);
        self->m_status.updateConnection();
    });
    const QString problem = m_firmware->start(image);
    if (!problem.isEmpty()) {
        disconnect(*once);
        m_dialogs.warn(tr("Cannot update the firmware"), problem);
        return;
    }
    Q_EMIT runningChanged();
    // The status bar counts the seconds of the update, once a second, until it ends.
    m_seconds = 0;
    countSeconds(++m_run);
}

void FirmwareFlow::countSeconds(quint64 run)
{
    if (run != m_run || !running())
        return;
    m_status.setFirmwareSeconds(m_seconds);
    QPointer<FirmwareFlow> self(this);
    m_serial->scheduler().after(1000, [self, run] {
        if (!self || run != self->m_run)
            return;
        ++self->m_seconds;
        self->countSeconds(run);
    });
}

bool FirmwareFlow::mayQuit()
{
    // Ending the program ends the flashing tool: the pedal may be left without firmware.
    return !running()
        || m_dialogs.alert(Alert{tr("A firmware update is running. Quitting now can leave the pedal "
                                    "without firmware."),
                                 tr("Keep Running lets the update finish."),
                                 {tr("Quit Anyway"), tr("Keep Running")},
                                 QString(),
                                 Alert::Kind::Destructive})
        == 0;
}

void FirmwareFlow::endWhenSafe(std::function<void()> end)
{
    if (!running()) {
        end();
        return;
    }
    if (m_endPending)
        return;
    m_endPending = true;
    Q_EMIT logged(tr("asked to end: the editor ends when the firmware update has finished"));
    connect(m_firmware, &FirmwareUpdater::finished, this, std::move(end));
}
