#include "CaptionLabel.h"

#include <QLabel>

QLabel* addCaptionLabel(QWidget* input, const QString& caption, const QRect& geometry,
                        Qt::Alignment alignment)
{
    auto* label = new QLabel(caption, input->parentWidget());
    label->setObjectName(QStringLiteral("Label_") + input->objectName());
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setBuddy(input);
    input->setAccessibleName(caption);
    return label;
}

