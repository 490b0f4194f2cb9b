#include "app/parishentry.h"

#include "store/cp1252.h"

namespace parish {

QChar initialCapitalCase(const QString &t, int p, QChar key)
{
    if (p <= 0)
        return cp1252::upper(key);
    const QChar before = t.at(p - 1);
    if (before == u' ' || before == u'\'' || before == u'(' || before == u'-' || before == u'/')
        return cp1252::upper(key);
    return cp1252::lower(key);
}

void lowerElidedD(QString &t, int p)
{
    if (p >= 1 && p <= t.size() && t.at(p - 1) == u'D' && (p == 1 || t.at(p - 2) == u' '))
        t[p - 1] = u'd';
}

KeyResult key(const QString &t0, int p, QChar k, const QStringList &parishes)
{
    KeyResult r{};
    QString t = t0;
    if (k == QChar(13)) {
        r.kind = KeyResult::NextField;
        return r;
    }
    if (k == QChar(8))
        return r;   // Pass: the box deletes as usual
    k = initialCapitalCase(t, p, k);
    if (k == u'\'')
        lowerElidedD(t, p);
    const QString prefix = t.left(p) + k;
    for (const QString &item : parishes) {
        if (item.size() >= prefix.size() && QStringView(item).left(prefix.size()) == prefix) {
            r.kind = KeyResult::Completed;
            r.text = item;
            r.caret = p + 1;
            r.selectionLength = int(item.size()) - (p + 1);
            return r;
        }
    }
    r.kind = KeyResult::Refused;
    r.text = t;
    r.caret = p;
    r.selectionLength = 0;
    return r;
}

} // namespace parish
