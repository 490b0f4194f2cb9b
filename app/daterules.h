#pragma once
// The three date boxes, Txt(3) day, Txt(4) month and Txt(5) year. The calendar
// in force is told by the month box's maximum length alone: 2 Gregorian, 4
// Republican (a month abbreviation, a two-digit year of the Republic).
#include "app/fieldrules.h"

#include <QStringList>

namespace daterules {

extern const QString FormatHelp;   // help line and tooltip of the date boxes

// The thirteen Republican month abbreviations, in the order completion tries them.
const QStringList &republicanMonths();

// Layouts, in twips. The designed state is the one the window opens with: Republican
// limits (month length 4) with the Gregorian widths and no limit on the year.
DateBoxes designed();
DateBoxes gregorian();
DateBoxes republican();

// Month-name completion: the first abbreviation starting with prefix (case-sensitive).
std::optional<QString> completeMonth(const QString &prefix);

// The handlers for boxes 3, 4 and 5 (Enter and Backspace are dealt with before).
fieldrules::Result keyPress(int index, const fieldrules::Box &b, QChar key, const DateBoxes &date);
fieldrules::Result keyUp(int index, const fieldrules::Box &b, const DateBoxes &date);
fieldrules::Result gotFocus(const fieldrules::Box &b);
fieldrules::Result lostFocus(int index, const fieldrules::Box &b, const DateBoxes &date);

} // namespace daterules
