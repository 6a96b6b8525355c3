#pragma once

#include <QAccessible>
#include <QSize>

class QAbstractItemView;
class QScrollArea;
class QWidget;

// What makes the window usable with the keyboard alone, at any screen scale and with a
// screen reader: tables that Tab leaves and that frame their focused row, pages that
// scroll, fields that stay readable, and a name for every control.
namespace Accessibility {

// The arrows move through the table, Home and End go to its first and last row, Tab
// leaves it; the current row is framed while the table has the focus.
void keyboardTable(QAbstractItemView *view);

// A page in a scroll area of its own: it keeps its smallest readable size and scrolls
// when the window is smaller. The area takes no focus itself.
QScrollArea *scrollArea(const QString &objectName, QWidget *parent = nullptr);

// Prepares a built page: its tables take the keyboard as above, its text fields keep a
// readable width, and every control gets a name a screen reader says: the label it is
// the buddy of, its placeholder, or the name the window gives it by its object name.
void preparePage(QWidget *page);

// Names the controls of `root` that have none yet (see preparePage); the window's docks
// and bars are named this way.
void nameControls(QWidget *root);

// Tells assistive technology that `widget` changed (NameChanged, DescriptionChanged...),
// or that its value is now `value`.
void announce(QWidget *widget, QAccessible::Event change);
void announceValue(QWidget *widget, const QVariant &value);

// The window at `preferred` size, or as large as the screen's available area allows,
// centred on that area.
void fitToScreen(QWidget *window, QSize preferred);

} // namespace Accessibility
