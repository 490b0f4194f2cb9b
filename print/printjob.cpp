#include "print/printjob.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>

namespace print {

namespace {

Hooks defaultHooks()
{
    Hooks h;
    h.ask = [](QWidget *parent, const QString &caption, const QString &text) {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
               == QMessageBox::Yes;
    };
    h.printDialog = showPrintDialog;
    h.warn = [](QWidget *parent, const QString &text) {
        QMessageBox::warning(parent, QStringLiteral("Velder"), text);
    };
    return h;
}

} // namespace

Hooks &hooks()
{
    static Hooks h = defaultHooks();
    return h;
}

void restoreDefaultHooks()
{
    hooks() = defaultHooks();
}

bool showPrintDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage)
{
    // Qt's own options stand: a page range, no selection, and printing to a PDF file,
    // the volunteer's only way out without a printer.
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(minPage, maxPage);
    printer.setFromTo(minPage, maxPage);
    return dialog.exec() == QDialog::Accepted;
}

void setupPrinter(QPrinter &printer, const QString &docName)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);   // a default printer may start in landscape
    printer.setFullPage(true);
    printer.setDocName(docName);
}

PageRange chosenRange(const QPrinter &printer, int maxPage)
{
    PageRange r{1, maxPage, {}};
    if (printer.printRange() != QPrinter::PageRange)
        return r;
    // From and to are the first and last of the page ranges in Qt 6.
    const QPageRanges ranges = printer.pageRanges();
    if (!ranges.isEmpty()) {
        r.first = ranges.firstPage();
        r.last = ranges.lastPage();
        if (ranges.toRangeList().size() > 1)
            r.only = ranges;
    }
    r.first = qBound(1, r.first, maxPage);
    r.last = qBound(r.first, r.last, maxPage);
    return r;
}

QString cannotStartText()
{
    return QStringLiteral("L'impression n'a pas pu commencer. Vérifiez l'imprimante choisie ou, pour un fichier, "
                          "son dossier et son nom, puis recommencez.");
}

QString interruptedText()
{
    return QStringLiteral("L'impression a été interrompue : l'imprimante ou le fichier n'a pas reçu toutes les pages.");
}

void printDocument(QWidget *parent, const PageDoc &doc, QPrinter &printer)
{
    // The dialog may have changed the sheet: the layout is drawn for A4 over the whole page.
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    const RenderResult r = render(doc, &printer);
    if (r != RenderResult::Ok)
        hooks().warn(parent, r == RenderResult::CannotBegin ? cannotStartText() : interruptedText());
}

QString jobName(const QString &tablePath, const QString &suffix)
{
    QString stem = QFileInfo(tablePath).completeBaseName();
    if (stem.isEmpty())
        stem = QStringLiteral("Velder");
    if (!suffix.isEmpty())
        stem += QStringLiteral(" - ") + suffix;
    // A name the print dialog can offer as a file name.
    for (QChar &c : stem)
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    return stem;
}

} // namespace print
