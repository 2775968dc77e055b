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
    keepCaptionColonBesideField(label);
    input->setAccessibleName(caption);
    return label;
}

void keepCaptionColonBesideField(QLabel* label)
{
    // Captions such as ":نام" were written for a left-to-right form: drawn that way the colon
    // stands at the left, between the word and the field that lies left of it. Drawn right to
    // left it would land at the far right, away from the field. The text itself stays as it is.
    if (!label->text().trimmed().startsWith(u':'))
        return;
    // The caption keeps the side of its box it was drawn at.
    const Qt::Alignment alignment = label->alignment();
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    Qt::Alignment side = horizontal;
    if (label->isRightToLeft() && !(horizontal & Qt::AlignAbsolute) && !(horizontal & Qt::AlignHCenter)) {
        const bool namesRight = horizontal & Qt::AlignRight;
        side = (namesRight ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignAbsolute; // mirrored under RTL
    }
    label->setLayoutDirection(Qt::LeftToRight);
    label->setAlignment((alignment & ~Qt::AlignHorizontal_Mask) | side);
}
