#pragma once

#include "model/Menu.h"

#include <QString>
#include <QStringList>

// The item lists of the Global Settings page. Every global field is edited through one
// list of one of these kinds; the item at position p stands for the stored value given
// by the field's position rule. The fixed lists belong to the page definition, the
// run-time lists (click lengths, stack delay, amounts, incoming numbers) are built in
// the exact form the pedal's settings use. Stack names come from the shared stack model.
class GlobalItemTexts
{
public:
    // The kinds of list, as the global settings table gives them to each field.
    using Kind = MenuList;
    static constexpr int KindCount = MenuListCount;

    // The items of a list kind, in order. Empty for StackName, whose items are the
    // stack names of the session.
    static QStringList items(Kind kind);

    // The number of characters of the longest item of a list kind: the list is made that
    // wide, no wider. Stack names get room for a number and a short name.
    static int widestItem(Kind kind);

    // Shown in place of an item when a stored value has no item in its list.
    static QString outOfRangeText(qint64 value);
};
