#pragma once

#include <QObject>

#include <functional>

class FirmwareUpdater;
class PedalLink;
class QAction;
class QColor;
class QToolButton;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class SerialHandler;

// The status bar's side of the pedal: the connection (or the firmware update's seconds),
// the progress of a send or load with its Cancel button, and what a finished, cancelled
// or lost transfer says for a few seconds.
class TransferStatus : public QObject
{
    Q_OBJECT
public:
    // How long the status bar tells of a finished or cancelled transfer.
    static constexpr int MessageMs = 6000;

    TransferStatus(QStatusBar *bar, QAction *cancel, SerialHandler *serial, FirmwareUpdater *firmware);

    // Shows the progress and the end of the transfers of `link` (the editor's, or the one
    // Compare with Pedal loads through); with `reportEnds`, what a finished transfer did
    // ("Sent all pages in 1.2 s").
    void follow(PedalLink *link, bool reportEnds);
    // The clock that times transfers, in milliseconds: a monotonic clock unless set.
    void setClock(std::function<qint64()> nowMs) { m_clock = std::move(nowMs); }
    // The seconds since the transfer shown began, with one decimal ("1.2").
    QString transferSeconds() const;
    bool transferShown() const { return m_transferShown; }
    void updateConnection();
    // The seconds of the firmware update shown; the connection label counts them.
    void setFirmwareSeconds(int seconds);
    void showMessage(const QString &text, int ms = 0);
    // Where the pedal stands ("Pedal matches", ...), with a mark of `colour` beside the
    // words; a click on it asks for `compare`.
    void showPedalState(const QString &text, const QColor &colour);
    void setPedalStateAction(QAction *compare);

Q_SIGNALS:
    // A transfer began or ended: the commands it refuses follow.
    void transferStateChanged();

private:
    void showConnection(const QString &text);
    void showProgress(int done, int total, const QString &what);
    void transferEnded();

    QStatusBar *m_bar;
    SerialHandler *m_serial;
    FirmwareUpdater *m_firmware;
    QLabel *m_connection = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QToolButton *m_pedalState = nullptr;
    std::function<qint64()> m_clock;
    qint64 m_transferStart = 0; // when the transfer shown began (m_clock)
    bool m_transferShown = false;
    bool m_portLost = false; // the port held last was lost, and none was opened since
    int m_firmwareSeconds = 0;
};
