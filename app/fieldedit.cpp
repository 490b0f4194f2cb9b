#include "app/fieldedit.h"

#include "app/cleanmenu.h"
#include "app/daterules.h"
#include "store/cp1252.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

using namespace fieldrules;

void FieldHost::beep()
{
    QApplication::beep();
}
namespace {

// Text typed as text: printable, and not a Ctrl shortcut (AltGr, which some
// systems report as Ctrl+Alt, still types).
bool isTypedText(const QKeyEvent *e)
{
    const QString t = e->text();
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    return !(mods & Qt::ControlModifier) || (mods & Qt::AltModifier);
}

// Focus changes that are not the user moving between boxes.
bool windowLevel(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

Qt::Alignment qtAlignment(Align a)
{
    return (a == Align::Center ? Qt::AlignHCenter : a == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

FieldEdit::FieldEdit(int index, FieldHost &host, QWidget *parent)
    : QLineEdit(parent), m_index(index), m_host(host)
{
    setAlignment(qtAlignment(boxInfo(index).align));
    if (boxInfo(index).rule == Rule::Date)
        setToolTip(daterules::FormatHelp);
}

Box FieldEdit::box() const
{
    Box b;
    b.text = text();
    if (hasSelectedText()) {
        b.caret = selectionStart();
        b.selLength = int(selectedText().size());
    } else {
        b.caret = cursorPosition();
    }
    return b;
}

void FieldEdit::setBox(const Box &b)
{
    if (text() != b.text)
        setText(b.text);
    setSelection(b.caret, b.selLength);   // a selection of 0 puts the caret alone
}

int FieldEdit::typedMaxLength() const
{
    return fieldrules::maxLength(m_index, m_host.dateBoxes());
}

void FieldEdit::typed(QChar key)
{
    apply(keyPress(m_index, box(), key, m_host));
}

void FieldEdit::apply(const Result &r)
{
    for (const auto &[i, t] : r.others)
        m_host.setBoxText(i, t);
    if (r.layout)
        m_host.setDateBoxes(*r.layout);
    if (r.align)
        setAlignment(qtAlignment(*r.align));
    if (r.help)
        m_host.setHelp(*r.help);
    if (r.box != box())
        setBox(r.box);

    // The box inserts the key as a text box does; QLineEdit's own editing keeps undo.
    if (!r.key.isNull()) {
        const Box now = box();
        if (r.key == QChar(key::Backspace)) {
            backspace();
        } else if (r.key == QChar(key::CtrlBackspace)) {
            const Box after = insertKey(now, r.key);
            if (after.caret < now.caret)   // a selection is deleted as it stands
                setSelection(after.caret, now.caret - after.caret);
            if (hasSelectedText())
                del();
        } else if (insertKey(now, r.key, typedMaxLength()) != now) {
            insert(QString(r.key));
        }
    }
    if (r.beep)
        m_host.beep();

    switch (r.focus) {
    case Focus::Stay: break;
    case Focus::NextControl: focusNextPrevChild(true); break;
    case Focus::Month: m_host.focusBox(box::Month); break;
    case Focus::Year: m_host.focusBox(box::Year); break;
    case Focus::Dispense: m_host.focusDispense(); break;
    }
}

void FieldEdit::keyPressEvent(QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste)) {
        pasteFrom(QClipboard::Clipboard);
        return;
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typed(QChar(key::Enter));
        return;
    case Qt::Key_Backspace:
        typed(QChar((e->modifiers() & Qt::ControlModifier) ? key::CtrlBackspace : key::Backspace));
        return;
    default:
        break;
    }
    if ((e->modifiers() & Qt::MetaModifier) && !e->text().isEmpty())
        return;   // a chord with the system key types nothing: Qt's box would insert its letter unshaped
    if (isTypedText(e)) {
        for (QChar c : e->text())
            typed(c);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void FieldEdit::keyReleaseEvent(QKeyEvent *e)
{
    QLineEdit::keyReleaseEvent(e);
    if (e->isAutoRepeat() || !hasFocus())
        return;
    apply(keyUp(m_index, box(), m_host));
}

void FieldEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (windowLevel(e->reason()))
        return;
    apply(gotFocus(m_index, box(), m_host));
}

void FieldEdit::focusOutEvent(QFocusEvent *e)
{
    if (!windowLevel(e->reason()))
        apply(lostFocus(m_index, box(), m_host));
    QLineEdit::focusOutEvent(e);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent *e)
{
    popupCleanMenu(this, e, [this] { pasteFrom(QClipboard::Clipboard); });
}

void FieldEdit::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteFrom(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void FieldEdit::dropEvent(QDropEvent *e)
{
    const QString before = text();
    bool refused;   // always set by the cleaning
    QString clean = cp1252::cleanForField(e->mimeData()->text(), &refused);   // no text: nothing to drop
    if (refused)
        m_host.beep();   // refused whole
    const int limit = typedMaxLength();
    if (limit > 0 && e->source() != this)
        clean = clean.left(std::max<qsizetype>(0, limit - text().size()));
    if (refused || clean.isEmpty())
        return;   // a drop event starts ignored: refused
    QMimeData cleaned;
    cleaned.setText(clean);
    QDropEvent drop(e->position(), e->possibleActions(), &cleaned, e->buttons(), e->modifiers());
    drop.setDropAction(e->dropAction());
    QLineEdit::dropEvent(&drop);
    e->setDropAction(drop.dropAction());
    e->setAccepted(drop.isAccepted());
    followSurname(before);
}

void FieldEdit::inputMethodEvent(QInputMethodEvent *e)
{
    // Composed characters arrive here: they go through the rules as typed keys.
    if (!e->commitString().isEmpty() && e->preeditString().isEmpty() && e->replacementLength() == 0) {
        for (QChar c : e->commitString())
            typed(c);
        return;
    }
    // Along with a preedit or a replacement, only what a table can hold is committed.
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(cp1252::cleanForField(e->commitString()), e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void FieldEdit::pasteFrom(QClipboard::Mode mode)
{
    pasteText(QGuiApplication::clipboard()->text(mode));
}

void FieldEdit::pasteText(const QString &pasted)
{
    bool refused;   // always set by the cleaning
    QString clean = cp1252::cleanForField(pasted, &refused);
    if (refused) {
        m_host.beep();
        return;
    }
    const Box b = box();
    const int limit = typedMaxLength();
    if (limit > 0)
        clean = clean.left(std::max(0, limit - (int(b.text.size()) - b.selLength)));
    if (clean.isEmpty())
        return;
    const QString before = text();
    insert(clean);
    followSurname(before);
}

// A paste into a spouse's surname is followed by the father's, as typing is.
void FieldEdit::followSurname(const QString &before)
{
    if (m_index != box::HusbandSurname && m_index != box::WifeSurname)
        return;
    const int father = m_index + 4;
    if (text() != before && m_host.boxText(father).compare(before, Qt::CaseInsensitive) == 0)
        m_host.setBoxText(father, text());
}
