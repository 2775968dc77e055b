#include "Progress.h"
#include "common/ProgramFolder.h"
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
    AppContext context{programFolder(), &prompts, &desktop, nullptr, nullptr};
    Progress window(context);
    window.show();
    return QApplication::exec();
}
