#include "Progress.h"
#include "common/ProgramFolder.h"
#include "common/QtDesktop.h"
#include "common/QtPersianTexts.h"
#include "common/QtPrompts.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmoraupdate"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSize(11);
    QApplication::setFont(font);
    loadQtPersianTexts(app);

    QtPrompts prompts;
    QtDesktop desktop;
    AppContext context{programFolder(), &prompts, &desktop, nullptr, nullptr};
    Progress window(context);
    window.show();
    return QApplication::exec();
}
