// VelderExport: without arguments the export window on the tables of its own folder
// (the table manager starts it so); with --gedcom or --csv the same export for scripts.
#include "velderexport/exportjob.h"
#include "velderexport/exportwindow.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc > 1) {
        QCoreApplication app(argc, argv);
        QString out, err;
        const int code = vexport::runCommandLine(app.arguments().mid(1), out, err);
        if (!out.isEmpty())
            std::fputs((out + u'\n').toUtf8().constData(), stdout);
        if (!err.isEmpty())
            std::fputs((err + u'\n').toUtf8().constData(), stderr);
        return code;
    }
    QApplication app(argc, argv);
    ExportWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
