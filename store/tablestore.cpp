#include "store/tablestore.h"

#include "store/cp1252.h"
#include "store/lineends.h"
#include "store/recordmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>


namespace {
constexpr qint64 kChunk = 1 << 20;
}

bool readLines(const QString &path, QStringList &lines)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    lines.clear();
    lineends::Splitter splitter;
    const auto take = [&lines](QByteArrayView line) {
        lines << cp1252::decode(line);
        return true;
    };
    // One block buffer for the whole file: a fresh one per read costs page faults.
    QByteArray chunk(kChunk, Qt::Uninitialized);
    while (true) {
        const qint64 got = f.read(chunk.data(), kChunk);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        splitter.feed(QByteArrayView(chunk.constData(), got), take);
    }
    splitter.finish(take);
    return true;
}

bool writeLinesAtomic(const QString &path, const QStringList &lines, qsizetype count, QString *error)
{
    if (count < 0)
        count = lines.size();
    QSaveFile f(path);
    const auto fail = [&f, error] {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    };
    if (!f.open(QIODevice::WriteOnly))
        return fail();
    QByteArray buf;
    buf.reserve(kChunk + 4096);
    for (qsizetype i = 0; i < count; ++i) {
        cp1252::encodeAppend(lines.at(i), buf);
        buf.append("\r\n", 2);
        if (buf.size() >= kChunk) {
            if (f.write(buf) != buf.size())
                return fail();
            buf.clear();
        }
    }
    if (!buf.isEmpty() && f.write(buf) != buf.size())
        return fail();
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool splitHeader(const QString &header, QString &commune, QString &sources, QString &people, QString &parishes)
{
    const qsizetype t1 = header.indexOf(record::Tab);
    if (t1 < 0)
        return false;
    const qsizetype t2 = header.indexOf(record::Tab, t1 + 1);
    if (t2 < 0)
        return false;
    const qsizetype t3 = header.indexOf(record::Tab, t2 + 1);
    if (t3 < 0)
        return false;
    commune = header.left(t1);
    sources = header.mid(t1 + 1, t2 - t1 - 1);
    people = header.mid(t2 + 1, t3 - t2 - 1);
    parishes = header.mid(t3 + 1);
    return true;
}

QStringList splitParishList(const QString &list)
{
    if (list.isEmpty())
        return {};
    return list.split(record::Nbsp);
}

QString TableStore::scratchPath() const { return QDir(m_appFolder).filePath(QStringLiteral("Temp.tmp")); }
QString TableStore::backupPath() const { return QDir(m_appFolder).filePath(QStringLiteral("Temp2.tmp")); }

TableStore::LoadResult TableStore::load(const QString &path)
{
    QStringList lines;
    if (!readLines(path, lines))
        return LoadResult::Unreadable;
    if (lines.isEmpty())
        return LoadResult::Incompatible;
    QString c, s, p, l;
    if (!splitHeader(lines.first(), c, s, p, l))
        return LoadResult::Incompatible;
    lines.append(QString()); // the spare slot
    m_lines = std::move(lines);
    m_tablePath = path;
    commune = c;
    sources = s;
    people = p;
    parishList = l;
    currentLine = 0;
    return LoadResult::Ok;
}

QString TableStore::headerLine() const
{
    return commune + record::Tab + sources + record::Tab + people + record::Tab + parishList;
}

QStringList TableStore::parishNames() const { return splitParishList(parishList); }

void TableStore::setParishNames(const QStringList &names) { parishList = names.join(record::Nbsp); }

bool TableStore::save(const QString &path) { return saveReporting(path).written; }

TableStore::SaveReport TableStore::saveReporting(const QString &path)
{
    SaveReport report;
    if (m_lines.isEmpty() || path.isEmpty()) {
        report.reason = QStringLiteral("aucune table ouverte");
        return report;
    }
    if (QFileInfo(path).isFile()) {
        const QString backup = backupPath();
        if (QFileInfo(path).absoluteFilePath() != QFileInfo(backup).absoluteFilePath()) {
            QFile old(path), earlier(backup);
            if (QFileInfo(backup).isDir()) {
                report.backupMade = false;
                report.reason = QStringLiteral("c'est un dossier");
            } else if (earlier.exists() && !earlier.remove()) {
                report.backupMade = false;
                report.reason = earlier.errorString();
            } else if (!old.copy(backup)) {
                report.backupMade = false;
                report.reason = old.errorString();
            }
        }
    }
    m_lines[0] = headerLine();
    QString error;
    report.written = writeLinesAtomic(path, m_lines, m_lines.size() - 1, &error);
    if (!report.written)
        report.reason = error;
    return report;
}

bool TableStore::deleteRecord(int k)
{
    if (k < 1 || k > recordCount())
        return false;
    m_lines.removeAt(k);
    return true;
}

void TableStore::setContent(const QStringList &lines, const QString &path)
{
    m_lines = lines;
    if (m_lines.isEmpty())
        m_lines << QString();
    m_lines.append(QString());
    splitHeader(m_lines.first(), commune, sources, people, parishList);
    m_tablePath = path;
    currentLine = 0;
}

void TableStore::clear()
{
    m_lines.clear();
    m_tablePath.clear();
    commune.clear();
    sources.clear();
    people.clear();
    parishList.clear();
    currentLine = 0;
}

QString ScratchClock::elapsedText(QTime from, QTime to)
{
    int secs = std::abs(from.secsTo(to));
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600, 2, 10, QLatin1Char('0'))
        .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

bool ScratchClock::tick(QTime now, bool managerVisible)
{
    latestTick = now;
    if (managerVisible)
        return false;
    if (elapsedText(lastSave, latestTick) > QStringLiteral("00:02:00")) {
        lastSave = latestTick;
        return true;
    }
    return false;
}
