#pragma once

#include "model/Alert.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

class QMenuBar;
class QWidget;

// What a user sees, written as text to be compared with a reviewed file under
// tests/data/snapshots/ (or tests/data/transcripts/): a change of a label, a list, a
// visibility rule or a printed line shows as a diff that names the control.
namespace Snapshot {
// Every control under `root` in layout order, one line each: its name (or its text, for
// an unnamed label), its kind, hidden or disabled when it is, and what it shows.
QString ofWidget(const QWidget *root);
// The menus: each command with its shortcut, disabled or checked when it is.
QString ofMenus(const QMenuBar *bar);
// The questions and alerts a scenario raised: title, kind, text, informative text, buttons.
QString ofAlerts(const QList<Alert> &alerts);

// A list of more than `whole` items as its `first` and `last` items with the number and a
// hash of those between; a shorter one whole.
QStringList shortened(const QStringList &items, int whole, int first, int last);

// Compares `text` with the reviewed file `relativePath` under tests/data/ and fails with a
// diff when they differ. With UPDATE_SNAPSHOTS=1 in the environment it writes the file
// instead, for review with `git diff`.
::testing::AssertionResult matches(const QString &relativePath, const QString &text);
} // namespace Snapshot
