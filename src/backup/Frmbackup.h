#pragma once

#include "DatabaseBackup.h"
#include "common/AppContext.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The backup window on the way out of the program: backs DABSH.skn up to a chosen file or
// restores it from one. Every way out of it ends the program.
class Frmbackup final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Frmbackup)
public:
    explicit Frmbackup(const AppContext& context, QWidget* parent = nullptr);
    ~Frmbackup() override;

    bool isCopying() const { return m_copying; }

public slots:
    void chooseBackupFile();  // b1
    void chooseRestoreFile(); // b2
    void makeBackup();        // VisualButtonEx2
    void restore();           // VisualButtonEx3

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildHelpPanel();
    QPushButton* addCommand(QWidget* parent, const QString& name, const QString& caption,
                            const QRect& geometry);
    QString currentTime() const;
    // Where a file dialog opens, with the proposed file name if any.
    QString dialogStart(const QString& fileName) const;
    // Disables the commands while a copy runs, so that no second copy starts inside the first.
    void setCopying(bool copying);
    void showProgress(qint64 done, qint64 total);
    // Runs a backup or a restore with the commands disabled and tells its outcome; a success
    // ends the program.
    void runCopy(const std::function<DatabaseBackup::Outcome(const Backup::BlockCopied&)>& copy,
                 const QString& doneText);

    AppContext m_context;
    QLineEdit* m_backupPath = nullptr;  // Text1
    QLineEdit* m_restorePath = nullptr; // Text2
    QLabel* m_date = nullptr;           // Label1
    QLabel* m_dateCopy = nullptr;       // Label3
    QLabel* m_time = nullptr;           // Label2
    QProgressBar* m_progress = nullptr;
    QFrame* m_helpPanel = nullptr; // Frame1
    QTimer* m_clock = nullptr;     // Timer1
    QList<QWidget*> m_commands;
    bool m_copying = false;
    QElapsedTimer m_sinceProgressShown;
};
