// The program's start: the table manager comes first; the entry window is made the
// first time a table is opened; the windows meet through the hooks wired here.
#include "app/form1.h"
#include "detail/detailwindow.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "tables/frmouvrir.h"
#include "tables/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace {

bool haveDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!haveDisplay()) {
        std::fprintf(stderr, "velder: no display found; run it on a desktop, or without one as: xvfb-run -a %s\n", argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velder"));
    QApplication::setApplicationVersion(QStringLiteral(VELDER_VERSION));

    // Qt's own dialogs (print, files) in French when the translation is installed.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    const QString folder = startup::appFolder();
    startup::SingleInstance instance(folder);
    if (!instance.isFirst())
        return 0;

    TableStore table;
    table.setAppFolder(folder);
    FrmOuvrir manager(folder);
    std::unique_ptr<Form1> entry;

    auto entryWindow = [&]() -> Form1 & {
        if (entry)
            return *entry;
        entry = std::make_unique<Form1>(table);
        Form1 *form = entry.get();
        form->managerVisible = [&manager] { return manager.isVisible(); };
        form->onShowManager = [&manager] { manager.showAgain(); };
        form->onUnloaded = [] { QCoreApplication::quit(); };
        form->onPrintCard = [form, &table] { MCImprimeFiche(form, form->readState(), table); };
        form->onDetail = [form, &table](int mode) {
            EntryState state = form->readState();
            // The previous spouses' boxes of the entry window follow the paging at once.
            auto changed = [form, &state] {
                for (int i : {16, 17, 28, 29})
                    form->Txt[i]->setText(state.txt[i]);
            };
            openDetailWindow(form, mode, state, table, changed);
            form->writeState(state);
        };
        return *form;
    };

    manager.openTable = [&](const QString &path) { return entryWindow().loadTable(path); };
    manager.askProperties = [&manager](TableStore &properties) {
        EntryState none;
        openDetailWindow(&manager, 12, none, properties);
    };
    manager.printTable = [&manager](const QString &path) { printTableListing(&manager, path); };
    manager.beforeQuit = [&entry] {
        if (entry)
            entry->storeAndSave();
    };

    manager.start(startup::tablePathFromArguments(QApplication::arguments()));
    return QApplication::exec();
}
