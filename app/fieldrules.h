#pragma once
// The keyboard rules of the entry window's 31 text boxes, Txt(0)..Txt(30), as
// plain functions. Each handler takes the box as it stands before the event
// (text, caret, selection) and returns what the window must do: the box's new
// text and selection, the key the box then inserts (0: none), a beep, a focus
// move, and changes to other boxes (the father's surname, the date layout).
// The widget (FieldEdit) only reads its state, calls these and applies the result.
#include "store/recordmodel.h"
#include "store/transfer.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

class TableStore;

namespace fieldrules {

// Character codes that mean something to the rules.
namespace key {
constexpr char16_t Backspace = 8;
constexpr char16_t Enter = 13;
constexpr char16_t CtrlBackspace = 0x7F;   // DEL, which no key types here: deletes the word before the caret
} // namespace key

enum class Rule { None, InitialCapitals, Capitals, Date, PlaceCode, EventMarker };
enum class Align { Left, Center, Right };

struct BoxInfo {
    int maxLength;   // 0: no limit
    Align align;     // as designed
    Rule rule;
};

// The table of the 31 boxes.
const BoxInfo &boxInfo(int index);
// The limit on typed characters of a box now; the month and year boxes follow the date layout.
int maxLength(int index, const DateBoxes &date);

// Well-known boxes.
namespace box {
constexpr int Day = 3, Month = 4, Year = 5;
constexpr int HusbandSurname = 6, HusbandOrigin = 8, HusbandFatherMarker = 12;
constexpr int WifeSurname = 18, WifeOrigin = 20, WifeFatherMarker = 24;
} // namespace box

extern const QString MarkerHelp;   // help line of the event marker boxes

// A text box: text, caret (characters before it) and selection length (the
// selected characters start at the caret).
struct Box {
    QString text;
    int caret{};
    int selLength{};
    friend bool operator==(const Box &, const Box &) = default;
};
// A completion: the caret after the letters typed, the rest of the text selected.
inline Box completion(const QString &text, int typed) { return {text, typed, int(text.size()) - typed}; }

// What the rules may read besides the box itself.
class Context {
public:
    virtual ~Context() = default;
    virtual QString boxText(int index) const = 0;       // Txt(index).Text
    virtual const TableStore *table() const = 0;        // origin completion; may be null
    virtual DateBoxes dateBoxes() const = 0;            // the date layout in force
};

enum class Focus { Stay, NextControl, Month, Year, Dispense };

struct Result {
    Box box;                           // the box before the key is inserted
    QChar key;                         // inserted over the selection; 0 nothing
    bool beep = false;
    Focus focus = Focus::Stay;
    std::optional<Align> align;
    std::optional<QString> help;       // new help line text
    std::optional<DateBoxes> layout;   // new date layout
    QList<std::pair<int, QString>> others;  // other boxes rewritten: (index, text)
};

// The four handlers.
Result gotFocus(int index, const Box &b, const Context &ctx);
Result keyPress(int index, const Box &b, QChar key, const Context &ctx);
Result keyUp(int index, const Box &b, const Context &ctx);
Result lostFocus(int index, const Box &b, const Context &ctx);

// What a text box does with a key after the handler: Backspace and Ctrl+Backspace
// delete, any other key replaces the selection unless the box is full (maxLength 0: no limit).
Box insertKey(const Box &b, QChar key, int maxLength = 0);
// A result applied to box `index`, as the window would: the key inserted under the
// date layout in force after the result (its other effects are not applied).
Box applied(int index, const Result &r, const DateBoxes &date);

// Case of one character kept inside Windows-1252.
QChar upperKey(QChar c);
QChar lowerKey(QChar c);

// The house-style pieces, exposed for reuse.
// Rewrites the particle written in capitals just before the caret (space or apostrophe typed).
QString lowerParticles(const QString &t, int p);
// Origin completion in box `index` (the husband's or the wife's origin): the first record
// (lines 1..N) whose origin of that spouse, field 9 or 59, starts with prefix, read from a
// column that follows the table's lines (UI thread only).
std::optional<QString> originProposal(const TableStore &table, int index, const QString &prefix);

} // namespace fieldrules
