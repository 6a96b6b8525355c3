#include "SessionJson.h"

#include "model/DataHandler.h"

#include <QJsonArray>

QJsonObject SessionJson::toJson(const DataHandler &store)
{
    QJsonArray songs;
    for (const SongRef &ref : store.SongList) {
        const Song &s = *ref;
        QJsonObject o;
        o.insert(QStringLiteral("Id"), s.Id);
        o.insert(QStringLiteral("FullName"), s.FullName);
        o.insert(QStringLiteral("NameWithoutBreaks"), s.NameWithoutBreaks);
        o.insert(QStringLiteral("Tempo"), s.Tempo);
        o.insert(QStringLiteral("TempoInMs"), s.TempoInMs);
        for (const SongNumberField &f : songNumberFields())
            o.insert(QLatin1String(f.name), s.*(f.member));
        songs.append(o);
    }

    QJsonArray setlist;
    for (const SongRef &ref : store.Setlist)
        setlist.append(ref->Id);

    QJsonObject menu;
    for (const MenuField &f : menuFields())
        menu.insert(QLatin1String(f.name), store.GlobalMenu.*(f.member));

    QJsonArray library;
    for (const MidiMessage &m : store.MidiMessageLibrary) {
        library.append(QJsonObject{{QStringLiteral("Manufacturer"), m.Manufacturer},
                                   {QStringLiteral("Device"), m.Device},
                                   {QStringLiteral("Action"), m.Action},
                                   {QStringLiteral("Typey"), m.Typey},
                                   {QStringLiteral("Message"), m.Message},
                                   {QStringLiteral("Value"), m.Value}});
    }

    QJsonArray stacks;
    for (const MidiStack &stack : store.MidiStackList) {
        QJsonArray messages;
        for (const MidiStackMessage &m : stack.MidiStackMessageList) {
            messages.append(QJsonObject{{QStringLiteral("Typey"), m.Typey},
                                        {QStringLiteral("Channel"), m.Channel},
                                        {QStringLiteral("Message"), m.Message},
                                        {QStringLiteral("Value"), m.Value},
                                        {QStringLiteral("Name"), m.Name}});
        }
        stacks.append(QJsonObject{{QStringLiteral("ID"), stack.ID},
                                  {QStringLiteral("Name"), stack.Name},
                                  {QStringLiteral("MidiStackMessageList"), messages}});
    }

    return QJsonObject{{QStringLiteral("SongList"), songs},
                       {QStringLiteral("Setlist"), setlist},
                       {QStringLiteral("GlobalMenu"), menu},
                       {QStringLiteral("MidiMessageLibrary"), library},
                       {QStringLiteral("MidiStackList"), stacks}};
}
