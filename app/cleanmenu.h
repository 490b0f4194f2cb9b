#pragma once
// A box's own right-click menu, whose Paste goes through the box's cleaning: Qt's would
// let a TAB, a line break or a character outside the code page into a field.
#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>

template <typename Paste>
void popupCleanMenu(QLineEdit *box, const QContextMenuEvent *e, Paste paste)
{
    QMenu *menu = box->createStandardContextMenu();
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *a : menu->actions()) {
        if (!a->isSeparator() && a->text().startsWith(pasteText)) {
            a->setObjectName(QStringLiteral("edit-paste"));
            QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
            QObject::connect(a, &QAction::triggered, box, paste);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}
