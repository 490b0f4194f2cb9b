// The program's start: one copy per folder, the table manager first.
#include "app/program.h"
#include "tables/startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

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
    // Answered before any window, so that they work without a display too.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    switch (startup::requestFromArguments(arguments)) {
    case startup::Request::Help:
        std::fputs(startup::usageText().toLocal8Bit().constData(), stdout);
        return 0;
    case startup::Request::Version:
        std::fputs(startup::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case startup::Request::Run:
        break;
    }
    if (!haveDisplay()) {
        std::fprintf(stderr, "velder: no display found; run it on a desktop, or without one as: xvfb-run -a %s\n", argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velder"));

    // Qt's own dialogs (print, files) in French when the translation is installed.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    const QString folder = startup::appFolder();
    startup::SingleInstance instance(folder);
    if (!instance.isFirst())
        return 0;

    Program program(folder);
    program.start(startup::tablePathFromArguments(QApplication::arguments()));
    return QApplication::exec();
}
