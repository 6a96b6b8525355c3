#pragma once

#include <QString>

class DataHandler;
class Dialogs;
class QWidget;

// File ▸ Print Setlist… and File ▸ Export Setlist as PDF…: each asks the layout (stage
// or compact), then shows the print preview or asks where to save the PDF. The setlist
// is taken as it is when the command is given; the header names the session by
// `sessionName` (its file name, or "Untitled").
namespace SetlistPrintFlow {

// The preview ("printSetlistPreview") opens over `window` without blocking it.
void print(QWidget *window, const DataHandler &store, Dialogs &dialogs, const QString &sessionName);
// The PDF is written whole or not at all; a failure is shown with the system's reason.
void exportPdf(const DataHandler &store, Dialogs &dialogs, const QString &sessionName);

} // namespace SetlistPrintFlow
