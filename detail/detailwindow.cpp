#include "detail/detailwindow.h"

#include "detail/frmrem.h"
#include "store/cp1252.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>
#include <QValidator>

namespace detail {

namespace {

// Keeps TAB, CR, LF and characters outside Windows-1252 out of the prompt's box.
class HeaderValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        bool refused;   // always set by the cleaning
        const QString clean = cp1252::cleanForField(input, &refused);
        if (refused)
            return Invalid;
        input = clean;   // the line edit keeps the caret within the text
        return Acceptable;
    }
};

QString defaultPrompt(QWidget *parent, const QString &title, const QString &message, const QString &initial)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(message);
    dialog.setTextValue(initial);
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setValidator(new HeaderValidator(edit));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void defaultWarning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void defaultOpenUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

} // namespace

Hooks &hooks()
{
    static Hooks h{defaultPrompt, defaultWarning, defaultOpenUrl, {}};
    return h;
}

QString programVersion()
{
    return QStringLiteral(VELDER_VERSION);
}

} // namespace detail

int openDetailWindow(QWidget *parent, int mode, EntryState &entry, TableStore &table,
                     const std::function<void()> &entryChanged)
{
    using namespace detail;
    if (mode < 1 || mode > ModeCount || detailMode != 0)
        return 0;
    detailMode = qint16(mode);
    // Created afresh at each opening: nothing of a previous layout survives.
    FrmRem window(entry, table, entryChanged, parent);
    window.prepare(mode);
    if (hooks().shown)
        QMetaObject::invokeMethod(&window, [&window] {   // once the window's own loop runs
            if (hooks().shown && window.isVisible())
                hooks().shown(window);
        }, Qt::QueuedConnection);
    if (!window.committed())
        window.exec();
    detailMode = 0;
    return 1;
}
