#pragma once
// The window of VelderExport: the tables of the program's folder, the format, the
// destination, a progress bar and a closing message. It only reads its controls
// and calls exportTable().
#include "velderexport/exportjob.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportWindow(const QString &appFolder, QWidget *parent = nullptr);

    // The dialogs, replaceable by tests: the save dialog (empty when cancelled), the
    // overwrite question, and the closing message.
    std::function<QString(const QString &suggested, const QString &filter)> askTarget;
    std::function<bool(const QString &path)> confirmOverwrite;
    std::function<void(bool ok, const QString &message)> report;

    void refreshTables();
    vexport::Format format() const;

    QListWidget *LstTables = nullptr;
    QComboBox *CmbFormat = nullptr;
    QLineEdit *TxtDestination = nullptr;
    QPushButton *CmdParcourir = nullptr;
    QPushButton *CmdExporter = nullptr;
    QPushButton *CmdQuitter = nullptr;
    QProgressBar *ProgressBar = nullptr;
    QLabel *LblAide = nullptr;

    void CmdParcourir_Click();
    void CmdExporter_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QString selectedTable() const;
    void suggestTarget();
    QString m_appFolder;
};
