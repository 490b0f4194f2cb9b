#pragma once
// The program's start: its folder, the table named on the command line, and the
// rule that only one copy of the program runs on a folder.
//
// The program's main uses them so:
//     QApplication app(argc, argv);
//     startup::SingleInstance instance(startup::appFolder());
//     if (!instance.isFirst())
//         return 0;                              // another copy is running: end at once
//     FrmOuvrir manager(startup::appFolder());
//     ... wire manager's hooks to the entry, detail and print windows ...
//     manager.start(startup::tablePathFromArguments(app.arguments()));
//     return app.exec();
#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

namespace startup {

// The application folder, where the tables, "Temp.tmp", "Temp2.tmp" and the lock
// live: chooseAppFolder() on the program's folder and the user's data folder, decided
// once per run.
QString appFolder();

// The folder of the program file itself, where the sibling programs stand.
QString programFolder();

// The program's own folder when a file can be made in it and it is not an installed
// copy; otherwise the user's data folder, made when missing. A data folder made now
// receives the tables of `samplesFolder` (an installed copy's samples) or, when that
// is empty, those standing beside the program. When no data folder can be made, the
// program's folder after all: the program starts, and its saves fail.
QString chooseAppFolder(const QString &programFolder, const QString &userFolder, const QString &samplesFolder = {});
// The sample tables an installed copy carries ("<prefix>/share/velder/samples" for a
// program in "<prefix>/bin"); empty when the program is not installed.
QString installedSamplesFolder(const QString &programFolder);
// True when a new file can be made in the folder.
bool canWriteIn(const QString &folder);

// What the arguments ask before any window: "--help" or "--version" alone end the
// program at once after printing `usageText()` or `versionText()`; anything else
// is a table path.
enum class Request { Run, Help, Version };
Request requestFromArguments(const QStringList &arguments);
QString usageText();
QString versionText();

// The table path of a command line: the whole text, without the double quotes
// around it when there are (a shell or the C runtime may already have removed them).
// Empty when the line is empty or blank.
QString tablePathFromCommandLine(const QString &commandLine);
// The same from the program's arguments (the first being the program itself):
// the remaining arguments joined by blanks, as a path with blanks arrives unquoted.
// A relative path is taken from the current folder.
QString tablePathFromArguments(const QStringList &arguments);

// What a lock file that could not be taken turns out to be: held by a running copy,
// or left behind (empty, unreadable, naming a process that is gone or not ours) and
// now removed, or left behind where it cannot be removed (a read-only folder).
enum class LockCheck { Held, Removed, Unremovable };
LockCheck checkLeftLock(const QString &path);

// Holds a lock in the folder for the program's whole run. A copy that finds the lock
// held by a running program is not the first; a lock left behind by a program that
// ended without releasing it (a crash, a power cut) is taken over, whatever it holds.
// A dead lock that cannot be removed moves the lock to the temporary folder.
class SingleInstance {
public:
    explicit SingleInstance(const QString &folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    bool isFirst() const { return m_first; }
    // The lock file used (empty when no lock could be made anywhere).
    QString lockPath() const { return m_path; }

    static QString lockFileName() { return QStringLiteral("Velder.lck"); }

private:
    enum class Attempt { Taken, Held, Unusable };
    Attempt tryLock(const QString &path);

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    bool m_first = true;
};

} // namespace startup
