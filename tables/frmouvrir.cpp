#include "tables/frmouvrir.h"

#include "app/twips.h"
#include "store/recordmodel.h"
#include "store/tablestore.h"
#include "store/utf8check.h"
#include "tables/export.h"
#include "tables/import.h"
#include "tables/startup.h"
#include "tables/tablefiles.h"
#include "tables/tableupgrade.h"
#include "app/windowfont.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

namespace {

const QString kSelectTable = QStringLiteral("Veuillez sélectionner une table");
const QString kInUse =
    QStringLiteral("Ce fichier est déjà utilisé par une autre application. Veuillez fermer le fichier puis recommencer");
const QString kExportProgram = QStringLiteral("VelderExport");
const QString kPrintProgram = QStringLiteral("PrintVelder");

// Geometry of a control, in twips, as left, top, width, height.
struct Twips {
    int left, top, width, height;
};

// Client area (width, height) and the place of every control (inside its frame for the options).
constexpr QSize kClient(5010, 3375);
constexpr Twips kFrame1{105, 210, 1485, 750};
constexpr Twips kOptNvtbl{0, 0, 1485, 330};
constexpr Twips kOption1{0, 420, 1485, 330};
constexpr Twips kTxtNomTable{1575, 210, 3030, 330};
constexpr Twips kFile1{105, 1005, 1935, 2040};
constexpr Twips kOKButton{3630, 1245, 1215, 330};
constexpr Twips kCmdAnnuler{3630, 1650, 1215, 330};
constexpr Twips kCmdImporter{2190, 1050, 1215, 330};
constexpr Twips kCmdExporter{2190, 1455, 1215, 330};
constexpr Twips kCmdSuppr{2190, 1860, 1215, 330};
constexpr Twips kCmdPrint{2190, 2265, 1215, 330};
constexpr Twips kFrame2{3630, 700, 540, 435};
constexpr Twips kOption2{0, 0, 540, 435};
constexpr Twips kFrame3{4300, 700, 540, 435};
constexpr Twips kOption3{0, 0, 540, 435};
constexpr Twips kLabel1{2100, 2640, 2715, 225};
constexpr Twips kPicture1{2100, 2835, 2850, 225};
constexpr Twips kLblAide{45, 3120, 4920, 330};
// The box about the help line: from (15, 3090) to (4985, 3405).
constexpr int kBoxLeft = 15, kBoxTop = 3090, kBoxRight = 4985, kBoxBottom = 3405;

// Each control keeps its box in twips as designed; only Qt sees the rounded pixels.
void place(QWidget *w, const Twips &t)
{
    w->setGeometry(twips::rect(t.left, t.top, t.width, t.height));
    w->setProperty("velderTwips", QRect(t.left, t.top, t.width, t.height));
}

QFrame *lineFrom(QWidget *parent, int x1, int y1, int x2, int y2)
{
    auto *line = new QFrame(parent);
    const int l = twips::px(x1), t = twips::px(y1);
    line->setGeometry(l, t, std::max(1, twips::px(x2) - l + (x1 == x2 ? 1 : 0)),
                      std::max(1, twips::px(y2) - t + (y1 == y2 ? 1 : 0)));
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, Qt::black);
    line->setPalette(pal);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setProperty("velderTwips", QRect(x1, y1, x2 - x1, y2 - y1));
    return line;
}

} // namespace

FrmOuvrir::FrmOuvrir(const QString &appFolder, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_appFolder(appFolder),
      m_programFolder(startup::programFolder())
{
    setWindowTitle(QStringLiteral("Ouvrir"));
    setFixedSize(twips::px(kClient.width()), twips::px(kClient.height()));
    setMouseTracking(true);
    setFont(smallWindowFont(font()));

    Frame1 = new QFrame(this);
    place(Frame1, kFrame1);
    OptNvtbl = new QRadioButton(QStringLiteral("Nouvelle Table:"), Frame1);
    place(OptNvtbl, kOptNvtbl);
    Option1 = new QRadioButton(QStringLiteral("Table Existante"), Frame1);
    place(Option1, kOption1);

    TxtNomTable = new QLineEdit(this);
    place(TxtNomTable, kTxtNomTable);

    File1 = new QListWidget(this);
    place(File1, kFile1);
    File1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto button = [this](const QString &caption, const Twips &t) {
        auto *b = new QPushButton(caption, this);
        place(b, t);
        b->setAutoDefault(true); // Enter on a focused button presses it
        return b;
    };
    OKButton = button(QStringLiteral("Ouvrir"), kOKButton);
    CmdAnnuler = button(QStringLiteral("Quitter"), kCmdAnnuler);
    CmdImporter = button(QStringLiteral("Importer"), kCmdImporter);
    CmdExporter = button(QStringLiteral("Exporter"), kCmdExporter);
    CmdSuppr = button(QStringLiteral("Supprimer"), kCmdSuppr);
    CmdPrint = button(QStringLiteral("Imprimer"), kCmdPrint);

    auto iconButton = [this](QFrame *&frame, const Twips &ft, const Twips &bt, const QIcon &icon, QSize iconSize) {
        frame = new QFrame(this);
        place(frame, ft);
        frame->hide();
        auto *b = new QToolButton(frame);
        place(b, bt);
        b->setCheckable(true);
        b->setIcon(icon);
        b->setIconSize(iconSize);
        return b;
    };
    Option2 = iconButton(Frame2, kFrame2, kOption2, QIcon(QStringLiteral(":/images/export.png")), QSize(24, 23));
    // The 48-pixel picture is shown within the button, as large as it allows.
    Option3 = iconButton(Frame3, kFrame3, kOption3, QIcon(QStringLiteral(":/images/impression.png")), QSize(26, 26));

    Label1 = new QLabel(QStringLiteral("Conversion en cours..."), this);
    place(Label1, kLabel1);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(red);
    Label1->hide();

    Picture1 = new QLabel(this);
    place(Picture1, kPicture1);
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    Picture1->hide();

    LblAide = new QLabel(this);
    place(LblAide, kLblAide);
    LblAide->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette grey = LblAide->palette();
    grey.setColor(QPalette::WindowText, QColor(64, 64, 64));
    LblAide->setPalette(grey);

    Line1 = lineFrom(this, kBoxLeft, kBoxTop, kBoxRight, kBoxTop);
    Line2 = lineFrom(this, kBoxLeft, kBoxBottom, kBoxRight, kBoxBottom);
    Line3 = lineFrom(this, kBoxLeft, kBoxTop, kBoxLeft, kBoxBottom);
    Line4 = lineFrom(this, kBoxRight, kBoxTop, kBoxRight, kBoxBottom);

    // Keyboard order of the original dialog: the open button first, then the list.
    const QList<QWidget *> order{OKButton, File1,     TxtNomTable, CmdImporter, CmdExporter, CmdSuppr, CmdAnnuler,
                                 Option1,  OptNvtbl, Option2,     CmdPrint,    Option3};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    setHelp(OKButton, QStringLiteral("Ouvre la Table sélectionnée"));
    setHelp(File1, QStringLiteral("Sélectionnez un fichier à Ouvrir"));
    setHelp(CmdImporter, QStringLiteral("Copie une Table du dossier spécifié vers le dossier de l'application"));
    setHelp(CmdExporter, QStringLiteral("Copie une Table du dossier de l'application vers le dossier spécifié"));
    setHelp(CmdSuppr, QStringLiteral("Supprime une Table du dossier de l'application"));
    setHelp(CmdPrint, QStringLiteral("Imprime la Table sélectionnée"));
    setHelp(CmdAnnuler, QStringLiteral("Quitter ") + productTitle());
    setHelp(Option2, QStringLiteral("Ouvrir le module de Conversion/Exportation"));
    setHelp(Option3, QStringLiteral("Ouvrir le module d'Impression"));

    connect(OKButton, &QPushButton::clicked, this, &FrmOuvrir::OKButton_Click);
    connect(CmdAnnuler, &QPushButton::clicked, this, &FrmOuvrir::CmdAnnuler_Click);
    connect(CmdImporter, &QPushButton::clicked, this, &FrmOuvrir::CmdImporter_Click);
    connect(CmdExporter, &QPushButton::clicked, this, &FrmOuvrir::CmdExporter_Click);
    connect(CmdSuppr, &QPushButton::clicked, this, &FrmOuvrir::CmdSuppr_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmOuvrir::CmdPrint_Click);
    connect(Option2, &QToolButton::clicked, this, &FrmOuvrir::Option2_Click);
    connect(Option3, &QToolButton::clicked, this, &FrmOuvrir::Option3_Click);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(OptNvtbl, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptNvtbl_Click();
    });
    connect(OptNvtbl, &QRadioButton::clicked, this, [this] { TxtNomTable->setFocus(); });
    connect(TxtNomTable, &QLineEdit::returnPressed, this, &FrmOuvrir::OKButton_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &FrmOuvrir::OKButton_Click);
    File1->installEventFilter(this);

    Option1->setChecked(true);   // its toggled handler does the rest
    updateSiblings();
    refreshList();
    OKButton->setFocus();
}

void FrmOuvrir::setHelp(QWidget *control, const QString &text)
{
    control->setProperty("aide", text);
    control->installEventFilter(this);
}

bool FrmOuvrir::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const QVariant help = watched->property("aide");
        if (help.isValid() && static_cast<QWidget *>(watched)->isEnabled())
            LblAide->setText(help.toString());
    }
    if (watched == File1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OKButton_Click();
            return true; // the key goes no further
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Qt's own mouse and show handlers do nothing for a window: they are not called.
void FrmOuvrir::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare dialog clears the help line; moves over controls also end up here.
    if (!childAt(event->position().toPoint()))
        LblAide->clear();
}

void FrmOuvrir::mousePressEvent(QMouseEvent *event)
{
    // The name box is disabled in existing-table mode, so its clicks arrive here.
    if (TxtNomTable->geometry().contains(event->position().toPoint()))
        TxtNomTable_Click();
}

void FrmOuvrir::showEvent(QShowEvent *)
{
    if (!m_placed) {
        m_placed = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
}

void FrmOuvrir::closeEvent(QCloseEvent *event)
{
    if (m_ending)
        return;
    m_ending = true;
    if (beforeQuit)
        beforeQuit();
    quitProgram();
}

// ---- start and return -----------------------------------------------------------

void FrmOuvrir::start(const QString &tablePath)
{
    if (!tablePath.isEmpty() && !QFileInfo::exists(tablePath)) {
        // A path typed or passed by a shortcut, anywhere: name it whole.
        message(productTitle(),
                QStringLiteral("La table ") + QDir::toNativeSeparators(tablePath) + QStringLiteral(" est introuvable."),
                QMessageBox::Warning);
    } else if (!tablePath.isEmpty()) {
        openTableAt(tablePath);   // it shows this window again if the table does not open
        return;
    }
    if (!isVisible())
        show();
}

void FrmOuvrir::showAgain()
{
    refreshList();
    show();
    raise();
    activateWindow();
}

void FrmOuvrir::setProgramFolder(const QString &folder)
{
    m_programFolder = folder;
    updateSiblings();
}

void FrmOuvrir::updateSiblings()
{
    Frame2->setVisible(!tablefiles::siblingProgram(m_programFolder, kExportProgram).isEmpty());
    Frame3->setVisible(!tablefiles::siblingProgram(m_programFolder, kPrintProgram).isEmpty());
}

// ---- the list ---------------------------------------------------------------------

QString FrmOuvrir::selectedTable() const
{
    const QList<QListWidgetItem *> items = File1->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QString FrmOuvrir::selectedTablePath() const
{
    const QString name = selectedTable();
    return name.isEmpty() ? QString() : QDir(m_appFolder).filePath(name);
}

void FrmOuvrir::refreshList(const QString &select)
{
    const QString wanted = select.isEmpty() ? selectedTable() : select;
    const int oldRow = File1->currentRow();
    File1->clear();
    File1->addItems(tablefiles::listTables(m_appFolder));
    if (File1->count() == 0)
        return;
    int row = -1;
    for (int i = 0; i < File1->count(); ++i) {   // names are unique
        if (File1->item(i)->text() == wanted)
            row = i;
    }
    for (int i = 0; i < File1->count() && row < 0 && !wanted.isEmpty(); ++i) {
        if (tablefiles::sameFileName(File1->item(i)->text(), wanted))
            row = i;
    }
    // A table gone (deleted): its neighbour takes the selection, else the first.
    if (row < 0)
        row = std::clamp(oldRow, 0, File1->count() - 1);
    File1->setCurrentRow(row);
}

QList<QWidget *> FrmOuvrir::commandButtons() const
{
    return {CmdPrint, CmdAnnuler, CmdExporter, CmdImporter, CmdSuppr, OKButton};
}

// ---- message boxes ------------------------------------------------------------------

void FrmOuvrir::message(const QString &title, const QString &text, QMessageBox::Icon icon)
{
    if (showMessage) {
        showMessage(title, text, icon);
        return;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
}

bool FrmOuvrir::ask(const QString &title, const QString &text, QMessageBox::Icon icon, bool defaultYes)
{
    if (askYesNo)
        return askYesNo(title, text, icon, defaultYes);
    QMessageBox box(icon, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// ---- mode options -----------------------------------------------------------------

void FrmOuvrir::Option1_Click()
{
    File1->setEnabled(true);
    TxtNomTable->setEnabled(false);
}

void FrmOuvrir::OptNvtbl_Click()
{
    File1->setEnabled(false);
    TxtNomTable->setEnabled(true);
}

void FrmOuvrir::TxtNomTable_Click()
{
    if (!OptNvtbl->isChecked())
        OptNvtbl->setChecked(true);
    TxtNomTable->setFocus();
}

// ---- open or create -------------------------------------------------------------------

void FrmOuvrir::OKButton_Click()
{
    QString path;
    if (OptNvtbl->isChecked()) {
        path = createNewTable();
        if (path.isEmpty())
            return;
        // The dialog comes back in existing-table mode, the new table selected.
        TxtNomTable->clear();
        Option1->setChecked(true);
        refreshList(QFileInfo(path).fileName());
    } else {
        path = selectedTablePath();
        if (path.isEmpty())
            return;
    }
    openTableAt(path);
}

QString FrmOuvrir::createNewTable()
{
    const QString name = tablefiles::withoutTxt(TxtNomTable->text());
    TxtNomTable->setText(name);
    if (const auto problem = tablefiles::checkName(name); problem != tablefiles::NameProblem::None) {
        message(productTitle(), tablefiles::nameProblemMessage(problem));
        return {};
    }
    const QString fileName = tablefiles::newFileName(name);
    QString target = fileName;
    for (int i = 0; i < File1->count(); ++i) {
        const QString entry = File1->item(i)->text();
        if (!tablefiles::sameFileName(entry, fileName))
            continue;
        if (!ask(QStringLiteral("La Table existe déjà"),
                 QStringLiteral("La table figure déjà dans la liste. Voulez-vous l'écraser?"), QMessageBox::NoIcon,
                 true))
            return {};
        target = entry; // replace the listed file, under the name it has
    }
    const QString path = QDir(m_appFolder).filePath(target);

    TableStore table;
    table.people = QString(4, record::Nbsp);
    if (askProperties)
        askProperties(table);
    if (!tablefiles::createTable(path, tablefiles::newHeaderLine(table.commune, table.sources, table.people))) {
        message(productTitle(),
                QStringLiteral("La table « %1 » n'a pas pu être créée. Vérifiez que le dossier de l'application "
                               "n'est pas en lecture seule, puis recommencez.")
                    .arg(target),
                QMessageBox::Critical);
        return {};
    }
    return path;
}

QString FrmOuvrir::utf8Warning(const QString &fileName)
{
    return QStringLiteral("La table « %1 » ne semble pas avoir été écrite par Velder : son texte est codé en UTF-8, "
                          "et non en Windows-1252 comme celui des tables de Velder. Elle est ouverte telle quelle, "
                          "mais ses lettres accentuées peuvent s'afficher de travers.")
        .arg(fileName);
}

void FrmOuvrir::openTableAt(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const tableupgrade::State state = tableupgrade::inspect(path);
    if (const QString problem = tableupgrade::inspectionMessage(state, name); !problem.isEmpty()) {
        message(productTitle(), problem, QMessageBox::Warning);
        showAgain();
        return;
    }
    if (state == tableupgrade::State::OldLayout
        && tableupgrade::upgradeTable(path) != tableupgrade::UpgradeResult::Done) {
        message(productTitle(), tableupgrade::upgradeFailedMessage(name), QMessageBox::Warning);
        showAgain();
        return;
    }
    hide();
    // The entry window's caption shows the path as the system writes it.
    if (openTable && openTable(QDir::toNativeSeparators(path))) {
        if (utf8check::fileLooksLikeUtf8(path))
            message(productTitle(), utf8Warning(name), QMessageBox::Warning);
        return;
    }
    showAgain();
}

// ---- the other buttons ------------------------------------------------------------------

void FrmOuvrir::CmdSuppr_Click()
{
    const QString name = selectedTable();
    if (name.isEmpty()) {
        message(productTitle(), kSelectTable);
        return;
    }
    // No shell asks here before a file goes to the trash: we do.
    if (!ask(QStringLiteral("Suppression d'une table"),
             QStringLiteral("Voulez-vous vraiment placer la table « %1 » dans la corbeille ?").arg(name),
             QMessageBox::Warning, false))
        return;
    switch (tablefiles::moveToTrash(QDir(m_appFolder).filePath(name))) {
    case tablefiles::TrashResult::Trashed:
    case tablefiles::TrashResult::Missing:
        break;
    case tablefiles::TrashResult::InUse:
        message(productTitle(), kInUse, QMessageBox::Warning);
        break;
    case tablefiles::TrashResult::Refused:
        message(productTitle(),
                QStringLiteral("La corbeille ne peut pas recevoir la table « %1 ». La table n'a pas été supprimée.")
                    .arg(name),
                QMessageBox::Warning);
        break;
    }
    refreshList();
}

void FrmOuvrir::startSibling(const QString &baseName, QToolButton *button)
{
    const QString program = tablefiles::siblingProgram(m_programFolder, baseName);
    bool started = false;
    if (!program.isEmpty())
        started = startProgram ? startProgram(program, m_appFolder) : QProcess::startDetached(program, {}, m_appFolder);
    button->setChecked(false);
    if (!started) {
        message(productTitle(),
                QStringLiteral("Le programme « %1 » n'a pas pu être lancé.")
                    .arg(program.isEmpty() ? baseName : QFileInfo(program).fileName()),
                QMessageBox::Warning);
        updateSiblings();
    }
}

void FrmOuvrir::Option2_Click() { startSibling(kExportProgram, Option2); }

void FrmOuvrir::Option3_Click() { startSibling(kPrintProgram, Option3); }

void FrmOuvrir::CmdAnnuler_Click() { close(); }

void FrmOuvrir::CmdImporter_Click()
{
    QString target;
    if (importTable) {
        target = importTable();
    } else {
        importer::Hooks hooks;
        hooks.askYesNo = [this](QWidget *, const QString &text, const QString &title) {
            return ask(title, text, QMessageBox::NoIcon, true);
        };
        hooks.critical = [this](QWidget *, const QString &text, const QString &title) {
            message(title, text, QMessageBox::Critical);
        };
        hooks.askProperties = askProperties;
        target = importer::CmdImporter_Click({this, Label1, Picture1, commandButtons()}, m_appFolder, hooks);
    }
    refreshList(target.isEmpty() ? QString() : QFileInfo(target).fileName());
}

void FrmOuvrir::CmdExporter_Click()
{
    exporter::Hooks hooks;
    hooks.askYesNo = [this](QWidget *, const QString &text, const QString &title) {
        return ask(title, text, QMessageBox::NoIcon, true);
    };
    hooks.inform = [this](QWidget *, const QString &text, const QString &title) { message(title, text); };
    // A failure keeps the exporter's own warning box.
    exporter::CmdExporter_Click(this, selectedTablePath(), hooks);
}

void FrmOuvrir::CmdPrint_Click()
{
    const QString path = selectedTablePath();
    if (path.isEmpty()) {
        message(productTitle(), kSelectTable);
        return;
    }
    if (printTable)
        printTable(path);
}
