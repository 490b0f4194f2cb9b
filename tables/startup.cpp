#include "tables/startup.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace startup {

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString appFolder()
{
    const QString &set = folderOverride();
    return set.isEmpty() ? QCoreApplication::applicationDirPath() : set;
}

void setAppFolder(const QString &folder) { folderOverride() = folder; }

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

SingleInstance::SingleInstance(const QString &folder)
{
    if (tryLock(QDir(folder).filePath(lockFileName())))
        return;
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_first = false;
        return;
    }
    // The folder takes no file (read-only media): keep the lock in the temporary
    // folder, under a name that belongs to this application folder alone.
    const QByteArray key = QFileInfo(folder).absoluteFilePath().toLower().toUtf8();
    const QString name = QStringLiteral("Velder-%1.lck")
                             .arg(QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16)));
    if (tryLock(QDir::temp().filePath(name)))
        return;
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_first = false;
        return;
    }
    // No lock anywhere: better a program that runs than one that refuses to start.
    m_lock.reset();
    m_path.clear();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock(const QString &path)
{
    m_lock = std::make_unique<QLockFile>(path);
    // Only a dead owner makes a lock stale; never its age (the program runs for hours).
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
        return false;
    m_path = path;
    return true;
}

} // namespace startup
