#include "app/search.h"

#include <algorithm>

namespace search {

QString textAfterKey(const QString &t, int p, int s, QChar key)
{
    s = qBound(0, s, int(t.size()) - p);
    if (key == QChar(8)) {
        if (s > 0)
            return t.left(p) + t.mid(p + s);
        if (p >= 1)
            return t.left(p - 1) + t.mid(p);
        return t;
    }
    if (key == QChar(127)) {
        // Delete: the selection, else the character after the caret.
        return t.left(p) + t.mid(p + std::max(s, 1));
    }
    return t.left(p) + key + t.mid(p + s);
}

} // namespace search
