#pragma once
// "Importer" of the table manager: a file from anywhere becomes a table of the
// application folder. Three kinds of input are told apart by counting fields:
// a quoted comma export of 216 or 217 columns in the OEM (DOS) character set,
// a TAB list of 19 columns, and anything else, copied as a table file.
// The conversion layer is plain functions; CmdImporter_Click adds the dialogs
// (behind hooks), the progress bar and the buttons.
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QPainter;
class QPixmap;
class QSize;
class QWidget;
class TableStore;

namespace importer {

// ---- text helpers -------------------------------------------------------------

// First character upper, rest lower, then the character after every blank, "-"
// and "/" upper: "JEAN-MARIE DE LA FONTAINE" gives "Jean-Marie De La Fontaine".
QString titleCase(const QString &text);
// OEM (code page 850) bytes to text; the text ends at a NUL byte if there is one.
QString oemToAnsi(QByteArrayView bytes);
// The lines of a file's bytes, split as a table is (store/lineends.h); a final
// terminator opens no further line.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

// ---- recognition --------------------------------------------------------------

enum class Layout { Comma, Tab, Copy };
// The layout of a file from its lines; nullopt when it is not a comma file and has
// fewer than two lines ("Ce fichier n'est pas un fichier compatible").
std::optional<Layout> recognise(const QList<QByteArrayView> &lines);

// ---- converters ---------------------------------------------------------------

// TAB layout: one source line (19 columns, more are ignored) to a record line.
// False when the line has fewer than 19 columns.
bool tabRecordLine(const QString &sourceLine, QString &recordLine);
// Comma layout: one source line (already converted from OEM) to a record line.
QString commaRecordLine(const QString &sourceLine, const QString &commune);
// The parish field a record gets from the source's parish value.
QString tabParish(const QString &sourceValue);
QString commaParish(const QString &sourceValue);
// The parish list of the header: the source values compared as they stand
// (letter case included), in order of first appearance, each written in the form
// its records get (two spellings that differ only in case are listed twice).
QStringList parishList(const QStringList &sourceValues, Layout layout);
// The header of a converted table: commune, "Paroisse", people, parishes.
QString headerLine(const QString &commune, const QString &people, const QStringList &parishes);

// The target table for a source path: base name up to its last "." and "krv";
// empty when the base name has no ".".
QString targetFileName(const QString &sourcePath);

// ---- progress bar -------------------------------------------------------------

enum Phase { NoPhase = 0, Extraction = 1, ParishListing = 2, Conversion = 3 };
// "Extraction: 50%", "Listage Paroisse: 50%", "Conversion: 50%", or "50%".
QString progressText(int phase, int percent);
// Draws the bar into a painter covering size: background, then the bar (from the
// left over percent of the width, or from the bottom over percent of the height),
// then the text centred. Percentages outside 0..100 draw nothing.
void drawProgress(QPainter &painter, const QSize &size, int percent, bool horizontal,
                  bool showText, const QColor &barColour, int fontPointSize,
                  const QColor &textColour, const QString &text, const QColor &background);
// The import's bar: horizontal, text shown, red, 8 point bold, black text.
QPixmap importProgressPixmap(const QSize &size, int phase, int percent, const QColor &background);
// Paints the import's bar into the picture box at once.
void showProgress(QLabel *picture, int phase, int percent);

// ---- the whole conversion -----------------------------------------------------

struct Observer {
    // Called when the percentage of a phase changes (0..100).
    std::function<void(int phase, int percent)> progress;
};

// InUse: the source cannot be read (held by another program); Incompatible: not
// importable, or a list line too short; Failed: the table cannot be written or
// replaced (a full disk, a folder that takes no file), `why` telling the reason.
enum class Outcome { Done, Incompatible, InUse, Failed };
// Converts or copies source into target (a temporary file beside it, renamed into
// place when complete): nothing under target changes unless Done is returned.
// askProperties is called once for the comma and TAB layouts, with an empty
// store whose commune and people it fills (the detail window in mode 12).
Outcome importFile(const QString &sourcePath, const QString &targetPath,
                   const std::function<void(TableStore &)> &askProperties,
                   const Observer &observer = {}, QString *why = nullptr);
// The message of a table that could not be written, with the reason.
QString failureMessage(const QString &tableName, const QString &why);

// ---- the button ---------------------------------------------------------------

struct Hooks {
    // Open dialog; returns the chosen path, empty when cancelled.
    std::function<QString(QWidget *parent, const QString &title, const QString &filter)> openFileName;
    // Yes/No question; true for Yes.
    std::function<bool(QWidget *parent, const QString &text, const QString &title)> askYesNo;
    // Message with the critical icon.
    std::function<void(QWidget *parent, const QString &text, const QString &title)> critical;
    // The table properties (the detail window in mode 12): fills commune and people.
    std::function<void(TableStore &)> askProperties;
};

// The dialog's filter list, written for the file dialog.
QString openFilter();
Hooks defaultHooks();

struct Controls {
    QWidget *dialog = nullptr;      // FrmOuvrir: parent of the dialogs, busy cursor
    QLabel *label1 = nullptr;       // "Conversion en cours..."
    QLabel *picture1 = nullptr;     // the progress bar
    QList<QWidget *> buttons;       // the six buttons, disabled while importing
};

// The "Importer" button. Returns the path of the new table (to be listed and
// selected, not opened), empty when nothing was imported. Hooks left empty fall
// back to the real dialogs (askProperties to nothing: commune and people empty).
QString CmdImporter_Click(const Controls &controls, const QString &appFolder, const Hooks &hooks = {});

} // namespace importer
