#include "app/form1.h"

#include "app/daterules.h"
#include "app/fieldedit.h"
#include "app/parishentry.h"
#include "app/search.h"
#include "app/twips.h"
#include "store/cp1252.h"
#include "app/windowfont.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <utility>

using namespace record;

const QString Form1::DefaultHelp = QStringLiteral("Pour se déplacer au champ précédent, appuyer sur SHIFT + TABULATION");

namespace {

// The client area inside the border and caption of a 12000 x 8585 twips window.
constexpr int ClientWidth = 11880, ClientHeight = 8190;
constexpr int TaskbarAllowance = 415;

const QString ProgramTitle = QStringLiteral("Velder");
const QString IncompatibleTitle = QStringLiteral("Incompatibilité du fichier");
const QString IncompatibleText = QStringLiteral("Le fichier que vous avez ouvert n'est pas compatible");
const QString ParishRefused = QStringLiteral("La paroisse que vous tentez de saisir n'existe pas dans la liste des paroisses");
const QString ContractLabel = QStringLiteral("Contrat de Mariage");

struct Box { int left, top, width, height; };

// The text boxes Txt(0)..Txt(30), twips; the wife's block repeats the husband's
// 5835 twips to the right.
constexpr int WifeShift = 5835;
constexpr std::array<Box, 31> TxtLayout{{
    {525, 105, 2955, 285},   // 0  place
    {4410, 105, 2430, 315},  // 1  parish, hidden under CmbParoisse
    {2835, 2880, 960, 285},  // 2  Cote
    {4545, 2880, 300, 285},  // 3  day
    {4950, 2880, 300, 285},  // 4  month
    {5350, 2880, 470, 285},  // 5  year
    {870, 4110, 2010, 285},  // 6  husband: surname
    {3660, 4110, 1620, 285}, // 7  first names
    {870, 4590, 3780, 285},  // 8  origin
    {4740, 4590, 540, 285},  // 9  origin code
    {870, 5070, 2010, 285},  // 10 father: surname
    {2940, 5070, 1980, 285}, // 11 first names
    {4980, 5070, 300, 285},  // 12 marker
    {870, 5550, 2010, 285},  // 13 mother: surname
    {2940, 5550, 1980, 285}, // 14 first names
    {4980, 5550, 300, 285},  // 15 marker
    {1620, 6150, 1620, 285}, // 16 last spouse: surname
    {3300, 6150, 1980, 285}, // 17 first names
    {870 + WifeShift, 4110, 2010, 285},  // 18 wife: surname
    {3660 + WifeShift, 4110, 1620, 285}, // 19
    {870 + WifeShift, 4590, 3780, 285},  // 20
    {4740 + WifeShift, 4590, 540, 285},  // 21
    {870 + WifeShift, 5070, 2010, 285},  // 22
    {2940 + WifeShift, 5070, 1980, 285}, // 23
    {4980 + WifeShift, 5070, 300, 285},  // 24
    {870 + WifeShift, 5550, 2010, 285},  // 25
    {2940 + WifeShift, 5550, 1980, 285}, // 26
    {4980 + WifeShift, 5550, 300, 285},  // 27
    {1620 + WifeShift, 6150, 1620, 285}, // 28
    {3300 + WifeShift, 6150, 1980, 285}, // 29
    {2280, 6915, 9420, 285}, // 30 notes
}};

struct Caption { const char16_t *text; int left, top; };

// Static captions, twips (left, top).
constexpr Caption Captions[] = {
    {u"Lieu:", 105, 150},
    {u"Paroisse:", 3660, 150},
    {u"Date:", 240, 750},
    {u" N°", 3960, 750},
    {u"Parents:", 240, 1620},
    {u"Parents:", 6075, 1620},
    {u"Date:", 4010, 2940},
    {u"Enregistrement  N°", 7740, 2940},
    {u"sur:", 9795, 2940},
    {u"Nom:", 240, 4155},
    {u"Prénom:", 2970, 4155},
    {u"Origine:", 240, 4635},
    {u"Père:", 240, 5115},
    {u"Mère:", 240, 5595},
    {u"Dernier Conjoint:", 240, 6195},
    {u"Nom:", 240 + WifeShift, 4155},
    {u"Prénom:", 2970 + WifeShift, 4155},
    {u"Origine:", 240 + WifeShift, 4635},
    {u"Père:", 240 + WifeShift, 5115},
    {u"Mère:", 240 + WifeShift, 5595},
    {u"Dernier Conjoint:", 240 + WifeShift, 6195},
    {u"Note:", 1800, 6960},
};

struct Frame { const char16_t *text; Box box; };
constexpr Frame Frames[] = {
    {u" Epoux", {105, 480, 5775, 1530}},
    {u"Epouse", {5940, 480, 5835, 1530}},
    {u"Informations sur l'acte", {105, 2520, 11670, 900}},
    {u"Epoux", {105, 3750, 5775, 2880}},
    {u" Epouse", {5940, 3750, 5835, 2880}},
};

// The previous-record panel Lbl(0)..Lbl(8).
constexpr std::array<Box, 9> LblLayout{{
    {780, 750, 2000, 255},    // 0 date
    {240, 1050, 5500, 255},   // 1 husband
    {240, 1320, 5500, 255},   // 2 his origin
    {1080, 1620, 2300, 255},  // 3 his father
    {3480, 1620, 2300, 255},  // 4 his mother
    {6075, 1050, 5600, 255},  // 5 wife
    {6075, 1320, 5600, 255},  // 6 her origin
    {6915, 1620, 2300, 255},  // 7 her father
    {9315, 1620, 2300, 255},  // 8 her mother
}};
static_assert(LblLayout.size() == std::tuple_size_v<decltype(Form1::Lbl)>
              && LblLayout.size() == std::tuple_size_v<decltype(EntryState::previous)>);
constexpr Box Lblnb2Box{4350, 750, 1300, 255};

// CmdRq(0) by the parish, (1)..(3) the husband's, (4)..(6) the wife's.
constexpr std::array<Box, 7> CmdRqLayout{{
    {6840, 105, 330, 315},
    {5400, 4110, 375, 285}, {5400, 5310, 375, 285}, {5400, 6150, 375, 285},
    {5400 + WifeShift, 4110, 375, 285}, {5400 + WifeShift, 5310, 375, 285}, {5400 + WifeShift, 6150, 375, 285},
}};
// The detail mode each CmdRq opens.
constexpr std::array<int, 7> CmdRqMode{11, 1, 4, 9, 2, 3, 10};
const char16_t *const CmdRqHelp[] = {
    u"Ajouter une nouvelle paroisse",
    u"Détails sur l'époux", u"Détails sur les parents de l'époux", u"Dernier conjoint de l'époux",
    u"Détails sur l'épouse", u"Détails sur les parents de l'épouse", u"Dernier conjoint de l'épouse",
};

struct Button { const char16_t *text; const char16_t *help; Box box; };
constexpr Button NavButtons[] = {
    {u"<<<<  Début", u"Aller au premier enregistrement", {2610, 7430, 1170, 330}},
    {u"<< Précédent", u"Aller à l'enregistrement précédent", {3765, 7430, 1170, 330}},
    {u"Suivant >>", u"Aller à l'enregistrement suivant", {4920, 7430, 1170, 330}},
    {u"Fin >>>>", u"Aller au dernier enregistrement", {6075, 7430, 1170, 330}},
    {u"Ouvrir", u"Ouvrir une Table", {7680, 7430, 1170, 330}},
    {u"Quitter", u"Quitter VELDER", {9000, 7430, 1170, 330}},
};

constexpr std::array<Box, 4> PicLayout{{
    {360, 7415, 360, 360}, {750, 7415, 360, 360}, {1155, 7415, 360, 360}, {10875, 7370, 450, 450},
}};
static_assert(PicLayout.size() == std::tuple_size_v<decltype(Form1::PicBouton)>);
const char16_t *const PicHelp[] = {
    u"Propriétés de la table", u"Supprimer l'enregistrement affiché",
    u"Imprimer l'enregistrement actif", u"A propos de Velder...",
};

const char *const HelpProperty = "velderHelp";
// Each control keeps its box in twips as designed: the frame about a toolbar button is
// drawn from it, and only Qt sees the rounded pixels.
const char *const TwipsProperty = "velderTwips";

// Under X11 Delete arrives with the character 127; offscreen it carries none.
// With Ctrl or Shift it is the box's own word deletion or cut.
bool isDeleteKey(const QKeyEvent *e)
{
    return (e->key() == Qt::Key_Delete || e->text() == QString(QChar(127)))
           && !(e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier));
}

// A key that brings one printable character (Delete is none).
bool typedChar(const QKeyEvent *e)
{
    const QString t = e->text();
    return t.size() == 1 && t.at(0).unicode() >= 32 && t.at(0).unicode() != 127;
}

void place(QWidget *w, const Box &b)
{
    w->setGeometry(twips::rect(b.left, b.top, b.width, b.height));
    w->setProperty(TwipsProperty, QRect(b.left, b.top, b.width, b.height));
}

// A caption takes the size of its text.
void moveCaption(QLabel *l, int left, int top)
{
    l->move(twips::px(left), twips::px(top));
    l->setProperty(TwipsProperty, QRect(QPoint(left, top), QSize()));
}

QLabel *caption(QWidget *parent, const QString &text, int left, int top)
{
    auto *l = new QLabel(text, parent);
    moveCaption(l, left, top);
    l->adjustSize();
    return l;
}

} // namespace

Form1::Form1(TableStore &table, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), m_table(table)
{
    // The date boxes open Republican by their limit, Gregorian by their widths.
    m_date.monthMaxLength = 4;
    m_date.yearMaxLength = 0;
    setWindowTitle(QStringLiteral("..."));
    setFont(smallWindowFont(font()));
    setFixedSize(twips::px(ClientWidth), twips::px(ClientHeight));
    setMouseTracking(true);

    showMessage = [this](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::Warning, title, QString(text).replace(u'\r', u'\n'), QMessageBox::Ok, this);
        box.exec();
    };
    askYesNo = [this](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::Warning, title, QString(text).replace(u'\r', u'\n'),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    askSaveFailure = [this](const QString &title, const QString &text) {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, this);
        QPushButton *retry = box.addButton(QStringLiteral("Réessayer"), QMessageBox::AcceptRole);
        QPushButton *rescue = box.addButton(QStringLiteral("Copie de secours"), QMessageBox::DestructiveRole);
        box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        box.setDefaultButton(retry);
        box.exec();
        if (box.clickedButton() == retry)
            return savefailure::Choice::Retry;
        return box.clickedButton() == rescue ? savefailure::Choice::Rescue : savefailure::Choice::Stay;
    };

    buildControls();

    // Form_Load: the scratch-save clock starts now; the act types are listed.
    m_clock.start(QTime::currentTime());
    Timer1 = new QTimer(this);
    Timer1->setInterval(60 * 1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(QTime::currentTime()); });
    Timer1->start();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    // Frames first, so that the controls drawn over them stay on top.
    for (std::size_t i = 0; i < std::size(Frames); ++i) {
        auto *g = new QGroupBox(QString::fromUtf16(Frames[i].text), this);
        place(g, Frames[i].box);
        g->setMouseTracking(true);
        // The caption sits on the frame's top line.
        g->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 7px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
        m_frames[i] = g;
    }
    for (const Caption &c : Captions)
        caption(this, QString::fromUtf16(c.text), c.left, c.top);

    for (int i = 0; i < TxtCount; ++i) {
        // Each box takes its alignment and help from its rules. No QLineEdit limit:
        // it would cut a longer stored value when shown; the typing limits belong
        // to the keystroke rules.
        Txt[i] = new FieldEdit(i, *this, this);
        place(Txt[i], TxtLayout[i]);
    }
    Txt[1]->hide();

    CmbParoisse = new QComboBox(this);
    CmbParoisse->setEditable(true);
    place(CmbParoisse, {4410, 105, 2430, 315});
    // Only parishes of the list may be typed: nothing is pasted or dropped in.
    CmbParoisse->lineEdit()->setAcceptDrops(false);
    CmbParoisse->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    CmbParoisse->lineEdit()->installEventFilter(this);

    Label31 = caption(this, QStringLiteral("Recherche par Epoux:"), 7995, 150);
    TxtRech = new QLineEdit(this);
    place(TxtRech, {9615, 105, 1590, 285});
    CmdRechP = new QPushButton(QStringLiteral("<"), this);
    place(CmdRechP, {11205, 95, 235, 300});
    CmdRechS = new QPushButton(QStringLiteral(">"), this);
    place(CmdRechS, {11430, 95, 235, 300});
    TxtRech->setProperty(HelpProperty, QStringLiteral("Recherche d'un enregistrement par le nom de l'époux"));
    CmdRechP->setProperty(HelpProperty, QStringLiteral("Rechercher vers le début de la table"));
    CmdRechS->setProperty(HelpProperty, QStringLiteral("Rechercher vers la fin de la table"));

    for (std::size_t i = 0; i < Lbl.size(); ++i) {
        Lbl[i] = new QLabel(this);
        place(Lbl[i], LblLayout[i]);
        Lbl[i]->setProperty(HelpProperty, QStringLiteral("Enregistrement précedent"));
        Lbl[i]->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    }
    Lblnb2 = new QLabel(this);
    place(Lblnb2, Lblnb2Box);
    Lblnb2->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));

    CmbActe = new QComboBox(this);
    place(CmbActe, {240, 2880, 1815, 315});
    CmbActe->addItems(actLabels());
    CmbActe->setCurrentIndex(-1);
    Label6 = caption(this, QStringLiteral("Cote:"), 2310, 2940);
    Label9 = caption(this, QStringLiteral("/"), 4865, 2940);
    Label10 = caption(this, QStringLiteral("/"), 5270, 2940);
    ChkDispense = new QCheckBox(QStringLiteral("Dispense"), this);
    place(ChkDispense, {6100, 2970, 1095, 255});
    Txtnb = new QLineEdit(this);
    place(Txtnb, {9195, 2880, 540, 285});
    Txtnb->setAlignment(Qt::AlignHCenter);
    Txtnb->setAcceptDrops(false);
    Txtnb->setContextMenuPolicy(Qt::NoContextMenu);
    LblNb = new QLabel(this);
    place(LblNb, {10155, 2940, 900, 255});

    for (int i = 0; i < 7; ++i) {
        CmdRq[i] = new QPushButton(i == 0 ? QStringLiteral("...") : QStringLiteral("Rq"), this);
        place(CmdRq[i], CmdRqLayout[i]);
        CmdRq[i]->setProperty(HelpProperty, QString::fromUtf16(CmdRqHelp[i]));
        connect(CmdRq[i], &QPushButton::clicked, this, [this, i] { openDetail(CmdRqMode[i]); });
    }

    CmdCM = new QPushButton(QStringLiteral("CM"), this);
    place(CmdCM, {210, 6915, 570, 330});
    CmdCM->setToolTip(ContractLabel);
    connect(CmdCM, &QPushButton::clicked, this, [this] { openDetail(CmdCM->text() == QStringLiteral("CM") ? 5 : 7); });
    CmdTemoin = new QPushButton(QStringLiteral("Témoins"), this);
    place(CmdTemoin, {840, 6915, 900, 330});
    CmdTemoin->setProperty(HelpProperty, QStringLiteral("Saisir les témoins"));
    connect(CmdTemoin, &QPushButton::clicked, this, [this] { openDetail(8); });

    QPushButton **nav[6] = {&CmdDebut, &CmdPrecedent, &CmdSuivant, &CmdFin, &CmdOuvrir, &CmdQuitter};
    for (int i = 0; i < 6; ++i) {
        *nav[i] = new QPushButton(QString::fromUtf16(NavButtons[i].text), this);
        place(*nav[i], NavButtons[i].box);
        (*nav[i])->setProperty(HelpProperty, QString::fromUtf16(NavButtons[i].help));
    }
    CmdOuvrir->setToolTip(QStringLiteral("Ouvrir une table"));
    connect(CmdDebut, &QPushButton::clicked, this, [this] { CmdDebut_Click(); });
    connect(CmdPrecedent, &QPushButton::clicked, this, [this] { CmdPrecedent_Click(); });
    connect(CmdSuivant, &QPushButton::clicked, this, [this] { CmdSuivant_Click(); });
    connect(CmdFin, &QPushButton::clicked, this, [this] { CmdFin_Click(); });
    connect(CmdOuvrir, &QPushButton::clicked, this, [this] { CmdOuvrir_Click(); });
    connect(CmdQuitter, &QPushButton::clicked, this, [this] { CmdQuitter_Click(); });
    connect(CmdRechP, &QPushButton::clicked, this, [this] { CmdRechP_Click(); });
    connect(CmdRechS, &QPushButton::clicked, this, [this] { CmdRechS_Click(); });
    connect(CmbActe, &QComboBox::currentIndexChanged, this, [this] { CmbActe_Click(); });

    const char *const images[] = {"proprietes", "supprimer", "imprimer", "apropos"};
    for (std::size_t i = 0; i < PicBouton.size(); ++i) {
        PicBouton[i] = new QLabel(this);
        place(PicBouton[i], PicLayout[i]);
        PicBouton[i]->setPixmap(QPixmap(QStringLiteral(":/images/%1.png").arg(QLatin1StringView(images[i]))));
        PicBouton[i]->setAlignment(Qt::AlignCenter);
        PicBouton[i]->setMouseTracking(true);
        PicBouton[i]->setProperty(HelpProperty, QString::fromUtf16(PicHelp[i]));
    }
    for (int i = 0; i < 4; ++i) {
        LnBouton[i] = new QFrame(this);
        LnBouton[i]->setAutoFillBackground(true);
        LnBouton[i]->hide();
    }
    Picture1 = new QLabel(this);
    place(Picture1, {11520, 7480, 240, 240});
    Picture1->setPixmap(QPixmap(QStringLiteral(":/images/enregistrement.png")));
    Picture1->hide();

    LblAideSaisie = new QLabel(this);
    place(LblAideSaisie, {150, 7895, 11625, 255});
    LblAideSaisie->setStyleSheet(QStringLiteral("color: rgb(64, 64, 64)"));

    // Keyboard order: the top row, the act, the husband, the wife, the notes, then
    // the navigation and the search.
    const QList<QWidget *> order{Txt[0], CmbParoisse, CmdRq[0], CmbActe, Txt[2], Txt[3], Txt[4], Txt[5], ChkDispense,
        Txt[6], Txt[7], Txt[8], Txt[9], CmdRq[1], Txt[10], Txt[11], Txt[12], Txt[13], Txt[14], Txt[15],
        CmdRq[2], Txt[16], Txt[17], CmdRq[3], Txt[18], Txt[19], Txt[20], Txt[21], CmdRq[4],
        Txt[22], Txt[23], Txt[24], Txt[25], Txt[26], Txt[27], CmdRq[5], Txt[28], Txt[29], CmdRq[6],
        CmdCM, CmdTemoin, Txt[30], CmdDebut, CmdPrecedent, CmdSuivant, CmdFin, CmdOuvrir, CmdQuitter, Txtnb,
        TxtRech, CmdRechP, CmdRechS};
    QWidget *before = order.first();
    for (QWidget *w : order.sliced(1))
        setTabOrder(std::exchange(before, w), w);

    // One filter serves the page keys, the record number, the parish, the search,
    // the dispensation and the hover help.
    for (QObject *o : children()) {
        if (o->isWidgetType())
            o->installEventFilter(this);
    }

    CmbActe_Click();
    setHelp(QString());
}

// ---------------------------------------------------------------- state

EntryState Form1::readState() const
{
    EntryState s;
    for (int i = 0; i < TxtCount; ++i)
        s.txt[i] = i == 1 ? QString() : Txt[i]->text();
    s.parish = CmbParoisse->currentText();
    s.actLabel = CmbActe->currentIndex() >= 0 ? CmbActe->currentText() : QString();
    s.dispense = ChkDispense->isChecked();
    s.groups = m_groups;
    // The record shown is the window's own fact: the number box may hold a number
    // half typed or nothing at all.
    s.recordNumber = m_shown;
    s.count = LblNb->text();
    for (std::size_t i = 0; i < Lbl.size(); ++i)
        s.previous[i] = Lbl[i]->text();
    s.previousNumber = Lblnb2->text();
    s.date = m_date;
    return s;
}

void Form1::setDateBoxes(const DateBoxes &d)
{
    m_date = d;
    place(Txt[4], {DateBoxes::MonthLeft, TxtLayout[4].top, d.monthWidth, TxtLayout[4].height});
    place(Txt[5], {d.yearLeft, TxtLayout[5].top, d.yearWidth, TxtLayout[5].height});
    moveCaption(Label10, d.slashLeft, Label10->property(TwipsProperty).toRect().y());
}

void Form1::writeState(const EntryState &s)
{
    setDateBoxes(s.date);
    for (int i = 0; i < TxtCount; ++i) {
        if (i != 1)
            Txt[i]->setText(s.txt[i]);
    }
    CmbParoisse->setEditText(s.parish);
    {
        const QSignalBlocker block(CmbActe);
        CmbActe->setCurrentIndex(CmbActe->findText(s.actLabel, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    CmbActe_Click();
    ChkDispense->setChecked(s.dispense);
    m_groups = s.groups;
    Txtnb->setText(s.recordNumber);
    m_shown = s.recordNumber;
    LblNb->setText(s.count);
    for (std::size_t i = 0; i < Lbl.size(); ++i)
        Lbl[i]->setText(s.previous[i]);
    Lblnb2->setText(s.previousNumber);
    if (s.focusActe)
        CmbActe->setFocus(Qt::OtherFocusReason);
}

void Form1::applyDetail(const EntryState &s)
{
    m_groups = s.groups;
    for (int i : {16, 17, 28, 29})
        Txt[i]->setText(s.txt[i]);
}

QString Form1::boxText(int index) const
{
    return index >= 0 && index < TxtCount ? Txt[index]->text() : QString();
}

void Form1::setBoxText(int index, const QString &text)
{
    Txt[index]->setText(text);
}

void Form1::focusBox(int index)
{
    Txt[index]->setFocus(Qt::TabFocusReason);
}

void Form1::focusDispense()
{
    ChkDispense->setFocus(Qt::TabFocusReason);
}

void Form1::restoreTxtnb()
{
    // The box may have been emptied with Delete or Backspace: the record shown is
    // still the one last shown, and a move must store it there.
    if (Txtnb->text() != m_shown)
        Txtnb->setText(m_shown);
}

// ---------------------------------------------------------------- store and show

void Form1::Store(int mode, int target)
{
    if (!m_table.isOpen())
        return; // no table loaded yet: nothing to store or show
    EntryState s = readState();   // the record shown, whatever the number box holds
    const transfer::Result r = transfer::store(m_table, s, mode, target);
    writeState(s);
    if (r == transfer::Result::Incompatible)
        showIncompatible(true);
}

void Form1::showIncompatible(bool saveFirst)
{
    showMessage(IncompatibleTitle, IncompatibleText);
    // What was typed before the faulty record is in the store: keep it on disk,
    // since the table manager may now open another table over it.
    if (saveFirst)
        saveTable();
    Txtnb->clear();
    m_shown.clear();
    hide();
    if (onShowManager)
        onShowManager();
}

bool Form1::loadTable(const QString &path)
{
    if (m_table.load(path) != TableStore::LoadResult::Ok) {
        showMessage(IncompatibleTitle, IncompatibleText);
        return false;
    }
    refreshParishList();
    m_surnames.sync(m_table); // read now, so that the first search key is as quick as the next
    EntryState s = readState();
    const transfer::Result r = transfer::show(m_table, s, transfer::End);
    s.count = QString::number(m_table.upperIndex());
    writeState(s);
    setWindowTitle(QStringLiteral(" VELDER - ") + path);
    if (r == transfer::Result::Incompatible) {
        showIncompatible(false);
        return false;
    }
    if (!(managerVisible && managerVisible())) {
        show();
        // Said now, not at the end of a session of typing.
        if (const QString problem = savefailure::writeProblem(path); !problem.isEmpty())
            showMessage(ProgramTitle, savefailure::unwritableText(path, problem));
    }
    return true;
}

void Form1::refreshParishList()
{
    const QString text = CmbParoisse->currentText();
    CmbParoisse->clear();
    CmbParoisse->addItems(m_table.parishNames());
    CmbParoisse->setEditText(text);
}

bool Form1::saveTable()
{
    if (!m_table.isOpen() || m_shown.isEmpty() || m_table.tablePath().isEmpty())
        return true;
    for (;;) {
        const TableStore::SaveReport report = m_table.saveReporting(m_table.tablePath());
        if (report.written) {
            if (!report.backupMade)
                showMessage(ProgramTitle, savefailure::backupFailedText(m_table.backupPath(), report.reason));
            return true;
        }
        switch (askSaveFailure(ProgramTitle, savefailure::saveFailedText(m_table.tablePath(), report.reason))) {
        case savefailure::Choice::Retry:
            break;
        case savefailure::Choice::Stay:
            return false;
        case savefailure::Choice::Rescue: {
            // The way out that loses nothing: the records go to a file of their own.
            const savefailure::Rescue r =
                savefailure::writeRescueCopy(m_table, rescueFolders, QDateTime::currentDateTime());
            if (!r.path.isEmpty()) {
                showMessage(ProgramTitle, savefailure::rescuedText(r.path));
                return true;
            }
            showMessage(ProgramTitle, savefailure::rescueFailedText(r.reason));
            break;
        }
        }
    }
}

bool Form1::storeAndSave()
{
    Store(transfer::StoreOnly);
    return saveTable();
}

bool Form1::unload()
{
    return storeAndSave();
}

void Form1::CmdOuvrir_Click()
{
    if (!storeAndSave())
        return;
    if (onShowManager) {
        hide();
        onShowManager();
    }
}

void Form1::CmdQuitter_Click()
{
    if (!storeAndSave())
        return;
    m_savedByQuit = true;   // the close event takes it back, closed or not
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // "Quitter" has just stored and saved: a second save would only overwrite the
    // backup copy of the previous file with the new one.
    const bool saved = m_savedByQuit || unload();
    m_savedByQuit = false;
    if (!saved) {
        event->ignore();
        return;
    }
    if (onUnloaded)
        onUnloaded();
}

// ---------------------------------------------------------------- deletion

QString Form1::deletionQuestion(const QString &surname1, const QString &first1, const QString &surname2,
                                const QString &first2)
{
    const QString cr2(2, QChar(13));
    const QString indent(9, Nbsp);
    return QStringLiteral("Etes vous sûr de vouloir supprimer l'enregistrement du mariage de:") + cr2 + indent
           + surname1 + Nbsp + first1 + cr2 + indent + QStringLiteral("et") + cr2 + indent + surname2 + Nbsp + first2;
}

void Form1::DeleteShownRecord()
{
    restoreTxtnb();
    if (m_shown.isEmpty() || !m_table.isOpen())
        return;
    const int k = m_shown.toInt();
    const QString question = deletionQuestion(Txt[6]->text(), Txt[7]->text(), Txt[18]->text(), Txt[19]->text());
    if (!askYesNo(QStringLiteral("Suppression d'un enregistrement"), question))
        return;

    const bool spare = k < 1 || k >= m_table.upperIndex();
    if (spare || k == 1) {
        // On the spare slot the new record typed there is dropped (never stored) and the
        // window steps back as a store would. Nothing comes before record 1: it goes, and
        // what is now record 1 is shown.
        if (!spare)
            m_table.deleteRecord(1);
        EntryState s = readState();
        const transfer::Result r = transfer::show(m_table, s, spare ? transfer::Previous : transfer::First);
        s.count = QString::number(m_table.upperIndex());
        writeState(s);
        if (r == transfer::Result::Incompatible)
            showIncompatible(true);
        return;
    }
    // Store the record shown and step back to k-1, then remove record k itself,
    // whatever the store did.
    Store(transfer::Previous);
    if (m_shown.isEmpty())
        return; // the record before was unreadable: nothing is removed
    m_table.deleteRecord(k);
    LblNb->setText(QString::number(m_table.upperIndex()));
}

// ---------------------------------------------------------------- act type, detail

void Form1::CmbActe_Click()
{
    const QString label = CmbActe->currentIndex() >= 0 ? CmbActe->currentText() : QString();
    CmdCM->setText(label == actLabels().first() ? QStringLiteral("CM") : QStringLiteral("M"));
    const bool contract = label == ContractLabel;
    Label6->setVisible(contract);
    Txt[2]->setVisible(contract);
}

QString Form1::cmdCMHelp() const
{
    return CmdCM->text() == QStringLiteral("CM") ? QStringLiteral("Détails sur le Contrat de Mariage")
                                                 : QStringLiteral("Détails sur le Mariage");
}

void Form1::openDetail(int mode)
{
    if (!onDetail)
        return;
    onDetail(mode);
    refreshParishList();
}

void Form1::PicBouton_Click(int index)
{
    switch (index) {
    case 0: openDetail(12); break;
    case 1: DeleteShownRecord(); break;
    case 2: if (onPrintCard) onPrintCard(); break;
    case 3: openDetail(13); break;
    }
}

// ---------------------------------------------------------------- search

void Form1::CmdRechP_Click()
{
    restoreTxtnb();
    const int hit = m_surnames.previous(m_table, TxtRech->text(), m_shown.toInt());
    if (hit > 0)
        Store(transfer::Found, hit);
}

void Form1::CmdRechS_Click()
{
    restoreTxtnb();
    const int hit = m_surnames.next(m_table, TxtRech->text(), m_shown.toInt());
    if (hit > 0)
        Store(transfer::Found, hit);
}

// ---------------------------------------------------------------- timer

void Form1::Timer1_Timer(QTime now)
{
    const bool manager = managerVisible && managerVisible();
    if (!m_clock.tick(now, manager) || !m_table.isOpen())
        return;
    Picture1->show();
    Picture1->repaint();
    m_table.scratchSave(); // a failed scratch save is retried at a later tick, silently
    Picture1->hide();
}

// ---------------------------------------------------------------- window

void Form1::centre()
{
    const QRect area = screen()->geometry();   // a widget always has one, the primary one at worst
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - twips::px(TaskbarAllowance) - outer.height()) / 2);
}

// Qt's own resize, show and mouse handlers do nothing for a window: they are not called.
void Form1::resizeEvent(QResizeEvent *)
{
    if (isMinimized())
        return;
    // The resize below may come back here once, when the size is settled.
    const QSize fixed(twips::px(ClientWidth), twips::px(ClientHeight));
    if (size() != fixed)
        resize(fixed);
    centre();
}

void Form1::showEvent(QShowEvent *)
{
    centre();
}

void Form1::setHelp(const QString &text)
{
    if (LblAideSaisie->text() != text)
        LblAideSaisie->setText(text);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare window (or a frame's background) resets the help line.
    QWidget *under = childAt(event->position().toPoint());
    if (!under || qobject_cast<QGroupBox *>(under)) {
        hideToolbarFrame();
        setHelp(DefaultHelp);
    }
}

void Form1::hideToolbarFrame()
{
    for (QFrame *l : LnBouton)
        l->hide();
}

int Form1::toolbarIndex(const QObject *watched) const
{
    for (int i = 0; i < int(PicBouton.size()); ++i)
        if (watched == PicBouton[i])
            return i;
    return -1;
}

void Form1::hoverToolbar(int i, bool pressed)
{
    const QColor window = palette().color(QPalette::Base);
    const QColor workspace(171, 171, 171);
    const QColor light = pressed ? workspace : window;
    const QColor dark = pressed ? window : workspace;
    const QRect g = PicBouton[i]->property(TwipsProperty).toRect();
    const int L = g.x(), T = g.y(), W = g.width(), H = g.height();
    // Top, left, bottom, right: each line one pixel (15 twips) thick.
    const Box lines[4] = {
        {L - 15, T - 15, W + 30, 15},
        {L - 15, T - 15, 15, H + 30},
        {L - 15, T + H + 10, W + 30, 15},
        {L + W + 10, T - 15, 15, H + 40},
    };
    for (int k = 0; k < 4; ++k) {
        QPalette pal = LnBouton[k]->palette();
        pal.setColor(QPalette::Window, k < 2 ? light : dark);
        LnBouton[k]->setPalette(pal);
        place(LnBouton[k], lines[k]);
        LnBouton[k]->show();
        LnBouton[k]->raise();
    }
}

// ---------------------------------------------------------------- keys and mouse

bool Form1::pageKeyEvent(QObject *watched, QKeyEvent *e)
{
    if (e->key() != Qt::Key_PageUp && e->key() != Qt::Key_PageDown)
        return false;
    const bool listed = watched == Txtnb || watched == TxtRech || watched == CmbActe || watched == CmbParoisse
                        || watched == CmbParoisse->lineEdit() || watched == ChkDispense
                        || std::find(Txt.begin(), Txt.end(), watched) != Txt.end()
                        || std::find(CmdRq.begin(), CmdRq.end(), watched) != CmdRq.end();
    if (!listed)
        return false;
    // The lists never scroll on these keys: Page Up stores and shows the previous
    // record, Page Down the next.
    Store(e->key() == Qt::Key_PageUp ? transfer::Previous : transfer::Next);
    return true;
}

bool Form1::txtnbKey(QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste))
        return true;
    const QString text = e->text();
    const bool backspace = e->key() == Qt::Key_Backspace;
    const bool del = isDeleteKey(e);
    if (!backspace && !del) {
        if (text.isEmpty() || (text.size() == 1 && !typedChar(e) && e->key() != Qt::Key_Return
                               && e->key() != Qt::Key_Enter))
            return false; // Tab, arrows, Home, End: the box's own keys
        if (text.size() != 1 || text.at(0) < u'0' || text.at(0) > u'9')
            return true;  // only digits go in
    }
    const QString t = Txtnb->text();
    const int p = Txtnb->hasSelectedText() ? Txtnb->selectionStart() : Txtnb->cursorPosition();
    const int s = int(Txtnb->selectedText().size());
    QString candidate;
    if (backspace) {
        candidate = t.left(t.size() - 1);   // empty for an empty box
    } else if (del) {
        candidate = search::textAfterKey(t, p, s, QChar(127));
        if (candidate == t)
            return true; // nothing after the caret: nothing to do
    } else {
        candidate = t.left(p) + text + t.mid(p + s);
    }
    if (candidate.isEmpty())
        return false;
    const int v = candidate.toInt();   // 0 when not a number
    if (v > 0 && v < m_table.upperIndex()) {
        Store(transfer::Typed, v);
        if (!m_shown.isEmpty()) {
            const int end = int(Txtnb->text().size());
            Txtnb->setCursorPosition(backspace ? end : std::min(del ? p : p + 1, end));
        }
    }
    return true;
}

bool Form1::parishKey(QKeyEvent *e)
{
    if (e->matches(QKeySequence::Paste))
        return true;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return parishChar(QChar(13));
    if (e->key() == Qt::Key_Backspace)
        return false;
    if (e->text().size() == 1 && e->text().at(0).unicode() >= 32 && e->text().at(0) != QChar(127))
        return parishChar(e->text().at(0));
    return false;
}

bool Form1::parishChar(QChar key)
{
    QLineEdit *le = CmbParoisse->lineEdit();
    const int p = le->hasSelectedText() ? le->selectionStart() : le->cursorPosition();
    // The list's items are the table's parishes: it is refilled whenever they change.
    const parish::KeyResult r = parish::key(le->text(), p, key, m_table.parishNames());
    switch (r.kind) {
    case parish::KeyResult::NextField:
        focusNextChild();
        break;
    case parish::KeyResult::Completed:
        le->setText(r.text);
        le->setSelection(r.caret, r.selectionLength);   // none: the caret alone, there
        break;
    case parish::KeyResult::Refused:
        // Only the elided "d" test moves the caret; otherwise the box stays as it was,
        // its selection included.
        if (le->text() != r.text)
            le->setText(r.text);
        if (key == u'\'' && !r.text.isEmpty())
            le->setCursorPosition(p);
        showMessage(ProgramTitle, ParishRefused);
        break;
    case parish::KeyResult::Pass:
        return false;
    }
    return true;
}

bool Form1::searchKey(QKeyEvent *e)
{
    const bool backspace = e->key() == Qt::Key_Backspace;
    const bool del = isDeleteKey(e);
    QChar key;
    if (backspace) {
        key = QChar(8);
    } else if (del) {
        key = QChar(127);
    } else if (typedChar(e)) {
        if (!cp1252::fieldChar(e->text().at(0)))
            return true;
        key = cp1252::upper(e->text().at(0));
    } else {
        return false;
    }
    const QString t = TxtRech->text();
    const int p = TxtRech->hasSelectedText() ? TxtRech->selectionStart() : TxtRech->cursorPosition();
    const int s = int(TxtRech->selectedText().size());
    const int hit = m_surnames.first(m_table, search::textAfterKey(t, p, s, key));
    if (hit > 0)
        Store(transfer::Found, hit);
    // The box takes the key as usual.
    if (backspace || del)
        return false; // the box deletes as usual
    TxtRech->insert(QString(key));
    return true;
}

bool Form1::actLetter(QKeyEvent *e)
{
    // A letter steps to the next label beginning with it, however fast the keys come:
    // "c", "c" goes from "Contrat de Mariage" to "Congé", not to a search for "cc".
    const QString text = e->text();
    if (text.size() != 1 || !text.at(0).isLetter())
        return false;
    // From the label after the current one, round to the current one itself.
    const QAbstractItemModel *labels = CmbActe->model();
    const QModelIndexList hit = labels->match(labels->index((CmbActe->currentIndex() + 1) % CmbActe->count(), 0),
                                              Qt::DisplayRole, text, 1, Qt::MatchStartsWith | Qt::MatchWrap);
    if (!hit.isEmpty())
        CmbActe->setCurrentIndex(hit.first().row());
    return true;
}

// Mouse and key presses. The box never sees the presses taken here, so it does
// nothing with their releases.
bool Form1::dispenseEvent(QEvent *ev)
{
    if (ev->type() == QEvent::MouseButtonDblClick)
        return true; // the second press of a double click is no new press
    if (ev->type() == QEvent::MouseButtonPress) {
        // The value flips on the press, then the degree of kinship is asked for.
        ChkDispense->setChecked(!ChkDispense->isChecked());   // Qt has given it the focus already
        openDetail(6);
        return true;
    }
    const auto *e = static_cast<QKeyEvent *>(ev);
    if (e->key() == Qt::Key_Space) {
        if (!e->isAutoRepeat()) {
            ChkDispense->setChecked(!ChkDispense->isChecked());
            openDetail(6);
        }
        return true;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || typedChar(e)) {
        openDetail(6);
        return true;
    }
    return false;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *e = static_cast<QKeyEvent *>(event);
        if (pageKeyEvent(watched, e))
            return true;
        if (watched == Txtnb)
            return txtnbKey(e);
        if (watched == CmbParoisse)
            return parishKey(e);
        if (watched == TxtRech)
            return searchKey(e);
        if (watched == CmbActe && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            focusNextChild();
            return true;
        }
        if (watched == CmbActe && actLetter(e))
            return true;
        if (watched == ChkDispense)
            return dispenseEvent(event);
        // Enter on a focused button presses it, as on the society's old machines: the
        // typist reaches the detail buttons along the fields without the mouse.
        if (auto *button = qobject_cast<QPushButton *>(watched);
            button && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
        break;
    }
    case QEvent::InputMethod: {
        // Composed characters take the same road as typed ones.
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (watched == CmbParoisse) {
            for (QChar c : im->commitString())
                parishChar(c);
            return true;
        }
        if (watched == Txtnb)
            return true;
        break;
    }
    case QEvent::FocusIn:
        if (watched == Txtnb || watched == TxtRech) {
            auto *box = static_cast<QLineEdit *>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        } else if (watched == CmdCM) {
            setHelp(cmdCMHelp());
        }
        break;
    case QEvent::FocusOut:
        if (watched == Txtnb)
            restoreTxtnb();
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (const int i = toolbarIndex(watched); i >= 0) {
            const auto *me = event->type() == QEvent::MouseMove ? static_cast<QMouseEvent *>(event) : nullptr;
            hoverToolbar(i, me && (me->buttons() & Qt::LeftButton));
        }
        if (watched == CmdCM)
            setHelp(cmdCMHelp());
        else if (const QVariant help = watched->property(HelpProperty); help.isValid())
            setHelp(help.toString());
        break;
    case QEvent::Leave:
        if (toolbarIndex(watched) >= 0)
            hideToolbarFrame();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == ChkDispense)
            return dispenseEvent(event);
        if (const int i = toolbarIndex(watched); i >= 0) {
            hoverToolbar(i, true);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        // No pasting of the selection into the parish box.
        if (watched == CmbParoisse->lineEdit() && static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton)
            return true;
        if (const int i = toolbarIndex(watched); i >= 0) {
            hideToolbarFrame();
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton && PicBouton[i]->rect().contains(me->position().toPoint()))
                PicBouton_Click(i);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
