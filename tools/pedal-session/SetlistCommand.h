#pragma once

#include <QStringList>

class QCommandLineParser;

// pedal-session setlist FILE [--format text|csv|markdown|pdf] [-o OUT] [--layout stage|compact]
// Opens FILE as the editor's Open does and writes its setlist: as aligned text (the
// default), CSV or a Markdown table, to OUT or standard output, or as a PDF of the stage
// or compact layout (the default stage) to OUT. Status 1 when FILE cannot be read or OUT
// not written, 2 for a usage error.
int setlistCommand(const QCommandLineParser &args);

// Whether the command line (the program's arguments after its name) asks for a PDF:
// painting text needs the font database of a QGuiApplication.
bool setlistDrawsPages(const QStringList &args);
