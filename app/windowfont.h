#pragma once
// The small sans-serif face the windows' layouts were drawn for, or the nearest at hand.
#include <QFont>

inline QFont smallWindowFont(QFont f)
{
    f.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")});   // Arial's metrics
    f.setPixelSize(11);
    return f;
}
