#pragma once
// The printed booklet of a whole table: a charter page, then the records as a
// ruled listing, twenty a page, one section per act type, marriages first.
#include "print/pagedoc.h"

#include <QStringList>
#include <array>

class QWidget;

namespace print {

struct ListingSection {
    const char16_t *code;
    const char16_t *title;
};
constexpr int SectionCount = 9;
constexpr int RowsPerPage = 20;
const std::array<ListingSection, SectionCount> &listingSections();

// The society's web address, on the charter and at the foot of every page.
QString societySite();

// One record as its listing row: the date and the husband's then the wife's five
// cells, each cell followed by a TAB.
QString listingRow(const QString &recordLine);

// Ascending by the Windows-1252 codes of the text after the first TAB (the date
// does not count); rows with equal keys keep their order.
void sortListingRows(QStringList &rows);

struct Listing {
    QString commune;
    std::array<QStringList, SectionCount> rows;    // sorted, in section order

    static int pagesFor(qsizetype rows) { return int((rows + RowsPerPage - 1) / RowsPerPage); }
    int pageCount() const;                          // T, the charter page not counted
};

// The listing of a table file's lines (line 0 the header): records sorted into the
// sections by their act code, a record of any other code left out.
Listing collectListing(const QStringList &tableLines);

// The charter's three paragraphs, and each broken into its printed lines.
QStringList charterParagraphs();
QStringList wrapCharter(const QString &paragraph, const TextMeasure &measure);
Page charterPage(const TextMeasure &measure);

// One listing page: the head, the rows (at most twenty) and the foot with page number.
Page listingPage(const QString &title, const QString &commune, const QStringList &rows, int number,
                 const TextMeasure &measure);

struct PageRange;
// The charter page, then the listing pages numbered first..last (1..pageCount()),
// or those the range names.
PageDoc listingDocument(const Listing &listing, int first, int last, const TextMeasure &measure);
PageDoc listingDocument(const Listing &listing, const PageRange &range, const TextMeasure &measure);

} // namespace print

// The table manager's print button (CmdPrint_Click): prints the table file at
// `tablePath` (an empty path when no table is selected) from its own reading of
// the file; the table open in the entry window is never touched.
void printTableListing(QWidget *parent, const QString &tablePath);
