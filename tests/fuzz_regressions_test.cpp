// The inputs that made a fuzz target fail, kept in fuzz/regressions/<target>/, and the
// seed corpora in fuzz/corpus/<target>/, through the fuzz targets' own checks.
#include "QtPrinters.h"
#include "fuzz/FuzzChecks.h"

#include "model/Diagnostics.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

TEST(FuzzRegressions, SavedInputsAndSeedsPassTheirChecks)
{
    const Diagnostics::Sink previous = Diagnostics::setSink([](const QString &) {});
    const struct
    {
        const char *target;
        QString (*check)(const QByteArray &);
        int seeds; // at least
    } targets[] = {{"session_file", FuzzChecks::sessionFile, 10},
                   {"receive", FuzzChecks::receive, 5},
                   {"pedal_input", FuzzChecks::pedalInput, 5}};
    for (const auto &t : targets) {
        for (const char *folder : {"corpus", "regressions"}) {
            const QDir dir(
                QStringLiteral(PEDAL_SOURCE_DIR "/fuzz/%1/%2").arg(QLatin1String(folder), QLatin1String(t.target)));
            SCOPED_TRACE(dir.path().toStdString());
            const QStringList names = dir.entryList(QDir::Files, QDir::Name);
            if (QLatin1String(folder) == QLatin1String("corpus")) {
                EXPECT_GE(names.size(), t.seeds) << "seeds of the corpus";
            }
            for (const QString &name : names) {
                SCOPED_TRACE(name.toStdString());
                QFile file(dir.filePath(name));
                EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                EXPECT_EQ(t.check(file.readAll()), QString());
            }
        }
    }
    Diagnostics::setSink(previous);
}
