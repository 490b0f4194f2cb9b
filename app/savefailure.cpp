#include "app/savefailure.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace savefailure {

QStringList defaultFolders()
{
    QStringList folders;
    for (const QString &f : {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath(),
                             QDir::tempPath()}) {
        if (!f.isEmpty() && !folders.contains(f))
            folders << f;
    }
    return folders;
}

QString rescueFileName(const QString &tablePath, const QDateTime &when)
{
    QString base = QFileInfo(tablePath).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("Table");
    return base + QStringLiteral(" secours ") + when.toString(QStringLiteral("yyyy-MM-dd HH'h'mm'm'ss's'"))
           + QStringLiteral(".krv");
}

Rescue writeRescueCopy(TableStore &table, const QStringList &folders, const QDateTime &when)
{
    Rescue r;
    const QString name = rescueFileName(table.tablePath(), when);
    for (const QString &folder : folders) {
        if (!QDir().mkpath(folder)) {
            r.reason = QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(QDir::toNativeSeparators(folder));
            continue;
        }
        const QDir dir(folder);
        QString target = dir.filePath(name);
        // Never over a file already there: a second rescue in the same second gets a number.
        for (int n = 2; QFileInfo::exists(target); ++n)
            target = dir.filePath(name.chopped(4) + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").krv"));
        const TableStore::SaveReport report = table.saveReporting(target);
        if (report.written) {
            r.path = QDir::toNativeSeparators(target);
            return r;
        }
        r.reason = report.reason;
    }
    if (r.reason.isEmpty())
        r.reason = QStringLiteral("aucun dossier où l'écrire");
    return r;
}

QString systemReason(const QString &reason)
{
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        return QStringLiteral("raison inconnue");
    return reason;
}

QString writeProblem(const QString &tablePath)
{
    const QFileInfo file(tablePath);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return QStringLiteral("le dossier « %1 » n'existe pas").arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("« %1 » n'est pas un dossier").arg(QDir::toNativeSeparators(folder.filePath()));
    if (file.isDir())
        return QStringLiteral("« %1 » est un dossier").arg(QDir::toNativeSeparators(file.filePath()));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("le fichier est en lecture seule");
    // A save writes a new file beside the table and renames it over the table.
    QTemporaryFile probe(QDir(folder.filePath()).filePath(QStringLiteral(".velder-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("le dossier n'accepte pas de nouveau fichier : %1").arg(systemReason(probe.errorString()));
    return {};
}

QString backupFailedText(const QString &backupPath, const QString &reason)
{
    return QStringLiteral("La table a été enregistrée, mais sa copie de sauvegarde « %1 » n'a pas pu être faite (%2).")
        .arg(QDir::toNativeSeparators(backupPath), systemReason(reason));
}

QString saveFailedText(const QString &tablePath, const QString &reason)
{
    return QStringLiteral("La table n'a pas pu être enregistrée dans le fichier\n%1\n\nCause : %2\n\n"
                          "Réessayer : tenter à nouveau l'enregistrement.\n"
                          "Copie de secours : copier les enregistrements dans un fichier de secours de vos "
                          "documents, puis quitter la table sans rien perdre.\n"
                          "Annuler : revenir à la saisie, la table restant ouverte.")
        .arg(QDir::toNativeSeparators(tablePath), systemReason(reason));
}

QString rescuedText(const QString &rescuePath)
{
    return QStringLiteral("La table n'a pas été modifiée. Tous ses enregistrements ont été copiés dans le fichier "
                          "de secours\n%1")
        .arg(rescuePath);
}

QString rescueFailedText(const QString &reason)
{
    return QStringLiteral("La copie de secours n'a pas pu être enregistrée non plus (%1). Libérez de la place ou "
                          "vérifiez les droits des dossiers, puis réessayez.")
        .arg(systemReason(reason));
}

QString unwritableText(const QString &tablePath, const QString &reason)
{
    return QStringLiteral("La table %1 ne peut pas être enregistrée à sa place (%2) : vos modifications devront "
                          "être enregistrées ailleurs, dans une copie de secours.")
        .arg(QDir::toNativeSeparators(tablePath), reason);
}

} // namespace savefailure
