#include "Normaliser.h"

#include "CodePoints.h"
#include "DataHandler.h"

#include <QStringList>

#include <algorithm>

namespace {
qint64 clamp(qint64 v, qint64 lo, qint64 hi)
{
    return std::min(std::max(v, lo), hi);
}
} // namespace

QString Normaliser::normaliseName(const QString &name)
{
    QString text = name;
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char('['));
    const QStringList lines = text.split(QLatin1Char('['));
    if (lines.size() >= 5) {
        text = lines.mid(0, 4).join(QLatin1Char('[')) + QLatin1Char('[') + lines.mid(4).join(QString());
    }
    if (CodePoints::length(text) > 30)
        text = CodePoints::left(text, 30);
    text.replace(QLatin1Char('['), QLatin1Char('\n'));
    return text;
}

void Normaliser::normalise(DataHandler &store)
{
    for (const SongRef &ref : store.SongList) {
        Song &song = *ref;
        const QString name = normaliseName(song.FullName);
        song.UpdateName(name);
        const qint64 tempo = clamp(song.Tempo, 40, 300);
        if (tempo != song.Tempo)
            song.UpdateTempo(tempo);
        song.ProgramChange = clamp(song.ProgramChange, 1, 128);
        song.BankChange = clamp(song.BankChange, 1, 128);
    }
    for (MidiMessage &entry : store.MidiMessageLibrary) {
        entry.Message = clamp(entry.Message, 0, 255);
        entry.Value = clamp(entry.Value, 0, 255);
    }
    for (MidiStack &stack : store.MidiStackList) {
        for (MidiStackMessage &m : stack.MidiStackMessageList) {
            m.Channel = clamp(m.Channel, 0, 16);
            m.Message = clamp(m.Message, 0, 255);
            m.Value = clamp(m.Value, 0, 255);
        }
    }
}
