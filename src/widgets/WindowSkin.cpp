#include "WindowSkin.h"

#include "common/AppContext.h"
#include "datastore/Skins.h"

#include <QFrame>
#include <QWidget>

namespace Skins {

void apply(QWidget* window, const QString& sharedFolder, const QString& number)
{
    int applied = kFirst;
    window->setStyleSheet(styleSheetFor(sharedFolder, number, &applied));
    window->setProperty("skinNumber", applied);
}

QString applyCurrent(QWidget* window, const AppContext& context)
{
    const QString number = readCurrentNumber(context.dataFolder);
    apply(window, context.sharedFolder, number);
    return number;
}

void markAsPanel(QFrame* frame, const QString& objectName)
{
    frame->setObjectName(objectName);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setProperty("skinPanel", true);
}

QFrame* addPanel(QWidget* parent, const QString& objectName, const QRect& geometry)
{
    auto* frame = new QFrame(parent);
    markAsPanel(frame, objectName);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace Skins
