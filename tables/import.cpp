#include "tables/import.h"
#include "tables/filefilter.h"

#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/lineends.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <array>
#include <cerrno>
#include <cmath>

namespace importer {

namespace {

constexpr QChar FieldSeparator = u',';   // comma layout
constexpr QChar TextQualifier = u'"';
constexpr int TabColumns = 19;
constexpr int CommaValues = 216;         // values 0..215, the last one holds the rest
constexpr qsizetype Chunk = 1 << 20;

const QString InUseText = QStringLiteral(
    "Ce fichier est déjà utilisé par une autre application. Veuillez fermer le fichier puis recommencer");
const QString IncompatibleText = QStringLiteral("Ce fichier n'est pas un fichier compatible");
const QString OpenTitle = QStringLiteral("Importation de Tables de Mariages");
const QString Filter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT|Fichiers ASC (*.ASC)|*.ASC|Fichiers KRV (*.KRV)|*.KRV|");

// What a field may hold: control characters (TAB, CR, LF among them) become
// blanks, in place, so that words stay apart and the record line keeps its 161 fields.
void blankControls(QString &text)
{
    const QChar *d = text.constData();
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && d[i].unicode() >= 32 && d[i].unicode() != 127)
        ++i;
    if (i == n)
        return;   // the usual case: the text is not copied
    for (QChar &c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            c = u' ';
}

QString clean(QStringView text)
{
    QString out = text.toString();
    blankControls(out);
    return out;
}

// A parish name goes into the header's list, joined by the no-break space.
QString cleanParish(QStringView text)
{
    QString out = clean(text);
    out.replace(record::Nbsp, u' ');
    return out;
}

QString capitalised(const QString &text)
{
    if (text.isEmpty())
        return text;
    return cp1252::upper(text.left(1)) + cp1252::lower(text.mid(1));
}

bool isBlankLine(QByteArrayView line)
{
    // DOS files may end with Ctrl+Z; blank lines between records are no record.
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\x1a')
            return false;
    return true;
}

int countFieldsBytes(QByteArrayView line, char sep)
{
    int count = 1;
    for (qsizetype i = 1; i < line.size(); ++i)
        if (line[i] == sep)
            ++count;
    return count;
}

// ---- the TAB layout's people --------------------------------------------------
// The list gives each parent and the previous spouse as free text in one column.
// Rules, chosen to fit the lists volunteers receive:
//  - the text is trimmed; one of the "empty brackets" forms names nobody;
//  - a "+" or "†" anywhere (alone, glued to a word or in brackets) is the event
//    marker "+" (the parent was dead at the marriage) and is taken out;
//  - remaining brackets are read as blanks ("Jean (Baptiste)" is two first names);
//  - a word whose letters are all capitals (two letters at least, an elided
//    "d'"/"l'" before them allowed) is part of the surname, and so are the
//    lower-case particles ("de", "du", "des", "le", "la", "van", "von", "di",
//    "del", "d'") standing just before such a word; surname words keep their
//    order and are written in capitals with their particles in lower case;
//  - every other word is a first name, the lot in title case;
//  - a text without any capitals word has no surname: it is all first names
//    (nothing is guessed, the volunteer completes the surname);
//  - for the previous spouse a leading "veuf", "veuve", "vf" or "vve", and a
//    "de"/"d'" after it, are dropped; a marker there is dropped too (the field
//    does not exist: a previous spouse is dead or divorced by definition);
//  - the father's surname is always the spouse's; a capitals surname in the
//    father's column that differs from it is kept after his first names, as
//    written, rather than lost.

struct Person {
    QString surname, firstNames, marker;
};

bool isEmptyBrackets(const QString &t)
{
    static const std::array forms{
        QStringLiteral("( )()"), QStringLiteral("()()"), QStringLiteral("( )( )"), QStringLiteral("()( )"),
        QStringLiteral("() ()"), QStringLiteral("( ) ()"), QStringLiteral("( ) ( )"), QStringLiteral("() ( )")};
    for (const auto &f : forms)
        if (t == f)
            return true;
    return false;
}

// The column with its empty forms removed: empty when it names nobody.
QString personText(const QString &column)
{
    const QString t = clean(column).trimmed();
    return isEmptyBrackets(t) ? QString() : t;
}

bool isParticle(const QString &w)
{
    static const QSet<QString> particles{QStringLiteral("de"), QStringLiteral("du"), QStringLiteral("des"),
                                         QStringLiteral("le"), QStringLiteral("la"), QStringLiteral("van"),
                                         QStringLiteral("von"), QStringLiteral("di"), QStringLiteral("del"),
                                         QStringLiteral("d'"), QStringLiteral("l'")};
    return particles.contains(w);
}

// The length of the elided particle ("d'", "l'") that w starts with before a name, or 0.
qsizetype elision(const QString &w)
{
    const QChar first = w.isEmpty() ? QChar() : w[0].toLower();
    return w.size() > 2 && (first == u'd' || first == u'l') && (w[1] == u'\'' || w[1] == u'’') ? 2 : 0;
}

bool isCapitalsWord(const QString &w)
{
    int letters = 0;
    for (QChar c : QStringView(w).mid(elision(w))) {
        if (!c.isLetter())
            continue;
        if (c.isLower())
            return false;
        ++letters;
    }
    return letters >= 2;
}

// "d'ARTOIS" keeps its particle in lower case, the name in capitals ("O'BRIEN" has none).
QString surnameWord(const QString &w)
{
    const qsizetype e = elision(w);
    return cp1252::lower(w.left(e)) + cp1252::upper(w.mid(e));
}

Person parsePerson(const QString &column, bool previousSpouse)
{
    Person p;
    QString t = personText(column);
    if (t.isEmpty())
        return p;
    if (t.contains(u'+') || t.contains(QChar(0x2020))) {
        p.marker = QStringLiteral("+");
        t.remove(u'+');
        t.remove(QChar(0x2020));
    }
    t.replace(u'(', u' ').replace(u')', u' ');
    QStringList words = t.split(u' ', Qt::SkipEmptyParts);
    if (previousSpouse) {
        p.marker.clear();
        static const QSet<QString> widowed{QStringLiteral("veuf"), QStringLiteral("veuve"), QStringLiteral("vf"),
                                           QStringLiteral("vve"), QStringLiteral("vf."), QStringLiteral("vve.")};
        if (!words.isEmpty() && widowed.contains(cp1252::lower(words.first()))) {
            words.removeFirst();
            if (!words.isEmpty() && cp1252::lower(words.first()) == QLatin1String("de"))
                words.removeFirst();
            else if (!words.isEmpty() && cp1252::lower(words.first()).startsWith(QLatin1String("d'"))
                     && words.first().size() > 2)
                words.first() = words.first().mid(2);
        }
    }
    QStringList surname, first;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &w = words.at(i);
        if (isCapitalsWord(w)) {
            surname << surnameWord(w);
            continue;
        }
        // A particle belongs to the surname when a capitals word follows it (past the last word: none).
        if (isParticle(w) && isCapitalsWord(words.value(i + 1))) {
            surname << w;
            continue;
        }
        first << w;
    }
    p.surname = surname.join(u' ');
    p.firstNames = titleCase(first.join(u' '));
    return p;
}

// The origin column: a place, then perhaps its two-character département code
// ("89", "2A", "2B", bare or in brackets) after a blank. The code goes to the
// code field; a column that is only a code gives no place. Returns the place and the code.
std::pair<QString, QString> splitOrigin(const QString &column)
{
    QString t = clean(column).trimmed();
    QString code;
    auto isCode = [](const QString &c) {
        if (c.size() != 2)
            return false;
        if (c[0].isDigit() && c[1].isDigit())
            return true;
        return c[0] == u'2' && (c[1].toUpper() == u'A' || c[1].toUpper() == u'B');
    };
    const qsizetype blank = t.lastIndexOf(u' ');
    QString bare = t.mid(blank + 1);   // the last word, or the whole when it is one
    if (bare.startsWith(u'(') && bare.endsWith(u')'))
        bare = bare.mid(1, bare.size() - 2);
    if (isCode(bare)) {
        code = bare.toUpper();
        t = t.left(blank + 1).trimmed();   // nothing when the code stands alone
    }
    return {titleCase(t), code};
}

void fillTabSpouse(QStringList &f, const QStringList &col, int firstColumn, int firstField)
{
    // col is 0-based: column n of the list is col[n - 1].
    auto c = [&](int n) { return col.at(n - 1); };
    auto set = [&](int field, const QString &v) { f[firstField + field - 7 - 1] = v; };
    const QString surname = cp1252::upper(clean(c(firstColumn)).trimmed());
    set(7, surname);
    set(8, titleCase(clean(c(firstColumn + 1)).trimmed()));
    const auto [place, code] = splitOrigin(c(firstColumn + 2));
    set(9, place);
    set(10, code);

    const Person father = parsePerson(c(firstColumn + 3), false);
    // The father's surname is the spouse's, whenever the list names a father.
    if (!personText(c(firstColumn + 3)).isEmpty())
        set(17, surname);
    QString fatherNames = father.firstNames;
    if (!father.surname.isEmpty() && father.surname != surname)
        fatherNames = (fatherNames + u' ' + father.surname).trimmed();
    set(18, fatherNames);
    set(19, father.marker);

    const Person mother = parsePerson(c(firstColumn + 4), false);
    set(28, mother.surname);
    set(29, mother.firstNames);
    set(30, mother.marker);

    const Person previous = parsePerson(c(firstColumn + 5), true);
    set(39, previous.surname);
    set(40, previous.firstNames);
}

// ---- the comma layout's columns -----------------------------------------------

struct ComplementedColumn {
    int field;        // offset from the block's first field, 0-based
    int column;       // offset from the block's first column
    int complement;   // offset of the complement column, -1 when none
};

// A spouse: fields 7..16 from b = 4 (husband) or 19 (wife).
constexpr std::array<ComplementedColumn, 8> SpouseColumns{{
    {0, 0, -1},   // Nom
    {1, 1, -1},   // Prenom
    // 2: Org, title case, written apart
    {3, 6, -1},   // Code Org
    {4, 3, -1},   // Naiss
    {5, 4, -1},   // Age
    {6, 8, 13},   // Rés
    {7, 9, -1},   // Code rés
    {8, 11, -1},  // Profession
}};

// A parent: 11 fields (the last, remarks, stays empty).
constexpr std::array<ComplementedColumn, 10> ParentColumns{{
    {0, 0, -1}, {1, 1, -1}, {2, 2, -1}, {3, 3, -1}, {4, 4, -1},
    {5, 5, 7}, {6, 6, -1}, {7, 8, 12}, {8, 9, -1}, {9, 10, -1},
}};

// A previous spouse: 9 fields (the last, remarks, stays empty).
constexpr std::array<ComplementedColumn, 8> PreviousColumns{{
    {0, 0, -1}, {1, 1, 2}, {2, 3, -1}, {3, 5, 7}, {4, 6, -1}, {5, 8, 12}, {6, 9, -1}, {7, 10, -1},
}};

// A witness: 12 fields (the last, remarks, stays empty).
constexpr std::array<ComplementedColumn, 11> WitnessColumns{{
    {0, 0, -1}, {1, 1, -1}, {2, 2, -1}, {3, 3, -1}, {4, 4, -1}, {5, 5, -1},
    {6, 6, 12}, {7, 7, -1}, {8, 8, -1}, {9, 9, -1}, {10, 10, -1},
}};

// One field of the record being built: a value, or a value, a blank and its
// complement, or a text of its own (title case). Views keep the conversion of
// a large file free of one allocation per value.
struct Piece {
    QStringView value, complement;
    QString own;
    bool owned = false;
    void set(QString text)
    {
        own = std::move(text);
        owned = true;
    }
};

using Values = std::array<QStringView, CommaValues>;
using Pieces = std::array<Piece, record::FieldCount>;

template <size_t N>
void fillBlock(Pieces &f, const Values &v, const std::array<ComplementedColumn, N> &cols, int firstField,
               int firstColumn)
{
    for (const auto &c : cols) {
        Piece &p = f[firstField - 1 + c.field];
        p.value = v[firstColumn + c.column];
        if (c.complement != -1)
            p.complement = v[firstColumn + c.complement];
    }
}

// Cuts a comma line at its quote, comma, quote boundaries: the first 215 values,
// then the rest of the line (its closing quote removed) as the last one. A line
// with fewer boundaries gives its rest as the last value found, the missing
// values empty.
void cutValues(QStringView rest, Values &v)
{
    if (rest.startsWith(TextQualifier))
        rest = rest.mid(1);
    const QChar *d = rest.data();
    const qsizetype n = rest.size();
    qsizetype start = 0;
    int i = 0;
    // One pass over the line: a boundary is a quote, a comma and a quote.
    for (qsizetype k = 0; i < CommaValues - 1 && k + 2 < n; ++k) {
        if (d[k] == TextQualifier && d[k + 1] == FieldSeparator && d[k + 2] == TextQualifier) {
            v[i++] = rest.sliced(start, k - start);
            start = k + 3;
            k += 2;
        }
    }
    QStringView last = rest.sliced(start);
    if (last.endsWith(TextQualifier))
        last.chop(1);
    v[i] = last;
}

const std::array<char16_t, 256> &oemTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QStringDecoder oem("IBM850");
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            const QString s = oem.decode(QByteArrayView(&c, 1));
            t[b] = s.isEmpty() ? u'?' : s.at(0).unicode();
        }
        return t;
    }();
    return table;
}

// A Republican month abbreviation (four characters from the fourth on) gets
// its capital: "15/brum/04" becomes "15/Brum/04"; other dates stay as they are.
QString commaDate(const QString &date)
{
    const qsizetype slash = date.indexOf(u'/', 3);
    if (slash - 3 != 4)
        return date;
    return date.left(3) + capitalised(date.mid(3, 4)) + date.mid(7);
}

// ---- writing a table beside its final name -------------------------------------

// The new table takes its name; a table held open by another program cannot be
// replaced, which the user is told as for a source held so.
// The reason of the last failure of the target, for the message. The caller returns at
// once: the save file, left uncommitted, then takes its temporary file away.
Outcome failedWith(QString *why, QSaveFile &file)
{
    const int error = errno;
    if (why)
        *why = filesync::failureReason(file.fileName(), file.errorString(), error);
    return Outcome::Failed;
}

Outcome committed(QSaveFile &file, QString *why)
{
    if (!file.commit())
        return failedWith(why, file);
    filesync::syncFolderOf(file.fileName());
    return Outcome::Done;
}

class TableWriter {
public:
    explicit TableWriter(const QString &path) : m_file(path) {}
    bool open() { return filesync::openForWriting(m_file); }
    bool add(const QString &line)
    {
        cp1252::encodeAppend(line, m_buf);
        m_buf.append("\r\n", 2);
        return m_buf.size() < Chunk || flush();
    }
    Outcome commit(QString *why)
    {
        if (!flush())
            return failedWith(why, m_file);
        return committed(m_file, why);
    }
    // Gives the target up; Failed with the reason of the write that failed.
    Outcome fail(QString *why) { return failedWith(why, m_file); }

private:
    bool flush()
    {
        const bool ok = m_file.write(m_buf) == m_buf.size();
        m_buf.truncate(0);   // keeps its capacity
        return ok;
    }
    QSaveFile m_file;
    QByteArray m_buf;
};

// Called inside the loops only, with total at least 1.
int percentOf(qsizetype index, qsizetype total)
{
    return int(std::lround(100.0 * double(index) / double(total)));
}

class Progress {
public:
    explicit Progress(const Observer &o) : m_observer(o) {}
    void set(int phase, int percent)
    {
        if (!m_observer.progress || (phase == m_phase && percent == m_percent))
            return;
        m_phase = phase;
        m_percent = percent;
        m_observer.progress(phase, percent);
    }

private:
    const Observer &m_observer;
    int m_phase = -1, m_percent = -1;
};

} // namespace

// ---- text helpers -------------------------------------------------------------

QString titleCase(const QString &text)
{
    if (text.isEmpty())
        return text;
    QString out = capitalised(text);
    for (QChar sep : {u' ', u'-', u'/'}) {
        for (qsizetype i = out.indexOf(sep); i >= 0 && i + 1 < out.size(); i = out.indexOf(sep, i + 1))
            out[i + 1] = cp1252::upper(out[i + 1]);
    }
    return out;
}

QString oemToAnsi(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    // Code page 850 is one character per byte: a table made once from the decoder.
    const auto &table = oemTable();
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = table[uchar(bytes[i])];
    return out;
}

QList<QByteArrayView> splitLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    lineends::forEachLine(bytes, [&lines](QByteArrayView line) {
        lines.append(line);
        return true;
    });
    return lines;
}

// ---- recognition --------------------------------------------------------------

std::optional<Layout> recognise(const QList<QByteArrayView> &lines)
{
    if (lines.isEmpty())
        return std::nullopt;
    const int commas = countFieldsBytes(lines.at(0), ',');
    if (commas == 216 || commas == 217)
        return Layout::Comma;
    if (lines.size() < 2)
        return std::nullopt;
    return countFieldsBytes(lines.at(1), '\t') == TabColumns ? Layout::Tab : Layout::Copy;
}

// ---- converters ---------------------------------------------------------------

bool tabRecordLine(const QString &sourceLine, QString &recordLine)
{
    const QStringList col = sourceLine.split(record::Tab);
    if (col.size() < TabColumns)
        return false;
    QStringList f(record::FieldCount);
    auto c = [&](int n) { return clean(col.at(n - 1)).trimmed(); };
    f[0] = titleCase(c(1));
    f[1] = tabParish(col.at(1));
    f[2] = c(19).endsWith(u'1') ? QStringLiteral("CG") : QStringLiteral("MA");
    f[4] = titleCase(c(3));
    f[5] = c(18);
    fillTabSpouse(f, col, 4, 7);
    fillTabSpouse(f, col, 10, 57);
    // Notes: both columns joined by " / ", or the one that is filled.
    const QString a = c(16), b = c(17);
    f[160] = (!a.isEmpty() && !b.isEmpty()) ? a + QStringLiteral(" / ") + b : a + b;
    recordLine = record::joinFields(f);
    return true;
}

QString commaRecordLine(const QString &sourceLine, const QString &commune)
{
    QString line = sourceLine;
    blankControls(line);
    Values v;
    cutValues(line, v);
    Pieces f;
    f[0].value = commune;
    f[1].set(commaParish(v[0].toString()));
    f[2].value = u"MA";
    f[3].value = v[2];
    f[4].set(commaDate(v[3].toString()));
    f[5].value = v[209].isEmpty() ? QStringView(u"0") : QStringView(u"1");
    for (int spouse = 0; spouse < 2; ++spouse) {
        const int b = 4 + 15 * spouse;          // own block
        const int pb = 34 + 60 * spouse;        // parents and previous spouses
        const int ff = 7 + 50 * spouse;         // first field of the spouse
        fillBlock(f, v, SpouseColumns, ff, b);
        QString origin = titleCase(v[b + 5].toString());
        if (!v[b + 7].isEmpty())
            origin += u' ' + titleCase(v[b + 7].toString());
        f[ff - 1 + 2].set(origin);
        fillBlock(f, v, ParentColumns, ff + 10, pb);         // father
        fillBlock(f, v, ParentColumns, ff + 21, pb + 15);    // mother
        fillBlock(f, v, PreviousColumns, ff + 32, pb + 30);  // first previous spouse
        fillBlock(f, v, PreviousColumns, ff + 41, pb + 45);  // second previous spouse
    }
    for (int w = 0; w < 4; ++w)
        fillBlock(f, v, WitnessColumns, 107 + 12 * w, 154 + 13 * w);
    f[154].value = v[206];   // DateCM
    f[155].value = v[208];   // LieuCM
    f[156].value = v[207];   // NomCM
    f[159].value = v[209];   // degree of kinship
    f[160].value = v[215];   // Notes: the rest of the line

    QString out;
    for (int i = 0; i < record::FieldCount; ++i) {
        if (i)
            out += record::Tab;
        const Piece &p = f[i];
        if (p.owned) {
            out += p.own;
            continue;
        }
        out += p.value;
        if (!p.complement.isEmpty()) {
            out += u' ';
            out += p.complement;
        }
    }
    return out;
}

QString tabParish(const QString &sourceValue)
{
    return titleCase(cleanParish(sourceValue).trimmed());
}

QString commaParish(const QString &sourceValue)
{
    return capitalised(cleanParish(sourceValue));
}

QStringList parishList(const QStringList &sourceValues, Layout layout)
{
    QStringList out;
    QSet<QString> seen;
    for (const QString &v : sourceValues) {
        if (seen.contains(v))
            continue;
        seen.insert(v);
        out << (layout == Layout::Comma ? commaParish(v) : tabParish(v));
    }
    return out;
}

QString headerLine(const QString &commune, const QString &people, const QStringList &parishes)
{
    return commune + record::Tab + QStringLiteral("Paroisse") + record::Tab + people + record::Tab
           + parishes.join(record::Nbsp);
}

QString targetFileName(const QString &sourcePath)
{
    // Both separators: the chosen path may come in either form.
    const qsizetype slash = std::max(sourcePath.lastIndexOf(u'\\'), sourcePath.lastIndexOf(u'/'));
    const QString base = sourcePath.mid(slash + 1);
    const qsizetype dot = base.lastIndexOf(u'.');
    if (dot < 1)   // no dot, or no name before it (".TXT" would give a hidden ".krv")
        return {};
    return base.left(dot + 1) + QStringLiteral("krv");
}

// ---- progress bar -------------------------------------------------------------

QString progressText(int phase, int percent)
{
    const QString n = QString::number(percent) + u'%';
    switch (phase) {
    case Extraction:
        return QStringLiteral("Extraction: ") + n;
    case ParishListing:
        return QStringLiteral("Listage Paroisse: ") + n;
    case Conversion:
        return QStringLiteral("Conversion: ") + n;
    default:
        return n;
    }
}

void drawProgress(QPainter &painter, const QSize &size, int percent, bool horizontal, bool showText,
                  const QColor &barColour, int fontPointSize, const QColor &textColour, const QString &text,
                  const QColor &background)
{
    if (percent < 0 || percent > 100)
        return;
    const int w = size.width(), h = size.height();
    painter.fillRect(QRect(0, 0, w, h), background);
    if (horizontal) {
        const int bw = int(std::lround(w * percent / 100.0));
        painter.fillRect(QRect(0, 0, bw, h), barColour);
    } else {
        const int bh = int(std::lround(h * percent / 100.0));
        painter.fillRect(QRect(0, h - bh, w, bh), barColour);
    }
    const QString shown = showText ? text : QString();
    QFont font = painter.font();
    font.setPointSize(fontPointSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(textColour);
    const QFontMetrics fm(font, painter.device());
    const int tw = fm.horizontalAdvance(shown);
    const int th = fm.height();
    painter.drawText(QRect((w - tw) / 2, (h - th) / 2, tw, th), Qt::AlignLeft | Qt::AlignTop, shown);
}

QPixmap importProgressPixmap(const QSize &size, int phase, int percent, const QColor &background)
{
    QPixmap pm(size);
    pm.fill(background);
    QPainter p(&pm);
    drawProgress(p, size, percent, true, true, QColor(255, 0, 0), 8, QColor(0, 0, 0),
                 progressText(phase, percent), background);
    return pm;
}

void showProgress(QLabel *picture, int phase, int percent)
{
    if (!picture || percent < 0 || percent > 100)
        return;
    // The bar fills the box inside its border.
    picture->setPixmap(importProgressPixmap(picture->contentsRect().size(), phase, percent,
                                            picture->palette().color(picture->backgroundRole())));
    picture->repaint();
}

// ---- the whole conversion -----------------------------------------------------

Outcome importFile(const QString &sourcePath, const QString &targetPath,
                   const std::function<void(TableStore &)> &askProperties, const Observer &observer, QString *why)
{
    // The source is mapped rather than copied into memory when the system allows.
    QFile in(sourcePath);
    if (!in.open(QIODevice::ReadOnly))
        return Outcome::InUse;
    const uchar *mapped = in.size() > 0 ? in.map(0, in.size()) : nullptr;
    const QByteArray readBytes = mapped ? QByteArray() : in.readAll();
    if (in.error() != QFileDevice::NoError)
        return Outcome::InUse;
    const QByteArrayView bytes = mapped ? QByteArrayView(mapped, in.size()) : QByteArrayView(readBytes);
    const QList<QByteArrayView> raw = splitLines(bytes);
    const std::optional<Layout> layout = recognise(raw);
    if (!layout)
        return Outcome::Incompatible;

    if (*layout == Layout::Copy) {
        // Byte for byte: a table file stays as it was written.
        QSaveFile copy(targetPath);
        if (!filesync::openForWriting(copy))
            return failedWith(why, copy);
        if (copy.write(bytes.data(), bytes.size()) != bytes.size())
            return failedWith(why, copy);
        return committed(copy, why);
    }

    TableWriter out(targetPath);
    if (!out.open())
        return out.fail(why);

    Progress progress(observer);
    const bool comma = *layout == Layout::Comma;
    if (comma)
        progress.set(NoPhase, 0);

    TableStore properties;
    if (askProperties)
        askProperties(properties);

    // Phase 1: the lines of the source. They are kept as bytes and turned into
    // text one at a time below (OEM for the comma files, ANSI for the lists), so
    // that a large file is not held twice over in memory.
    QList<QByteArrayView> lines;
    const qsizetype total = raw.size();
    for (qsizetype i = 0; i < total; ++i) {
        progress.set(Extraction, percentOf(i, total));
        QByteArrayView b = raw.at(i);
        if (comma) {
            // The OEM conversion stops at a NUL byte.
            const qsizetype nul = b.indexOf('\0');
            if (nul >= 0)
                b = b.first(nul);
        }
        lines << b;
    }
    auto text = [comma](QByteArrayView b) { return comma ? oemToAnsi(b) : cp1252::decode(b); };

    // The records: every line of a comma file, the lines after the column header
    // of a list; blank lines are no record.
    QList<qsizetype> records;
    for (qsizetype i = comma ? 0 : 1; i < lines.size(); ++i)
        if (!isBlankLine(lines.at(i)))
            records << i;

    // Phase 2: the parishes in order of first appearance (value 0 of a comma
    // line, column 2 of a list).
    QStringList parishValues;
    for (qsizetype k = 0; k < records.size(); ++k) {
        progress.set(ParishListing, percentOf(k, records.size()));
        QByteArrayView b = lines.at(records.at(k));
        if (comma) {
            const qsizetype at = b.indexOf(QByteArrayView("\",\""));
            QString line = text(at == -1 ? b : b.first(at + 1));
            blankControls(line);
            Values v;
            cutValues(line, v);
            parishValues << v[0].toString();
        } else {
            const qsizetype t1 = b.indexOf('\t');
            const qsizetype t2 = t1 < 0 ? -1 : b.indexOf('\t', t1 + 1);
            parishValues << (t1 < 0 ? QString() : text(t2 < 0 ? b.sliced(t1 + 1) : b.sliced(t1 + 1, t2 - t1 - 1)));
        }
    }
    const QStringList parishes = parishList(parishValues, *layout);

    if (!out.add(headerLine(properties.commune, properties.people, parishes)))
        return out.fail(why);

    // Phase 3: one record line per record, into the temporary file.
    for (qsizetype k = 0; k < records.size(); ++k) {
        progress.set(Conversion, percentOf(k, records.size()));
        const QString line = text(lines.at(records.at(k)));
        QString converted;
        if (comma) {
            converted = commaRecordLine(line, properties.commune);
        } else if (!tabRecordLine(line, converted)) {
            // A list line that is too short: no half table under the target name (the
            // writer's file is never committed).
            return Outcome::Incompatible;
        }
        if (!out.add(converted))
            return out.fail(why);
    }
    progress.set(Conversion, 100);
    return out.commit(why);
}

// ---- the button ---------------------------------------------------------------

QString failureMessage(const QString &tableName, const QString &why)
{
    return QStringLiteral("La table « %1 » n'a pas pu être écrite dans le dossier de l'application : %2.\n\n"
                          "Rien n'a été importé.")
        .arg(tableName, why);
}

QString openFilter()
{
    return filefilter::fromPairs(Filter);
}

Hooks defaultHooks()
{
    Hooks h;
    h.openFileName = [](QWidget *parent, const QString &title, const QString &filter) {
        QFileDialog d(parent, title, QString(), filter);
        d.setFileMode(QFileDialog::ExistingFile);   // the file must exist
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        return d.selectedFiles().constFirst();
    };
    h.askYesNo = [](QWidget *parent, const QString &text, const QString &title) {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    h.critical = [](QWidget *parent, const QString &text, const QString &title) {
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
    };
    return h;
}

namespace {

// Disables the buttons and shows the progress controls; the destructor puts
// everything back whichever way the import ends.
class ImportScope {
public:
    explicit ImportScope(const Controls &c) : m_c(c)
    {
        for (QWidget *b : m_c.buttons)
            if (b)
                b->setEnabled(false);
        if (m_c.label1)
            m_c.label1->setVisible(true);
        if (m_c.picture1)
            m_c.picture1->setVisible(true);
    }
    ~ImportScope()
    {
        if (m_c.label1)
            m_c.label1->setVisible(false);
        if (m_c.picture1)
            m_c.picture1->setVisible(false);
        for (QWidget *b : m_c.buttons)
            if (b)
                b->setEnabled(true);
        if (m_c.dialog)
            m_c.dialog->unsetCursor();
    }

private:
    const Controls &m_c;
};

} // namespace

QString CmdImporter_Click(const Controls &controls, const QString &appFolder, const Hooks &given)
{
    Hooks h = defaultHooks();
    if (given.openFileName)
        h.openFileName = given.openFileName;
    if (given.askYesNo)
        h.askYesNo = given.askYesNo;
    if (given.critical)
        h.critical = given.critical;
    h.askProperties = given.askProperties;

    ImportScope scope(controls);
    QWidget *parent = controls.dialog;
    const QString title = QStringLiteral("Velder");

    const QString source = h.openFileName(parent, OpenTitle, openFilter());
    if (source.isEmpty())
        return {};
    const QString targetName = targetFileName(source);
    if (targetName.isEmpty()) {
        h.critical(parent, IncompatibleText, title);
        return {};
    }

    // The tables listed by the manager: the ".krv" files of the folder, any case.
    const QDir folder(appFolder);
    QString replaced;
    const QStringList listed = folder.entryList({QStringLiteral("*.krv")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &entry : listed) {
        if (entry.toUpper() != targetName.toUpper())
            continue;
        if (!h.askYesNo(parent, QStringLiteral("La table figure déjà dans la liste. Voulez-vous l'écraser?"),
                        QStringLiteral("La Table existe déjà")))
            return {};
        replaced = entry;
        break;
    }

    const QString targetPath = folder.filePath(targetName);
    Observer observer;
    observer.progress = [&controls](int phase, int percent) {
        if (controls.dialog)
            controls.dialog->setCursor(Qt::WaitCursor);
        showProgress(controls.picture1, phase, percent);
    };
    QString why;
    switch (importFile(source, targetPath, h.askProperties, observer, &why)) {
    case Outcome::Done:
        break;
    case Outcome::InUse:
        h.critical(parent, InUseText, title);
        return {};
    case Outcome::Incompatible:
        h.critical(parent, IncompatibleText, title);
        return {};
    case Outcome::Failed:
        h.critical(parent, failureMessage(targetName, why), title);
        return {};
    }
    // On a case-sensitive disk the table replaced may be spelt otherwise.
    if (!replaced.isEmpty() && replaced != targetName)
        QFile::remove(folder.filePath(replaced));
    return targetPath;
}

} // namespace importer
