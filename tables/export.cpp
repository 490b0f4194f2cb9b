#include "tables/export.h"
#include "tables/filefilter.h"

#include "store/cp1252.h"
#include "store/lineends.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

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

Result copyFile(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Result::Failed;
    // Written beside the target and renamed at the end, so a copy onto the table
    // itself or a failed write never leaves a cut file.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Result::Failed;
    while (!in.atEnd()) {
        const QByteArray block = in.read(Chunk);
        if (block.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return Result::Failed;
        }
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return Result::Failed;
        }
    }
    return out.commit() ? Result::Written : Result::Failed;
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
    char *d = buf.data() + from;
    int tabs = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const bool tab = d[i] == '\t';
        tabs += tab;
        d[i] = tab ? ';' : d[i];
    }
    if (tabs != record::TabCount) {
        // Fewer: the line cannot be split. More: the later ones stay in the notes.
        std::memcpy(d, line, size_t(size));
        if (!tabsToSemicolons(buf, from)) {
            buf.truncate(start);
            return false;
        }
    }
    buf.append("\r\n", 2);
    return true;
}

Result writeCsv(const QString &source, const QString &target)
{
    // Our own reading of the file: the entry window's table is not involved. A
    // table's bytes are its Windows-1252 text and the CSV is Windows-1252 too, so
    // the rows are made from the bytes directly, block by block, with the lines a
    // table reading gives.
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Result::Failed;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Result::Failed;
    QByteArray buf;
    buf.reserve(Chunk + Chunk / 2);
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
            if (in.error() != QFileDevice::NoError) {
                out.cancelWriting();
                return Result::Failed;
            }
            break;
        }
        if (!splitter.feed(block, take)) {
            complete = false;
            break;
        }
        if (buf.size() >= Chunk && !flush()) {
            out.cancelWriting();
            return Result::Failed;
        }
    }
    if (complete && !splitter.finish(take))
        complete = false;
    if (!buf.isEmpty() && !flush()) {
        out.cancelWriting();
        return Result::Failed;
    }
    if (!out.commit())
        return Result::Failed;
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

bool csvRow(int n, const QString &recordLine, QString &row)
{
    row = QString::number(n) + u';';
    const qsizetype start = row.size();
    row += recordLine;
    int seen = 0;
    for (qsizetype i = start; i < row.size() && seen < record::TabCount; ++i) {
        if (row[i] == record::Tab) {
            row[i] = u';';
            ++seen;
        }
    }
    return seen == record::TabCount;
}

Result exportTable(const QString &tablePath, const QString &target)
{
    switch (formFor(target)) {
    case Form::Copy:
        return copyFile(tablePath, target);
    case Form::Csv:
        return writeCsv(tablePath, target);
    case Form::None:
        break;
    }
    return Result::Nothing;
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
        d.setFileMode(QFileDialog::AnyFile);
        // The question about an existing file is ours; no extension is added.
        d.setOption(QFileDialog::DontConfirmOverwrite, true);
        d.setDefaultSuffix(QString());
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
        return exportTable(tablePath, target);
    }
}

} // namespace exporter
