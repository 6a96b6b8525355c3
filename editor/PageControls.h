#pragma once

#include "format/SessionKeys.h"
#include "model/Song.h"

#include <QColor>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QAbstractItemModel;
class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
struct EditorContext;

// Small builders shared by the pages: every control gets its objectName here, and a list
// reports only the user's choice (`activated`), never the index changes that come from
// filling it or from a refill of a shared model.
namespace PageControls {
// A list as wide as `length` characters, whatever its items (sized without building its popup).
QComboBox *fixedWidthList(int length, QWidget *parent = nullptr);
QComboBox *list(const QString &objectName, const QStringList &items, QWidget *parent = nullptr);
QComboBox *sharedList(const QString &objectName, QAbstractItemModel *model, QWidget *parent = nullptr);
// Every button of the window is made here: it never takes Return as the default button.
QPushButton *button(const QString &objectName, const QString &text, QWidget *parent = nullptr);
QLabel *label(const QString &objectName, const QString &text, QWidget *parent = nullptr);

// The row of a page's pedal commands: its Send and Load at the left, then `extra` (buttons
// the page made and connected itself) and its Reset at the right, each a button of the
// window's command of that name.
QBoxLayout *commandRow(QWidget *page, const EditorContext &ctx, SessionKeys::Page which,
                       const std::vector<QPushButton *> &extra = {});

// Calls `chosen` with the position the user picked.
void onChoice(QComboBox *combo, QWidget *receiver, std::function<void(int)> chosen);
// Shows the item at a stored position; a position the list has no item for shows as
// "N (out of range)" and stays stored until an item is picked.
void select(QComboBox *combo, qint64 position);
// What a list shows while it shows no item: `value` as out of range, or nothing.
void showOutOfRange(QComboBox *combo, std::optional<qint64> value);

// The name of an undo step that changes one field of the song at a list position:
// "Background colour of Song 3", with the field's one wording from the key table.
QString songStepName(qint64 Song::*field, qint64 position);

void setTextColour(QWidget *widget, const QColor &colour);
QColor textColour(const QWidget *widget);
} // namespace PageControls
