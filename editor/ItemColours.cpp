#include "ItemColours.h"

#include "format/ItemTexts.h"

namespace ItemColours {

QColor colour(qint64 position)
{
    const ItemTexts::Rgb c = ItemTexts::colourRgb(position);
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue));
}

QColor textColourOn(qint64 position)
{
    const QColor c = colour(position);
    const double luminance = 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF();
    return luminance > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace ItemColours
