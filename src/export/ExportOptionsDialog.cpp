#include "ExportOptionsDialog.h"

#include "ExportTexts.h"
#include "widgets/WindowSkin.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportOptionsDialog::ExportOptionsDialog(const AppContext& context, std::function<void()> enterEarlierKey,
                                         QWidget* parent)
    : QDialog(parent)
{
    using namespace ExportTexts;
    setObjectName(QStringLiteral("ExportOptions"));
    setWindowTitle(optionsTitle);
    setLayoutDirection(Qt::RightToLeft);
    Skins::applyCurrent(this, context);

    auto* form = new QGroupBox(formCaption, this);
    m_perSubject = new QRadioButton(formPerSubject, form);
    m_perSubject->setObjectName(QStringLiteral("PerSubject"));
    m_perAdministration = new QRadioButton(formPerAdministration, form);
    m_perAdministration->setObjectName(QStringLiteral("PerAdministration"));
    m_perSubject->setChecked(true);
    auto* formLayout = new QVBoxLayout(form);
    formLayout->addWidget(m_perSubject);
    formLayout->addWidget(m_perAdministration);

    auto* privacy = new QGroupBox(anonymisedCaption, this);
    m_anonymised = new QCheckBox(anonymisedChoice, privacy);
    m_anonymised->setObjectName(QStringLiteral("Anonymised"));
    m_earlierKey = new QPushButton(earlierKey, privacy);
    m_earlierKey->setObjectName(QStringLiteral("EarlierKey"));
    m_earlierKey->setEnabled(false);
    m_earlierKey->setAutoDefault(false);
    auto* privacyLayout = new QVBoxLayout(privacy);
    privacyLayout->addWidget(m_anonymised);
    privacyLayout->addWidget(m_earlierKey, 0, Qt::AlignRight);
    connect(m_anonymised, &QCheckBox::toggled, m_earlierKey, &QWidget::setEnabled);
    connect(m_earlierKey, &QPushButton::clicked, this, [enterEarlierKey] {
        if (enterEarlierKey)
            enterEarlierKey();
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* proceed = buttons->addButton(optionsContinue, QDialogButtonBox::AcceptRole);
    proceed->setObjectName(QStringLiteral("Continue"));
    proceed->setDefault(true);
    buttons->addButton(optionsCancel, QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form);
    layout->addWidget(privacy);
    layout->addWidget(buttons);
}

bool ExportOptionsDialog::perAdministration() const
{
    return m_perAdministration->isChecked();
}

bool ExportOptionsDialog::anonymised() const
{
    return m_anonymised->isChecked();
}
