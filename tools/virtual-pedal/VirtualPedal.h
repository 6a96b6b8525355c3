#pragma once

#include "PedalInputReader.h"

#include "model/DataHandler.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The pedal's side of the serial protocol, without any device: bytes from the editor go
// in, reply bytes come out. It keeps its own session: uploads are applied to it (whole or
// not at all), load requests are answered with page data taken from it, and "]4;" resets
// it to the factory session. Everything it does is reported through the log callback,
// one line per event.
class VirtualPedal
{
public:
    using Log = std::function<void(const QString &line)>;

    explicit VirtualPedal(Log log = nullptr);
    VirtualPedal(const VirtualPedal &) = delete;
    VirtualPedal &operator=(const VirtualPedal &) = delete;

    DataHandler &session() { return m_session; }
    const DataHandler &session() const { return m_session; }

    // Takes the next bytes from the editor; returns the reply bytes they call for.
    QByteArray receive(const QByteArray &bytes);

    // The keys that answer load request `code` (empty when `code` is not a load request).
    // The keys of a page are shared out between the requests of that page.
    static std::vector<int> keysOfRequest(int code);
    // Page data for load request `code`: "]3", one line per key, ";".
    QByteArray pageData(int code) const;

    // Applies an upload text as it arrives (blanks as "_", stack keys with positions).
    // Returns false, with the reason, when the text is not valid; nothing is applied then.
    bool applyUpload(const QByteArray &text, QString &problem, int *keysApplied = nullptr,
                     QStringList *keyNames = nullptr);

    // Stops answering load requests after `count` more of them (a negative count, the
    // default, answers all). Commands are still read and logged.
    void setAnswerLimit(int count) { m_answerLimit = count; }

    // What changed the session, or was refused, so far.
    struct Counters
    {
        int uploadsApplied = 0;
        int uploadsRefused = 0;
        int factoryResets = 0;
    };
    const Counters &counters() const { return m_counters; }

private:
    void handle(const PedalInputReader::Event &event, QByteArray &reply);
    void command(int code, QByteArray &reply);
    // Answers load request `code` with page data (until the answer limit); `request` names it.
    void answer(int code, const QString &request, QByteArray &reply);
    void namePreview(const QByteArray &fields);
    void stackPreview(const QByteArray &fields);
    // Reports a line to the log callback; the line is only composed when there is one.
    template<typename MakeLine>
    void log(MakeLine &&makeLine) const
    {
        if (m_log)
            m_log(makeLine());
    }

    Log m_log;
    PedalInputReader m_reader;
    DataHandler m_session;
    Counters m_counters;
    int m_answerLimit = -1;
};
