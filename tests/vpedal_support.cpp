#include "vpedal_support.h"

#include "format/SessionKeys.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "model/Normaliser.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <csignal>
#include <random>

namespace vpedal {

QString virtualPedalProgram()
{
    return QStringLiteral(PEDAL_BINARY_DIR "/tools/virtual-pedal/virtual-pedal");
}

QString sessionToolProgram()
{
    return QStringLiteral(PEDAL_BINARY_DIR "/tools/pedal-session/pedal-session");
}

PedalProcess::~PedalProcess()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool PedalProcess::start(const QStringList &args)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(virtualPedalProgram(), args);
    if (!m_process->waitForStarted(10000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!m_process->canReadLine() && clock.elapsed() < 10000) {
        if (!m_process->waitForReadyRead(200) && m_process->state() == QProcess::NotRunning)
            return false;
    }
    m_device = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    return m_device.startsWith(QLatin1String("/dev/"));
}

qint64 PedalProcess::pid() const
{
    return m_process ? m_process->processId() : -1;
}

int PedalProcess::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return m_process ? m_process->exitCode() : -1;
    ::kill(pid_t(m_process->processId()), SIGTERM);
    if (!m_process->waitForFinished(10000))
        return -1;
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

ToolResult runTool(const QStringList &args, int timeoutMs)
{
    QProcess process;
    process.start(sessionToolProgram(), args);
    return finishTool(process, timeoutMs);
}

ToolResult finishTool(QProcess &process, int timeoutMs)
{
    ToolResult r;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        r.err = QStringLiteral("pedal-session did not finish");
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

namespace {

class Draw
{
public:
    explicit Draw(quint32 seed) : m_generator(seed) {}
    qint64 operator()(qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(m_generator); }
    bool chance(int percent) { return (*this)(0, 99) < percent; }
    std::mt19937 &generator() { return m_generator; }

private:
    std::mt19937 m_generator;
};

// A name of letters, digits, blanks and signs, up to 30 characters and 3 line breaks.
// It never ends with a blank: a line's trailing blanks do not survive a reply.
QString randomName(Draw &draw)
{
    static const QString chars =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789     !#$%&()*+,-./:<=>?@^{|}~");
    const int length = int(draw(0, 30));
    QString name;
    int breaks = 0;
    for (int i = 0; i < length; ++i) {
        if (i > 0 && i + 1 < length && breaks < 3 && draw.chance(5)) {
            name += QLatin1Char('\n');
            ++breaks;
            continue;
        }
        name += chars.at(int(draw(0, chars.size() - 1)));
    }
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

qint64 largest(int width)
{
    qint64 v = 1;
    for (int i = 0; i < width; ++i)
        v *= 10;
    return std::min<qint64>(v - 1, 255);
}

void randomStatus(Draw &draw, qint64 &type, qint64 &channel)
{
    if (draw.chance(15)) {
        type = 0;
        channel = 0;
        return;
    }
    type = draw(0, 6);
    channel = draw(1, 16);
}

} // namespace

void randomSession(DataHandler &store, quint32 seed)
{
    Draw draw(seed);
    for (int s = 0; s < int(store.SongList.size()); ++s) {
        Song &song = *store.SongList[size_t(s)];
        song.UpdateName(randomName(draw));
        song.UpdateTempo(draw(40, 300));
        for (const SessionKey &key : SessionKeys::all()) {
            if (key.kind == KeyKind::SongNumber)
                song.*(key.songField) = draw(0, largest(key.width));
        }
        song.ProgramChange = draw(1, 128);
        song.BankChange = draw(1, 128);
        // Jack outputs as the jack output code carries them.
        for (int j = 0; j < 4; ++j) {
            const SongJack &jack = songJacks()[size_t(j)];
            const qint64 mode = draw(0, j == 3 ? 2 : 3);
            song.*(jack.mode) = mode;
            song.*(jack.level) = mode == 0 ? draw(0, 1) : 0;
            song.*(jack.pulses) = mode == 1 ? draw(0, 30) : 5;
        }
        song.StopMidiClock = draw(0, 1);
        song.StopRepeatingMessage = draw(0, 1);
        song.MimicFootswitch = draw(0, 1);
    }
    std::vector<SongRef> order = store.SongList;
    std::shuffle(order.begin(), order.end(), draw.generator());
    order.resize(size_t(draw(1, DataHandler::SongCount)));
    store.Setlist = order;

    for (MidiStack &stack : store.MidiStackList) {
        stack.Name = randomName(draw).replace(QLatin1Char('\n'), QLatin1Char(' '));
        for (MidiStackMessage &m : stack.MidiStackMessageList) {
            randomStatus(draw, m.Typey, m.Channel);
            m.Message = m.Channel == 0 ? 0 : draw(0, 255);
            m.Value = m.Channel == 0 ? 0 : draw(0, 255);
            m.Name = QStringLiteral("message %1").arg(draw(0, 999));
        }
    }

    Menu &menu = store.GlobalMenu;
    for (const GlobalBlockField &field : globalBlockFields()) {
        switch (field.kind) {
        case GlobalBlockField::Bits:
            for (qint64 Menu::*member : field.members)
                if (member)
                    menu.*member = draw(0, 1);
            break;
        case GlobalBlockField::Number: menu.*(field.members[0]) = draw(0, largest(field.width)); break;
        case GlobalBlockField::Offset: menu.*(field.members[0]) = draw(-12, 12); break;
        case GlobalBlockField::Status: randomStatus(draw, menu.*(field.members[0]), menu.*(field.members[1])); break;
        case GlobalBlockField::ConverterTo:
            // The type comes with the "from" channel just before.
            menu.*(field.members[1]) = menu.*(field.members[0]) == 0 && draw.chance(15) ? 0 : draw(1, 16);
            break;
        }
    }
    store.MidiMessageLibrary.push_back(
        MidiMessage(QStringLiteral("Maker"), QStringLiteral("Box"), QStringLiteral("Patch up"), 1, 5, 0));
    Normaliser::normalise(store);
}

bool writeSessionFile(const DataHandler &store, const QString &path)
{
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    return TextFileSaver::writeAtomically(path, writer.write(store, SessionWriter::Form::File)).isEmpty();
}

bool openSessionFile(DataHandler &store, const QString &path)
{
    SessionReader reader;
    if (reader.readFile(path, store) != SessionReader::Status::Read)
        return false;
    reader.apply(store);
    Normaliser::normalise(store);
    return true;
}

QStringList pedalData(const DataHandler &store)
{
    QStringList lines;
    for (int k = 0; k < SessionKeys::Count; ++k) {
        if (SessionKeys::at(k).gated)
            lines.append(QLatin1String(SessionKeys::at(k).key) + QLatin1Char(']')
                         + SessionWriter::value(store, k, SessionWriter::Form::Reply));
    }
    return lines;
}

QStringList differingKeys(const DataHandler &a, const DataHandler &b)
{
    const QStringList x = pedalData(a);
    const QStringList y = pedalData(b);
    QStringList keys;
    for (qsizetype i = 0; i < x.size() && i < y.size(); ++i)
        if (x[i] != y[i])
            keys.append(x[i].section(QLatin1Char(']'), 0, 0));
    return keys;
}

} // namespace vpedal
