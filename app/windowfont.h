#pragma once
// The small sans-serif face the windows' layouts were drawn for, or the nearest at hand.
#include <QFont>

// Where the Windows face is missing, its metric twin (Arial's metrics) stands in.
inline QStringList windowFamilies() { return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")}; }

inline QFont smallWindowFont(QFont f)
{
    f.setFamilies(windowFamilies());
    f.setPixelSize(11);
    return f;
}
