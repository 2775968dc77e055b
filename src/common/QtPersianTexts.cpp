#include "QtPersianTexts.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadQtPersianTexts(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void setUpPersianApplication(QCoreApplication& app)
{
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
    QFont::insertSubstitution(QStringLiteral("B Titr"), QStringLiteral("Titr"));
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSize(11);
    QGuiApplication::setFont(font);
    loadQtPersianTexts(app);
}
