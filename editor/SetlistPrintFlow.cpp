#include "SetlistPrintFlow.h"

#include "Dialogs.h"

#include "format/SetlistSheet.h"
#include "format/TextFileSaver.h"
#include "model/Diagnostics.h"
#include "print/SetlistPrint.h"

#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>
#include <optional>

namespace {

// The layout question; nothing when the user cancels.
std::optional<SetlistPrint::Layout> askLayout(Dialogs &dialogs, const QString &title)
{
    const int answer = dialogs.alert(
        {QCoreApplication::translate("SetlistPrintFlow", "Which layout should the setlist have?"),
         QCoreApplication::translate("SetlistPrintFlow",
                                     "Stage: one song a line in large type, to read from the floor.\n"
                                     "Compact: a table of every song's tempo, program, bank, stack and jacks."),
         {QCoreApplication::translate("SetlistPrintFlow", "Stage"),
          QCoreApplication::translate("SetlistPrintFlow", "Compact"),
          QCoreApplication::translate("SetlistPrintFlow", "Cancel")},
         title});
    if (answer == 0)
        return SetlistPrint::Layout::Stage;
    if (answer == 1)
        return SetlistPrint::Layout::Compact;
    return std::nullopt;
}

} // namespace

void SetlistPrintFlow::print(QWidget *window, const DataHandler &store, Dialogs &dialogs, const QString &sessionName)
{
    const std::optional<SetlistPrint::Layout> layout =
        askLayout(dialogs, QCoreApplication::translate("SetlistPrintFlow", "Print Setlist"));
    if (!layout)
        return;
    const std::vector<SetlistRow> rows = SetlistSheet::rows(store);
    const SetlistPrint::Heading heading{sessionName, QDate::currentDate()};
    // The printer lives as long as the preview that prints on it.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QCoreApplication::translate("SetlistPrintFlow", "Setlist of %1").arg(sessionName));
    if (*layout == SetlistPrint::Layout::Compact)
        printer->setPageOrientation(QPageLayout::Landscape);
    auto *preview = new QPrintPreviewDialog(printer.get(), window);
    preview->setObjectName(QStringLiteral("printSetlistPreview"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    Dialogs *d = &dialogs;
    QObject::connect(
        preview, &QPrintPreviewDialog::paintRequested, preview, [printer, rows, layout, heading, d](QPrinter *target) {
            if (!SetlistPrint::paint(*target, rows, *layout, heading))
                d->warn(QCoreApplication::translate("SetlistPrintFlow", "The setlist could not be printed"),
                        QCoreApplication::translate("SetlistPrintFlow", "The printer could not be started."));
        });
    preview->open();
}

void SetlistPrintFlow::exportPdf(const DataHandler &store, Dialogs &dialogs, const QString &sessionName)
{
    const std::optional<SetlistPrint::Layout> layout =
        askLayout(dialogs, QCoreApplication::translate("SetlistPrintFlow", "Export Setlist as PDF"));
    if (!layout)
        return;
    const std::vector<SetlistRow> rows = SetlistSheet::rows(store);
    const SetlistPrint::Heading heading{sessionName, QDate::currentDate()};
    Dialogs *d = &dialogs;
    dialogs.chooseFileToSave({QStringLiteral("pdf")}, [d, rows, layout, heading](const QString &chosen) {
        if (chosen.isEmpty())
            return;
        QString path = chosen;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            path += QLatin1String(".pdf");
        const QByteArray document = SetlistPrint::pdf(rows, *layout, heading, SetlistPrint::defaultPageSize());
        const QString error = document.isEmpty()
            ? QCoreApplication::translate("SetlistPrintFlow", "The PDF could not be made.")
            : TextFileSaver::writeBytesAtomically(path, document);
        if (!error.isEmpty()) {
            Diagnostics::line(QStringLiteral("could not export the setlist to %1: %2").arg(path, error));
            d->warn(QCoreApplication::translate("SetlistPrintFlow", "The setlist could not be exported"),
                    QStringLiteral("%1\n%2").arg(path, error));
        }
    });
}
