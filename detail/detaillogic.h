#pragma once
// What the detail window does with values, without widgets: loading a mode
// from the record's detail groups (and the table header), committing it back,
// the witness encoding, the paging, and the keyboard rules of the boxes.
// The window copies its controls into DetailValues, calls these, and copies back.
#include "detail/detaillayout.h"
#include "store/tablestore.h"
#include "store/transfer.h"

#include <QStringList>

#include <array>
#include <optional>

namespace detail {

using Boxes = std::array<QString, BoxCount>;

// A pair of option buttons: none selected, the first, or the second.
enum class Choice { None, First, Second };

// The window's controls as values.
struct DetailValues {
    Boxes boxes;
    Choice sex = Choice::None;     // Option2: First "M", Second "F"
    Choice with = Choice::None;    // Option1: First "Epoux", Second "Epouse"
    QString title;                 // LblRem(0)
    bool prevEnabled = true, nextEnabled = true;
    QStringList parishes;          // LstParoisse, in order
    int parishSelected = -1;
};

// The first n TAB-separated items of s into boxes 0..n-1 and the whole rest of s
// after the n-th TAB into box n (n from 0 to 15); boxes past the last item stay empty.
Boxes fillDetailBoxes(int n, const QString &s);
// Boxes from..to joined by single TABs.
QString joinBoxes(const Boxes &b, int from, int to);

// Witness groups (10 to 13): twelve items shown in ten boxes and two option pairs.
void loadWitness(const QString &group, DetailValues &v);
QString witnessGroup(const DetailValues &v);
// Witness number shown (1 to 4): the last character of the title.
int witnessNumber(const QString &title);
QString witnessTitle(int n);

// Previous-spouse pages (modes 9 and 10).
QString firstSpouseTitle(int mode);    // "Dernier Conjoint Epoux" / "... Epouse"
QString secondSpouseTitle(int mode);   // "Avant-Dernier Conjoint Epoux" / "... Epouse"
bool onSecondSpouse(const QString &title);

// Header field 3 into boxes 1..5 (split at the no-break space; box 5 takes all
// after the fourth separator) and back (always four separators).
void loadPeople(const QString &people, Boxes &b);
QString peopleField(const Boxes &b);

// "Version " + major.minor.revision of a version string such as "1.1.2".
QString versionCaption(const QString &version);

// Loads the values a mode shows on opening (modes 3 and 4 join the parents'
// groups in the first group of the pair while the window is open).
DetailValues loadMode(int mode, EntryState &entry, const TableStore &table);
// Writes the values back (OK, or Escape). Returns true when one of the entry
// window's boxes Txt(16), Txt(17), Txt(28), Txt(29) was written.
bool commitMode(int mode, const DetailValues &v, EntryState &entry, TableStore &table);

// "Suivant >" and "< Précédent" in modes 8, 9 and 10; other modes ignore them.
// Going on returns true when an entry window box was written; going back writes
// only the second spouse, whom the entry window does not show.
bool pageNext(int mode, DetailValues &v, EntryState &entry);
void pagePrevious(int mode, DetailValues &v, EntryState &entry);

// Parish list (mode 11).
enum class AddResult { Added, Duplicate, Empty };
AddResult addParish(DetailValues &v);          // box 0 into the list
void removeParish(DetailValues &v);            // the selected item, if any

// Sources prompt (mode 12): the answer becomes header field 2 unless empty.
// Characters a header field cannot hold are dropped first.
bool applySourcesAnswer(TableStore &table, const QString &answer);
extern const QString SourcesTitle;
extern const QString SourcesMessage;
extern const QString DuplicateParishMessage;

// Keyboard rules of the boxes for one typed character.
struct KeyInput {
    int mode{};
    int index{};
    QString text;        // box text before the key
    int caret{};         // start of the selection, or the caret
    QChar key;           // 13 Enter, 27 Escape, 8 Backspace, or the character
};
struct KeyOutcome {
    enum Kind { Insert, Drop, NextBox, Commit, Complete } kind = Insert;
    QChar key;           // Insert: the character to insert (maybe changed)
    QString text;        // Complete: the box's new text
    int selStart{};      // Complete: the caret...
    int selLength{};     // ...and the selection after it
};
KeyOutcome keyPress(const KeyInput &in, const TableStore &table);

bool isPlaceBox(int mode, int index);
bool isCodeBox(int mode, int index);
// Modes whose boxes hold header values, where the no-break space is refused.
inline bool headerMode(int mode) { return mode == Parishes || mode == TableProperties; }
// Text pasted into a box: TAB, CR, LF and other control characters dropped, the
// no-break space turned to a blank in header modes; nothing when the text holds a
// character outside Windows-1252 (or a non-digit for a code box).
std::optional<QString> cleanPaste(const QString &text, int mode, int index);
// Whether a typed character may enter a box at all.
bool typedCharAllowed(QChar c, int mode);

} // namespace detail
