// The inputs that made a fuzz target fail, kept in fuzz/regressions/<target>/, and the
// seed corpora in fuzz/corpus/<target>/, through the fuzz targets' own checks.

#include "fuzz/FuzzInput.h"
#include "fuzz/PedalInputCheck.h"
#include "fuzz/ReceiveCheck.h"
#include "fuzz/SessionFileCheck.h"
#include "fuzz/StoreSnapshot.h"

#include "format/SessionKeys.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "model/DataHandler.h"
#include "model/Diagnostics.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>

namespace {

using Check = std::function<QString(const QByteArray &)>;

struct QuietDiagnostics
{
    Diagnostics::Sink previous = Diagnostics::setSink([](const QString &) {});
    ~QuietDiagnostics() { Diagnostics::setSink(previous); }
};

QString sessionFile(const QByteArray &input)
{
    return SessionFileCheck::run(reinterpret_cast<const std::uint8_t *>(input.constData()), size_t(input.size()), true);
}

QString receive(const QByteArray &input)
{
    return ReceiveCheck::run(reinterpret_cast<const std::uint8_t *>(input.constData()), size_t(input.size()));
}

QString pedalInput(const QByteArray &input)
{
    return PedalInputCheck::run(reinterpret_cast<const std::uint8_t *>(input.constData()), size_t(input.size()));
}

// Runs every file of fuzz/<folder>/<target>; returns how many there were.
int runFolder(const QString &folder, const QString &target, const Check &check)
{
    QuietDiagnostics quiet;
    const QDir dir(QStringLiteral(PEDAL_SOURCE_DIR "/fuzz/") + folder + QLatin1Char('/') + target);
    int count = 0;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        const QString failure = check(file.readAll());
        EXPECT_TRUE(failure.isEmpty()) << qPrintable(folder + QLatin1Char('/') + target + QLatin1Char('/') + name)
                                       << ": " << qPrintable(failure);
        ++count;
    }
    return count;
}

} // namespace

TEST(FuzzRegressions, SessionFileInputsThatFailedOnce)
{
    runFolder(QStringLiteral("regressions"), QStringLiteral("session_file"), sessionFile);
}

TEST(FuzzRegressions, ReceiveInputsThatFailedOnce)
{
    runFolder(QStringLiteral("regressions"), QStringLiteral("receive"), receive);
}

TEST(FuzzRegressions, PedalInputInputsThatFailedOnce)
{
    runFolder(QStringLiteral("regressions"), QStringLiteral("pedal_input"), pedalInput);
}

TEST(FuzzRegressions, SeedCorporaPassTheirChecks)
{
    EXPECT_GT(runFolder(QStringLiteral("corpus"), QStringLiteral("session_file"), sessionFile), 10);
    EXPECT_GT(runFolder(QStringLiteral("corpus"), QStringLiteral("receive"), receive), 5);
    EXPECT_GT(runFolder(QStringLiteral("corpus"), QStringLiteral("pedal_input"), pedalInput), 5);
}

TEST(FuzzRegressions, FactorySessionFileIsAFixedPoint)
{
    QuietDiagnostics quiet;
    EXPECT_EQ(SessionFileCheck::selfTest(), QString());
}

// The fault behind regressions/session_file/stray-carriage-return-in-stack-name: a name
// field holding a lone "\r" or "\n" was read as it stood, and the writer, which drops
// "\r" and writes "\n" as "[", then saved a different name.
TEST(FuzzRegressions, StrayLineEndsInNameFieldsEndTheLine)
{
    // Names are written without line ends ("[" stands for one), so a "\r" or "\n" in a
    // name field ends the line there, like any line end: the value falls short and the
    // file is refused whole.
    QuietDiagnostics quiet;
    DataHandler factory;
    QString names = SessionWriter::value(factory, SessionKeys::indexOf(u"MidiStackNames"), SessionWriter::Form::File);
    names.replace(0, 5, QStringLiteral("A\rB\nC"));
    const QString text = QStringLiteral("MidiStackNames]") + names + QStringLiteral("\r\n");

    SessionReader reader;
    ASSERT_EQ(reader.readText(text, factory), SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().startsWith(QStringLiteral("MidiStackNames: "))) << reader.problem().toStdString();

    const QByteArray input = SessionFileCheck::makeInput(false, text.toUtf8());
    EXPECT_EQ(sessionFile(input), QString());
}

// The snapshot that the checks compare stores by tells every kind of record apart.
TEST(FuzzRegressions, StoreSnapshotSeesEveryKindOfChange)
{
    DataHandler a;
    const StoreSnapshot factory = StoreSnapshot::of(a);
    const std::vector<std::function<void(DataHandler &)>> changes{
        [](DataHandler &s) { s.SongList[5]->Jack3RingHOLDStack = 1; },
        [](DataHandler &s) { s.SongList[127]->UpdateName(QStringLiteral("x")); },
        [](DataHandler &s) { std::swap(s.Setlist[0], s.Setlist[1]); },
        [](DataHandler &s) { s.GlobalMenu.StackDelay += 1; },
        [](DataHandler &s) { s.MidiStackList[127].MidiStackMessageList[9].Name = QStringLiteral("y"); },
        [](DataHandler &s) { s.MidiStackList[3].MidiStackMessageList[2].Channel = 4; },
        [](DataHandler &s) { s.MidiMessageLibrary.emplace_back(QString(), QString(), QString(), 0, 0, 0); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        DataHandler b;
        changes[i](b);
        const StoreSnapshot changed = StoreSnapshot::of(b);
        EXPECT_NE(changed, factory) << "change " << i;
        EXPECT_FALSE(StoreSnapshot::difference(factory, changed).isEmpty()) << "change " << i;
    }
    EXPECT_EQ(StoreSnapshot::shapeProblem(a), QString());
    a.MidiStackList[7].MidiStackMessageList.pop_back();
    EXPECT_NE(StoreSnapshot::shapeProblem(a), QString());
}

// Chunk sizes come from the input itself; the payload survives the cut whole.
TEST(FuzzRegressions, FuzzInputCutsThePayloadAtTheGivenSizes)
{
    const QByteArray payload(3000, 'x');
    const QByteArray raw = FuzzInput::make(7, {0, 4, 0xf0}, payload);
    const FuzzInput input(reinterpret_cast<const std::uint8_t *>(raw.constData()), size_t(raw.size()));
    EXPECT_EQ(input.control(), 7);
    const QList<QByteArray> chunks = input.chunks();
    ASSERT_GE(chunks.size(), 4);
    EXPECT_EQ(chunks[0].size(), 1);
    EXPECT_EQ(chunks[1].size(), 5);
    EXPECT_EQ(chunks[2].size(), 1024);
    EXPECT_EQ(chunks.join(), payload);
}

// The fault behind regressions/session_file/converter-of-a-type-to-channel-0: a channel
// converter of message type 1 "to channel 0" was read (its type comes from the first
// status number, 192, and "000" gave channel 0), but that pair is written as 191, which
// reads back as channel 16. Such a global block is now refused.
TEST(FuzzRegressions, ConverterOfATypeToChannelZeroIsRefused)
{
    QuietDiagnostics quiet;
    DataHandler factory;
    QString global = SessionWriter::value(factory, SessionKeys::indexOf(u"Global"), SessionWriter::Form::File);
    // Converter 1: enabled, from Program Change on channel 1 (192), to "000".
    global.replace(47, 7, QStringLiteral("1192000"));
    SessionReader reader;
    EXPECT_EQ(reader.readText(QStringLiteral("Global]") + global + QStringLiteral("\r\n"), factory),
              SessionReader::Status::Failed);
    EXPECT_TRUE(reader.problem().contains(QStringLiteral("converter 1"))) << qPrintable(reader.problem());

    // To channel 5 is fine.
    global.replace(47, 7, QStringLiteral("1192180"));
    EXPECT_EQ(reader.readText(QStringLiteral("Global]") + global + QStringLiteral("\r\n"), factory),
              SessionReader::Status::Read);
}
