#include "store/filesync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace filesync {

namespace {
std::function<void(const QString &)> &watcher()
{
    static std::function<void(const QString &)> w;
    return w;
}
} // namespace

void setSyncWatcher(std::function<void(const QString &folder)> w) { watcher() = std::move(w); }

bool syncFolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (watcher())
        watcher()(folder);
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = ::fsync(fd) == 0;   // EBADF when the folder would not open
    ::close(fd);
    return ok;
#else
    // Windows writes the directory entry of a completed rename itself.
    return true;
#endif
}

bool openForWriting(QSaveFile &file) { return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

QString failureReason(const QString &path, const QString &systemReport, int errorNumber)
{
    const QFileInfo target(path);
    if (target.isDir())
        return QStringLiteral("un dossier porte déjà ce nom");
    // The nearest existing folder on the way tells a missing folder from a file
    // standing where a folder should be.
    QFileInfo up(target.absolutePath());
    while (!up.exists() && !up.isRoot() && up.absoluteFilePath() != up.absolutePath())
        up.setFile(up.absolutePath());
    if (up.exists() && !up.isDir())
        return QStringLiteral("« ") + QDir::toNativeSeparators(up.absoluteFilePath()) + QStringLiteral(" » est un fichier, pas un dossier");
    if (!QFileInfo(target.absolutePath()).exists())
        return QStringLiteral("le dossier « %1 » n'existe pas").arg(QDir::toNativeSeparators(target.absolutePath()));
    const struct {
        int error;
        const char16_t *text;
    } known[] = {
        {ENOSPC, u"le disque est plein"},
#ifdef EDQUOT
        {EDQUOT, u"le quota de place sur le disque est atteint"},
#endif
        {EACCES, u"l'écriture y est refusée (droits insuffisants)"},
        {EPERM, u"l'écriture y est refusée (droits insuffisants)"},
        {EROFS, u"le disque est en lecture seule"},
        {EIO, u"le disque a signalé une erreur d'écriture"},
        {ENAMETOOLONG, u"le nom du fichier est trop long"},
        {EFBIG, u"le fichier dépasserait la taille que le système permet"},
        {EBUSY, u"le fichier est utilisé par une autre application"},
    };
    for (const auto &k : known)
        if (errorNumber == k.error)
            return QString::fromUtf16(k.text);
    for (const auto &k : known)
        if (systemReport == qt_error_string(k.error))
            return QString::fromUtf16(k.text);
    if (systemReport.isEmpty())
        return QStringLiteral("le système n'en a pas donné la raison");
    return QStringLiteral("le système signale : ") + systemReport;
}

} // namespace filesync
