#pragma once
// The one-page card of the record shown in the entry window: the act, both spouses
// with their parents and previous spouses, the four witnesses, the contract or the
// marriage, the notes and a footer naming the record and its table file.
#include "print/pagedoc.h"
#include "store/tablestore.h"
#include "store/transfer.h"

class QWidget;

namespace print {

// The card as drawn, from the entry window's values; `tablePath` is the open
// table's file as the window caption shows it.
PageDoc recordCard(const EntryState &entry, const QString &tablePath, const TextMeasure &measure);

} // namespace print

// The entry window's print button (PicBouton(2)): asks, shows the print dialog and
// prints the card of the record shown, stored or not. Changes nothing.
void MCImprimeFiche(QWidget *parent, const EntryState &entry, const TableStore &table);
