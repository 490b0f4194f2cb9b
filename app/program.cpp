#include "app/program.h"

#include "app/form1.h"
#include "detail/detailwindow.h"
#include "print/recordcard.h"
#include "print/tablelisting.h"
#include "tables/frmouvrir.h"

#include <QCoreApplication>

Program::Program(const QString &appFolder)
    : m_manager(std::make_unique<FrmOuvrir>(appFolder))
{
    m_table.setAppFolder(appFolder);
    FrmOuvrir &manager = *m_manager;
    manager.openTable = [this](const QString &path) { return entry().loadTable(path); };
    manager.askProperties = [&manager](TableStore &properties) {
        EntryState none;
        openDetailWindow(&manager, 12, none, properties);
    };
    manager.printTable = [&manager](const QString &path) { printTableListing(&manager, path); };
    manager.beforeQuit = [this] {
        // A hidden entry window was stored and saved by its "Ouvrir", and nothing
        // edits it while the manager is up; saving it again would bring back a table
        // the user has just put in the trash.
        if (m_entry && m_entry->isVisible())
            m_entry->storeAndSave();
    };
}

Program::~Program() = default;

void Program::start(const QString &tablePath) { m_manager->start(tablePath); }

Form1 &Program::entry()
{
    if (m_entry)
        return *m_entry;
    m_entry = std::make_unique<Form1>(m_table);
    Form1 *form = m_entry.get();
    FrmOuvrir *manager = m_manager.get();
    form->managerVisible = [manager] { return manager->isVisible(); };
    form->onShowManager = [manager] { manager->showAgain(); };
    form->onUnloaded = [] { QCoreApplication::quit(); };
    form->onPrintCard = [form, this] { MCImprimeFiche(form, form->readState(), m_table); };
    form->onDetail = [form, this](int mode) {
        EntryState state = form->readState();
        // The previous spouses' boxes of the entry window follow the paging at once.
        auto changed = [form, &state] {
            for (int i : {16, 17, 28, 29})
                form->Txt[i]->setText(state.txt[i]);
        };
        openDetailWindow(form, mode, state, m_table, changed);
        form->applyDetail(state);
    };
    return *form;
}
