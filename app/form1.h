#pragma once
// The entry window: one record at a time in fixed controls, navigation between
// records, deletion, the toolbar and the help line. Store and Show themselves are
// store/transfer.h; this window only copies its controls to and from an EntryState.
#include "app/fieldedit.h"
#include "app/savefailure.h"
#include "app/search.h"
#include "store/tablestore.h"
#include "store/transfer.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class Form1 : public QWidget, public FieldHost {
    Q_OBJECT
public:
    explicit Form1(TableStore &table, QWidget *parent = nullptr);
    ~Form1() override;

    // ---- Controls, named as the users' documentation names them ----
    std::array<QLineEdit *, record::TxtCount> Txt{};
    QComboBox *CmbParoisse = nullptr;
    QComboBox *CmbActe = nullptr;
    QCheckBox *ChkDispense = nullptr;
    QLineEdit *Txtnb = nullptr;
    QLabel *LblNb = nullptr;
    std::array<QLabel *, 9> Lbl{};
    QLabel *Lblnb2 = nullptr;
    QLabel *Label6 = nullptr;   // "Cote:"
    QLabel *Label9 = nullptr;   // first "/" of the date
    QLabel *Label10 = nullptr;  // second "/" of the date
    QLabel *Label31 = nullptr;  // "Recherche par Epoux:"
    std::array<QPushButton *, 7> CmdRq{};
    QPushButton *CmdCM = nullptr;
    QPushButton *CmdTemoin = nullptr;
    QPushButton *CmdDebut = nullptr;
    QPushButton *CmdPrecedent = nullptr;
    QPushButton *CmdSuivant = nullptr;
    QPushButton *CmdFin = nullptr;
    QPushButton *CmdOuvrir = nullptr;
    QPushButton *CmdQuitter = nullptr;
    std::array<QLabel *, 4> PicBouton{};
    std::array<QFrame *, 4> LnBouton{};
    QLabel *Picture1 = nullptr;
    QLabel *LblAideSaisie = nullptr;
    QLineEdit *TxtRech = nullptr;
    QPushButton *CmdRechP = nullptr;
    QPushButton *CmdRechS = nullptr;
    QTimer *Timer1 = nullptr;

    // ---- Hooks wired by the program's start; all optional ----
    // Opens the detail window in a mode (1..13). The hook reads the record with
    // readState() and gives back what the detail window edits with applyDetail();
    // the parish list is reread from the table store afterwards.
    std::function<void(int mode)> onDetail;
    std::function<void()> onPrintCard;      // toolbar button 2
    std::function<void()> onShowManager;    // "Ouvrir", and after an incompatible table
    std::function<bool()> managerVisible;   // the table manager is shown
    std::function<void()> onUnloaded;       // the window closed for good (end the program)
    // Message boxes, replaceable by tests.
    std::function<void(const QString &title, const QString &text)> showMessage;  // OK only
    std::function<bool(const QString &title, const QString &text)> askYesNo;     // No by default
    // The table could not be written: try again, write a rescue copy and leave, or stay.
    std::function<savefailure::Choice(const QString &title, const QString &text)> askSaveFailure;
    // Where a rescue copy goes, first folder first; tests point it elsewhere.
    QStringList rescueFolders = savefailure::defaultFolders();

    // ---- The record as values ----
    EntryState readState() const;
    void writeState(const EntryState &s);
    // Takes back only what the detail window edits: the detail groups and the
    // previous spouses' boxes 16, 17, 28, 29. Which record is shown never changes here.
    void applyDetail(const EntryState &s);
    const std::array<QString, record::GroupSlots> &groups() const { return m_groups; }

    // Store (mode) then Show: every move between records.
    void Store(int mode, int target = 0);
    // Load table: reads the file, fills the parish list, shows the spare slot.
    bool loadTable(const QString &path);
    // Saves the table file. When it cannot be written the user may try again, or have
    // the records written to a rescue copy and leave; false when the user stays.
    bool saveTable();
    // Stores the record shown and saves; false when the save failed and was not retried.
    bool storeAndSave();
    // Rereads the parish list of the table into CmbParoisse, keeping the box's text.
    void refreshParishList();
    // The record number shown (0 when none).
    int shownNumber() const { return m_shown.toInt(); }
    TableStore &tableStore() { return m_table; }

    // What the keystroke rules of the text boxes ask of the window (FieldHost).
    QString boxText(int index) const override;
    const TableStore *table() const override { return &m_table; }
    DateBoxes dateBoxes() const override { return m_date; }
    void setBoxText(int index, const QString &text) override;
    // Keeps the date layout and moves and sizes Txt(4), Txt(5) and Label10 to it.
    void setDateBoxes(const DateBoxes &date) override;
    void focusBox(int index) override;
    void focusDispense() override;
    void setHelp(const QString &text) override;

    // Handlers, public so that the program and the tests can run them.
    void CmdDebut_Click() { Store(transfer::First); }
    void CmdPrecedent_Click() { Store(transfer::Previous); }
    void CmdSuivant_Click() { Store(transfer::Next); }
    void CmdFin_Click() { Store(transfer::End); }
    void CmdOuvrir_Click();
    void CmdQuitter_Click();
    void PicBouton_Click(int index);
    void DeleteShownRecord();
    void CmbActe_Click();
    void CmdRechP_Click();
    void CmdRechS_Click();
    void Timer1_Timer(QTime now);
    // Store (mode 7) and save, as the window's unloading does; false keeps it open.
    bool unload();

    static QString deletionQuestion(const QString &surname1, const QString &first1,
                                    const QString &surname2, const QString &first2);
    static const QString DefaultHelp;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void centre();
    void showIncompatible(bool saveFirst);
    void restoreTxtnb();
    bool pageKeyEvent(QObject *watched, QKeyEvent *e);
    bool txtnbKey(QKeyEvent *e);
    bool parishKey(QKeyEvent *e);
    bool parishChar(QChar key);
    bool searchKey(QKeyEvent *e);
    bool actLetter(QKeyEvent *e);
    bool dispenseEvent(QEvent *e);
    void openDetail(int mode);
    int toolbarIndex(const QObject *watched) const;   // -1 for no toolbar button
    void hoverToolbar(int index, bool pressed);
    void hideToolbarFrame();
    QString cmdCMHelp() const;

    TableStore &m_table;
    std::array<QString, record::GroupSlots> m_groups;
    QString m_shown;              // the record number last shown
    DateBoxes m_date;             // the date layout in force (the month's limit tells the calendar)
    bool m_savedByQuit = false;
    ScratchClock m_clock;
    search::SurnameIndex m_surnames;
    std::array<QGroupBox *, 5> m_frames{};
};
