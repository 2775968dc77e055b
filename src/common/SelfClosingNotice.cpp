#include "SelfClosingNotice.h"

#include "CommonTexts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace SelfClosingNotice {

bool closeOpenNotice()
{
    // Like the desktop lookup by dialog class and title: any open message box whose title is the
    // notice title, newest first, is answered with its default button.
    const auto widgets = QApplication::topLevelWidgets();
    for (auto it = widgets.crbegin(); it != widgets.crend(); ++it) {
        auto* box = qobject_cast<QMessageBox*>(*it);
        if (!box || !box->isVisible() || box->windowTitle() != CommonTexts::noticeTitle)
            continue;
        if (auto* ok = box->defaultButton())
            ok->click();
        else
            box->accept();
        return true;
    }
    return false;
}

void show(QWidget* parent, const QString& text, int milliseconds)
{
    QMessageBox box(QMessageBox::NoIcon, CommonTexts::noticeTitle, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setLayoutDirection(Qt::RightToLeft);
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &box, [] { closeOpenNotice(); });
    box.exec();
}

} // namespace SelfClosingNotice
