#include "detail/frmrem.h"

#include "app/cleanmenu.h"
#include "app/windowfont.h"
#include "detail/detailwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>

namespace detail {

const QString AuthorName = QStringLiteral("Aurélien Tassart");
const QString ContactAddress = QStringLiteral("a.tassart@krv.example");

namespace {

QFont windowFont(double pointSize = 8.25, bool bold = false)
{
    QFont f;   // the layouts were drawn in MS Sans Serif, which Windows draws with Microsoft Sans Serif
    f.setFamilies(windowFamilies());
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void setBack(QWidget *w, const QColor &c)
{
    if (!c.isValid())
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QRect pixels(const Item &it)
{
    return QRect(toPixels(it.left), toPixels(it.top), toPixels(it.width), toPixels(it.height));
}

void setChoice(std::array<QRadioButton *, 2> &pair, Choice c)
{
    // The window is new at each opening and its pairs start unchecked: None needs no unchecking.
    pair[0]->setChecked(c == Choice::First);
    pair[1]->setChecked(c == Choice::Second);
}

Choice choiceOf(const std::array<QRadioButton *, 2> &pair)
{
    if (pair[0]->isChecked())
        return Choice::First;
    if (pair[1]->isChecked())
        return Choice::Second;
    return Choice::None;
}

} // namespace

// ---------------------------------------------------------------- DetailBox

DetailBox::DetailBox(int index, FrmRem *form, QWidget *parent)
    : QLineEdit(parent), m_index(index), m_form(form)
{
    // Dropped text would bypass the rules of the box.
    setAcceptDrops(false);
}

int DetailBox::room() const
{
    if (m_limit <= 0)
        return INT_MAX;
    return std::max(0, m_limit - int(text().size() - selectedText().size()));
}

void DetailBox::pasteClean(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    std::optional<QString> pasted = cleanPaste(QGuiApplication::clipboard()->text(mode), m_form->mode(), m_index);
    if (!pasted) {
        QApplication::beep();
        return;
    }
    QString &clean = *pasted;
    clean.truncate(std::min<qsizetype>(clean.size(), room()));
    if (!clean.isEmpty() || hasSelectedText())
        insert(clean);
}

void DetailBox::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_form->TxtRqEp_KeyPress(m_index, QChar(13));
        return;   // taken here: a key event arrives accepted
    case Qt::Key_Escape:
        m_form->TxtRqEp_KeyPress(m_index, QChar(27));
        return;
    default:
        break;
    }
    if (e->matches(QKeySequence::Paste)) {
        pasteClean();
        return;
    }
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).isPrint()) {
        const auto mods = e->modifiers();
        const bool ctrl = mods & Qt::ControlModifier, alt = mods & Qt::AltModifier;
        if (ctrl && !alt) {
            // Shortcuts (select all, copy, undo): the box inserts nothing for them.
            QLineEdit::keyPressEvent(e);
            return;
        }
        if ((alt && !ctrl) || (mods & Qt::MetaModifier)) {
            e->ignore();
            return;
        }
        // Ctrl+Alt is AltGr on Windows: the character it gives is typed like any other.
        for (QChar c : t)
            m_form->TxtRqEp_KeyPress(m_index, c);
        return;
    }
    if (!t.isEmpty() && e->key() != Qt::Key_Backspace && e->key() != Qt::Key_Delete
        && !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        // Any other character (TAB typed through a shortcut, control codes) stays out.
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void DetailBox::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    selectAll();
}

void DetailBox::contextMenuEvent(QContextMenuEvent *e)
{
    popupCleanMenu(this, e, [this] { pasteClean(); });
}

void DetailBox::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteClean(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void DetailBox::inputMethodEvent(QInputMethodEvent *e)
{
    const QString commit = e->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    if (commit.size() == 1 && e->preeditString().isEmpty() && e->replacementLength() == 0) {
        // A composed character (dead keys): the same rules as a typed one.
        QInputMethodEvent rest(e->preeditString(), e->attributes());
        QLineEdit::inputMethodEvent(&rest);
        m_form->TxtRqEp_KeyPress(m_index, commit.at(0));
        return;
    }
    QString clean = cleanPaste(commit, m_form->mode(), m_index).value_or(QString());
    clean.truncate(std::min<qsizetype>(clean.size(), room()));
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(clean, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

// ---------------------------------------------------------------- FrmRem

FrmRem::FrmRem(EntryState &entry, TableStore &table, std::function<void()> entryChanged, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_entry(entry), m_table(table),
      m_entryChanged(std::move(entryChanged))
{
    setObjectName(QStringLiteral("FrmRem"));
    setModal(true);
    setFont(windowFont());

    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMouseTracking(true);
    client->installEventFilter(this);

    // Labels first, so that boxes stand above them where they overlap.
    Picture1 = new QLabel(client);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/detail/logo.png")));   // rings and the name on parchment
    Picture1->setObjectName(QStringLiteral("Picture1"));
    for (int i = 0; i < LabelCount; ++i) {
        LblRem[i] = new QLabel(client);
        LblRem[i]->setObjectName(QStringLiteral("LblRem") + QString::number(i));
        LblRem[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        LblRem[i]->setMouseTracking(true);
        LblRem[i]->installEventFilter(this);
    }
    for (int i = 0; i < ParentCount; ++i) {
        LblParents[i] = new QLabel(client);
        LblParents[i]->setObjectName(QStringLiteral("LblParents") + QString::number(i));
        LblParents[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    Line1 = new QFrame(client);
    Line1->setObjectName(QStringLiteral("Line1"));
    setBack(Line1, Qt::black);

    Frame1 = new QWidget(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2 = new QWidget(client);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    for (int i = 0; i < 2; ++i) {
        Option2[i] = new QRadioButton(QString::fromUtf16(Option2Places[i].caption), Frame1);
        Option2[i]->setObjectName(QStringLiteral("Option2_") + QString::number(i));
        Option1[i] = new QRadioButton(QString::fromUtf16(Option1Places[i].caption), Frame2);
        Option1[i]->setObjectName(QStringLiteral("Option1_") + QString::number(i));
    }

    for (int i = 0; i < BoxCount; ++i) {
        TxtRqEp[i] = new DetailBox(i, this, client);
        TxtRqEp[i]->setObjectName(QStringLiteral("TxtRqEp") + QString::number(i));
    }
    CmdOk = new QPushButton(client);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdPrecedent = new QPushButton(client);
    CmdPrecedent->setObjectName(QStringLiteral("CmdPrecedent"));
    CmdSuivant = new QPushButton(client);
    CmdSuivant->setObjectName(QStringLiteral("CmdSuivant"));
    LstParoisse = new QListWidget(client);
    LstParoisse->setObjectName(QStringLiteral("LstParoisse"));

    connect(CmdOk, &QPushButton::clicked, this, &FrmRem::CmdOk_Click);
    connect(CmdPrecedent, &QPushButton::clicked, this, &FrmRem::CmdPrecedent_Click);
    connect(CmdSuivant, &QPushButton::clicked, this, &FrmRem::CmdSuivant_Click);

    // Keyboard order: every focusable control in its place in the tab sequence.
    const QList<QWidget *> order{TxtRqEp[0], TxtRqEp[1], Option2[0], Option2[1], TxtRqEp[2], TxtRqEp[3], TxtRqEp[4],
        TxtRqEp[5], TxtRqEp[6], TxtRqEp[7], TxtRqEp[8], Option1[0], Option1[1], TxtRqEp[9], TxtRqEp[10], TxtRqEp[11],
        TxtRqEp[12], TxtRqEp[13], TxtRqEp[14], TxtRqEp[15], CmdOk, CmdSuivant, CmdPrecedent, LstParoisse};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    applyLayout(baseLayout());
    // Created centred on the screen.
    if (QScreen *s = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void FrmRem::applyLayout(const Layout &l)
{
    const int w = toPixels(l.outerWidth), h = toPixels(l.outerHeight);
    const int border = toPixels(BorderTwips);
    setFixedSize(w, h);
    client->setGeometry(border, border, w - 2 * border, h - 2 * border);
    setBack(client, l.back);

    auto place = [](QWidget *wd, const Item &it) {
        wd->setGeometry(pixels(it));
        wd->setVisible(it.visible);
    };
    auto labelStyle = [](QLabel *lab, const Item &it) {
        QFont f = windowFont(it.pointSize, it.bold);
        f.setItalic(it.italic);
        f.setUnderline(it.underline);
        lab->setFont(f);
        QPalette p = lab->palette();
        p.setColor(QPalette::WindowText, it.fore.isValid() ? it.fore : QColor(Qt::black));
        lab->setPalette(p);
        lab->setText(it.caption);
    };

    place(Picture1, l.picture);
    for (int i = 0; i < LabelCount; ++i) {
        place(LblRem[i], l.lblRem[i]);
        labelStyle(LblRem[i], l.lblRem[i]);
    }
    for (int i = 0; i < ParentCount; ++i) {
        place(LblParents[i], l.parents[i]);
        labelStyle(LblParents[i], l.parents[i]);
    }
    for (int i = 0; i < BoxCount; ++i) {
        place(TxtRqEp[i], l.box[i]);
        TxtRqEp[i]->setLimit(l.box[i].maxLength);
    }
    place(Frame1, l.frame1);
    place(Frame2, l.frame2);
    const int fh1 = toPixels(l.frame1.height), fh2 = toPixels(l.frame2.height);
    for (int i = 0; i < 2; ++i) {
        Option2[i]->setGeometry(toPixels(Option2Places[i].left), 0, toPixels(Option2Places[i].width), fh1);
        Option1[i]->setGeometry(toPixels(Option1Places[i].left), 0, toPixels(Option1Places[i].width), fh2);
    }
    auto button = [&](QPushButton *b, const Item &it) {
        place(b, it);
        b->setText(it.caption);
    };
    button(CmdOk, l.ok);
    button(CmdPrecedent, l.prev);
    button(CmdSuivant, l.next);
    place(LstParoisse, l.list);
    place(Line1, l.line);
    Line1->setFixedWidth(1);
}

void FrmRem::ConfigureDetailWindow(int mode)
{
    m_mode = (mode >= 1 && mode <= ModeCount) ? mode : 0;
    applyLayout(layoutFor(m_mode));
    if (m_mode == About) {
        LblRem[1]->setText(versionCaption(programVersion()));
        LblRem[2]->setText(QStringLiteral("Développé par ") + AuthorName);
        LblRem[4]->setText(ContactAddress);
        LblRem[4]->setCursor(Qt::PointingHandCursor);
    }
    // Resized windows are centred again rather than left where the large one stood.
    if (QScreen *s = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void FrmRem::prepare(int mode)
{
    ConfigureDetailWindow(mode);
    setValues(loadMode(m_mode, m_entry, m_table));
    // The first box of the tab order, or OK where no box is shown.
    QWidget *first = (m_mode >= 1 && m_mode <= TableProperties) ? static_cast<QWidget *>(TxtRqEp[0]) : CmdOk;
    first->setFocus(Qt::OtherFocusReason);
}

DetailValues FrmRem::values() const
{
    DetailValues v;
    for (int i = 0; i < BoxCount; ++i)
        v.boxes[i] = TxtRqEp[i]->text();
    v.sex = choiceOf(Option2);
    v.with = choiceOf(Option1);
    v.title = LblRem[0]->text();
    v.prevEnabled = CmdPrecedent->isEnabled();
    v.nextEnabled = CmdSuivant->isEnabled();
    for (int i = 0; i < LstParoisse->count(); ++i)
        v.parishes << LstParoisse->item(i)->text();
    v.parishSelected = LstParoisse->selectedItems().isEmpty() ? -1 : LstParoisse->currentRow();
    return v;
}

void FrmRem::setValues(const DetailValues &v)
{
    for (int i = 0; i < BoxCount; ++i)
        if (TxtRqEp[i]->text() != v.boxes[i])
            TxtRqEp[i]->setText(v.boxes[i]);
    setChoice(Option2, v.sex);
    setChoice(Option1, v.with);
    if (m_mode >= Witnesses && m_mode <= WifeSpouses)
        LblRem[0]->setText(v.title);
    CmdPrecedent->setEnabled(v.prevEnabled);
    CmdSuivant->setEnabled(v.nextEnabled);
    QStringList shown;
    for (int i = 0; i < LstParoisse->count(); ++i)
        shown << LstParoisse->item(i)->text();
    if (shown != v.parishes) {
        LstParoisse->clear();
        LstParoisse->addItems(v.parishes);
    }
    if (v.parishSelected >= 0 && v.parishSelected < LstParoisse->count())
        LstParoisse->setCurrentRow(v.parishSelected);
    else
        LstParoisse->clearSelection();
}

void FrmRem::notifyEntry(bool wrote)
{
    if (wrote && m_entryChanged)
        m_entryChanged();
}

void FrmRem::CmdOk_Click()
{
    if (m_closed)
        return;
    m_closed = true;
    notifyEntry(commitMode(m_mode, values(), m_entry, m_table));
    detailMode = 0;
    accept();
}

void FrmRem::CmdPrecedent_Click()
{
    switch (m_mode) {
    case Witnesses:
    case HusbandSpouses:
    case WifeSpouses: {
        DetailValues v = values();
        pagePrevious(m_mode, v, m_entry);
        setValues(v);
        break;
    }
    case Parishes: {   // "Ajouter"
        DetailValues v = values();
        switch (addParish(v)) {
        case AddResult::Duplicate: {
            const auto &warn = hooks().warning;
            if (warn)
                warn(this, QStringLiteral("Velder"), DuplicateParishMessage);
            break;
        }
        case AddResult::Added:
            setValues(v);
            TxtRqEp[0]->setFocus(Qt::OtherFocusReason);
            break;
        case AddResult::Empty:
            break;
        }
        break;
    }
    case TableProperties: {   // "Sources"
        const auto &ask = hooks().prompt;
        if (ask)
            applySourcesAnswer(m_table, ask(this, SourcesTitle, SourcesMessage, m_table.sources));
        break;
    }
    default:
        break;
    }
}

void FrmRem::CmdSuivant_Click()
{
    switch (m_mode) {
    case Witnesses:
    case HusbandSpouses:
    case WifeSpouses: {
        DetailValues v = values();
        const bool wrote = pageNext(m_mode, v, m_entry);
        setValues(v);
        notifyEntry(wrote);
        break;
    }
    case Parishes: {   // "Supprimer"
        DetailValues v = values();
        removeParish(v);
        setValues(v);
        break;
    }
    default:
        break;
    }
}

void FrmRem::TxtRqEp_KeyPress(int index, QChar key)
{
    DetailBox *box = TxtRqEp[index];
    if (key != QChar(13) && key != QChar(27) && key != QChar(8) && !typedCharAllowed(key, m_mode))
        return;
    const int caret = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const KeyOutcome out = keyPress(KeyInput{m_mode, index, box->text(), caret, key}, m_table);
    switch (out.kind) {
    case KeyOutcome::NextBox:
        focusNextPrevChild(true);
        break;
    case KeyOutcome::Commit:
        CmdOk_Click();
        break;
    case KeyOutcome::Drop:
        break;
    case KeyOutcome::Complete:
        box->setText(out.text);
        box->setSelection(out.selStart, out.selLength);
        break;
    case KeyOutcome::Insert:
        if (out.key == QChar(8))
            box->backspace();
        else if (box->room() > 0)
            box->insert(QString(out.key));
        break;
    }
}

void FrmRem::reject()
{
    // There is no cancel: Escape anywhere and closing commit like OK.
    CmdOk_Click();
}

void FrmRem::keyPressEvent(QKeyEvent *e)
{
    // A focused button takes Enter itself; elsewhere (option buttons, the parish
    // list) Enter must not press OK behind the user's back.
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        QDialog::keyPressEvent(e);
}

void FrmRem::closeEvent(QCloseEvent *)
{
    if (!m_closed)
        CmdOk_Click();
}

void FrmRem::paintEvent(QPaintEvent *e)
{
    QDialog::paintEvent(e);
    // The fixed single-line border, one pixel wide.
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FrmRem::setLinkUnderline(bool on)
{
    QFont f = LblRem[4]->font();
    if (f.underline() != on) {
        f.setUnderline(on);
        LblRem[4]->setFont(f);
    }
}

bool FrmRem::eventFilter(QObject *watched, QEvent *event)
{
    if (m_mode == About) {
        const bool link = watched == LblRem[4];
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::Enter:
            setLinkUnderline(link);
            break;
        case QEvent::Leave:
            if (link)
                setLinkUnderline(false);
            break;
        case QEvent::MouseButtonRelease:
            if (link && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                const auto &open = hooks().openUrl;
                if (open)
                    open(QUrl(QStringLiteral("mailto:") + ContactAddress));
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace detail
