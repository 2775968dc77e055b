#include "exitpro.h"

#include "BackupTexts.h"
#include "common/Desktop.h"
#include "common/Navigator.h"
#include "common/Twips.h"
#include "widgets/WindowSkin.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace {

namespace T = BackupTexts;

constexpr int kLeft = 5000;
constexpr int kLoadTop = 2500;
constexpr int kButtonTop = 2220;
constexpr int kButtonWidth = 1440;
constexpr int kButtonHeight = 525;
constexpr int kConfirmLeft = 2460;
constexpr int kCancelLeft = 360;
constexpr int kCaptionInterval = 500;

QFont persianBold(qreal points)
{
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Starts a timer that is not running; a running one keeps its pace, as a window timer that is
// enabled again does.
void startIfStopped(QTimer* timer)
{
    if (!timer->isActive())
        timer->start();
}

} // namespace

exitpro::exitpro(const AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("exitpro"));
    setWindowTitle(T::makeBackup);
    setFixedSize(twipsSize(4320, 3045));
    setMouseTracking(true);

    auto* question = new QLabel(T::exitQuestion, this);
    question->setObjectName(QStringLiteral("Label1"));
    question->setFont(persianBold(14.25));
    question->setAlignment(Qt::AlignCenter);
    question->setGeometry(twipsRect(120, 360, 4080, 600));

    m_backup = new QCheckBox(T::makeBackup, this);
    m_backup->setObjectName(QStringLiteral("Check1"));
    m_backup->setFont(persianBold(12));
    m_backup->setGeometry(twipsRect(840, 1260, 2640, 480));
    m_backup->setChecked(false);
    // The caption alternates twice a second; a screen reader would announce every change.
    m_backup->setAccessibleName(T::makeBackup);

    m_confirmPlain =
        addPicture(QStringLiteral("k1"), QStringLiteral("confirm.png"), T::confirmPicture, kConfirmLeft);
    m_confirmLit =
        addPicture(QStringLiteral("k2"), QStringLiteral("confirm-lit.png"), T::confirmPicture, kConfirmLeft);
    m_cancelPlain =
        addPicture(QStringLiteral("C1"), QStringLiteral("cancel.png"), T::cancelPicture, kCancelLeft);
    m_cancelLit =
        addPicture(QStringLiteral("C2"), QStringLiteral("cancel-lit.png"), T::cancelPicture, kCancelLeft);

    // Outside the visible area: the dialog's cancel button, pressed by Esc.
    auto* escape = new QPushButton(QStringLiteral("Command1"), this);
    escape->setObjectName(QStringLiteral("Command1"));
    escape->setGeometry(twipsRect(-2000, -2000, 1200, 375));
    escape->setFocusPolicy(Qt::NoFocus);
    connect(escape, &QPushButton::clicked, this, &exitpro::confirm);
    m_escapeButton = escape;

    // The caption alternates between two texts, and the check box caption follows it.
    m_blankCaption = addCaptionTimer(QStringLiteral("Timer2"));
    m_backingUpCaption = addCaptionTimer(QStringLiteral("Timer3"));
    QTimer* follow = addCaptionTimer(QStringLiteral("tmCaptionAnimate"));
    connect(m_blankCaption, &QTimer::timeout, this, [this] {
        setWindowTitle(T::makeBackupBlank);
        startIfStopped(m_backingUpCaption);
        m_blankCaption->stop();
    });
    connect(m_backingUpCaption, &QTimer::timeout, this, [this] {
        setWindowTitle(T::backingUp);
        startIfStopped(m_blankCaption);
        m_backingUpCaption->stop();
    });
    connect(follow, &QTimer::timeout, this, [this] {
        if (windowTitle().size() > 1)
            m_backup->setText(windowTitle());
        else
            setWindowTitle(T::makeBackupBlank);
    });
    for (QTimer* timer : {m_blankCaption, m_backingUpCaption, follow})
        timer->start();

    // Opening: the skin of the other windows, the dialog's own place, the plain pictures.
    Skins::applyCurrent(this, m_context);
    placeAt(kLoadTop);
    showPlainPictures();
}

exitpro::~exitpro() = default;

QLabel* exitpro::addPicture(const QString& name, const QString& picture, const QString& caption, int left)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setPixmap(QPixmap(QStringLiteral(":/exit/") + picture));
    label->setScaledContents(true);
    label->setGeometry(twipsRect(left, kButtonTop, kButtonWidth, kButtonHeight));
    label->setAccessibleName(caption);
    // Pointer moves over a picture stop at the picture, so that the background's move, which
    // puts the plain pictures back, happens only over the bare background.
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

QTimer* exitpro::addCaptionTimer(const QString& name)
{
    auto* timer = new QTimer(this);
    timer->setObjectName(name);
    timer->setInterval(kCaptionInterval);
    return timer;
}

void exitpro::placeAt(int topTwips)
{
    move(twipsPoint(kLeft, topTwips));
}

void exitpro::showPlainPictures()
{
    m_confirmPlain->show();
    m_cancelPlain->show();
    m_confirmLit->hide();
    m_cancelLit->hide();
}

bool exitpro::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        // Only the lit pictures take clicks: a plain one gives way to its lit one at once.
        if (watched == m_confirmPlain) {
            m_confirmPlain->hide();
            m_confirmLit->show();
        } else if (watched == m_cancelPlain) {
            m_cancelPlain->hide();
            m_cancelLit->show();
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* picture = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && picture->rect().contains(mouse->position().toPoint())) {
            if (watched == m_confirmLit)
                confirm();
            else if (watched == m_cancelLit)
                cancel();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void exitpro::keyPressEvent(QKeyEvent* event)
{
    // As in a dialog: Esc presses the cancel button, whichever control has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_escapeButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void exitpro::mouseMoveEvent(QMouseEvent* event)
{
    showPlainPictures();
    QWidget::mouseMoveEvent(event);
}

void exitpro::confirm()
{
    if (m_backup->isChecked()) {
        m_context.navigator->openBackup();
        hide();
        return;
    }
    m_context.desktop->quit();
}

void exitpro::cancel()
{
    m_context.navigator->exitCancelled();
    close();
}
