#pragma once
// One box of the entry window's Txt array. The widget stays thin: it reads its
// text, caret and selection, hands every key and focus change to the rules of
// fieldrules.h, and applies the result. What the rules change outside the box
// (another box, the date layout, the help line, the focus) goes through FieldHost,
// which the entry window implements over its Txt array.
#include "app/fieldrules.h"

#include <QClipboard>
#include <QLineEdit>

// The entry window as the boxes see it.
// The Qt alignment of a box's designed alignment.
Qt::Alignment qtAlignment(fieldrules::Align a);

class FieldHost : public fieldrules::Context {
public:
    // From fieldrules::Context: boxText(i), table() (may be null), dateBoxes().

    // Txt(index).Text = text (the father's surname copy and its clearing).
    virtual void setBoxText(int index, const QString &text) = 0;
    // A new date layout: keep it, and move and size Txt(4), Txt(5) and Label10 to it.
    virtual void setDateBoxes(const DateBoxes &date) = 0;
    // SetFocus on Txt(index) (the date boxes moving on: 4 and 5).
    virtual void focusBox(int index) = 0;
    // SetFocus on ChkDispense (after a full year).
    virtual void focusDispense() = 0;
    // LblAideSaisie.Caption = text.
    virtual void setHelp(const QString &text) = 0;
    virtual void beep();
};

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    FieldEdit(int index, FieldHost &host, QWidget *parent = nullptr);

    int index() const { return m_index; }
    // Text, caret (start of the selection) and selection length.
    fieldrules::Box box() const;
    void setBox(const fieldrules::Box &b);
    // The limit on typed and pasted characters now (0 none). QLineEdit's own
    // maxLength stays unlimited: it would cut texts set by the program, such as a
    // four-digit year shown after a switch to the Republican layout.
    int typedMaxLength() const;

    // Inserts text over the selection as a paste does: TAB, CR and LF are
    // removed, a text holding a character no table can store is refused with a beep.
    void pasteText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;

private:
    void typed(QChar key);
    void apply(const fieldrules::Result &r);
    void pasteFrom(QClipboard::Mode mode);
    void followSurname(const QString &before);

    int m_index;
    FieldHost &m_host;
};
