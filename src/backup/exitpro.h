#pragma once

#include "common/AppContext.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

// The exit dialog: confirms leaving the program and offers a backup on the way out. Its confirm
// and cancel buttons are pictures that light up under the pointer; Esc confirms.
class exitpro final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(exitpro)
public:
    explicit exitpro(const AppContext& context, QWidget* parent = nullptr);
    ~exitpro() override;

    // Places the dialog at left 5000 twips and the given top.
    void placeAt(int topTwips);

public slots:
    void confirm();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QLabel* addPicture(const QString& name, const QString& picture, const QString& caption, int left);
    void showPlainPictures();
    QTimer* addCaptionTimer(const QString& name);

    AppContext m_context;
    QCheckBox* m_backup = nullptr;         // Check1
    QLabel* m_confirmPlain = nullptr;      // k1
    QLabel* m_confirmLit = nullptr;        // k2
    QLabel* m_cancelPlain = nullptr;       // C1
    QLabel* m_cancelLit = nullptr;         // C2
    QPushButton* m_escapeButton = nullptr; // Command1
    QTimer* m_blankCaption = nullptr;      // Timer2
    QTimer* m_backingUpCaption = nullptr;  // Timer3
};
