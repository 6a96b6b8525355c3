#include "TransferStatus.h"
#include "ShownTexts.h"

#include "Accessibility.h"
#include "PageControls.h"
#include "format/SessionKeys.h"
#include "link/FirmwareUpdater.h"
#include "link/PedalLink.h"
#include "link/SerialHandler.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QPainter>
#include <QStatusBar>
#include <QToolButton>

#include <chrono>

TransferStatus::TransferStatus(QStatusBar *bar, QAction *cancel, SerialHandler *serial, FirmwareUpdater *firmware)
    : QObject(bar), m_bar(bar), m_serial(serial), m_firmware(firmware)
{
    m_clock = [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
    m_connection = PageControls::label(QStringLiteral("connectionLabel"), QString(), bar);
    m_progress = new QProgressBar(bar);
    m_progress->setObjectName(QStringLiteral("transferProgress"));
    m_progress->setMaximumWidth(260);
    m_progress->setTextVisible(true);
    m_progress->setAccessibleName(tr("Transfer progress"));
    m_progress->hide();
    m_cancel = PageControls::button(QStringLiteral("cancelTransferButton"), cancel->iconText(), bar);
    m_cancel->setToolTip(cancel->toolTip());
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, cancel, &QAction::trigger);
    m_pedalState = new QToolButton(bar);
    m_pedalState->setObjectName(QStringLiteral("pedalStateIndicator"));
    m_pedalState->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pedalState->setAutoRaise(true);
    m_pedalState->hide();
    bar->addPermanentWidget(m_pedalState);
    bar->addPermanentWidget(m_progress);
    bar->addPermanentWidget(m_cancel);
    bar->addPermanentWidget(m_connection);
    if (!m_serial)
        return;
    // Queued: the port is opened after its name is set, and the connected alert that
    // follows runs its own event loop, in which the label then shows the new port.
    connect(
        m_serial, &SerialHandler::portNameChanged, this,
        [this] {
            m_portLost = false;
            updateConnection();
        },
        Qt::QueuedConnection);
    connect(m_serial, &SerialHandler::portLost, this, [this](const QString &message) {
        m_portLost = true;
        updateConnection();
        m_bar->showMessage(message);
    });
}

void TransferStatus::follow(PedalLink *link, bool reportEnds)
{
    connect(link, &PedalLink::progress, this, &TransferStatus::showProgress);
    connect(link, &PedalLink::sendStarted, this, &TransferStatus::transferStateChanged);
    connect(link, &PedalLink::transferEnded, this, &TransferStatus::transferEnded);
    connect(link, &PedalLink::transferCancelled, this,
            [this](const QString &message) { m_bar->showMessage(message, MessageMs); });
    if (!reportEnds)
        return;
    connect(link, &PedalLink::sendCompleted, this, [this](SessionKeys::Page page) {
        m_bar->showMessage(page == SessionKeys::Page::All
                               ? tr("Sent all pages in %1 s").arg(transferSeconds())
                               : tr("Sent the %1 page in %2 s").arg(ShownTexts::pageTitle(page), transferSeconds()),
                           MessageMs);
    });
    // The pages show what arrived already (the load is a step that shows itself).
    connect(link, &PedalLink::loadCompleted, this, [this](PedalLink::Load load) {
        const SessionKeys::Page page = PedalLink::pageOf(load);
        m_bar->showMessage(page == SessionKeys::Page::All
                               ? tr("Loaded all pages in %1 s").arg(transferSeconds())
                               : tr("Loaded the %1 page in %2 s").arg(ShownTexts::pageTitle(page), transferSeconds()),
                           MessageMs);
    });
}

void TransferStatus::setPedalStateAction(QAction *compare)
{
    connect(m_pedalState, &QToolButton::clicked, compare, &QAction::trigger);
    m_pedalState->setToolTip(tr("Compare this session with the pedal's"));
}

void TransferStatus::showPedalState(const QString &text, const QColor &colour)
{
    // A filled circle of the state's colour; the words say the same.
    QPixmap mark(12, 12);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(1, 1, 10, 10);
    painter.end();
    m_pedalState->setIcon(QIcon(mark));
    m_pedalState->setText(text);
    m_pedalState->setProperty("stateColour", colour.name());
    m_pedalState->show();
}

void TransferStatus::showMessage(const QString &text, int ms)
{
    m_bar->showMessage(text, ms);
}

void TransferStatus::updateConnection()
{
    // While the firmware is written the port is the boot loader's: the update is shown.
    if (m_firmware && m_firmware->running()) {
        showConnection(tr("Updating firmware… %1 s").arg(m_firmwareSeconds));
        return;
    }
    if (m_serial && m_serial->isConnected() && m_serial->portHeld()) {
        showConnection(tr("Connected: %1").arg(m_serial->portName()));
        m_portLost = false;
        // Hints about getting connected (attach, plug in, the last loss) no longer hold.
        m_bar->clearMessage();
    } else if (m_portLost && m_serial && m_serial->isConnected()) {
        showConnection(tr("Not connected (%1 was disconnected)").arg(m_serial->portName()));
    } else {
        showConnection(tr("Not connected"));
    }
}

void TransferStatus::showConnection(const QString &text)
{
    if (m_connection->text() == text)
        return;
    m_connection->setText(text);
    // The connection is said again whenever it changes.
    Accessibility::announce(m_connection, QAccessible::NameChanged);
}

void TransferStatus::setFirmwareSeconds(int seconds)
{
    m_firmwareSeconds = seconds;
    updateConnection();
}

void TransferStatus::showProgress(int done, int total, const QString &what)
{
    m_progress->setRange(0, qMax(total, 1));
    m_progress->setValue(qBound(0, done, qMax(total, 1)));
    m_progress->setFormat(what.isEmpty() ? QStringLiteral("%v / %m") : what + QStringLiteral(" %v / %m"));
    m_progress->show();
    // Screen readers follow the transfer: what goes, and how far it is.
    if (m_progress->accessibleDescription() != what) {
        m_progress->setAccessibleDescription(what);
        Accessibility::announce(m_progress, QAccessible::DescriptionChanged);
    }
    Accessibility::announceValue(m_progress, m_progress->value());
    if (!m_transferShown) {
        m_transferShown = true;
        m_transferStart = m_clock();
        m_cancel->show();
        Q_EMIT transferStateChanged();
    }
}

void TransferStatus::transferEnded()
{
    m_transferShown = false;
    m_progress->hide();
    m_cancel->hide();
    Q_EMIT transferStateChanged();
}

QString TransferStatus::transferSeconds() const
{
    return QLocale().toString(double(m_clock() - m_transferStart) / 1000.0, 'f', 1);
}
