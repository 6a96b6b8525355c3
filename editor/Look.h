#pragma once

#include <QColor>
#include <QPalette>

// The window's look: the desktop's style and palette (the default), or a dark one for a
// dark stage (Fusion with a dark palette). The colours of the marks the window draws
// itself (refused values, changed settings, the pedal's state, the song summary) read on
// the window's background in both looks: a contrast of at least 3:1 against either.
namespace Look {
// Switches the whole application to the dark look, or back to the desktop's.
void setDark(bool on);
bool isDark();
QPalette darkPalette();

// The contrast ratio of two colours (1 to 21), as accessibility guidelines measure it.
double contrast(const QColor &a, const QColor &b);

QColor refused(); // the frame of a value that was not taken
QColor changed(); // a global setting that differs from the factory's
QColor good();    // the pedal matches; a jack in tap output mode
QColor busy();    // a send is going out; a jack in footswitch, expression, MIDI or CV mode
QColor neutral(); // the pedal's state is not known
} // namespace Look
