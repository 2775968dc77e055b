#pragma once

#include <QString>

class DataView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// Binds a widget to a column of a view's current row: the widget shows the column's value of the
// current row, and every change of the widget's text goes into that row (it reaches the file when
// the view commits). Binding a widget again replaces its earlier binding.
namespace FieldBinding {
void bind(DataView& view, const QString& column, QLineEdit* edit);
void bind(DataView& view, const QString& column, QPlainTextEdit* edit);
void bind(DataView& view, const QString& column, QComboBox* combo); // the chosen item's text
void bind(DataView& view, const QString& column, QCheckBox* box);   // "1" ticked, "0" not
void bind(DataView& view, const QString& column, QLabel* label);    // shows only
} // namespace FieldBinding
