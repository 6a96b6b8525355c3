#include "SetlistCommand.h"

#include "SessionTool.h"

#include "format/SetlistSheet.h"
#include "format/TextFileSaver.h"
#include "model/DataHandler.h"
#include "print/SetlistPrint.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

enum Exit { Ok = 0, Failed = 1, Usage = 2 };

using SessionTool::err;

const QLatin1String pdfName("pdf");

} // namespace

bool setlistDrawsPages(const QStringList &args)
{
    if (args.value(0) != QLatin1String("setlist"))
        return false;
    for (int i = 1; i < args.size(); ++i)
        if ((args[i] == QLatin1String("--format") && args.value(i + 1) == pdfName)
            || args[i] == QLatin1String("--format=pdf"))
            return true;
    return false;
}

int setlistCommand(const QCommandLineParser &args)
{
    const QString formatName =
        args.isSet(QStringLiteral("format")) ? args.value(QStringLiteral("format")) : QStringLiteral("text");
    const bool pdf = formatName == pdfName;
    SetlistSheet::Format format = SetlistSheet::Format::Text;
    if (!pdf && !SetlistSheet::formatFromName(formatName, format)) {
        err(QStringLiteral("unknown format \"%1\" (text, csv, markdown or pdf)").arg(formatName));
        return Usage;
    }
    SetlistPrint::Layout layout = SetlistPrint::Layout::Stage;
    if (args.isSet(QStringLiteral("layout"))) {
        const QString layoutName = args.value(QStringLiteral("layout"));
        if (!pdf) {
            err(QStringLiteral("--layout is for --format pdf"));
            return Usage;
        }
        if (!SetlistPrint::layoutFromName(layoutName, layout)) {
            err(QStringLiteral("unknown layout \"%1\" (stage or compact)").arg(layoutName));
            return Usage;
        }
    }
    const QString output = args.value(QStringLiteral("o"));
    if (pdf && output.isEmpty()) {
        err(QStringLiteral("--format pdf needs -o OUT"));
        return Usage;
    }

    const QString path = args.positionalArguments().at(0);
    DataHandler store;
    if (!SessionTool::openInto(store, path, args.isSet(QStringLiteral("accept-legacy"))))
        return Failed;
    const std::vector<SetlistRow> rows = SetlistSheet::rows(store);
    if (!pdf)
        return SessionTool::writeResult(SetlistSheet::render(rows, format), output);

    // main() made a QGuiApplication for this command line; a form of it that slipped by
    // is refused rather than painted without fonts.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        err(QStringLiteral("the PDF cannot be made: give the format as \"--format pdf\""));
        return Failed;
    }
    const QByteArray document = SetlistPrint::pdf(rows, layout, {QFileInfo(path).fileName(), QDate::currentDate()},
                                                  SetlistPrint::defaultPageSize());
    if (document.isEmpty()) {
        err(QStringLiteral("%1: the PDF could not be made").arg(output));
        return Failed;
    }
    const QString error = TextFileSaver::writeBytesAtomically(output, document);
    if (!error.isEmpty()) {
        err(QStringLiteral("%1: cannot be written: %2").arg(output, error));
        return Failed;
    }
    return Ok;
}
