#pragma once

#include "DatabaseBackup.h"
#include "common/AppContext.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The backup window: backs DABSH.skn up to a chosen file or restores it from one.
class Frmbackup final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Frmbackup)
public:
    enum class Occasion
    {
        // On the way out of the program: every way out of the window ends the program.
        LeavingProgram,
        // From the settings of a running program: the window closes after a backup or a restore
        // and the program goes on.
        RunningProgram,
        // At start, for a DABSH.skn that is damaged or cannot be read: the backup row saves a copy
        // of the damaged file instead, and the window stays open until a restore succeeds or it is
        // closed.
        DamagedDatabase
    };

    explicit Frmbackup(const AppContext& context, QWidget* parent = nullptr,
                       Occasion occasion = Occasion::LeavingProgram);
    ~Frmbackup() override;

    bool isCopying() const { return m_copying; }
    // How hard the key of an encrypted backup is to guess (tests make it quick).
    void setEncryptionStrength(const BackupCipher::Strength& strength) { m_strength = strength; }
    Occasion occasion() const { return m_occasion; }

    // Opens the window for a damaged DABSH.skn, above every other window, and waits until it
    // closes; true when a restore replaced the file.
    static bool runForDamagedDatabase(const AppContext& context);

public slots:
    void chooseBackupFile();  // b1
    void chooseRestoreFile(); // b2
    void makeBackup();        // VisualButtonEx2; saves the damaged copy on that occasion
    void restore();           // VisualButtonEx3

signals:
    // Except on the way out: the window has closed; `restored` when a restore replaced the data.
    void finished(bool restored);

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
    void showChecking();
    void showStep(const QString& text, bool busy);
    // The backup password, asked twice; nullopt when the user cancelled or the two differ (told).
    std::optional<QString> newBackupPassword();
    void saveDamagedCopy();
    // The question before a restore: on the clinic server it names the server and both counts.
    QString restoreQuestion(const QString& source) const;
    // Runs a copy with the commands disabled; false after telling a failure.
    bool runCopy(const std::function<DatabaseBackup::Outcome(const DatabaseBackup::Progress&)>& copy);
    // After a backup or a restore was told: the way out that the occasion asks for.
    void copyDone(bool restored);

    AppContext m_context;
    Occasion m_occasion;
    bool m_restored = false;
    QLineEdit* m_backupPath = nullptr;  // Text1
    QLineEdit* m_restorePath = nullptr; // Text2
    QLabel* m_date = nullptr;           // Label1
    QLabel* m_dateCopy = nullptr;       // Label3
    QLabel* m_time = nullptr;           // Label2
    QProgressBar* m_progress = nullptr;
    QLabel* m_state = nullptr;      // what a copy in progress is doing
    QCheckBox* m_encrypt = nullptr; // encrypt the backup with a password
    BackupCipher::Strength m_strength;
    QString m_afterBusyStep;       // what the window says once a busy step (the key) is over
    QFrame* m_helpPanel = nullptr; // Frame1
    QTimer* m_clock = nullptr;     // Timer1
    QList<QWidget*> m_commands;
    bool m_copying = false;
    QElapsedTimer m_sinceProgressShown;
};
