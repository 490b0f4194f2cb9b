#pragma once
// Store and Show: the only translation between a record line and the entry
// window. The window copies its controls into an EntryState, calls these, and
// copies the state back, so the rules run (and are tested) without widgets.
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <array>

// Geometry of the three date boxes, in twips: a Gregorian month takes two
// characters, a Republican month abbreviation four (and its year two).
struct DateBoxes {
    static constexpr int MonthLeft = 4950;
    int monthMaxLength = 2;
    int monthWidth = 300;
    int yearMaxLength = 4;
    int yearWidth = 470;
    int yearLeft = MonthLeft + 400;
    int slashLeft = MonthLeft + 320;   // Label10, the second "/"

    static DateBoxes gregorianReset();           // new record
    static DateBoxes forLayout(bool republican);  // a layout set by a month typed or shown
};

struct EntryState {
    std::array<QString, record::TxtCount> txt;   // Txt(0)..Txt(30); Txt(1) holds nothing
    QString parish;                              // CmbParoisse text
    QString actLabel;                            // CmbActe text
    bool dispense{};                             // ChkDispense
    std::array<QString, record::GroupSlots> groups; // detail groups 0..16
    QString recordNumber;                        // Txtnb
    QString count;                               // LblNb
    std::array<QString, 9> previous;             // Lbl(0)..Lbl(8)
    QString previousNumber;                      // Lblnb2
    DateBoxes date;
    bool focusActe = false;                      // Show asks for the focus on CmbActe
    int dayMaxLength = 2;
};

namespace transfer {

enum Mode { Next = 1, End = 2, Previous = 3, First = 4, Typed = 5, Found = 6, StoreOnly = 7 };

enum class Result { Ok, Incompatible };

// Store (mode) then Show (mode). `target` is the typed or found record number (modes 5, 6).
Result store(TableStore &table, EntryState &s, int mode, int target = 0);
// Show (mode) alone, as Load table does with mode 2.
Result show(TableStore &table, EntryState &s, int mode, int target = 0);

// Fills the controls from a record line (step 3 of Show); false when the line is
// incompatible (fewer than 160 TABs, or a date without two "/").
bool showLine(const QString &line, EntryState &s);
// Empties the controls for a new record in the spare slot.
void showNewRecord(EntryState &s);
// Record line built from the controls (date boxes padded in place).
QString buildLine(EntryState &s);

} // namespace transfer
