#pragma once
// FrmRem, the detail window: one borderless modal window with one fixed set of
// controls, laid out anew for each detail mode. The handlers read the controls
// into DetailValues, call the logic of detaillogic.h and write the result back.
#include "detail/detaillogic.h"

#include <QClipboard>
#include <QDialog>
#include <QLineEdit>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace detail {

class FrmRem;

// The author and address shown in the about box.
extern const QString AuthorName;
extern const QString ContactAddress;

// TxtRqEp(i): a text box whose every typed or pasted character goes through the
// window's rules. Its length limit applies to typing and pasting only, so a
// longer stored value is shown and written back whole.
class DetailBox : public QLineEdit {
    Q_OBJECT
public:
    DetailBox(int index, FrmRem *form, QWidget *parent);
    int index() const { return m_index; }
    int limit() const { return m_limit; }      // 0: none
    void setLimit(int n) { m_limit = n; }
    // Room left for typed text (the selection is replaced).
    int room() const;
    void pasteClean(QClipboard::Mode mode = QClipboard::Clipboard);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;

private:
    int m_index;
    int m_limit{};
    FrmRem *m_form;
};

class FrmRem : public QDialog {
    Q_OBJECT
public:
    FrmRem(EntryState &entry, TableStore &table, std::function<void()> entryChanged = {}, QWidget *parent = nullptr);

    // Lays the window out for a mode (layout, captions, colours, visibility, limits).
    void ConfigureDetailWindow(int mode);
    // Configures the window for a mode and loads its values (what a caller does).
    void prepare(int mode);

    int mode() const { return m_mode; }
    DetailValues values() const;
    void setValues(const DetailValues &v);

    // Handlers.
    void CmdOk_Click();
    void CmdPrecedent_Click();
    void CmdSuivant_Click();
    void TxtRqEp_KeyPress(int index, QChar key);

    // Controls, by their names.
    QWidget *client = nullptr;             // the area inside the one-pixel border
    QLabel *Picture1 = nullptr;   // the about box's logo
    std::array<QLabel *, LabelCount> LblRem{};
    std::array<DetailBox *, BoxCount> TxtRqEp{};
    QWidget *Frame1 = nullptr, *Frame2 = nullptr;
    std::array<QRadioButton *, 2> Option2{};   // "M", "F"
    std::array<QRadioButton *, 2> Option1{};   // "Epoux", "Epouse"
    QPushButton *CmdPrecedent = nullptr, *CmdSuivant = nullptr, *CmdOk = nullptr;
    QListWidget *LstParoisse = nullptr;
    std::array<QLabel *, ParentCount> LblParents{};
    QFrame *Line1 = nullptr;

    bool committed() const { return m_closed; }

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyLayout(const Layout &l);
    void setLinkUnderline(bool on);
    void notifyEntry(bool wrote);

    EntryState &m_entry;
    TableStore &m_table;
    std::function<void()> m_entryChanged;
    int m_mode{};   // set by every showMode before the window is seen
    bool m_closed = false;
};

} // namespace detail
