#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// Places the caption of an input control beside it. The label is the input's buddy and the
// caption is the input's accessible name, so that screen readers, and automation that drives the
// program from outside, find the input by the words the user sees. The label is named "Label_"
// followed by the input's name.
QLabel* addCaptionLabel(QWidget* input, const QString& caption, const QRect& geometry,
                        Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter);

