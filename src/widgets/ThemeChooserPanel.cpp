#include "ThemeChooserPanel.h"

#include "WidgetsTexts.h"
#include "WindowSkin.h"
#include "common/AppContext.h"
#include "common/FileProblem.h"
#include "common/NumericKeyFilter.h"
#include "common/NumericValue.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "datastore/Skins.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ThemeChooserPanel::ThemeChooserPanel(const AppContext& context, QWidget* skinnedWindow, QWidget* parent)
    : QFrame(parent), m_prompts(*context.prompts), m_dataFolder(context.dataFolder),
      m_sharedFolder(context.sharedFolder), m_skinnedWindow(skinnedWindow)
{
    Skins::markAsPanel(this, QStringLiteral("Frame6"));

    auto* caption = new QLabel(WidgetsTexts::chosenThemeNumber, this);
    caption->setObjectName(QStringLiteral("Label_Txtthema"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(twipsRect(240, 240, 3210, 375));

    m_numberBox = new QLineEdit(this);
    m_numberBox->setObjectName(QStringLiteral("Txtthema"));
    m_numberBox->setAlignment(Qt::AlignCenter);
    m_numberBox->setGeometry(twipsRect(1245, 720, 1200, 405));
    caption->setBuddy(m_numberBox);
    m_numberBox->setAccessibleName(WidgetsTexts::chosenThemeNumber);
    new NumericKeyFilter(m_prompts, m_numberBox);

    auto* next = new QPushButton(WidgetsTexts::next, this);
    next->setObjectName(QStringLiteral("Comdtnext"));
    next->setGeometry(twipsRect(2535, 1290, 915, 450));
    auto* back = new QPushButton(WidgetsTexts::previous, this);
    back->setObjectName(QStringLiteral("Comdtback"));
    back->setGeometry(twipsRect(240, 1290, 915, 450));
    auto* close = new QPushButton(WidgetsTexts::close, this);
    close->setObjectName(QStringLiteral("Command46"));
    close->setGeometry(twipsRect(1245, 1845, 1200, 420));

    connect(m_numberBox, &QLineEdit::textChanged, this, &ThemeChooserPanel::applyChangeRule);
    connect(next, &QPushButton::clicked, this,
            [this] { m_numberBox->setText(QString::number(wholeNumericValue(m_numberBox->text()) + 1)); });
    connect(back, &QPushButton::clicked, this,
            [this] { m_numberBox->setText(QString::number(wholeNumericValue(m_numberBox->text()) - 1)); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void ThemeChooserPanel::open(const QString& currentNumber)
{
    setGeometry(twipsRect(3015, 1080, 3690, 2415));
    show();
    raise();
    if (m_numberBox->text() == currentNumber)
        applyChangeRule(currentNumber); // setText would not announce an unchanged text
    else
        m_numberBox->setText(currentNumber);
}

void ThemeChooserPanel::applyChangeRule(const QString& text)
{
    // Setting the box's text runs this rule again for the corrected text.
    const double value = numericValue(text);
    if (value < Skins::kFirst) {
        m_numberBox->setText(QString::number(Skins::kFirst));
        return;
    }
    if (value > Skins::kLast) {
        m_numberBox->setText(QString::number(Skins::kLast));
        return;
    }
    Skins::apply(m_skinnedWindow, m_sharedFolder, text);
    // The skin is shown either way; the next start would not have it if the choice was not kept.
    if (!Skins::writeCurrentNumber(m_dataFolder, text)) {
        const QString path = Skins::numberFilePath(m_dataFolder);
        m_prompts.message(window(), CommonTexts::warningTitle,
                          withWriteProblem(WidgetsTexts::themeChoiceNotSaved + u'\n' + path, path),
                          Prompts::Icon::Exclamation, true);
    }
    emit skinChanged(text);
}
