#include "AppDelegate.h"

#include "editor/SessionActions.h"
#include "editor/ViewController.h"

#include <QApplication>
#include <QCommandLineParser>
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

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Edits the sessions of a tap-tempo MIDI foot pedal."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("session"), QStringLiteral("A session file (txt) to open at start."),
                                 QStringLiteral("[session]"));
    parser.process(app);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    if (!parser.positionalArguments().isEmpty())
        delegate.vc()->session().openFile(parser.positionalArguments().first());
    return app.exec();
}
