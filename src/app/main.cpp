#include "AppNavigator.h"
#include "SingleInstance.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/ProgramFolder.h"
#include "common/QtDesktop.h"
#include "common/QtPrompts.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QFont>

namespace {
// The Persian typefaces the program was designed with, and the free ones that stand in for them.
void registerPersianFonts()
{
    QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
    QFont::insertSubstitution(QStringLiteral("B Titr"), QStringLiteral("Titr"));
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSize(11);
    QApplication::setFont(font);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    registerPersianFonts();

    QtPrompts prompts;
    QtDesktop desktop;
    SystemClock clock;
    const QString folder = programFolder();

    SingleInstance instance(folder);
    if (!instance.acquire()) {
        prompts.message(nullptr, MainWindowTexts::alreadyRunningTitle, MainWindowTexts::alreadyRunning,
                        Prompts::Icon::Information);
        return 0;
    }

    const Database::OpenResult databases = Database::openProgramDatabases(folder);
    if (!databases.ok) {
        prompts.message(nullptr, CommonTexts::warningTitle, databases.message, Prompts::Icon::Exclamation,
                        true);
        return 1;
    }

    AppContext context{folder, &prompts, &desktop, nullptr, &clock};
    AppNavigator navigator(context);
    navigator.start();
    return QApplication::exec();
}
