#include "tables/startup.h"

#include "tables/tablefiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryFile>

// Where an installed copy keeps its shared files, seen from the folder of the program.
#ifndef VELDER_DATA_FROM_BIN
#define VELDER_DATA_FROM_BIN "../share/velder"
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace startup {

QString appFolder()
{
    // Decided once: the folder must not change under a running program.
    static const QString chosen = [] {
        const QString program = programFolder();
        return chooseAppFolder(program, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                               installedSamplesFolder(program));
    }();
    return chosen;
}

QString programFolder() { return QCoreApplication::applicationDirPath(); }

bool canWriteIn(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("Velder-XXXXXX.tmp")));
    return probe.open();
}

QString installedSamplesFolder(const QString &programFolder)
{
    const QFileInfo samples(QDir(programFolder).filePath(QStringLiteral(VELDER_DATA_FROM_BIN "/samples")));
    return samples.isDir() ? samples.absoluteFilePath() : QString();
}

QString chooseAppFolder(const QString &programFolder, const QString &userFolder, const QString &samplesFolder)
{
    if (samplesFolder.isEmpty() && canWriteIn(programFolder))
        return programFolder;
    if (userFolder.isEmpty())
        return programFolder;
    const bool firstStart = !QFileInfo::exists(userFolder);
    if (!QDir().mkpath(userFolder))
        return programFolder;
    // Only into a folder made now: a table the user deleted later stays deleted.
    if (firstStart) {
        const QDir from(samplesFolder.isEmpty() ? programFolder : samplesFolder);
        const QDir to(userFolder);
        for (const QString &name : tablefiles::listTables(from.path()))
            QFile::copy(from.filePath(name), to.filePath(name));
    }
    return QDir(userFolder).absolutePath();
}

Request requestFromArguments(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return Request::Run;
    if (arguments.at(1) == QLatin1String("--help"))
        return Request::Help;
    if (arguments.at(1) == QLatin1String("--version"))
        return Request::Version;
    return Request::Run;
}

QString usageText()
{
    return QStringLiteral(
        "Utilisation : velder [TABLE]\n"
        "Velder : saisie, consultation, impression et publication des tables de mariages.\n"
        "\n"
        "  TABLE       ouvre directement cette table (.krv), avec ou sans guillemets\n"
        "  --help      affiche cette aide et s'arrête\n"
        "  --version   affiche la version et s'arrête\n"
        "\n"
        "Sans TABLE, Velder s'ouvre sur la liste des tables de son dossier : celui du\n"
        "programme quand on peut y écrire, sinon le dossier de données de l'utilisateur\n"
        "(~/.local/share/Velder sous Linux).\n");
}

QString versionText() { return QStringLiteral("Velder " VELDER_VERSION "\n"); }

QString tablePathFromCommandLine(const QString &commandLine)
{
    QString path = commandLine.trimmed();
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2).trimmed();
    return path;
}

QString tablePathFromArguments(const QStringList &arguments)
{
    const QString path = tablePathFromCommandLine(arguments.mid(1).join(u' '));
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

LockCheck checkLeftLock(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return LockCheck::Removed;
        // Not even readable: nothing in it can show a live owner.
        return ::unlink(name.constData()) == 0 ? LockCheck::Removed : LockCheck::Unremovable;
    }
    // A running copy keeps an exclusive native lock on its lock file for its whole
    // run; a lock nobody holds so was left by a copy that is gone, whatever it
    // holds (nothing after a power cut, a stranger's number, a reused one).
    LockCheck result = LockCheck::Held;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Remove only the file just checked, not one a starting copy made since.
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino)
            result = ::unlink(name.constData()) == 0 ? LockCheck::Removed : LockCheck::Unremovable;
    }
    // Any other failure of the native lock (a disk that has none): the owner's
    // number, which Qt has already judged, is all there is to go by.
    ::close(fd);
    return result;
#else
    // A running copy keeps its lock file open, and the system then refuses to delete it.
    return QFile::remove(path) ? LockCheck::Removed : LockCheck::Held;
#endif
}

SingleInstance::SingleInstance(const QString &folder)
{
    switch (tryLock(QDir(folder).filePath(lockFileName()))) {
    case Attempt::Taken:
        return;
    case Attempt::Held:
        m_first = false;
        return;
    case Attempt::Unusable:
        break;
    }
    // The folder takes no file (read-only media), or keeps a dead lock it will not
    // let go: keep the lock in the temporary folder, under a name that belongs to
    // this application folder alone.
    const QByteArray key = QFileInfo(folder).absoluteFilePath().toLower().toUtf8();
    const QString name = QStringLiteral("Velder-%1.lck")
                             .arg(QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16)));
    switch (tryLock(QDir::temp().filePath(name))) {
    case Attempt::Taken:
        return;
    case Attempt::Held:
        m_first = false;
        return;
    case Attempt::Unusable:
        break;
    }
    // No lock anywhere: better a program that runs than one that refuses to start.
    m_lock.reset();
    m_path.clear();
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Attempt SingleInstance::tryLock(const QString &path)
{
    m_lock = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale; never its age (the program runs for hours).
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() != QLockFile::LockFailedError)
            return Attempt::Unusable;
        // Qt takes a lock it cannot read for a live one: look at it ourselves.
        switch (checkLeftLock(path)) {
        case LockCheck::Held:
            return Attempt::Held;
        case LockCheck::Unremovable:
            return Attempt::Unusable;
        case LockCheck::Removed:
            if (m_lock->tryLock(0))
                break;
            // Another copy took it in the meantime.
            return m_lock->error() == QLockFile::LockFailedError ? Attempt::Held : Attempt::Unusable;
        }
    }
    m_path = path;
    return Attempt::Taken;
}

} // namespace startup
