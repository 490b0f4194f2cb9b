#pragma once
// The table files of the application folder as the manager sees them: the list,
// the name of a new table, its header line, deletion to the trash, and the two
// sibling programs that may stand beside the program.
#include <QString>
#include <QStringList>

namespace tablefiles {

// "*.krv" files of the folder (any letter case), sorted as a file list shows them.
QStringList listTables(const QString &folder);

// The typed name without a final ".txt" (those four lower-case characters only):
// "Baptêmes.txt" gives "Baptêmes", "Nord.TXT" stays "Nord.TXT".
QString withoutTxt(const QString &typed);
// The file of a new table: the name followed by ".krv".
QString newFileName(const QString &name);
// Names compared as the file system of the original platform does: without case.
bool sameFileName(const QString &a, const QString &b);

enum class NameProblem { None, Empty, BadCharacter };
// An empty (or blank) name, or one holding a character no file name may hold
// (a folder separator among them: a table always lives in the application folder).
NameProblem checkName(const QString &name);
QString nameProblemMessage(NameProblem problem);

// The header line of a new table: commune, sources and people; no parish yet.
QString newHeaderLine(const QString &commune, const QString &sources, const QString &people);
// Writes a table holding only its header line (replacing any file of that name).
bool createTable(const QString &path, const QString &headerLine);

enum class TrashResult { Trashed, Missing, InUse, Refused };
// Moves the table to the desktop's trash; nothing is deleted when the trash refuses.
TrashResult moveToTrash(const QString &path);

// The sibling program `baseName` ("VelderExport", "PrintVelder") of the folder:
// baseName + ".exe", or elsewhere than on Windows also the bare name. Empty when absent.
QString siblingProgram(const QString &folder, const QString &baseName);

} // namespace tablefiles
