#include "velderexport/exportwindow.h"

#include "app/twips.h"
#include "app/windowfont.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>

namespace {

void place(QWidget *w, int left, int top, int width, int height) { w->setGeometry(twips::rect(left, top, width, height)); }

const char *const kHelp = "help";

} // namespace

ExportWindow::ExportWindow(const QString &appFolder, QWidget *parent)
    : QWidget(parent), m_appFolder(appFolder)
{
    setWindowTitle(QStringLiteral("VelderExport - Conversion/Exportation"));
    setFixedSize(twips::px(6000), twips::px(4050));
    setMouseTracking(true);
    setFont(smallWindowFont(font()));

    auto *lblTables = new QLabel(QStringLiteral("Tables :"), this);
    place(lblTables, 120, 120, 2400, 240);
    LstTables = new QListWidget(this);
    place(LstTables, 120, 360, 2400, 2520);
    auto *lblFormat = new QLabel(QStringLiteral("Format :"), this);
    place(lblFormat, 2760, 120, 3120, 240);
    CmbFormat = new QComboBox(this);
    CmbFormat->addItems({QStringLiteral("GEDCOM 5.5.1 (UTF-8)"), QStringLiteral("CSV (UTF-8)")});
    place(CmbFormat, 2760, 360, 3120, 330);
    auto *lblDestination = new QLabel(QStringLiteral("Fichier de destination :"), this);
    place(lblDestination, 2760, 840, 3120, 240);
    TxtDestination = new QLineEdit(this);
    place(TxtDestination, 2760, 1080, 3120, 330);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    place(CmdParcourir, 4665, 1500, 1215, 330);
    CmdExporter = new QPushButton(QStringLiteral("Exporter"), this);
    place(CmdExporter, 2760, 2550, 1215, 330);
    CmdExporter->setDefault(true);
    CmdQuitter = new QPushButton(QStringLiteral("Quitter"), this);
    place(CmdQuitter, 4665, 2550, 1215, 330);
    ProgressBar = new QProgressBar(this);
    place(ProgressBar, 120, 3060, 5760, 300);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    auto *box = new QFrame(this);
    box->setFrameShape(QFrame::Box);
    place(box, 15, 3480, 5970, 555);
    LblAide = new QLabel(this);
    place(LblAide, 60, 3510, 5880, 495);
    LblAide->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LblAide->setWordWrap(true);
    QPalette grey = LblAide->palette();
    grey.setColor(QPalette::WindowText, QColor(64, 64, 64));
    LblAide->setPalette(grey);

    const std::pair<QWidget *, const char16_t *> helps[] = {
        {LstTables, u"Sélectionnez la table à exporter"},
        {CmbFormat, u"GEDCOM pour les logiciels de généalogie, CSV pour les tableurs"},
        {TxtDestination, u"Le fichier à écrire"},
        {CmdParcourir, u"Choisit le fichier de destination"},
        {CmdExporter, u"Exporte la table sélectionnée"},
        {CmdQuitter, u"Quitter VelderExport"},
        {ProgressBar, u"Avancement de l'exportation"},
    };
    for (const auto &[w, text] : helps) {
        w->setProperty(kHelp, QString::fromUtf16(text));
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    // Tab order: the list, the format, the destination, then the buttons.
    setTabOrder(LstTables, CmbFormat);
    setTabOrder(CmbFormat, TxtDestination);
    setTabOrder(TxtDestination, CmdParcourir);
    setTabOrder(CmdParcourir, CmdExporter);
    setTabOrder(CmdExporter, CmdQuitter);

    askTarget = [this](const QString &suggested, const QString &filter) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Exportation d'une table..."), suggested, filter,
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    };
    confirmOverwrite = [this](const QString &) {
        return QMessageBox::question(this, QStringLiteral("Le fichier existe déjà..."),
                                     QStringLiteral("Le fichier existe déjà. Voulez-vous l'écraser?"),
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    report = [this](bool ok, const QString &message) {
        if (ok)
            QMessageBox::information(this, QStringLiteral("VelderExport"), message);
        else
            QMessageBox::warning(this, QStringLiteral("VelderExport"), message);
    };

    connect(LstTables, &QListWidget::currentRowChanged, this, [this] { suggestTarget(); });
    connect(LstTables, &QListWidget::itemActivated, this, [this] { CmdExporter_Click(); });
    connect(CmbFormat, &QComboBox::currentIndexChanged, this, [this] { suggestTarget(); });
    connect(CmdParcourir, &QPushButton::clicked, this, [this] { CmdParcourir_Click(); });
    connect(CmdExporter, &QPushButton::clicked, this, [this] { CmdExporter_Click(); });
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::close);
    refreshTables();
    LstTables->setFocus(); // arrows choose the table, Enter exports it
}

void ExportWindow::refreshTables()
{
    LstTables->clear();
    const QStringList names = QDir(m_appFolder).entryList({QStringLiteral("*.krv")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    LstTables->addItems(names);
    if (!names.isEmpty())
        LstTables->setCurrentRow(0);
    suggestTarget();
}

vexport::Format ExportWindow::format() const
{
    return CmbFormat->currentIndex() == 1 ? vexport::Format::Csv : vexport::Format::Gedcom;
}

QString ExportWindow::selectedTable() const
{
    const QListWidgetItem *item = LstTables->currentItem();
    return item ? QDir(m_appFolder).filePath(item->text()) : QString();
}

void ExportWindow::suggestTarget()
{
    const QString table = selectedTable();
    TxtDestination->setText(table.isEmpty() ? QString() : QDir::toNativeSeparators(vexport::defaultTarget(table, format())));
    ProgressBar->setValue(0);
}

void ExportWindow::CmdParcourir_Click()
{
    const QString filter = format() == vexport::Format::Gedcom ? QStringLiteral("Fichiers GEDCOM (*.ged)")
                                                              : QStringLiteral("Fichiers CSV (*.csv)");
    const QString chosen = askTarget(QDir::fromNativeSeparators(TxtDestination->text()), filter);
    if (!chosen.isEmpty())
        TxtDestination->setText(QDir::toNativeSeparators(chosen));
}

void ExportWindow::CmdExporter_Click()
{
    const QString table = selectedTable();
    if (table.isEmpty()) {
        report(false, QStringLiteral("Veuillez sélectionner une table"));
        return;
    }
    const QString target = QDir::fromNativeSeparators(TxtDestination->text().trimmed());
    if (!target.isEmpty() && QFileInfo(target).isFile() && !confirmOverwrite(target))
        return;
    ProgressBar->setValue(0);
    CmdExporter->setEnabled(false);
    const vexport::Result r = vexport::exportTable(table, target, format(), [this](int done, int total) {
        ProgressBar->setValue(total ? int(qint64(done) * 100 / total) : 100);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    CmdExporter->setEnabled(true);
    if (r.ok)
        ProgressBar->setValue(100);
    report(r.ok, r.message);
}

bool ExportWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
        LblAide->setText(watched->property(kHelp).toString());
    return QWidget::eventFilter(watched, event);
}

void ExportWindow::mouseMoveEvent(QMouseEvent *event)
{
    LblAide->clear();
    QWidget::mouseMoveEvent(event);
}
