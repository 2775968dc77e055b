#include "Progress.h"
#include "common/DataLocation.h"
#include "common/QtDesktop.h"
#include "common/QtPersianTexts.h"
#include "common/QtPrompts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmoraupdate"));
    setUpPersianApplication(app);

    QtPrompts prompts;
    QtDesktop desktop;
    // The same folders as the program's: the updater lives beside it. The package is downloaded
    // into the data folder, which is the updater's own folder in a portable copy and the user's
    // own where the program folder may not be written.
    const std::optional<DataLocation::Folders> folders = DataLocation::settle(prompts);
    if (!folders)
        return 1;
    AppContext context{folders->dataFolder, folders->sharedFolder, &prompts, &desktop, nullptr, nullptr};
    Progress window(context);
    window.show();
    return QApplication::exec();
}
