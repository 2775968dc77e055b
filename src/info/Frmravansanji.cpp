#include "Frmravansanji.h"

#include "InfoTexts.h"
#include "common/Twips.h"
#include "widgets/WindowSkin.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace {
constexpr int kWindowWidth = 9600;
constexpr int kWindowHeight = 7440;
} // namespace

Frmravansanji::Frmravansanji(const AppContext& context, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Frmravansanji"));
    setWindowTitle(InfoTexts::introductionTitle);
    setFixedSize(twipsSize(kWindowWidth, kWindowHeight));
    move(twipsPoint(2085, 745));

    auto* heading = new QLabel(InfoTexts::questionnaireTitle, this);
    heading->setObjectName(QStringLiteral("SkinLabel2"));
    heading->setGeometry(twipsRect(240, 120, kWindowWidth - 480, 660));
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont(QStringLiteral("B Titr"));
    headingFont.setPointSize(16);
    heading->setFont(headingFont);

    auto* bodyArea = new QScrollArea(this);
    Skins::markAsPanel(bodyArea, QStringLiteral("BodyArea"));
    bodyArea->setGeometry(twipsRect(240, 900, kWindowWidth - 480, 5700));
    bodyArea->setWidgetResizable(true);
    bodyArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* body = new QLabel(bodyText());
    body->setObjectName(QStringLiteral("SkinLabel1"));
    body->setWordWrap(true);
    body->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    body->setMargin(8);
    QFont bodyFont(QStringLiteral("B Nazanin"));
    bodyFont.setPointSize(13);
    body->setFont(bodyFont);
    // A paragraph is no link or input: the keyboard goes to the scroll bar and the close button.
    body->setTextInteractionFlags(Qt::NoTextInteraction);
    bodyArea->setWidget(body);
    heading->setBuddy(bodyArea);

    auto* exitButton = new QPushButton(InfoTexts::exit, this);
    exitButton->setObjectName(QStringLiteral("Command1"));
    exitButton->setAccessibleName(InfoTexts::exit);
    exitButton->setGeometry(twipsRect((kWindowWidth - 2160) / 2, 6780, 2160, 435));
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    Skins::applyCurrent(this, context);
}

Frmravansanji::~Frmravansanji() = default;

QString Frmravansanji::bodyText()
{
    return (QStringList{InfoTexts::introductionParagraph} + InfoTexts::needParagraphs)
        .join(QStringLiteral("\n\n"));
}
