#pragma once
// Small helpers shared by the tests: invented records and files in a temporary folder.
#include <csignal>
#include <sys/resource.h>
#include "store/cp1252.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>
#include <QTranslator>
#endif

namespace testutil {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
// The lines of a file of tests/data/ (UTF-8), without blank lines and # comments.
inline QStringList dataLines(const QString &name)
{
    QFile f(qEnvironmentVariable("VELDER_TEST_DATA") + u'/' + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read test data %s", qPrintable(f.fileName()));
    QStringList out = QString::fromUtf8(f.readAll()).split(u'\n');
    out.removeIf([](const QString &l) { return l.isEmpty() || l.startsWith(u'#'); });
    return out;
}
// A table of cases of tests/data/: a row a line, words split at blanks, "quoted" words kept whole, a # word ending the row.
inline QList<QStringList> caseRows(const QString &name)
{
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    QList<QStringList> rows;
    for (const QString &l : dataLines(name)) {
        QStringList &row = rows.emplace_back();
        for (const QRegularExpressionMatch &m : word.globalMatch(l)) {
            if (m.captured(2).startsWith(u'#'))
                break;
            row << (m.hasCaptured(2) ? m.captured(2) : m.captured(1));
        }
    }
    return rows;
}
// A word of a case table as bytes: \r, \n, \t and \xHH stand for the bytes they name.
inline QByteArray bytesOf(const QString &word)
{
    QByteArray out = word.toLatin1().replace("\\r", "\r").replace("\\n", "\n").replace("\\t", "\t");
    for (qsizetype at = 0; (at = out.indexOf("\\x", at)) >= 0; ++at)
        out.replace(at, 4, QByteArray(1, char(out.mid(at + 2, 2).toInt(nullptr, 16))));
    return out;
}
// A record line with the given fields set by name (others empty; "MA" and "0" by default).
inline QString recordLine(const QList<QPair<QString, QString>> &values)
{
    QStringList f(record::FieldCount);
    f[2] = QStringLiteral("MA"), f[5] = QStringLiteral("0");
    for (const auto &[name, value] : values) {
        Q_ASSERT(record::fieldPosition(name) > 0);
        f[record::fieldPosition(name) - 1] = value;
    }
    return record::joinFields(f);
}
// A record where every field holds its own distinct text.
inline QString fullRecordLine(int n)
{
    QStringList f;
    for (int i = 1; i <= record::FieldCount; ++i)
        f << QStringLiteral("v%1é%2").arg(n).arg(i);
    f[2] = QStringLiteral("CM"), f[4] = QStringLiteral("03/05/1815"), f[5] = QStringLiteral("1");
    return record::joinFields(f);
}
inline QString header(const QString &commune = QStringLiteral("Valbrune"),
                      const QStringList &parishes = {QStringLiteral("Saint-Martin"), QStringLiteral("Notre-Dame")})
{
    const QChar nb = record::Nbsp;
    return commune + QStringLiteral("\t1800 à 1850_AD : 3E1\t") + QStringList{"Ana", "2024", "Bo", "Cy", "Étude"}.join(nb)
           + QStringLiteral("\t") + parishes.join(nb);
}
inline QByteArray fileBytes(const QStringList &lines)
{
    QByteArray out;
    for (const auto &l : lines)
        out += cp1252::encode(l) + "\r\n";
    return out;
}
// A table of these records under the usual header.
inline TableStore tableOf(const QStringList &records)
{
    TableStore t;
    t.setContent(QStringList{header()} + records);   // the spare slot is added
    return t;
}
// Writes past `bytes` fail (EFBIG, as on a full disk) while it lives, for root too.
struct SizeLimit {
    rlimit before{};
    explicit SizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before);
        const rlimit limit{bytes, before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit() { setrlimit(RLIMIT_FSIZE, &before); }
};
#ifdef QT_WIDGETS_LIB
// Pastes through the box's right-click menu, its words translated; false if it has no Paste or outlives its closing.
inline bool pasteByMenu(QWidget *box)
{
    struct French : QTranslator {
        bool isEmpty() const override { return false; }
        QString translate(const char *c, const char *s, const char *, int) const override { return QByteArray(c) + s == "QLineEdit&Paste" ? "Co&ller" : QString(); }
    } french;
    QCoreApplication::installTranslator(&french);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), box->mapToGlobal(QPoint()));
    QApplication::sendEvent(box, &event);
    QPointer<QMenu> menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *paste = menu ? menu->findChild<QAction *>(QStringLiteral("edit-paste")) : nullptr;
    if (paste)
        paste->trigger(), menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return paste && !menu;
}
#endif

} // namespace testutil
