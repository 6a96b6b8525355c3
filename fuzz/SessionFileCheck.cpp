#include "SessionFileCheck.h"

#include "StoreSnapshot.h"

#include "format/SessionJson.h"
#include "format/SessionKeys.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdlib>

namespace {

// One scratch file per process, removed at exit.
const QString &scratchPath()
{
    static const QString path = [] {
        const QString p =
            QDir(QDir::tempPath())
                .filePath(QStringLiteral("pedal-fuzz-session-%1.txt").arg(QCoreApplication::applicationPid()));
        std::atexit([] { QFile::remove(scratchPath()); });
        return p;
    }();
    return path;
}

bool writeScratch(const QByteArray &bytes)
{
    QFile file(scratchPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

const StoreSnapshot &factorySnapshot()
{
    static const StoreSnapshot snapshot = [] {
        DataHandler store;
        return StoreSnapshot::of(store);
    }();
    return snapshot;
}

enum { LegacyOk = 0x01 };

// What SessionReader::readFile does with the bytes of a file: a byte order mark names the
// encoding, otherwise UTF-8, and text that is not UTF-8 is taken as Latin-1. Reading from
// memory keeps the fuzzer fast (readFile sets aside room for the largest file it takes);
// the thorough check goes through the file itself.
SessionReader::Status read(SessionReader &reader, const QByteArray &bytes, bool viaFile, const DataHandler &store,
                           QString &failure)
{
    if (!viaFile || bytes.size() > SessionReader::MaxFileSize)
        return reader.readText(SessionReader::decodeBytes(bytes), store);
    if (!writeScratch(bytes)) {
        failure = QStringLiteral("the scratch file %1 cannot be written").arg(scratchPath());
        return SessionReader::Status::Failed;
    }
    return reader.readFile(scratchPath(), store);
}

// The first place where two JSON values differ, as a path with both values.
QString jsonDifference(const QJsonValue &a, const QJsonValue &b, const QString &path)
{
    if (a == b)
        return QString();
    if (a.isObject() && b.isObject()) {
        const QJsonObject x = a.toObject(), y = b.toObject();
        for (auto it = x.begin(); it != x.end(); ++it) {
            const QString d = jsonDifference(it.value(), y.value(it.key()), path + QLatin1Char('.') + it.key());
            if (!d.isEmpty())
                return d;
        }
    }
    if (a.isArray() && b.isArray() && a.toArray().size() == b.toArray().size()) {
        const QJsonArray x = a.toArray(), y = b.toArray();
        for (qsizetype i = 0; i < x.size(); ++i) {
            const QString d = jsonDifference(x.at(i), y.at(i), path + QStringLiteral("[%1]").arg(i));
            if (!d.isEmpty())
                return d;
        }
    }
    const auto shown = [](const QJsonValue &v) {
        if (v.isString())
            return QStringLiteral("\"%1\"").arg(v.toString()
                                                    .toHtmlEscaped()
                                                    .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
                                                    .replace(QLatin1Char('\n'), QStringLiteral("\\n")));
        if (v.isArray())
            return QStringLiteral("a list of %1").arg(v.toArray().size());
        return QString::number(v.toDouble(), 'g', 17);
    };
    return QStringLiteral("%1: %2 -> %3").arg(path, shown(a), shown(b));
}

QString storeDifference(const DataHandler &a, const DataHandler &b)
{
    return jsonDifference(SessionJson::toJson(a), SessionJson::toJson(b), QStringLiteral("store"));
}

// The value of every key in the factory session's file.
const std::vector<QString> &factoryValues()
{
    static const std::vector<QString> values = [] {
        DataHandler store;
        std::vector<QString> out;
        for (int k = 0; k < SessionKeys::Count; ++k)
            out.push_back(SessionWriter::value(store, k, SessionWriter::Form::File));
        return out;
    }();
    return values;
}

} // namespace

QString SessionFileCheck::selfTest()
{
    DataHandler store;
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QByteArray input = makeInput(false, writer.write(store, SessionWriter::Form::File).toUtf8());
    const QString failure = run(reinterpret_cast<const std::uint8_t *>(input.constData()), size_t(input.size()), true);
    return failure.isEmpty() ? QString() : QStringLiteral("the factory session file: ") + failure;
}

QByteArray SessionFileCheck::makeInput(bool legacyOk, const QByteArray &file)
{
    return QByteArray(1, char(legacyOk ? LegacyOk : 0)) + file;
}

QString SessionFileCheck::run(const std::uint8_t *data, std::size_t size, bool thorough)
{
    const std::uint8_t control = size > 0 ? data[0] : 0;
    const QByteArray file =
        size > 0 ? QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)) : QByteArray();
    QString failure;
    // Reading does not change the store; a new one is made only to apply to.
    static const DataHandler factory;
    SessionReader reader;
    SessionReader::Status status = read(reader, file, thorough, factory, failure);
    if (!failure.isEmpty())
        return failure;
    if (status == SessionReader::Status::NeedsConsent)
        status = reader.answerLegacy(control & LegacyOk);

    if (status != SessionReader::Status::Read) {
        if (reader.problem().isEmpty())
            return QStringLiteral("the file was refused without a reason");
        const StoreSnapshot after = StoreSnapshot::of(factory);
        if (after != factorySnapshot())
            return QStringLiteral("a refused file changed the store: ")
                + StoreSnapshot::difference(factorySnapshot(), after);
        if (thorough && SessionJson::toJson(factory) != SessionJson::toJson(DataHandler()))
            return QStringLiteral("a refused file changed the JSON view of the store");
        return QString();
    }

    DataHandler store;
    reader.apply(store);
    Normaliser::normalise(store);
    if (const QString shape = StoreSnapshot::shapeProblem(store); !shape.isEmpty())
        return QStringLiteral("the file left a store of the wrong shape: ") + shape;
    const StoreSnapshot first = StoreSnapshot::of(store);

    // The session file of the store. The quick check leaves out the lines that are the
    // same as the factory session's: the new store starts with exactly those values, and
    // that the factory file itself is a fixed point is checked once (selfTest()).
    // presentKeys() lists keys in table order, as the writer writes them.
    QString text;
    if (thorough) {
        SessionWriter writer;
        writer.setAllKeyFlags(true);
        text = writer.write(store, SessionWriter::Form::File);
    } else {
        // Only the keys read can differ from the factory session: applying a key and
        // normalising change only that key's data (the thorough check writes them all).
        const std::vector<QString> &factory = factoryValues();
        const std::vector<int> present = reader.presentKeys();
        for (int k : present) {
            const QString value = SessionWriter::value(store, k, SessionWriter::Form::File);
            if (value == factory[size_t(k)])
                continue;
            text += QLatin1String(SessionKeys::at(k).key) + QLatin1Char(']') + value + QStringLiteral("\r\n");
        }
        if (text.isEmpty()) {
            if (first != factorySnapshot())
                return QStringLiteral("the store writes as the factory session but is not: ")
                    + StoreSnapshot::difference(factorySnapshot(), first);
            return QString();
        }
    }
    DataHandler again;
    SessionReader second;
    const SessionReader::Status status2 = read(second, text.toUtf8(), thorough, again, failure);
    if (!failure.isEmpty())
        return failure;
    if (status2 == SessionReader::Status::NeedsConsent)
        return QStringLiteral("opening the written session asked: ") + second.legacyQuestion().informative;
    if (status2 != SessionReader::Status::Read)
        return QStringLiteral("the written session is refused: ") + second.problem();
    second.apply(again);
    Normaliser::normalise(again);
    const StoreSnapshot reread = StoreSnapshot::of(again);
    if (reread != first)
        return QStringLiteral("writing and opening the session again changed it: ") + storeDifference(store, again);
    if (thorough && SessionJson::toJson(store) != SessionJson::toJson(again))
        return QStringLiteral("writing and opening the session again changed its JSON view");
    return QString();
}
