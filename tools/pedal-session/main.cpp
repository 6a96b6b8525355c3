#include "DiffCommand.h"
#include "SessionTool.h"
#include "TransferCommands.h"

#include "model/Diagnostics.h"

#include "PedalVersion.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Standard output holds only results; everything else goes to standard error.
    Diagnostics::setSink([](const QString &line) {
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    });

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        SessionTool::printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version") || args.first() == QLatin1String("-v")) {
        std::printf("pedal-session %s\n", PEDAL_VERSION);
        return 0;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("send"))
        return sendCommand(args);
    if (command == QLatin1String("receive"))
        return receiveCommand(args);
    if (command == QLatin1String("flash"))
        return flashCommand(args);
    if (command == QLatin1String("diff"))
        return diffCommand(args);
    return SessionTool::run(command, args);
}
