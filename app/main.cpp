#include "AppDelegate.h"

#include "editor/SessionActions.h"
#include "editor/Translations.h"
#include "editor/ViewController.h"

#include "PedalVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstring>

namespace {

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Edits the sessions of a tap-tempo MIDI foot pedal."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("session"), QStringLiteral("A session file (txt) to open at start."),
                                 QStringLiteral("[session]"));
    parser.addOption(QCommandLineOption(QStringLiteral("virtual-pedal"),
                                        QStringLiteral("Attach the virtual pedal at start, as Pedal > Attach Virtual "
                                                       "Pedal does.")));
}

// --help and --version answer without a display (over ssh, in a package check).
bool onlyAsksForText(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("pedal-editor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PEDAL_VERSION));
    if (onlyAsksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(text); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    // The desktop's language, for the window's texts and Qt's own.
    Translations::install(app);
    QApplication::setApplicationDisplayName(QCoreApplication::translate("main", "Pedal Editor"));
    QApplication::setDesktopFileName(QStringLiteral("pedal-editor"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pedal-editor.png")));
    // Closing the window quits.
    QApplication::setQuitOnLastWindowClosed(true);

    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);

    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    if (!parser.positionalArguments().isEmpty())
        delegate.vc()->session().openFile(parser.positionalArguments().first());
    if (parser.isSet(QStringLiteral("virtual-pedal")))
        delegate.vc()->attachVirtualPedal();
    return app.exec();
}
