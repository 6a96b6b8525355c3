#include "PedalInputReader.h"

#include "format/Encodings.h"
#include "link/PedalCommands.h"

#include <algorithm>

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}
// Bytes outside any command are reported in blocks of at most this many.
constexpr int KeptGarbage = 256;
using PedalCommands::Code;
using PedalCommands::End;
using PedalCommands::Start;
// An upload's own command without its ";": met inside an upload, a new upload begins.
const QByteArray UploadOpening = PedalCommands::text(Code::Upload).toLatin1().chopped(1);
// Fields of a stack preview: status, message and value, 3 digits each (a few more are
// accepted so that an out-of-range number is still read and reported).
constexpr int MaxStackPreviewDigits = 12;
} // namespace

std::vector<PedalInputReader::Event> PedalInputReader::feed(const QByteArray &bytes)
{
    std::vector<Event> out;
    for (char c : bytes)
        step(c, out);
    if (m_state == State::Upload)
        flushPiece(out);
    return out;
}

void PedalInputReader::step(char c, std::vector<Event> &out)
{
    switch (m_state) {
    case State::Idle: stepIdle(c, out); return;
    case State::Code: stepCode(c, out); return;
    case State::Upload: stepUpload(c, out); return;
    case State::NamePreview: stepNamePreview(c, out); return;
    case State::StackPreview: stepStackPreview(c, out); return;
    }
}

void PedalInputReader::stepIdle(char c, std::vector<Event> &out)
{
    if (c == Start) {
        flushGarbage(out, QStringLiteral("bytes outside any command"));
        startCommand(out);
    } else if (!(isBlank(c) && m_garbage.isEmpty())) {
        // Reported when the next command starts, or in blocks of KeptGarbage.
        m_garbage.append(c);
        if (m_garbage.size() >= KeptGarbage)
            flushGarbage(out, QStringLiteral("bytes outside any command"));
    }
}

void PedalInputReader::stepCode(char c, std::vector<Event> &out)
{
    if (isDigit(c) && m_code.size() < 6) {
        m_code.append(c);
    } else if (c == End && !m_code.isEmpty()) {
        finishCode(out);
    } else {
        m_garbage = Start + m_code;
        m_state = State::Idle;
        if (c == Start)
            flushGarbage(out, QStringLiteral("not a command"));
        step(c, out);
    }
}

void PedalInputReader::stepUpload(char c, std::vector<Event> &out)
{
    if (m_lineStart && c == End) {
        flushPiece(out);
        if (!m_uploadOverflow) {
            Event e{Event::Upload};
            e.bytes = m_body;
            out.push_back(std::move(e));
        }
        m_body.clear();
        m_state = State::Idle;
        return;
    }
    if (m_lineStart && c == Start) {
        // No line of session text starts with "]": the editor has given up on this
        // upload and sends a new command.
        flushPiece(out);
        if (!m_uploadOverflow) {
            Event e{Event::UploadRefused};
            e.problem = QStringLiteral("broken off after %1 bytes by a new command").arg(m_uploadSize);
            out.push_back(std::move(e));
        }
        m_body.clear();
        startCommand(out);
        return;
    }
    if (c == End && m_tail == UploadOpening) {
        // No line of session text holds ";": the editor opened a new upload without
        // ending this one (it was stopped before it could). This one is abandoned.
        const qsizetype opening = UploadOpening.size();
        m_piece.chop(std::min<qsizetype>(opening, m_piece.size()));
        m_body.chop(m_uploadOverflow ? 0 : opening);
        m_uploadSize -= opening;
        flushPiece(out);
        if (!m_uploadOverflow) {
            Event e{Event::UploadRefused};
            e.problem = QStringLiteral("abandoned after %1 bytes: a new upload begins").arg(m_uploadSize);
            out.push_back(std::move(e));
        }
        m_code = QByteArray::number(int(Code::Upload));
        finishCode(out);
        return;
    }
    m_tail = (m_tail + c).right(UploadOpening.size());
    m_piece.append(c);
    ++m_uploadSize;
    if (!m_uploadOverflow) {
        if (m_body.size() >= MaxUploadBytes) {
            m_uploadOverflow = true;
            m_body.clear();
            m_body.squeeze();
            Event e{Event::UploadRefused};
            e.problem = QStringLiteral("longer than %1 bytes").arg(MaxUploadBytes);
            out.push_back(std::move(e));
        } else {
            m_body.append(c);
        }
    }
    m_lineStart = c == '\n';
}

void PedalInputReader::stepNamePreview(char c, std::vector<Event> &out)
{
    if (c == Start) {
        abandonBody(out, QStringLiteral("name preview broken off"));
        startCommand(out);
    } else if (c == End && m_codePoints >= NamePreviewLength) {
        Event e{Event::NamePreview};
        e.bytes = m_body;
        out.push_back(std::move(e));
        m_body.clear();
        m_state = State::Idle;
    } else {
        m_body.append(c);
        if ((uchar(c) & 0xC0) != 0x80)
            ++m_codePoints;
        if (m_codePoints > NamePreviewLength + 8)
            abandonBody(out, QStringLiteral("name preview too long"));
    }
}

void PedalInputReader::stepStackPreview(char c, std::vector<Event> &out)
{
    if (c == End) {
        Event e{Event::StackPreview};
        e.bytes = m_body;
        out.push_back(std::move(e));
        m_body.clear();
        m_state = State::Idle;
    } else if (isDigit(c) && m_body.size() < MaxStackPreviewDigits) {
        m_body.append(c);
    } else {
        abandonBody(out, QStringLiteral("stack preview broken off"));
        step(c, out);
    }
}

void PedalInputReader::startCommand(std::vector<Event> &)
{
    m_state = State::Code;
    m_code.clear();
}

void PedalInputReader::finishCode(std::vector<Event> &out)
{
    Event e{Event::Command};
    qint64 code = 0;
    Encodings::parseDigits(m_code, code); // at most 6 digits
    e.code = int(code);
    out.push_back(std::move(e));
    m_body.clear();
    const PedalCommands::Command *command = PedalCommands::find(int(code));
    switch (command ? command->follows : PedalCommands::Follows::Nothing) {
    case PedalCommands::Follows::NamePreviewFields:
        m_state = State::NamePreview;
        m_codePoints = 0;
        break;
    case PedalCommands::Follows::StackPreviewFields: m_state = State::StackPreview; break;
    case PedalCommands::Follows::UploadText:
        m_state = State::Upload;
        m_uploadSize = 0;
        m_uploadOverflow = false;
        m_lineStart = true;
        m_tail.clear();
        m_piece.clear();
        m_pieceOffset = 0;
        break;
    case PedalCommands::Follows::Nothing: m_state = State::Idle; break;
    }
}

void PedalInputReader::flushGarbage(std::vector<Event> &out, const QString &problem)
{
    if (m_garbage.isEmpty())
        return;
    Event e{Event::Garbage};
    e.bytes = m_garbage;
    e.problem = problem;
    out.push_back(std::move(e));
    m_garbage.clear();
}

void PedalInputReader::flushPiece(std::vector<Event> &out)
{
    if (m_piece.isEmpty())
        return;
    Event e{Event::UploadPiece};
    e.bytes = m_piece;
    e.offset = m_pieceOffset;
    out.push_back(std::move(e));
    m_pieceOffset += m_piece.size();
    m_piece.clear();
}

void PedalInputReader::abandonBody(std::vector<Event> &out, const QString &problem)
{
    const Code code = m_state == State::NamePreview ? Code::NamePreview : Code::StackPreview;
    Event e{Event::Garbage};
    e.bytes = PedalCommands::text(code).toLatin1() + m_body.left(KeptGarbage);
    e.problem = problem;
    out.push_back(std::move(e));
    m_body.clear();
    m_state = State::Idle;
}
