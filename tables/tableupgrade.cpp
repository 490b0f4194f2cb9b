#include "tables/tableupgrade.h"

#include "store/lineends.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QFile>
#include <QFileInfo>

namespace tableupgrade {

namespace {

// Index of the n-th TAB after index `from` (from = -1 counts from the start).
qsizetype tabAfter(const QString &s, qsizetype from, int n)
{
    qsizetype p = from;
    for (int i = 0; i < n && (p = s.indexOf(record::Tab, p + 1)) >= 0; ++i) {
    }
    return p;
}

// The field that starts just after the TAB at index p.
QString fieldAfter(const QString &s, qsizetype p)
{
    return s.mid(p + 1).section(record::Tab, 0, 0);
}

} // namespace

int fieldCount(QStringView line)
{
    // Every TAB counts, a leading one too: a record whose place is empty is still
    // an old record to upgrade, and a 160-field line is never taken for one.
    return int(line.count(record::Tab)) + 1;
}

QString upgradeLine(const QString &line)
{
    if (fieldCount(line) != OldFieldCount)
        return line;
    QString s = line;
    // The husband's surname is old field 7; his father's first names old field 17.
    qsizetype p = tabAfter(s, -1, 6);
    const QString husband = fieldAfter(s, p);
    p = tabAfter(s, p, 10);
    s.insert(p + 1, fieldAfter(s, p).isEmpty() ? QString(record::Tab) : husband + record::Tab);
    // Forty TABs further stands the wife's surname (field 57 of the new line), and
    // ten after it her father's first names.
    p = tabAfter(s, p, 40);
    const QString wife = fieldAfter(s, p);
    p = tabAfter(s, p, 10);
    s.insert(p + 1, fieldAfter(s, p).isEmpty() ? QString(record::Tab) : wife + record::Tab);
    return s;
}

void upgradeLines(QStringList &lines)
{
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (fieldCount(lines.at(i)) == OldFieldCount)
            lines[i] = upgradeLine(lines.at(i));
    }
}

State inspect(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return State::Missing;
    if (!info.isFile())
        return State::Unreadable;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return State::Unreadable;

    // Only the header line and the first record line matter: read no further than
    // the end of the second line, with the lines a table reading gives.
    // The lines are taken piece by piece: a header of many megabytes is counted
    // through, never held.
    lineends::Splitter splitter(lineends::endsOf(f));
    int ended = 0;   // lines ended so far
    int tabs = 0;    // in the second line
    bool second = false;
    const auto take = [&](QByteArrayView text, bool end) {
        if (ended == 1) {
            second = second || !text.isEmpty();
            tabs += int(text.count('\t'));
        }
        ended += end;
        return ended < 2;
    };
    QByteArray block(1 << 20, Qt::Uninitialized);
    bool any = false;
    for (;;) {
        const qint64 got = f.read(block.data(), block.size());
        if (got < 0)
            return State::Unreadable;
        if (got == 0) {
            splitter.finishPieces(take);
            break;
        }
        any = true;
        if (!splitter.feedPieces(QByteArrayView(block.constData(), got), take))
            break;
    }
    if (!any)
        return State::Empty;
    return second && tabs + 1 == OldFieldCount ? State::OldLayout : State::Current;
}

UpgradeResult upgradeTable(const QString &path)
{
    QStringList lines;
    if (!readLines(path, lines))
        return UpgradeResult::Unreadable;
    upgradeLines(lines);
    return writeLinesAtomic(path, lines) ? UpgradeResult::Done : UpgradeResult::WriteFailed;
}

QString inspectionMessage(State state, const QString &fileName)
{
    switch (state) {
    case State::Empty:
        return QStringLiteral("La table « %1 » est vide : elle n'a pas même de ligne d'en-tête et ne peut pas être ouverte.")
            .arg(fileName);
    case State::Missing:
        return QStringLiteral("La table « %1 » n'existe plus dans le dossier de l'application.").arg(fileName);
    case State::Unreadable:
        return QStringLiteral("La table « %1 » ne peut pas être lue. Elle est peut-être utilisée par une autre "
                              "application ou protégée en lecture.")
            .arg(fileName);
    case State::Current:
    case State::OldLayout:
        break;
    }
    return {};
}

QString upgradeFailedMessage(const QString &fileName)
{
    return QStringLiteral("La table « %1 » est enregistrée dans l'ancien format à 159 champs et n'a pas pu être "
                          "convertie. Vérifiez que le fichier et le dossier de l'application ne sont pas en lecture "
                          "seule, puis recommencez.")
        .arg(fileName);
}

} // namespace tableupgrade
