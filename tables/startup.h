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

// The folder of the program, where its tables and scratch files live. Tests may
// set another one; an empty string restores the program's own folder.
QString appFolder();
void setAppFolder(const QString &folder);

// The table path of a command line: the whole text, without the double quotes
// around it when there are (a shell or the C runtime may already have removed them).
// Empty when the line is empty or blank.
QString tablePathFromCommandLine(const QString &commandLine);
// The same from the program's arguments (the first being the program itself):
// the remaining arguments joined by blanks, as a path with blanks arrives unquoted.
// A relative path is taken from the current folder.
QString tablePathFromArguments(const QStringList &arguments);

// Holds a lock in the folder for the program's whole run. A copy that finds the lock
// held by a running program is not the first; a lock left behind by a program that
// ended without releasing it (a crash, a power cut) is taken over.
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
    bool tryLock(const QString &path);

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    bool m_first = true;
};

} // namespace startup
