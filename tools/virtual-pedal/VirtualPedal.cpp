#include "VirtualPedal.h"

#include "format/Encodings.h"
#include "link/PedalCommands.h"
#include "format/SessionCodec.h"
#include "model/Diagnostics.h"
#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "model/CodePoints.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Shows bytes from the editor in a log line: printable ASCII as is, the rest escaped.
QString printable(const QByteArray &bytes, int limit = 80)
{
    QString out;
    for (int i = 0; i < bytes.size() && i < limit; ++i) {
        const uchar c = uchar(bytes[i]);
        if (c >= 0x20 && c < 0x7f)
            out += QLatin1Char(char(c));
        else
            out += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    if (bytes.size() > limit)
        out += QStringLiteral("... (%1 bytes)").arg(bytes.size());
    return out;
}

bool decodeUtf8(const QByteArray &bytes, QString &text)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder(bytes);
    return !decoder.hasError();
}

} // namespace

VirtualPedal::VirtualPedal(Log log) : m_log(std::move(log)) {}

QByteArray VirtualPedal::receive(const QByteArray &bytes)
{
    QByteArray reply;
    for (const PedalInputReader::Event &event : m_reader.feed(bytes))
        handle(event, reply);
    return reply;
}

void VirtualPedal::handle(const PedalInputReader::Event &event, QByteArray &reply)
{
    using Event = PedalInputReader::Event;
    switch (event.kind) {
    case Event::Command: command(event.code, reply); break;
    case Event::UploadPiece:
        log([&] {
            return QStringLiteral("upload piece of %1 bytes at offset %2").arg(event.bytes.size()).arg(event.offset);
        });
        break;
    case Event::Upload: {
        // Logged before the text is applied, so that its time is the arrival of the ";".
        log([&] { return QStringLiteral("upload closed by \";\" after %1 bytes").arg(event.bytes.size()); });
        QString problem;
        int keys = 0;
        QStringList names;
        if (applyUpload(event.bytes, problem, &keys, &names)) {
            ++m_counters.uploadsApplied;
            // An upload of some keys (Send Changes, a page) names them.
            log([&] {
                const bool whole = size_t(keys) == SessionKeys::keysOfPage(SessionKeys::Page::All).size();
                return QStringLiteral("upload applied: %1").arg(Diagnostics::counted(keys, "key", "keys"))
                    + (whole || names.isEmpty() ? QString() : QStringLiteral(": ") + names.join(QStringLiteral(", ")));
            });
        } else {
            ++m_counters.uploadsRefused;
            log([&] { return QStringLiteral("upload refused, nothing applied: %1").arg(problem); });
        }
        break;
    }
    case Event::UploadRefused:
        ++m_counters.uploadsRefused;
        log([&] { return QStringLiteral("upload refused, nothing applied: %1").arg(event.problem); });
        break;
    case Event::NamePreview: namePreview(event.bytes); break;
    case Event::StackPreview: stackPreview(event.bytes); break;
    case Event::Garbage:
        log([&] { return QStringLiteral("ignored %1: \"%2\"").arg(event.problem, printable(event.bytes)); });
        break;
    }
}

void VirtualPedal::command(int code, QByteArray &reply)
{
    using PedalCommands::Code;
    const QString name = PedalCommands::text(code);
    const PedalCommands::Command *command = PedalCommands::find(code);
    if (!command) {
        log([&] { return QStringLiteral("command %1 unknown, ignored").arg(name); });
        return;
    }
    const QString what = PedalCommands::describe(*command);
    if (command->answered()) {
        answer(code, name + QLatin1Char(' ') + what, reply);
        return;
    }
    switch (command->follows) {
    case PedalCommands::Follows::UploadText:
        log([&] { return QStringLiteral("command %1 %2 begins").arg(name, what); });
        return;
    case PedalCommands::Follows::NamePreviewFields:
    case PedalCommands::Follows::StackPreviewFields:
        log([&] { return QStringLiteral("command %1 %2 follows").arg(name, what); });
        return;
    case PedalCommands::Follows::Nothing: break;
    }
    if (command->code == Code::FactoryReset) {
        m_session.resetSessionContents();
        ++m_counters.factoryResets;
        log([&] {
            return QStringLiteral("command %1 %2: the pedal's session is the factory session again").arg(name, what);
        });
        return;
    }
    log([&] { return QStringLiteral("command %1 %2").arg(name, what); });
}

void VirtualPedal::answer(int code, const QString &request, QByteArray &reply)
{
    if (m_answerLimit == 0) {
        log([&] { return QStringLiteral("command %1: not answered").arg(request); });
        return;
    }
    if (m_answerLimit > 0)
        --m_answerLimit;
    const QByteArray data = pageData(code);
    reply += data;
    log([&] {
        return QStringLiteral("command %1: answered with %2, %3 bytes")
            .arg(request, Diagnostics::counted(qint64(keysOfRequest(code).size()), "key", "keys"))
            .arg(data.size());
    });
}

std::vector<int> VirtualPedal::keysOfRequest(int code)
{
    return PedalCommands::keysOfRequest(code);
}

QByteArray VirtualPedal::pageData(int code) const
{
    const QLatin1String lineEnd("\r\n");
    QString text = QString(PedalCommands::PageDataStart) + lineEnd;
    for (int k : keysOfRequest(code)) {
        text += QLatin1String(SessionKeys::at(k).key);
        text += QLatin1Char(']');
        text += SessionWriter::value(m_session, k, SessionWriter::Form::Reply);
        text += lineEnd;
    }
    text += PedalCommands::EndOfData;
    text += lineEnd;
    return text.toUtf8();
}

bool VirtualPedal::applyUpload(const QByteArray &bytes, QString &problem, int *keysApplied, QStringList *keyNames)
{
    QString text;
    if (!decodeUtf8(bytes, text)) {
        problem = QStringLiteral("the text is not valid UTF-8");
        return false;
    }
    text.replace(QLatin1Char('_'), QLatin1Char(' '));

    SessionCodec::Options options;
    options.stackPositions = true;
    std::vector<DecodedKey> decoded;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QStringView line(lines[i]);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const qsizetype bracket = line.indexOf(QLatin1Char(']'));
        if (bracket < 0) {
            problem = QStringLiteral("line %1 has no \"]\"").arg(i + 1);
            return false;
        }
        const QStringView key = line.left(bracket);
        const int index = SessionKeys::indexOf(key);
        if (index < 0) {
            problem =
                QStringLiteral("line %1: unknown key \"%2\"").arg(i + 1).arg(CodePoints::left(key.toString(), 40));
            return false;
        }
        if (!SessionKeys::at(index).gated) {
            // Stack names, message names and the library stay in the editor.
            log([&] {
                return QStringLiteral("upload line %1: key \"%2\" is not kept by the pedal, skipped")
                    .arg(i + 1)
                    .arg(key.toString());
            });
            continue;
        }
        DecodedKey out;
        QString why;
        if (!SessionCodec::decode(index, line.mid(bracket + 1), m_session, options, out, why)) {
            problem = QStringLiteral("key \"%1\": %2").arg(key.toString(), why);
            return false;
        }
        decoded.push_back(std::move(out));
    }
    for (const DecodedKey &key : decoded)
        SessionCodec::store(m_session, key);
    if (keysApplied)
        *keysApplied = int(decoded.size());
    if (keyNames)
        for (const DecodedKey &key : decoded)
            keyNames->append(QString::fromLatin1(SessionKeys::at(key.key).key));
    return true;
}

void VirtualPedal::namePreview(const QByteArray &fields)
{
    QString text;
    if (!decodeUtf8(fields, text)) {
        log([&] { return QStringLiteral("name preview ignored: not valid UTF-8"); });
        return;
    }
    const int length = CodePoints::length(text);
    const int displayWidth = length - (PedalInputReader::NamePreviewLength - 1);
    const QStringList cut = CodePoints::split(text, 1);
    auto part = [&](int from, int count) { return cut.mid(from, count).join(QString()); };
    QString name = part(3 + displayWidth + 5, 30);
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    name = Encodings::decodeName(name);
    name.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    log([&] {
        return QStringLiteral("name preview: song %1, display name only %2, font size %3, background colour %4, "
                              "foreground colour %5, name \"%6\"")
            .arg(part(0, 3), part(3, displayWidth), part(3 + displayWidth, 1), part(4 + displayWidth, 2),
                 part(6 + displayWidth, 2), name);
    });
}

void VirtualPedal::stackPreview(const QByteArray &fields)
{
    qint64 status = 0, message = 0, value = 0;
    if (fields.size() != 9 || !Encodings::parseDigits(QString::fromLatin1(fields.left(3)), status)
        || !Encodings::parseDigits(QString::fromLatin1(fields.mid(3, 3)), message)
        || !Encodings::parseDigits(QString::fromLatin1(fields.mid(6, 3)), value)) {
        log([&] {
            return QStringLiteral("stack preview ignored: \"%1\" is not three fields of 3 digits")
                .arg(printable(fields));
        });
        return;
    }
    qint64 type = 0, channel = 0;
    Encodings::decodeStatus(status, type, channel);
    log([&] {
        return QStringLiteral("stack preview: play status %1 (type %2, channel %3), message %4, value %5")
            .arg(status)
            .arg(type)
            .arg(channel)
            .arg(message)
            .arg(value);
    });
}
