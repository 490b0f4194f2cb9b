#include "velderexport/exportjob.h"

#include "store/filesync.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vexport {

namespace {

constexpr qsizetype kFlush = 1 << 20;

QString plural(int n, const char16_t *one, const char16_t *many)
{
    return QString::number(n) + u' ' + QString::fromUtf16(n > 1 ? many : one);
}

QString quoted(const QString &path) { return QStringLiteral("« ") + QDir::toNativeSeparators(path) + QStringLiteral(" »"); }

} // namespace

QString csvField(const QString &text)
{
    bool quote = false;
    for (QChar c : text)
        if (c == u',' || c == u';' || c == u'"' || c == u'\r' || c == u'\n') {
            quote = true;
            break;
        }
    if (!quote)
        return text;
    QString s = text;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

void CsvWriter::header()
{
    // A byte order mark lets spreadsheets take the file as UTF-8 without asking.
    m_out += "\xEF\xBB\xBF";
    QString row = QStringLiteral("N°");
    for (int p = 1; p <= record::FieldCount; ++p)
        row += u',' + csvField(record::fieldName(p));
    m_out += row.toUtf8();
    m_out += "\r\n";
}

bool CsvWriter::record(int number, QStringView line)
{
    FieldViews f;
    if (!takeRecord(line, f, m_counts))
        return false;
    QString row = QString::number(number);
    for (const QStringView field : f) {
        // A TAB kept inside the notes stays a TAB: quoting protects it like any character.
        row += u',';
        row += csvField(field.toString());
    }
    m_out += row.toUtf8();
    m_out += "\r\n";
    return true;
}

QString defaultTarget(const QString &tablePath, Format format)
{
    const QFileInfo info(tablePath);
    return info.dir().filePath(info.completeBaseName() + (format == Format::Gedcom ? QStringLiteral(".ged") : QStringLiteral(".csv")));
}

Result exportTable(const QString &tablePath, const QString &targetPath, Format format, const Progress &progress)
{
    Result result;
    const QFileInfo table(tablePath);
    if (!table.isFile()) {
        result.message = QStringLiteral("La table %1 est introuvable.").arg(quoted(tablePath));
        return result;
    }
    if (targetPath.isEmpty()) {
        result.message = QStringLiteral("Veuillez indiquer le fichier de destination.");
        return result;
    }
    const QFileInfo target(targetPath);
    if (target.exists() && target.canonicalFilePath() == table.canonicalFilePath()) {
        result.message = QStringLiteral("Le fichier de destination est la table elle-même : choisissez un autre nom.");
        return result;
    }
    // An export named like a table would replace a table, or be listed as one.
    if (target.suffix().compare(QStringLiteral("krv"), Qt::CaseInsensitive) == 0) {
        result.message = QStringLiteral("Le fichier de destination ne peut pas être une table (.krv) : choisissez un autre nom.");
        return result;
    }
    TableStore store; // read only: no lock is taken and the table is never written
    switch (store.load(tablePath)) {
    case TableStore::LoadResult::Ok:
        break;
    case TableStore::LoadResult::Unreadable:
        result.message = QStringLiteral("Impossible de lire la table %1.").arg(quoted(tablePath));
        return result;
    case TableStore::LoadResult::Incompatible:
        result.message = QStringLiteral("La table %1 n'est pas une table Velder : sa ligne d'en-tête est incomplète.")
                             .arg(quoted(tablePath));
        return result;
    }

    // The file appears whole or not at all: a half-written export is worse than none.
    QSaveFile file(targetPath);
    const QString cannotWrite = QStringLiteral("Impossible d'écrire le fichier %1.").arg(quoted(targetPath));
    if (!filesync::openForWriting(file)) {
        result.message = cannotWrite;
        return result;
    }
    QByteArray buffer;
    buffer.reserve(kFlush + (64 << 10));
    bool ok = true;
    const auto flush = [&](bool always) {
        if (ok && (always || buffer.size() >= kFlush) && !buffer.isEmpty()) {
            ok = file.write(buffer) == buffer.size();
            buffer.truncate(0); // keeps the block: a fresh one per flush costs page faults
        }
    };
    const int total = store.recordCount();
    const int step = std::max(1, total / 100);
    const auto each = [&](auto &writer) {
        for (int i = 1; i <= total && ok; ++i) {
            writer.record(i, store.line(i));
            flush(false);
            if (progress && (i % step == 0 || i == total))
                progress(i, total);
        }
    };
    if (format == Format::Gedcom) {
        GedcomWriter writer(buffer);
        writer.header(tableInfo(store.line(0)));
        each(writer);
        writer.trailer();
        result.counts = writer.counts();
    } else {
        CsvWriter writer(buffer);
        writer.header();
        each(writer);
        result.counts = writer.counts();
    }
    flush(true);
    if (!ok || !file.commit()) {
        file.cancelWriting();
        result.message = cannotWrite;
        return result;
    }
    const Counts &c = result.counts;
    const QString where = QDir::toNativeSeparators(QFileInfo(targetPath).absoluteFilePath());
    if (format == Format::Gedcom)
        result.message = QStringLiteral("%1, %2, %3 et %4 écrits dans %5.")
                             .arg(plural(c.records, u"acte", u"actes"), plural(c.persons, u"personne", u"personnes"),
                                  plural(c.families, u"famille", u"familles"),
                                  plural(c.events, u"événement", u"événements"), where);
    else
        result.message = QStringLiteral("%1 écrit%2 dans %3.").arg(plural(c.records, u"acte", u"actes"),
                                                                    c.records > 1 ? QStringLiteral("s") : QString(), where);
    if (c.empty || c.damaged)
        result.message += QStringLiteral(" Lignes ignorées : %1 vide%2, %3 abîmée%4.")
                              .arg(c.empty)
                              .arg(c.empty > 1 ? QStringLiteral("s") : QString())
                              .arg(c.damaged)
                              .arg(c.damaged > 1 ? QStringLiteral("s") : QString());
    result.ok = true;
    return result;
}

int runCommandLine(const QStringList &arguments, QString &out, QString &err)
{
    const QString usage = QStringLiteral("Usage : VelderExport --gedcom Table.krv sortie.ged\n"
                                         "        VelderExport --csv Table.krv sortie.csv");
    if (arguments.size() != 3 || (arguments[0] != u"--gedcom" && arguments[0] != u"--csv")) {
        err = QStringLiteral("Arguments incorrects.\n") + usage;
        return 2;
    }
    const Format format = arguments[0] == u"--gedcom" ? Format::Gedcom : Format::Csv;
    const Result r = exportTable(arguments[1], arguments[2], format);
    if (!r.ok) {
        err = r.message;
        return 1;
    }
    out = r.message;
    return 0;
}

} // namespace vexport
