#include "QtDesktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

void QtDesktop::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

QStringList QtDesktop::calculatorCandidates()
{
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("speedcrunch"),
            QStringLiteral("xcalc"),
            QStringLiteral("calc.exe")};
}

void QtDesktop::startCalculator()
{
    for (const QString& name : calculatorCandidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            startProgram(path);
            return;
        }
    }
}

void QtDesktop::quit()
{
    QCoreApplication::quit();
}
