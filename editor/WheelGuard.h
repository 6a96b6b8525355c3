#pragma once

#include <QObject>

// Keeps the mouse wheel from editing a control the user is not working in. Drop-down
// lists, number fields and sliders take wheel events only while they have keyboard
// focus; otherwise the wheel scrolls the page they are on. One guard serves the whole
// application: it watches every widget, so a control added later is covered too.
class WheelGuard : public QObject
{
    Q_OBJECT
public:
    // Installs the guard on the running application, once; later calls do nothing.
    static void install();

    // True for the kinds of control the guard keeps from unfocused wheel edits.
    static bool guards(const QObject *object);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WheelGuard(QObject *parent) : QObject(parent) {}
};
