#pragma once

#include "format/SessionKeys.h"

#include <QString>
#include <QStringList>

struct MenuField;

// The lower layers keep their texts in English, as files, JSON and the command line use
// them; their tables mark the texts for translation. The window shows them through these
// functions, which look each text up in the installed translation (unchanged without one).
namespace ShownTexts {
// The items of a fixed value list (ItemTexts), in their order.
QStringList items(const QStringList &english);
QString item(const QString &english);
// The pulse counts of a jack ("1 pulse", "2 pulses" ...).
QStringList pulseCounts();
// A MIDI message type's name.
QString messageType(qint64 type);
// A page's tab title.
QString pageTitle(SessionKeys::Page page);
// A label of the key table ("Tempo", "Program change").
QString keyLabel(const char *english);
// The Global Settings page: a text of the settings table, a field's title and its tip.
QString menu(const char *english);
QString menuTitle(const MenuField &field);
QString menuTip(const MenuField &field);
// A text of an alert raised below the window (a fixed message, or a button).
QString alert(const QString &english);
} // namespace ShownTexts
