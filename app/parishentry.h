#pragma once
// The parish box takes nothing but the table's parishes: each keystroke completes
// the text to the first parish of the list (in list order) that begins with what
// has been typed, or is refused.
#include <QString>
#include <QStringList>

namespace parish {

struct KeyResult {
    enum Kind {
        Pass,      // Backspace: the box deletes as usual
        NextField, // Enter: move on to the next field
        Completed, // text, caret and selection below
        Refused    // not a beginning of any parish: tell the user, text below unchanged
    };
    Kind kind = Pass;
    QString text;
    int caret{};
    int selectionLength{};
};

// t the box's text, p the caret, 0 to t's length (the start of any selection, which the key replaces),
// key the character typed (QChar(8) for Backspace, QChar(13) for Enter).
KeyResult key(const QString &t, int p, QChar key, const QStringList &parishes);

// Case of a character typed where names take initial capitals: upper case at the
// start and after a space, an apostrophe, "(", "-" or "/", lower case elsewhere.
QChar initialCapitalCase(const QString &t, int p, QChar key);
// An apostrophe typed at p after a "D" standing alone: the elided "de", lowered to "d".
void lowerElidedD(QString &t, int p);

} // namespace parish
