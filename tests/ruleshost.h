#pragma once
// A stand-in for the entry window when the field rules are driven directly:
// the 31 box texts, the date layout and the table, and a typist that applies
// every result as the window would.
#include "app/daterules.h"
#include "app/fieldrules.h"
#include "store/tablestore.h"

#include <array>

namespace ruleshost {

struct Window : fieldrules::Context {
    std::array<QString, record::TxtCount> txt;
    DateBoxes date = daterules::designed();
    const TableStore *store = nullptr;
    int beeps = 0;
    fieldrules::Focus lastFocus = fieldrules::Focus::Stay;
    QString help;

    QString boxText(int i) const override { return txt.at(i); }
    const TableStore *table() const override { return store; }
    DateBoxes dateBoxes() const override { return date; }

    // Applies a result's effects outside the box; returns the box after its key.
    fieldrules::Box apply(int index, const fieldrules::Result &r)
    {
        for (const auto &[i, t] : r.others)
            txt[i] = t;
        const fieldrules::Box b = fieldrules::applied(index, r, date);
        if (r.layout)
            date = *r.layout;
        beeps += r.beep ? 1 : 0;
        if (r.help)
            help = *r.help;
        lastFocus = r.focus;
        txt[index] = b.text;
        return b;
    }

    // One key in box `index` as it stands (press, then release).
    fieldrules::Box key(int index, fieldrules::Box b, QChar k)
    {
        b = apply(index, fieldrules::keyPress(index, b, k, *this));
        if (const fieldrules::Result up = fieldrules::keyUp(index, b, *this); up.focus != fieldrules::Focus::Stay)
            lastFocus = up.focus;
        return b;
    }

    // Keys typed into box `index`, starting from b (default: the box's text, caret at its end).
    fieldrules::Box type(int index, const QString &keys, std::optional<fieldrules::Box> start = {})
    {
        fieldrules::Box b = start.value_or(fieldrules::Box{txt[index], int(txt[index].size()), 0});
        txt[index] = b.text;
        for (QChar k : keys)
            b = key(index, b, k);
        return b;
    }

    // Tabbing into a box: its content selected.
    fieldrules::Box enter(int index)
    {
        const fieldrules::Result r = fieldrules::gotFocus(index, {txt[index], 0, 0}, *this);
        help = r.help.value_or(help);
        return r.box;
    }

    void leave(int index, const fieldrules::Box &b) { apply(index, fieldrules::lostFocus(index, b, *this)); }
};

inline TableStore tableOf(const QStringList &records)
{
    TableStore t;
    t.setContent(QStringList{QStringLiteral("Valbrune\t\t\t")} + records);   // the spare slot is added
    return t;
}

} // namespace ruleshost
