#include "Look.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>

#include <cmath>

namespace {
// The desktop's style and palette, as they were before the first switch.
struct Desktop
{
    QString style;
    QPalette palette;
    bool known = false;
};
Desktop &desktop()
{
    static Desktop d;
    return d;
}
bool dark = false;

double luminance(const QColor &c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
} // namespace

QPalette Look::darkPalette()
{
    QPalette p;
    const QColor window(0x35, 0x35, 0x35), base(0x2a, 0x2a, 0x2a), text(0xee, 0xee, 0xee);
    const QColor disabled(0x80, 0x80, 0x80);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    p.setColor(QPalette::Mid, QColor(0x28, 0x28, 0x28));
    p.setColor(QPalette::Dark, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x6c, 0xa8, 0xff));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

void Look::setDark(bool on)
{
    Desktop &d = desktop();
    if (!d.known) {
        d.style = QApplication::style()->name();
        d.palette = QApplication::palette();
        d.known = true;
    }
    if (on == dark)
        return;
    dark = on;
    if (on) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    } else {
        QApplication::setStyle(QStyleFactory::create(d.style));
        QApplication::setPalette(d.palette);
    }
}

bool Look::isDark()
{
    return dark;
}

double Look::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Each lies between luminance 0.2 and 0.3: dark enough for white, light enough for the
// dark look's greys.
QColor Look::refused()
{
    return {0xff, 0x2a, 0x2a};
}

QColor Look::changed()
{
    return {0xc8, 0x70, 0x20};
}

QColor Look::good()
{
    return {0x33, 0x99, 0x3f};
}

QColor Look::busy()
{
    return {0x4a, 0x80, 0xff};
}

QColor Look::neutral()
{
    return {0x8a, 0x8a, 0x8a};
}
