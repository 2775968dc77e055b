#include "FieldBinding.h"

#include "datastore/DataView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include <functional>

namespace FieldBinding {

namespace {

// One binding, owned by its widget. It keeps the widget and the field in step and guards against
// echoing its own updates back.
class Binding final : public QObject
{
public:
    Binding(DataView& view, const QString& column, QWidget* widget, std::function<void(const QString&)> show)
        : QObject(widget), m_view(&view), m_column(view.resolveColumn(column)), m_show(std::move(show))
    {
        setObjectName(QStringLiteral("fieldBinding"));
        connect(&view, &DataView::currentRowChanged, this, &Binding::refresh);
        connect(&view, &DataView::fieldChanged, this, [this](const QString& changed) {
            if (changed == m_column)
                refresh();
        });
        refresh();
    }

    void widgetChanged(const QString& text)
    {
        if (m_updating || !m_view)
            return;
        m_updating = true;
        m_view->setField(m_column, text);
        m_updating = false;
    }

private:
    void refresh()
    {
        if (m_updating || !m_view)
            return;
        m_updating = true;
        m_show(m_view->field(m_column));
        m_updating = false;
    }

    QPointer<DataView> m_view;
    QString m_column;
    std::function<void(const QString&)> m_show;
    bool m_updating = false;
};

Binding* replaceBinding(QWidget* widget, DataView& view, const QString& column,
                        std::function<void(const QString&)> show)
{
    if (auto* old = widget->findChild<Binding*>(QStringLiteral("fieldBinding"), Qt::FindDirectChildrenOnly))
        delete old;
    return new Binding(view, column, widget, std::move(show));
}

} // namespace

void bind(DataView& view, const QString& column, QLineEdit* edit)
{
    auto* binding = replaceBinding(edit, view, column, [edit](const QString& value) {
        if (edit->text() != value)
            edit->setText(value);
    });
    QObject::connect(edit, &QLineEdit::textChanged, binding, &Binding::widgetChanged);
}

void bind(DataView& view, const QString& column, QPlainTextEdit* edit)
{
    auto* binding = replaceBinding(edit, view, column, [edit](const QString& value) {
        if (edit->toPlainText() != value)
            edit->setPlainText(value);
    });
    QObject::connect(edit, &QPlainTextEdit::textChanged, binding,
                     [binding, edit] { binding->widgetChanged(edit->toPlainText()); });
}

void bind(DataView& view, const QString& column, QComboBox* combo)
{
    auto* binding = replaceBinding(combo, view, column, [combo](const QString& value) {
        const int index = combo->findText(value);
        if (combo->isEditable())
            combo->setEditText(value);
        combo->setCurrentIndex(index);
        if (combo->isEditable())
            combo->setEditText(value);
    });
    QObject::connect(combo, &QComboBox::currentTextChanged, binding, &Binding::widgetChanged);
}

void bind(DataView& view, const QString& column, QCheckBox* box)
{
    auto* binding = replaceBinding(box, view, column, [box](const QString& value) {
        box->setChecked(value.trimmed() == QLatin1String("1"));
    });
    QObject::connect(box, &QCheckBox::toggled, binding, [binding](bool on) {
        binding->widgetChanged(on ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void bind(DataView& view, const QString& column, QLabel* label)
{
    replaceBinding(label, view, column, [label](const QString& value) { label->setText(value); });
}

} // namespace FieldBinding
