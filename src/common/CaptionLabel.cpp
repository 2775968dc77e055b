#include "CaptionLabel.h"

#include <QPainter>
#include <QStyle>

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

bool CaptionLabel::startsWithColon(const QString& caption)
{
    const QString visible = caption.trimmed();
    return !visible.isEmpty() && visible.front() == QLatin1Char(':');
}

void CaptionLabel::paintEvent(QPaintEvent* event)
{
    if (!startsWithColon(text()) || textFormat() == Qt::RichText || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    QRect area = contentsRect();
    area.adjust(margin(), margin(), -margin(), -margin());
    const int flags = int(QStyle::visualAlignment(layoutDirection(), alignment())) |
                      Qt::TextForceLeftToRight | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    style()->drawItemText(&painter, area, flags, palette(), isEnabled(), text(), foregroundRole());
}

QLabel* addCaptionLabel(QWidget* input, const QString& caption, const QRect& geometry,
                        Qt::Alignment alignment)
{
    auto* label = new CaptionLabel(caption, input->parentWidget());
    label->setObjectName(QStringLiteral("Label_") + input->objectName());
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setBuddy(input);
    // A label beside a caption shows a value (a date, a time): a screen reader reads the value as
    // its name and the caption as what it describes, never the caption twice.
    if (qobject_cast<QLabel*>(input))
        input->setAccessibleDescription(caption);
    else
        input->setAccessibleName(caption);
    return label;
}
