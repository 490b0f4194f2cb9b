#pragma once
// The whole program: the table manager, the entry window made the first time a
// table is opened, and the hooks that let the windows, the detail window and the
// printing meet. main() builds one; end-to-end tests build one on a test folder.
#include "store/tablestore.h"

#include <QString>
#include <memory>

class Form1;
class FrmOuvrir;

class Program {
public:
    explicit Program(const QString &appFolder);
    ~Program();

    // Shows the table manager, or opens the table named on the command line.
    void start(const QString &tablePath = {});

    FrmOuvrir &manager() { return *m_manager; }
    // The entry window, made on first use.
    Form1 &entry();
    TableStore &table() { return m_table; }

private:
    TableStore m_table;
    std::unique_ptr<FrmOuvrir> m_manager;
    // Declared last, so destroyed first: its hooks point at the manager.
    std::unique_ptr<Form1> m_entry;
};
