#pragma once
// "Exporter" of the table manager: a table of the application folder written to a
// file of the user's choice as a KRV copy, a TXT copy or a ";"-separated CSV file.
// The conversion functions are plain; CmdExporter_Click adds the dialogs, each
// behind a hook so that tests (and the program) can answer them.
#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace exporter {

// The form chosen by the last four characters of the target name, in upper case.
enum class Form { Copy, Csv, None };
Form formFor(const QString &targetName);

// The header row: "N°" and the 161 field names, joined by ";" (no line end).
QString csvHeader();
enum class Result { Written, Nothing, Failed };
// Writes the table file at tablePath to target in the form its name asks for.
// Copies are byte for byte; the CSV is Windows-1252 with CR LF. The table file is
// only read. A record line too short to split ends the CSV there: the rows before
// it are kept and Failed is returned. The target is replaced only once written.
// On Failed, `why` (when given) tells the reason in French.
Result exportTable(const QString &tablePath, const QString &target, QString *why = nullptr);
// The message of a failed export.
QString failureMessage(const QString &target, const QString &why);

struct Hooks {
    // Save dialog; returns the chosen path, empty when cancelled. defaultName is the
    // table's folder joined with the table's name less its last four characters.
    std::function<QString(QWidget *parent, const QString &title, const QString &defaultName,
                          const QString &filter)> saveFileName;
    // Yes/No question; true for Yes.
    std::function<bool(QWidget *parent, const QString &text, const QString &title)> askYesNo;
    // Message with an OK button.
    std::function<void(QWidget *parent, const QString &text, const QString &title)> inform;
    // A failed export, with the warning icon.
    std::function<void(QWidget *parent, const QString &text, const QString &title)> failed;
    // Hides the entry window (it is normally hidden already while the manager is up).
    std::function<void()> hideEntryWindow;
};

// The dialog's filter list, written for the file dialog.
QString saveFilter();
// Default hooks: QFileDialog / QMessageBox.
Hooks defaultHooks();

// The "Exporter" button. tablePath is the application folder joined with the
// list's selected file name, or empty when nothing is selected ("Veuillez
// sélectionner une table"). Hooks left empty fall back to the real dialogs.
// Returns what was done (Nothing when cancelled or refused).
Result CmdExporter_Click(QWidget *parent, const QString &tablePath, const Hooks &hooks = {});

} // namespace exporter
