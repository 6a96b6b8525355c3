#include "AppDelegate.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pedal-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pedal Editor"));
    QApplication::setApplicationVersion(QStringLiteral(PEDAL_EDITOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("pedal-editor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pedal-editor.png")));
    // Closing the window quits.
    QApplication::setQuitOnLastWindowClosed(true);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    return app.exec();
}
