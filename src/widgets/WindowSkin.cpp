#include "WindowSkin.h"

#include "datastore/Skins.h"

#include <QFrame>
#include <QWidget>

namespace Skins {

void apply(QWidget* window, const QString& dataFolder, const QString& number)
{
    int applied = kFirst;
    window->setStyleSheet(styleSheetFor(dataFolder, number, &applied));
    window->setProperty("skinNumber", applied);
}

QString applyCurrent(QWidget* window, const QString& dataFolder)
{
    const QString number = readCurrentNumber(dataFolder);
    apply(window, dataFolder, number);
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
