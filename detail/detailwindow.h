#pragma once
// The detail window's one entry point, for every caller: the entry window's
// buttons CmdRq(0..6), CmdCM, CmdTemoin, PicBouton 0 and 3, the dispensation
// box, the table manager's new table and the import (table properties).
#include "store/tablestore.h"
#include "store/transfer.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QUrl;
class QWidget;

namespace detail {

class FrmRem;

// The detail mode: 0 while the window is closed, 1 to 13 while it is open.
inline qint16 detailMode = 0;

// Everything modal or outside the program goes through these, so tests can
// answer them. Empty members fall back to the real dialogs and the desktop.
struct Hooks {
    // The one-line prompt: returns the text typed, empty on Cancel.
    std::function<QString(QWidget *parent, const QString &title, const QString &message, const QString &initial)> prompt;
    // A warning message box with an OK button.
    std::function<void(QWidget *parent, const QString &title, const QString &text)> warning;
    // Opens a link with the desktop (the about box's mail address).
    std::function<void(const QUrl &url)> openUrl;
    // Runs once the window is shown, before the user can act (tests drive it here).
    std::function<void(FrmRem &window)> shown;
};
Hooks &hooks();

// The program's version as the build gives it.
QString programVersion();

// The mode each CmdRq(index) button opens: 0 the parish list, 1 to 3 the
// husband's details, parents and previous spouses, 4 to 6 the wife's.
constexpr int modeForCmdRq(int index)
{
    constexpr int modes[7] = {11, 1, 4, 9, 2, 3, 10};
    return index >= 0 && index < 7 ? modes[index] : 0;
}
// CmdCM opens the contract when its caption is "CM" (the act is a marriage),
// the marriage details otherwise.
inline int modeForCmdCM(const QString &caption)
{
    return caption == QLatin1String("CM") ? 5 : 7;
}

} // namespace detail

// Opens the detail window modally in `mode` (1 to 13) and returns when it has
// been closed, its values committed; returns 0 (nothing done) for a mode out of
// range or while the window is already open, else 1.
//
// Modes and callers:
//   1 CmdRq(1), 4 CmdRq(2), 9 CmdRq(3), 2 CmdRq(4), 3 CmdRq(5), 10 CmdRq(6),
//   11 CmdRq(0), 5 CmdCM when its caption is "CM", 7 CmdCM otherwise,
//   6 the dispensation box, 8 CmdTemoin, 12 PicBouton(0), 13 PicBouton(3),
//   12 the table manager (new table) and the import, with a TableStore whose header
//   fields are empty: OK leaves the commune, sources and people in it.
//
// What it reads and writes: entry.groups[] (modes 1 to 10), entry.txt[16], [17]
// (mode 9) and [28], [29] (mode 10), calling entryChanged() as soon as those four
// are written; table.commune, sources, people (mode 12) and parishList (mode 11:
// refill CmbParoisse from table.parishNames() afterwards). Place completion reads
// the table's record lines.
int openDetailWindow(QWidget *parent, int mode, EntryState &entry, TableStore &table,
                     const std::function<void()> &entryChanged = {});
