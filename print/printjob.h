#pragma once
// The dialogs around a print job (question, print dialog, messages) behind hooks,
// so that tests and scripts can drive a whole print to a PDF file without a window.
#include "print/pagedoc.h"

#include <QPageRanges>
#include <QPrinter>
#include <functional>

class QWidget;

namespace print {

struct Hooks {
    // Yes/No question; true for Yes.
    std::function<bool(QWidget *parent, const QString &caption, const QString &text)> ask;
    // The print dialog on `printer` offering pages minPage..maxPage; false when cancelled.
    // The chosen range is read back from the printer (printRange, fromPage, toPage).
    std::function<bool(QWidget *parent, QPrinter &printer, int minPage, int maxPage)> printDialog;
    // An error message, warning icon, title "Velder".
    std::function<void(QWidget *parent, const QString &text)> warn;
};

// The hooks in force; they show the real dialogs until replaced.
Hooks &hooks();
void restoreDefaultHooks();

// The system print dialog: no selection choice, the page range minPage..maxPage;
// print to file (PDF) stays offered except on Windows, where a PDF printer is an
// ordinary printer.
bool showPrintDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage);

// A4, portrait, coordinates over the whole sheet; the job is named `docName`, which
// is also the name the print dialog proposes for a PDF file.
void setupPrinter(QPrinter &printer, const QString &docName);

// Pages chosen in the print dialog: first..last (1..maxPage when all were kept),
// and when a list such as "1, 3-4" was typed, only the pages it names.
struct PageRange {
    int first{};
    int last{};
    QPageRanges only;   // empty: every page from first to last
    bool contains(int page) const
    {
        return page >= first && page <= last && (only.isEmpty() || only.contains(page));
    }
};
PageRange chosenRange(const QPrinter &printer, int maxPage);

// Messages of a print that could not be made.
QString cannotStartText();
QString interruptedText();

// Prints the document; a print that cannot start or stops half-way is reported
// through hooks().warn.
void printDocument(QWidget *parent, const PageDoc &doc, QPrinter &printer);

// A file-name-safe stem for the job name ("Valmorin", "Valmorin - fiche 12").
QString jobName(const QString &tablePath, const QString &suffix = {});

} // namespace print
