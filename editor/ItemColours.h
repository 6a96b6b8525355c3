#pragma once

#include <QColor>

// The colours of the 20 colour positions of a song's display, as the window paints them.
namespace ItemColours {
// The colour of a colour position; black outside 0 to 19.
QColor colour(qint64 position);
// A readable text colour on a background of this colour position.
QColor textColourOn(qint64 position);
} // namespace ItemColours
