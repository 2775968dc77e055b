#include "Frm1.h"

#include "ClinicProfilePanel.h"
#include "LogoFile.h"
#include "MainWindowTexts.h"
#include "QuestionEditorPanel.h"
#include "RegistrationPanel.h"
#include "SettingsPanel.h"
#include "common/AppVersion.h"
#include "common/CommonTexts.h"
#include "common/Desktop.h"
#include "common/DigitText.h"
#include "common/FirstFrame.h"
#include "common/Navigator.h"
#include "common/Permissions.h"
#include "common/Prompts.h"
#include "common/Session.h"
#include "common/StartupTrace.h"
#include "common/Twips.h"
#include "common/VendorLinks.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "widgets/ThemeChooserPanel.h"
#include "widgets/WindowSkin.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResource>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kClinicNamePointSize = 16;
constexpr int kSmallestClinicNamePointSize = 9;

// The banner, built in uncompressed as its pixels lie in memory (see tools/BannerPicture.cpp):
// the picture is shown straight from the program's own read-only data, which lasts as long as
// the program.
QPixmap bannerPicture(const QSize& size)
{
    const QResource resource(QStringLiteral(":/banner/banner.rgb32"));
    if (resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() != qint64(size.width()) * size.height() * 4)
        return {};
    return QPixmap::fromImage(QImage(resource.data(), size.width(), size.height(), QImage::Format_RGB32));
}

} // namespace

Frm1::Frm1(const AppContext& context, QWidget* parent, PanelTiming panelTiming)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("Frm1"));
    setWindowTitle(QStringLiteral("Velmora"));
    setFixedSize(twipsSize(11490, 7320));
    setMouseTracking(true);

    // Start-up steps, in order (the single-instance test ran before the window was made).
    move(twipsPoint(2085, 745));
    // The skin before the children: each is styled once as it is made, rather than all of them
    // styled again when the window's style sheet arrives (callgrind: the window is made in 3.14
    // instead of 3.59 million instructions).
    m_skinNumber = Skins::applyCurrent(this, m_context);
    StartupTrace::mark("skin read");
    buildCommandBar();
    StartupTrace::mark("command bar built");
    buildInformationArea();
    StartupTrace::mark("information area built");

    setQuietCloseFlag(QStringLiteral("2"));
    if (panelTiming == PanelTiming::AtOnce) {
        m_views.open(m_context.dataFolder);
        m_viewsReadMark = m_views.writeMark();
        buildPanels();
    } else {
        // The views are read as the window is first shown, so that the window can be built while
        // the data files are still opening; the first paint event starts the panels.
        installEventFilter(this);
    }
}

void Frm1::buildPanels()
{
    if (m_registration)
        return;
    buildHiddenFields();
    m_registration = new RegistrationPanel(m_context, m_views, *this, this);
    m_settings = new SettingsPanel(m_context, m_views, *this, this);
    m_profile = new ClinicProfilePanel(m_context, m_views, *this, this);
    m_themeChooser = new ThemeChooserPanel(m_context, this, this);
    m_themeChooser->hide();
    connect(m_themeChooser, &ThemeChooserPanel::skinChanged, this,
            [this](const QString& n) { m_skinNumber = n; });
    m_questionEditor = new QuestionEditorPanel(m_context, m_views, *this, this);
    m_questionEditor->setGeometry(twipsRect(720, 720, 6915, 2970));
    for (QWidget* panel : panels())
        panel->installEventFilter(this);
    if (m_logoRead)
        m_settings->showLogo(m_logo);
    StartupTrace::mark("panels built");
}

void Frm1::buildHiddenFields()
{
    // Hidden fields that hold the window's state; made with the panels, as the first picture
    // does not show them.
    m_quietCloseFlag = new QLineEdit(m_quietCloseFlagText, this);
    m_quietCloseFlag->setObjectName(QStringLiteral("Text3"));
    m_quietCloseFlag->hide();
    m_contactLines = new QPlainTextEdit(m_contactLinesText, this);
    m_contactLines->setObjectName(QStringLiteral("Txtmosh"));
    m_contactLines->hide();
}

QList<QWidget*> Frm1::panels() const
{
    if (!m_registration)
        return {};
    return {m_registration, m_settings, m_profile, m_themeChooser, m_questionEditor};
}

Frm1::~Frm1() = default;

QPushButton* Frm1::addCommand(const QString& name, const QString& caption, const QString& hint, int row)
{
    auto* button = new QPushButton(caption, m_commandBar);
    button->setObjectName(name);
    button->setGeometry(twipsRect(120, 120 + row * 585, 2460, 495));
    button->setAccessibleName(caption);
    if (!hint.isEmpty()) {
        button->setProperty("hintText", hint);
        button->setAccessibleDescription(hint);
        button->installEventFilter(this);
    }
    return button;
}

void Frm1::buildCommandBar()
{
    m_commandBar = new QWidget(this);
    m_commandBar->setObjectName(QStringLiteral("Frame7"));
    m_commandBar->setGeometry(twipsRect(8640, 120, 2730, 6600));
    m_commandBar->setMouseTracking(true);
    m_commandBar->installEventFilter(this);

    namespace T = MainWindowTexts;
    m_registerCommand = addCommand(QStringLiteral("Command1"), T::registerSubject, T::registerHint, 0);
    auto* test = addCommand(QStringLiteral("Command2"), T::runTest, T::runTestHint, 1);
    auto* score = addCommand(QStringLiteral("Command3"), T::scoring, T::scoringHint, 2);
    auto* finder = addCommand(QStringLiteral("Command4"), T::showSubjectCode, T::showCodeHint, 3);
    auto* calc = addCommand(QStringLiteral("Command5"), T::calculator, {}, 4);
    auto* quit = addCommand(QStringLiteral("Command6"), T::exit, {}, 10);
    auto* intro = addCommand(QStringLiteral("Command11"), T::introduction, {}, 6);
    auto* setup = addCommand(QStringLiteral("Command9"), T::settings, T::settingsHint, 8);
    auto* about = addCommand(QStringLiteral("Command12"), T::aboutUs, {}, 9);
    auto* upgrade = addCommand(QStringLiteral("Cmdupdate"), T::update, {}, 7);
    auto* sheet = addCommand(QStringLiteral("Cmdpasokh"), T::answerSheet, {}, 5);

    // Created in the order of their declaration, placed by row: the keyboard follows the rows.
    QList<QPushButton*> byRow = m_commandBar->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    std::sort(byRow.begin(), byRow.end(), [](QPushButton* a, QPushButton* b) { return a->y() < b->y(); });
    for (qsizetype i = 1; i < byRow.size(); ++i)
        setTabOrder(byRow.at(i - 1), byRow.at(i));

    connect(m_registerCommand, &QPushButton::clicked, this, [this] {
        if (!mayUse(m_context, Command::Register))
            return;
        buildPanels();
        m_registration->open();
    });
    connect(test, &QPushButton::clicked, this, &Frm1::runTest);
    connect(score, &QPushButton::clicked, this, &Frm1::openScoring);
    connect(finder, &QPushButton::clicked, this, &Frm1::openSubjectFinder);
    connect(calc, &QPushButton::clicked, this, [this] {
        closePanels();
        m_context.desktop->startCalculator();
    });
    connect(quit, &QPushButton::clicked, this, &Frm1::exitProgram);
    connect(intro, &QPushButton::clicked, this, [this] {
        m_context.navigator->openIntroduction();
        becameActive();
    });
    connect(setup, &QPushButton::clicked, this, [this] {
        if (!mayUse(m_context, Command::Settings))
            return;
        buildPanels();
        m_settings->open();
    });
    connect(about, &QPushButton::clicked, this, [this] {
        closePanels();
        m_context.navigator->openAbout();
        becameActive();
    });
    connect(upgrade, &QPushButton::clicked, this, [this] {
        m_context.navigator->openUpdateCheck();
        becameActive();
    });
    connect(sheet, &QPushButton::clicked, this, [this] {
        m_context.navigator->openAnswerSheet();
        becameActive();
    });

    // Below the command bar, where nothing else lies; only where sign-in is on.
    if (m_context.session) {
        m_lockCommand = new QPushButton(MainWindowTexts::lockCommand, this);
        m_lockCommand->setObjectName(QStringLiteral("lockCommand"));
        m_lockCommand->setAccessibleName(MainWindowTexts::lockCommand);
        m_lockCommand->setGeometry(twipsRect(8760, 6780, 2460, 450));
        connect(m_lockCommand, &QPushButton::clicked, this, [this] { m_context.navigator->lockProgram(); });
    }
    applyPermissions();
}

void Frm1::applyPermissions()
{
    const std::pair<const char*, Command> commands[] = {
        {"Command1", Command::Register},      {"Command2", Command::RunTest},  {"Command3", Command::Scoring},
        {"Command4", Command::SubjectFinder}, {"Command9", Command::Settings}, {"Cmdupdate", Command::Update},
        {"Cmdpasokh", Command::AnswerSheet}};
    for (const auto& [name, command] : commands) {
        if (auto* button = m_commandBar->findChild<QPushButton*>(QLatin1String(name)))
            button->setVisible(mayUse(m_context, command));
    }
    if (m_settings && !mayUse(m_context, Command::Settings))
        closePanels();
    if (m_lockCommand) {
        const QString user = m_context.session->userName();
        m_lockCommand->setToolTip(MainWindowTexts::signedInAs.arg(user));
        m_lockCommand->setAccessibleDescription(MainWindowTexts::signedInAs.arg(user));
    }
}

void Frm1::buildInformationArea()
{
    using namespace MainWindowTexts;

    m_clinicNameLine = new QLabel(this);
    m_clinicNameLine->setObjectName(QStringLiteral("SkinLabel1"));
    m_clinicNameLine->setGeometry(twipsRect(240, 120, 8160, 480));
    m_clinicNameLine->setAlignment(Qt::AlignCenter);
    QFont nameFont(QStringLiteral("B Titr"));
    nameFont.setPointSize(kClinicNamePointSize);
    m_clinicNameLine->setFont(nameFont);

    // The banner, version and links give way to the panels, which open over this area.
    m_informationArea = new QWidget(this);
    m_informationArea->setObjectName(QStringLiteral("InformationArea"));
    m_informationArea->setGeometry(twipsRect(0, 600, 8520, 6720));
    m_informationArea->setMouseTracking(true); // moves over its background hide the hint
    QWidget* area = m_informationArea;

    auto* banner = new QLabel(area);
    banner->setObjectName(QStringLiteral("Picture1"));
    banner->setGeometry(twipsRect(1125, 360, 6480, 2400));
    banner->setPixmap(bannerPicture(banner->size()));
    banner->setCursor(Qt::PointingHandCursor);
    banner->setToolTip(bannerHint);
    banner->setAccessibleName(bannerHint);
    banner->installEventFilter(this);

    m_hintLine = new QLabel(this);
    m_hintLine->setObjectName(QStringLiteral("SkinLabel2"));
    m_hintLine->setProperty("hint", true);
    m_hintLine->setGeometry(twipsRect(240, 3780, 8160, 780));
    m_hintLine->setWordWrap(true);
    m_hintLine->setAlignment(Qt::AlignCenter);
    // A click through the hint reaches what lies under it.
    m_hintLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_hintLine->hide();

    auto* versionCaptionLabel = new QLabel(versionCaption, area);
    versionCaptionLabel->setObjectName(QStringLiteral("Label_SkinLabel9"));
    versionCaptionLabel->setGeometry(twipsRect(4440, 4080, 3960, 375));
    // The caption and the version meet in the middle, whatever the reading direction.
    versionCaptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    auto* version = new QLabel(AppVersion::versionLine(), area);
    version->setObjectName(QStringLiteral("SkinLabel9"));
    version->setGeometry(twipsRect(240, 4080, 4080, 375));
    version->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    version->setLayoutDirection(Qt::LeftToRight);
    versionCaptionLabel->setBuddy(version);

    // A left-to-right mark keeps the handle's "@" in front of it inside this right-to-left line.
    auto* invitation =
        new QLabel(telegramInvitation + u' ' + QChar(0x200E) + VendorLinks::telegramHandle, area);
    invitation->setObjectName(QStringLiteral("Label_Telegram"));
    invitation->setGeometry(twipsRect(240, 4620, 8160, 420));
    invitation->setAlignment(Qt::AlignCenter);

    auto* helpButton = new QPushButton(help, area);
    helpButton->setObjectName(QStringLiteral("CmdHelp"));
    helpButton->setToolTip(helpHint);
    helpButton->setAccessibleDescription(helpHint);
    helpButton->setGeometry(twipsRect(6120, 5280, 2280, 465));
    auto* channel = new QPushButton(joinChannel, area);
    channel->setObjectName(QStringLiteral("Cmandkanal"));
    channel->setGeometry(twipsRect(3180, 5280, 2700, 465));
    auto* list = new QPushButton(downloadList, area);
    list->setObjectName(QStringLiteral("Command14"));
    list->setGeometry(twipsRect(240, 5280, 2700, 465));

    // Beside every panel, in the one corner none of them covers, for as long as the session lasts;
    // the whole sentence for the pointer and screen readers.
    m_folderFilesNotice = new QLabel(folderFilesInsteadOfServerShort, this);
    m_folderFilesNotice->setObjectName(QStringLiteral("folderFilesNotice"));
    m_folderFilesNotice->setToolTip(folderFilesInsteadOfServer);
    m_folderFilesNotice->setAccessibleName(folderFilesInsteadOfServer);
    m_folderFilesNotice->setGeometry(twipsRect(240, 6420, 2700, 840));
    m_folderFilesNotice->setWordWrap(true);
    m_folderFilesNotice->setAlignment(Qt::AlignCenter);
    m_folderFilesNotice->setStyleSheet(
        QStringLiteral("QLabel { background: #fff3cd; color: #7a0000; border: 1px solid #7a0000; }"));
    m_folderFilesNotice->hide();

    connect(helpButton, &QPushButton::clicked, this,
            [this] { m_context.desktop->openUrl(QUrl(VendorLinks::helpPage)); });
    connect(channel, &QPushButton::clicked, this,
            [this] { m_context.desktop->openUrl(QUrl(VendorLinks::telegramChannel)); });
    connect(list, &QPushButton::clicked, this,
            [this] { m_context.desktop->openUrl(QUrl(VendorLinks::programList)); });
}

void Frm1::hideEvent(QHideEvent* event)
{
    // The window hides while the scoring window is open; the command that was hovered on the way
    // there is no longer under the mouse when it comes back.
    hideHint();
    QWidget::hideEvent(event);
}

void Frm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_activatedOnce)
        becameActive();
}

void Frm1::becameActive()
{
    // The first show comes right after the views were read; they are read again only if a file
    // was written in between.
    const bool viewsFresh =
        !m_activatedOnce && !m_viewsReadMark.isEmpty() && m_views.writeMark() == m_viewsReadMark;
    m_activatedOnce = true;
    if (!viewsFresh)
        m_views.open(m_context.dataFolder, m_registration && m_registration->isPending());
    StartupTrace::mark("views read");
    if (m_registration) {
        m_registration->viewsReopened();
        m_settings->viewsReopened();
        m_profile->viewsReopened();
        m_questionEditor->viewsReopened();
    }
    m_logoRead = false;
    if (m_settings && m_settings->isVisible())
        reloadLogo();
    rebuildContactLines();
    showClinicName(m_views.theme->field(QStringLiteral("Name")));
    StartupTrace::mark("contact lines and clinic name");
    // Whoever sits down at this computer later in the session must see that what they register
    // does not reach the clinic server.
    const bool onFilesInsteadOfServer = ClinicServer::folderFilesStandInForServer(m_context.dataFolder);
    m_folderFilesNotice->setVisible(onFilesInsteadOfServer);
    if (onFilesInsteadOfServer)
        m_folderFilesNotice->raise();
    setWindowTitle(onFilesInsteadOfServer ? MainWindowTexts::folderFilesInsteadOfServerTitle
                                          : QStringLiteral("Velmora"));
}

void Frm1::reloadLogo()
{
    m_logoRead = false;
    (void)logo();
}

const QImage& Frm1::logo() const
{
    if (!m_logoRead) {
        m_logoRead = true;
        // A missing or broken file leaves no logo, and no message.
        m_logo = LogoFile::load(m_context.dataFolder);
        if (m_settings)
            m_settings->showLogo(m_logo);
    }
    return m_logo;
}

void Frm1::rebuildContactLines()
{
    QString lines;
    for (const char* column : {"T1", "T2", "T3", "T4", "T5", "T6"}) {
        const QString text = m_views.theme->field(QLatin1String(column));
        if (!text.isEmpty())
            lines += text + QStringLiteral("\r\n");
    }
    m_contactLinesText = lines; // kept as built: the text box shows CR LF as line breaks only
    if (m_contactLines)
        m_contactLines->setPlainText(lines);
}

QString Frm1::contactLines() const
{
    return m_contactLinesText;
}

void Frm1::showClinicName(const QString& name)
{
    // A long name is set smaller until it fits the line, rather than cut off at both ends.
    QFont font = m_clinicNameLine->font();
    font.setPointSize(kClinicNamePointSize);
    const int room = m_clinicNameLine->contentsRect().width();
    while (font.pointSize() > kSmallestClinicNamePointSize &&
           QFontMetrics(font).horizontalAdvance(name) > room)
        font.setPointSize(font.pointSize() - 1);
    m_clinicNameLine->setFont(font);
    m_clinicNameLine->setText(name);
}

void Frm1::setRegisterCommandEnabled(bool enabled)
{
    m_registerCommand->setEnabled(enabled);
}

ClinicTexts Frm1::clinicTexts() const
{
    ClinicTexts texts;
    const auto* name = findChild<QLineEdit*>(QStringLiteral("Text31"));
    const auto* address = findChild<QLineEdit*>(QStringLiteral("Text30"));
    texts.name = name ? name->text() : m_views.theme->field(QStringLiteral("Name"));
    texts.address = address ? address->text() : m_views.theme->field(QStringLiteral("Adress"));
    texts.contactLines = contactLines();
    texts.logo = logo();
    texts.showLogo = m_views.theme->field(QStringLiteral("Check1")).trimmed() == QLatin1String("1");
    return texts;
}

QString Frm1::quietCloseFlag() const
{
    return m_quietCloseFlagText;
}

void Frm1::setQuietCloseFlag(const QString& value)
{
    m_quietCloseFlagText = value;
    if (m_quietCloseFlag)
        m_quietCloseFlag->setText(value);
}

void Frm1::closePanels()
{
    for (QWidget* panel : panels())
        panel->hide();
    setRegisterCommandEnabled(true);
    // A started registration never outlives its panel, even while IDE is still empty, so that it
    // cannot be saved later by accident.
    if (m_views.registration->isNewRow())
        m_views.registration->cancelChanges();
    if (m_views.hasSubjects()) {
        m_views.registration->requery();
        m_views.counting->requery();
        m_views.answers->requery();
    }
}

void Frm1::showSettingsPanel()
{
    if (!mayUse(m_context, Command::Settings))
        return;
    buildPanels();
    m_settings->setGeometry(twipsRect(3015, 3780, 5235, 3375));
    (void)logo();
    m_settings->show();
}

void Frm1::openClinicProfile()
{
    buildPanels();
    m_profile->open();
}

void Frm1::openThemeChooser()
{
    closePanels();
    showSettingsPanel();
    buildPanels();
    m_themeChooser->open(m_skinNumber);
}

void Frm1::openQuestionEditor()
{
    buildPanels();
    m_questionEditor->open();
}

void Frm1::openClinicServer()
{
    m_context.navigator->openClinicServer();
    becameActive();
}

void Frm1::runTest()
{
    if (!m_views.hasSubjects())
        return;
    closePanels();
    const QString code = withLatinDigits(m_context.prompts->askText(
        this, MainWindowTexts::enterCodeTitle, MainWindowTexts::enterCodePrompt, QString()));
    if (code.isEmpty()) {
        m_context.prompts->notice(this, CommonTexts::enterSubjectNumber);
        return;
    }
    m_views.counting->requery();
    m_views.counting->filterBy(QStringLiteral("code"), code);
    if (m_views.counting->count() == 0) {
        m_context.prompts->notice(this, CommonTexts::noSuchSubject);
        return;
    }
    m_context.navigator->runTest(code);
    becameActive();
}

void Frm1::openScoring()
{
    if (!m_views.hasSubjects())
        return;
    closePanels();
    m_context.navigator->openScoring();
}

void Frm1::openSubjectFinder()
{
    if (!m_views.hasSubjects())
        return;
    closePanels();
    if (!m_context.navigator->openSubjectFinder())
        return;
    setQuietCloseFlag(QStringLiteral("1"));
    close();
}

void Frm1::exitProgram()
{
    closePanels();
    // With the quiet-close flag at "1" the window closes without a dialog of its own, so the exit
    // dialog opened here is the one the user sees; otherwise closing opens it.
    if (quietCloseFlag() == QLatin1String("1"))
        m_context.navigator->mainWindowClosing(4500);
    close();
}

void Frm1::closeEvent(QCloseEvent* event)
{
    if (quietCloseFlag() == QLatin1String("1")) {
        m_views.registration->requery();
        event->accept();
        return;
    }
    closePanels();
    m_views.registration->requery();
    m_context.navigator->mainWindowClosing(1500);
    event->accept();
}

void Frm1::hideHint()
{
    m_hintLine->clear();
    m_hintLine->hide();
}

void Frm1::showHint(const QString& hint)
{
    // The hint line lies across the area where the panels open; over an open panel it would
    // hide the panel's fields.
    const auto open = panels();
    if (std::any_of(open.cbegin(), open.cend(), [](const QWidget* panel) { return panel->isVisible(); }))
        return;
    m_hintLine->setText(hint);
    m_hintLine->show();
    m_hintLine->raise();
}

void Frm1::followMouse(const QPoint& windowPosition)
{
    // Moves over buttons without mouse tracking reach the command bar and this window as well, so
    // the widget under the mouse decides: a command with a hint shows it, the bare background of
    // the window or of the command bar hides it, anything else leaves it as it is.
    QWidget* under = childAt(windowPosition);
    const QString hint = under ? under->property("hintText").toString() : QString();
    if (!hint.isEmpty())
        showHint(hint);
    else if (!under || under == m_commandBar || under == m_informationArea)
        hideHint();
}

void Frm1::mouseMoveEvent(QMouseEvent* event)
{
    followMouse(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

bool Frm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Paint && !m_registration) {
        removeEventFilter(this);
        FirstFrame::whenPictureShown(this, [this] { buildPanels(); });
        return false;
    }
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && panels().contains(watched)) {
        const auto open = panels();
        m_informationArea->setVisible(
            std::none_of(open.cbegin(), open.cend(), [](QWidget* p) { return p->isVisible(); }));
        if (event->type() == QEvent::Show)
            hideHint(); // a hint left over would stick out beside the panel
        return false;
    }
    if (watched == m_commandBar && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        followMouse(m_commandBar->mapTo(this, move->position().toPoint()));
        return true; // handled here; this window need not see it again
    } else if (event->type() == QEvent::Enter) {
        const QString hint = watched->property("hintText").toString();
        if (!hint.isEmpty())
            showHint(hint);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               watched->objectName() == QLatin1String("Picture1")) {
        m_context.desktop->openUrl(QUrl(VendorLinks::webSite));
        m_context.desktop->openUrl(QUrl(VendorLinks::shop));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
