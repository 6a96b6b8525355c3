#include "WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>

namespace {

// A guarded control takes focus by a click or Tab, never by the wheel: a wheel notch
// over it would give it focus and then edit it.
void dropWheelFocus(QWidget *widget)
{
    if (widget->focusPolicy() == Qt::WheelFocus)
        widget->setFocusPolicy(Qt::StrongFocus);
}

} // namespace

void WheelGuard::install()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app || app->findChild<WheelGuard *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new WheelGuard(app));
    for (QWidget *widget : QApplication::allWidgets())
        if (guards(widget))
            dropWheelFocus(widget);
}

bool WheelGuard::guards(const QObject *object)
{
    return qobject_cast<const QComboBox *>(object) || qobject_cast<const QAbstractSpinBox *>(object)
        || qobject_cast<const QSlider *>(object);
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Wheel && type != QEvent::Polish)
        return false;
    if (!watched->isWidgetType() || !guards(watched))
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (type == QEvent::Polish) {
        dropWheelFocus(widget);
        return false;
    }
    if (widget->hasFocus())
        return false;
    // The page scrolls instead: the wheel goes to the nearest scroll area around the control.
    auto *wheel = static_cast<QWheelEvent *>(event);
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        auto *area = qobject_cast<QAbstractScrollArea *>(w);
        if (!area)
            continue;
        QWidget *viewport = area->viewport();
        const QPointF at = viewport->mapFromGlobal(wheel->globalPosition());
        QWheelEvent forwarded(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                              wheel->modifiers(), wheel->phase(), wheel->inverted(), wheel->source());
        QCoreApplication::sendEvent(viewport, &forwarded);
        break;
    }
    event->accept();
    return true;
}
