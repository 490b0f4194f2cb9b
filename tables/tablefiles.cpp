#include "tables/tablefiles.h"

#include "store/recordmodel.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tablefiles {

QStringList listTables(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.krv")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    return dir.entryList();
}

QString withoutTxt(const QString &typed)
{
    return typed.endsWith(QStringLiteral(".txt"), Qt::CaseSensitive) ? typed.chopped(4) : typed;
}

QString newFileName(const QString &name) { return name + QStringLiteral(".krv"); }

bool sameFileName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

NameProblem checkName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return NameProblem::Empty;
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 32 || forbidden.contains(c))
            return NameProblem::BadCharacter;
    }
    return NameProblem::None;
}

QString nameProblemMessage(NameProblem problem)
{
    switch (problem) {
    case NameProblem::Empty:
        return QStringLiteral("Veuillez sélectionner une table");
    case NameProblem::BadCharacter:
        return QStringLiteral("Le nom d'une table ne peut contenir aucun des caractères \\ / : * ? \" < > |");
    case NameProblem::None:
        break;
    }
    return {};
}

QString newHeaderLine(const QString &commune, const QString &sources, const QString &people)
{
    return commune + record::Tab + sources + record::Tab + people + record::Tab;
}

bool createTable(const QString &path, const QString &headerLine)
{
    return writeLinesAtomic(path, {headerLine});
}

namespace {
// A trash of the desktop: <data>/Trash, <top>/.Trash-<uid> or <top>/.Trash/<uid>,
// each holding the file under "files". Elsewhere the system's own bin decides.
bool inFreedesktopTrash(const QString &inTrash)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QDir files = QFileInfo(inTrash).absoluteDir();
    if (files.dirName() != QStringLiteral("files") || !files.cdUp())
        return false;
    const QString trash = files.dirName();
    if (trash == QStringLiteral("Trash") || trash.startsWith(QStringLiteral(".Trash-")))
        return true;
    return files.cdUp() && files.dirName() == QStringLiteral(".Trash");
#else
    Q_UNUSED(inTrash);
    return true;
#endif
}
} // namespace

TrashResult moveToTrash(const QString &path)
{
    if (!QFileInfo::exists(path))
        return TrashResult::Missing;
    QString inTrash;
    if (QFile::moveToTrash(path, &inTrash)) {
        if (inFreedesktopTrash(inTrash))
            return TrashResult::Trashed;
        // Some Qt versions, finding no usable trash, file the table under the current
        // folder instead: put it back and say that the trash refused it.
        QFile::rename(inTrash, path);
        const QFileInfo moved(inTrash);
        QFile::remove(moved.dir().filePath(QStringLiteral("../info/") + moved.fileName() + QStringLiteral(".trashinfo")));
        return QFileInfo::exists(path) ? TrashResult::Refused : TrashResult::Trashed;
    }
    if (!QFileInfo::exists(path))
        return TrashResult::Missing;
    // A file another program holds cannot even be opened for writing on Windows.
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return TrashResult::InUse;
    return TrashResult::Refused;
}

QString siblingProgram(const QString &folder, const QString &baseName)
{
    const QDir dir(folder);
    QStringList names{baseName + QStringLiteral(".exe")};
#ifndef Q_OS_WIN
    names.prepend(baseName);
#endif
    for (const QString &name : names) {
        const QFileInfo info(dir.filePath(name));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}

} // namespace tablefiles
