#include "tables/export.h"
#include "tables/filefilter.h"

#include "store/cp1252.h"
#include "store/filesync.h"
#include "store/lineends.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace exporter {

namespace {

constexpr qsizetype Chunk = 1 << 20;

const QString Title = QStringLiteral("Exportation d'une table...");
const QString Filter = QStringLiteral(
    "Fichiers KRV (*.KRV)|*.KRV|Fichiers Texte (séparateur: tabul.) (*.TXT)|*.TXT|Fichiers Excel (*.CSV)|*.CSV|");

// Replaces the first 160 TABs from `from` on with ";"; false when there are fewer.
bool tabsToSemicolons(QByteArray &buf, qsizetype from)
{
    char *d = buf.data();
    char *const e = d + buf.size();
    char *p = d + from;
    for (int seen = 0; seen < record::TabCount; ++seen) {
        p = static_cast<char *>(std::memchr(p, '\t', size_t(e - p)));
        if (!p)
            return false;
        *p++ = ';';
    }
    return true;
}

// The reason of a failed write to target, for the message. The caller returns at once:
// the save file, left uncommitted, then takes its temporary file away.
Result failed(QString *why, const QString &target, QSaveFile &file)
{
    const int error = errno;
    if (why)
        *why = filesync::failureReason(target, file.errorString(), error);
    return Result::Failed;
}

Result unreadable(QString *why, const QString &source)
{
    if (why)
        *why = QStringLiteral("la table « %1 » ne peut pas être lue").arg(QFileInfo(source).fileName());
    return Result::Failed;
}

// Renames the finished file into place, durably.
bool commit(QSaveFile &out)
{
    return out.commit() && (filesync::syncFolderOf(out.fileName()), true);
}

Result copyFile(const QString &source, const QString &target, QString *why)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return unreadable(why, source);
    // Written beside the target and renamed at the end, so a copy onto the table
    // itself or a failed write never leaves a cut file.
    QSaveFile out(target);
    if (!filesync::openForWriting(out))
        return failed(why, target, out);
    while (!in.atEnd()) {
        const QByteArray block = in.read(Chunk);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            return unreadable(why, source);   // out, never committed, is discarded
        if (out.write(block) != block.size())
            return failed(why, target, out);
    }
    return commit(out) ? Result::Written : failed(why, target, out);
}

// Appends the CSV row of record `number` made from the bytes of its line; false
// (and nothing appended) when the line has fewer than 160 TABs.
bool appendRow(QByteArray &buf, qint64 number, const char *line, qsizetype size)
{
    const qsizetype start = buf.size();
    buf.append(QByteArray::number(number));
    buf.append(';');
    const qsizetype from = buf.size();
    buf.append(line, size);
    // A sound record line has exactly 160 TABs: turn them all in one simple pass.
    // Fewer: the line cannot be split. More: the later ones stay in the notes.
    if (std::count(line, line + size, '\t') == record::TabCount) {
        std::replace(buf.data() + from, buf.data() + buf.size(), '\t', ';');
    } else if (!tabsToSemicolons(buf, from)) {
        buf.truncate(start);
        return false;
    }
    buf.append("\r\n", 2);
    return true;
}

Result writeCsv(const QString &source, const QString &target, QString *why)
{
    // Our own reading of the file: the entry window's table is not involved. A
    // table's bytes are its Windows-1252 text and the CSV is Windows-1252 too, so
    // the rows are made from the bytes directly, block by block, with the lines a
    // table reading gives.
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return unreadable(why, source);
    QSaveFile out(target);
    if (!filesync::openForWriting(out))
        return failed(why, target, out);
    QByteArray buf;
    cp1252::encodeAppend(csvHeader(), buf);
    buf.append("\r\n", 2);

    qint64 line = 0;              // line 0 is the header
    bool complete = true;
    auto flush = [&] { return out.write(buf) == buf.size() && (buf.truncate(0), true); };
    auto take = [&](QByteArrayView l) {
        const bool ok = line == 0 || appendRow(buf, line, l.data(), l.size());
        ++line;
        return ok;
    };
    lineends::Splitter splitter(lineends::endsOf(in));
    for (;;) {
        const QByteArray block = in.read(Chunk);
        if (block.isEmpty()) {
            // An unfinished QSaveFile is discarded when it goes out of scope.
            if (in.error() != QFileDevice::NoError)
                return unreadable(why, source);
            break;
        }
        if (!splitter.feed(block, take)) {
            complete = false;
            break;
        }
        if (!flush())   // each block's rows as they are made
            return failed(why, target, out);
    }
    if (complete && !splitter.finish(take))
        complete = false;
    if (!flush())
        return failed(why, target, out);
    if (!commit(out))
        return failed(why, target, out);
    if (!complete && why)
        *why = QStringLiteral("la ligne de l'enregistrement %1 n'a pas ses 161 champs ; le fichier ne contient que "
                              "les enregistrements qui la précèdent")
                   .arg(line - 1);
    return complete ? Result::Written : Result::Failed;
}

} // namespace

Form formFor(const QString &targetName)
{
    const QString end = targetName.right(4).toUpper();
    if (end == QLatin1String(".KRV") || end == QLatin1String(".TXT"))
        return Form::Copy;
    if (end == QLatin1String(".CSV"))
        return Form::Csv;
    return Form::None;
}

QString csvHeader()
{
    QStringList names{QStringLiteral("N°")};
    for (int p = 1; p <= record::FieldCount; ++p)
        names << record::fieldName(p);
    return names.join(u';');
}

Result exportTable(const QString &tablePath, const QString &target, QString *why)
{
    switch (formFor(target)) {
    case Form::Copy:
        return copyFile(tablePath, target, why);
    case Form::Csv:
        return writeCsv(tablePath, target, why);
    case Form::None:
        break;
    }
    return Result::Nothing;
}

QString failureMessage(const QString &target, const QString &why)
{
    return QStringLiteral("L'exportation dans le fichier\n%1\nn'a pas abouti : %2.")
        .arg(QDir::toNativeSeparators(target), why);
}

QString saveFilter()
{
    return filefilter::fromPairs(Filter);
}

Hooks defaultHooks()
{
    Hooks h;
    h.saveFileName = [](QWidget *parent, const QString &title, const QString &defaultName, const QString &filter) {
        QFileDialog d(parent, title, defaultName, filter);
        d.setAcceptMode(QFileDialog::AcceptSave);
        // The question about an existing file is ours; no extension is added.
        d.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        return d.selectedFiles().constFirst();
    };
    h.askYesNo = [](QWidget *parent, const QString &text, const QString &title) {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    h.inform = [](QWidget *parent, const QString &text, const QString &title) {
        QMessageBox::information(parent, title, text, QMessageBox::Ok);
    };
    h.failed = [](QWidget *parent, const QString &text, const QString &title) {
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
    };
    return h;
}

Result CmdExporter_Click(QWidget *parent, const QString &tablePath, const Hooks &given)
{
    Hooks h = defaultHooks();
    if (given.saveFileName)
        h.saveFileName = given.saveFileName;
    if (given.askYesNo)
        h.askYesNo = given.askYesNo;
    if (given.inform)
        h.inform = given.inform;
    if (given.failed)
        h.failed = given.failed;
    h.hideEntryWindow = given.hideEntryWindow;

    // A refused overwrite brings the same save dialog back.
    for (;;) {
        if (tablePath.isEmpty()) {
            h.inform(parent, QStringLiteral("Veuillez sélectionner une table"), QStringLiteral("VELDER"));
            return Result::Nothing;
        }
        const QFileInfo table(tablePath);
        const QString listed = table.fileName();
        const QString defaultName = table.dir().filePath(listed.left(listed.size() - 4));
        if (h.hideEntryWindow)
            h.hideEntryWindow();
        const QString target = h.saveFileName(parent, Title, defaultName, saveFilter());
        if (target.isEmpty())
            return Result::Nothing;
        if (QFileInfo::exists(target)
            && !h.askYesNo(parent, QStringLiteral("Le fichier existe déjà. Voulez-vous l'écraser?"),
                           QStringLiteral("Le fichier existe déjà..."))) {
            continue;
        }
        QString why;
        const Result r = exportTable(tablePath, target, &why);
        if (r == Result::Failed)
            h.failed(parent, failureMessage(target, why), QStringLiteral("VELDER"));
        return r;
    }
}

} // namespace exporter
