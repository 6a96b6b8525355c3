#include "Menu.h"

#include <iterator>

// The table holds exactly one row per field.
#define PEDAL_COUNT_MENU_FIELD(name, factory, rule, list, section, label, column, tip, subject) +1
static_assert(0 PEDAL_MENU_FIELDS(PEDAL_COUNT_MENU_FIELD) == Menu::FieldCount, "one row per global setting");
static_assert(sizeof(Menu) == Menu::FieldCount * sizeof(qint64), "every member of Menu is a row of the table");
#undef PEDAL_COUNT_MENU_FIELD

Menu::Menu(const Values &values)
{
    const auto &fields = menuFields();
    for (size_t i = 0; i < fields.size(); ++i)
        this->*(fields[i].member) = values[i];
}

Menu::Values Menu::factoryValues()
{
    Values v{};
    const auto &fields = menuFields();
    for (size_t i = 0; i < fields.size(); ++i)
        v[i] = fields[i].factory;
    return v;
}

Menu Menu::factory()
{
    return Menu(factoryValues());
}

void Menu::resetToFactory()
{
    for (const MenuField &f : menuFields())
        this->*(f.member) = f.factory;
}

Menu::Values Menu::values() const
{
    Values v{};
    const auto &fields = menuFields();
    for (size_t i = 0; i < fields.size(); ++i)
        v[i] = this->*(fields[i].member);
    return v;
}

const std::array<MenuField, Menu::FieldCount> &menuFields()
{
    static const std::array<MenuField, Menu::FieldCount> fields = {{
// clang-format off
#define PEDAL_MENU_DESCRIPTOR(name, factory, rule, list, section, label, column, tip, subject)            \
    {#name, &Menu::name, factory, MenuRule::rule, MenuList::list, MenuSection::section, label, column, tip, subject},
        // clang-format on
        PEDAL_MENU_FIELDS(PEDAL_MENU_DESCRIPTOR)
#undef PEDAL_MENU_DESCRIPTOR
    }};
    return fields;
}

QString MenuField::title() const
{
    const QString words = QString::fromUtf8(label);
    return *column ? words + QLatin1Char(' ') + QString::fromUtf8(column) : words;
}

QString MenuField::tipText() const
{
    const QString words = QString::fromUtf8(tip);
    return *subject ? words.arg(QString::fromUtf8(subject)) : words;
}

const char *menuSectionTitle(MenuSection section)
{
    static constexpr const char *titles[] = {
        QT_TRANSLATE_NOOP("Menu", "MIDI clock and thru"), QT_TRANSLATE_NOOP("Menu", "Channels and thresholds"),
        QT_TRANSLATE_NOOP("Menu", "Songs and tempo"),     QT_TRANSLATE_NOOP("Menu", "Display"),
        QT_TRANSLATE_NOOP("Menu", "Click outputs"),       QT_TRANSLATE_NOOP("Menu", "Repeating MIDI stack"),
        QT_TRANSLATE_NOOP("Menu", "Channel converters"),  QT_TRANSLATE_NOOP("Menu", "Incoming MIDI messages"),
        QT_TRANSLATE_NOOP("Menu", "Stack delay"),
    };
    static_assert(std::size(titles) == MenuSectionCount, "a title for every section");
    const int i = int(section);
    return i >= 0 && i < MenuSectionCount ? titles[i] : "";
}

qint64 MenuRules::valueForPosition(MenuRule rule, qint64 p)
{
    switch (rule) {
    case MenuRule::Same: return p;
    case MenuRule::PlusOne: return p + 1;
    case MenuRule::PlusTwo: return p + 2;
    case MenuRule::PlusThirty: return p + 30;
    case MenuRule::MinusTwenty: return p - 20;
    case MenuRule::Delay: return 60 + 10 * p;
    }
    return p;
}

qint64 MenuRules::positionForValue(MenuRule rule, qint64 v)
{
    switch (rule) {
    case MenuRule::Same: return v;
    case MenuRule::PlusOne: return v - 1;
    case MenuRule::PlusTwo: return v - 2;
    case MenuRule::PlusThirty: return v - 30;
    case MenuRule::MinusTwenty: return v + 20;
    case MenuRule::Delay: return (v - 60) / 10;
    }
    return v;
}
