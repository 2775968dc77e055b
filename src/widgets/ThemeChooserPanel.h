#pragma once

#include <QFrame>
#include <QString>

struct AppContext;
class Prompts;
class QLineEdit;
class QPushButton;

// The theme chooser: a number box from 1 to 48 with next and previous buttons. Every change of the
// box applies that skin (from the shared folder's skin/) to the main window at once and writes
// skin/skin.txt in the data folder.
class ThemeChooserPanel final : public QFrame
{
    Q_OBJECT
public:
    ThemeChooserPanel(const AppContext& context, QWidget* skinnedWindow, QWidget* parent);

    // Shows the chooser on the given skin number, which the change rule then applies once.
    void open(const QString& currentNumber);

signals:
    void skinChanged(const QString& number);

private:
    void applyChangeRule(const QString& text);

    Prompts& m_prompts;
    QString m_dataFolder;
    QString m_sharedFolder;
    QWidget* m_skinnedWindow;
    QLineEdit* m_numberBox;
};
