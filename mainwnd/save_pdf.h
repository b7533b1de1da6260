// "SAVE AS PDF" of the main window: asks for a file name, writes every page of the list, in
// order, into that one PDF while the activity dialog shows, reports the outcome and offers to
// clear the list. The PDF itself comes from the GUI-free builder (pdf/pdf_builder.h); this
// module adds the dialogs, the remembered save folder and the busy window around it.
#pragma once

class QWidget;

// Runs the command with `owner` (the main dialog) as the owner of every question. Returns 0
// when the PDF was written, 1 when nothing was done (no pages, cancelled), else a negative
// value (the user has been told or the log says why).
int OnSavePdf(QWidget* owner);

// Makes "SAVE AS PDF" available to the main dialog; call once at start-up before the main
// dialog is built.
void RegisterSavePdfCommand();
