#pragma once
// The table manager "Ouvrir": the first window of the program. It lists the tables
// of the application folder and opens, creates, deletes, imports, exports and
// prints them, and starts the two sibling programs. The other windows are reached
// only through the hooks below, which the program's start wires.
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class TableStore;

class FrmOuvrir : public QWidget {
    Q_OBJECT
public:
    explicit FrmOuvrir(const QString &appFolder, QWidget *parent = nullptr);

    // ---- hooks ------------------------------------------------------------------
    // The entry window loads the table at path and shows it (the manager is hidden
    // by then). False when the table cannot be shown: the manager comes back.
    std::function<bool(const QString &path)> openTable;
    // The detail window in mode 12 for a new table: fills commune, sources, people.
    std::function<void(TableStore &table)> askProperties;
    // The listing of the table at path ("Imprimer").
    std::function<void(const QString &path)> printTable;
    // "Importer": returns the path of the new table (listed and selected), or empty.
    // When not set, the import of tables/import.h runs (its table properties through
    // askProperties).
    std::function<QString()> importTable;
    // Before the program ends: the entry window stores the record shown and saves.
    std::function<void()> beforeQuit;
    // Ends the program.
    std::function<void()> quitProgram = [] { QCoreApplication::quit(); };
    // Starts a sibling program detached, without arguments (QProcess when not set).
    std::function<bool(const QString &program, const QString &workingFolder)> startProgram;
    // Message boxes (QMessageBox when not set).
    std::function<void(const QString &title, const QString &text, QMessageBox::Icon icon)> showMessage;
    std::function<bool(const QString &title, const QString &text, QMessageBox::Icon icon, bool defaultYes)> askYesNo;

    // ---- program start and the entry window's "Ouvrir" -----------------------------
    // With a table path (from the command line) opens it at once; otherwise, or when
    // it cannot be opened, shows the manager.
    void start(const QString &tablePath = {});
    // Brings the manager back: the list refreshed, the dialog shown in front.
    void showAgain();

    // Inspects, upgrades when needed, hides the manager and opens the table through
    // openTable; when the table does not open, the manager is shown again.
    void openTableAt(const QString &path);

    QString appFolder() const { return m_appFolder; }
    // The sibling programs stand beside the program file, wherever the tables are
    // (startup::programFolder() unless set).
    void setProgramFolder(const QString &folder);
    // The list's selected file name, empty when none.
    QString selectedTable() const;
    // Full path of the selected table, empty when none.
    QString selectedTablePath() const;
    // Re-reads the folder; keeps the selected table when it is still there,
    // otherwise selects the first one.
    void refreshList(const QString &select = {});
    // The six command buttons an import disables while it runs.
    QList<QWidget *> commandButtons() const;

    // ---- controls ---------------------------------------------------------------
    QFrame *Frame1;
    QRadioButton *OptNvtbl;
    QRadioButton *Option1;
    QLineEdit *TxtNomTable;
    QListWidget *File1;
    QPushButton *OKButton;
    QPushButton *CmdAnnuler;
    QPushButton *CmdImporter;
    QPushButton *CmdExporter;
    QPushButton *CmdSuppr;
    QPushButton *CmdPrint;
    QFrame *Frame2;
    QToolButton *Option2;
    QFrame *Frame3;
    QToolButton *Option3;
    QLabel *Label1;
    QLabel *Picture1;
    QLabel *LblAide;
    QFrame *Line1, *Line2, *Line3, *Line4;

    // ---- handlers -----------------------------------------------------------------
    void OKButton_Click();
    void Option1_Click();
    void OptNvtbl_Click();
    void TxtNomTable_Click();
    void CmdSuppr_Click();
    void Option2_Click();
    void Option3_Click();
    void CmdAnnuler_Click();
    void CmdImporter_Click();
    void CmdExporter_Click();
    void CmdPrint_Click();

    static QString productTitle() { return QStringLiteral("VELDER"); }
    // Said once a table that looks like UTF-8 text is open.
    static QString utf8Warning(const QString &fileName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The path of the new table to create, empty when the operation ends.
    QString createNewTable();
    void message(const QString &title, const QString &text, QMessageBox::Icon icon = QMessageBox::NoIcon);
    bool ask(const QString &title, const QString &text, QMessageBox::Icon icon, bool defaultYes);
    void startSibling(const QString &baseName, QToolButton *button);
    void updateSiblings();
    void setHelp(QWidget *control, const QString &text);

    QString m_appFolder;
    QString m_programFolder;
    bool m_ending = false;
    bool m_placed = false;
};
