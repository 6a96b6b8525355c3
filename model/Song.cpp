#include "Song.h"

#include "CodePoints.h"

namespace {

const QString kAllowedSigns = QStringLiteral("!#$%&()*+,-./:<=>?@^{|}~");

bool allowedNameChar(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
        return true;
    if (u == u' ' || u == u'\n')
        return true;
    return kAllowedSigns.contains(c);
}

} // namespace

Song::Song(qint64 id, const QString &fullName, qint64 tempo, const NumberValues &values)
    : Id(id), Tempo(tempo), TempoInMs(tempo != 0 ? 60000 / tempo : 0)
{
    UpdateName(fullName);
    size_t i = 0;
#define PEDAL_ASSIGN_VALUE(name, factory) name = values[i++];
    PEDAL_SONG_NUMBER_FIELDS(PEDAL_ASSIGN_VALUE)
#undef PEDAL_ASSIGN_VALUE
}

Song::NumberValues Song::factoryValues(int p)
{
    NumberValues v{};
    size_t i = 0;
#define PEDAL_FACTORY_VALUE(name, factory) v[i++] = (factory);
    PEDAL_SONG_NUMBER_FIELDS(PEDAL_FACTORY_VALUE)
#undef PEDAL_FACTORY_VALUE
    Q_UNUSED(p);
    return v;
}

Song Song::factory(int p)
{
    return Song(p + 1, QString(), 120, factoryValues(p));
}

void Song::UpdateName(const QString &name)
{
    FullName = name;
    NameWithoutBreaks = nameWithoutBreaks(name);
}

void Song::UpdateTempo(qint64 tempo)
{
    if (tempo == 0)
        return;
    Tempo = tempo;
    TempoInMs = 60000 / tempo;
}

void Song::resetToFactory(int p)
{
    UpdateName(QString());
    Tempo = 120;
    TempoInMs = 500;
    const NumberValues v = factoryValues(p);
    const auto &fields = songNumberFields();
    for (size_t i = 0; i < fields.size(); ++i)
        this->*(fields[i].member) = v[i];
}

QString Song::nameWithoutBreaks(const QString &fullName)
{
    QString s = fullName;
    s.remove(QLatin1Char('\r'));
    s.replace(QLatin1Char('\n'), QLatin1Char('_'));
    return s;
}

QString Song::nameProblem(const QString &name)
{
    if (name.size() > 30)
        return QStringLiteral("The name has more than 30 characters");
    for (qsizetype i = 0; i < name.size(); i = CodePoints::next(name, i)) {
        // A character outside the Basic Multilingual Plane is named whole, not by its first half.
        if (!allowedNameChar(name[i]))
            return QStringLiteral("The character \"%1\" cannot be shown by the pedal")
                .arg(name.mid(i, CodePoints::next(name, i) - i));
    }
    if (name.count(QLatin1Char('\n')) > 4)
        return QStringLiteral("The name has more than 5 lines");
    return QString();
}

const std::array<SongNumberField, Song::NumberFieldCount> &songNumberFields()
{
    static const std::array<SongNumberField, Song::NumberFieldCount> fields = {{
#define PEDAL_FIELD_DESCRIPTOR(name, factory) {#name, &Song::name},
        PEDAL_SONG_NUMBER_FIELDS(PEDAL_FIELD_DESCRIPTOR)
#undef PEDAL_FIELD_DESCRIPTOR
    }};
    return fields;
}

const std::array<SongInput, 14> &songInputs()
{
// clang-format off
#define PEDAL_INPUT(stem, fieldStem, hold)                                                       \
    SongInput{stem, #fieldStem, &Song::fieldStem##Function, &Song::fieldStem##Preset,           \
              &Song::fieldStem##Stack, hold}
    // clang-format on
    static const std::array<SongInput, 14> inputs = {{
        PEDAL_INPUT("FootTap", FootTAP, false),
        PEDAL_INPUT("FootHold", FootHOLD, true),
        PEDAL_INPUT("Jack1TipTap", Jack1TipTAP, false),
        PEDAL_INPUT("Jack1TipHold", Jack1TipHOLD, true),
        PEDAL_INPUT("Jack1RingTap", Jack1RingTAP, false),
        PEDAL_INPUT("Jack1RingHold", Jack1RingHOLD, true),
        PEDAL_INPUT("Jack2TipTap", Jack2TipTAP, false),
        PEDAL_INPUT("Jack2TipHold", Jack2TipHOLD, true),
        PEDAL_INPUT("Jack2RingTap", Jack2RingTAP, false),
        PEDAL_INPUT("Jack2RingHold", Jack2RingHOLD, true),
        PEDAL_INPUT("Jack3TipTap", Jack3TipTAP, false),
        PEDAL_INPUT("Jack3TipHold", Jack3TipHOLD, true),
        PEDAL_INPUT("Jack3RingTap", Jack3RingTAP, false),
        PEDAL_INPUT("Jack3RingHold", Jack3RingHOLD, true),
    }};
#undef PEDAL_INPUT
    return inputs;
}

const std::array<SongJack, 4> &songJacks()
{
    static const std::array<SongJack, 4> jacks = {{
        {&Song::JackOne, &Song::JackOneStatic, &Song::JackOnePulses},
        {&Song::JackTwo, &Song::JackTwoStatic, &Song::JackTwoPulses},
        {&Song::JackThree, &Song::JackThreeStatic, &Song::JackThreePulses},
        {&Song::JackFour, &Song::JackFourStatic, &Song::JackFourPulses},
    }};
    return jacks;
}
