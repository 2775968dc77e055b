// The program put together: the real prompts, desktop and clock, the navigator that knows every
// window, and the start-up (Startup.h says what it does, step by step).

#include "AccountRecovery.h"
#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "Startup.h"
#include "common/Clock.h"
#include "common/DataLocation.h"
#include "common/QtDesktop.h"
#include "common/QtPrompts.h"
#include "common/StartupTrace.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    StartupTrace::mark("main");
    if (AccountRecovery::isAsked(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        const QString folder =
            DataLocation::choose(DataLocation::factsOf(QCoreApplication::applicationDirPath())).dataFolder;
        return AccountRecovery::run(folder, stdin, stdout);
    }
    QApplication app(argc, argv);
    StartupTrace::watchFirstFrame(&app);
    StartupTrace::mark("application made");
    Startup::setUpApplication(app);

    QtPrompts prompts;
    QtDesktop desktop;
    SystemClock clock;
    const std::optional<DataLocation::Folders> folders = DataLocation::settle(prompts);
    if (!folders)
        return 1;
    const AppContext context{folders->dataFolder, folders->sharedFolder, &prompts, &desktop, nullptr, &clock};
    AppNavigator navigator(context);
    const std::unique_ptr<ClinicServerActions> clinicServer = makeClinicServerActions();
    Startup startup(context, navigator, *clinicServer);
    if (const std::optional<int> exitCode = startup.showMainWindow())
        return *exitCode;
    return QApplication::exec();
}
