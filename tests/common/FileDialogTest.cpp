#include "common/QtPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class FileDialogTest : public QObject
{
    Q_OBJECT

    // Runs a real save dialog for the proposed file and returns the folder it opened in.
    static QString openedIn(const QString& proposed)
    {
        QString folder;
        QTimer::singleShot(0, [&folder] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            folder = dialog->directory().absolutePath();
            dialog->reject();
        });
        QtPrompts prompts;
        prompts.saveFileName(nullptr, QStringLiteral("ذخيره"), proposed, QStringLiteral("Word (*.docx)"));
        return folder;
    }

private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    // Never beside the database files when the documents folder is missing: the home folder.
    void aDialogForAMissingFolderOpensInTheHomeFolder()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("Documents/VM.docx"));
        QCOMPARE(fileDialogStart(missing), QDir::home().filePath(QStringLiteral("VM.docx")));
        QCOMPARE(fileDialogStart(QStringLiteral("VM.mdbB")),
                 QDir::home().filePath(QStringLiteral("VM.mdbB")));
        QCOMPARE(fileDialogStart(QString()), QDir::homePath());
        QCOMPARE(openedIn(missing), QDir::home().absolutePath());
    }

    void aDialogForAnExistingFolderOpensThere()
    {
        QTemporaryDir dir;
        const QString proposed = dir.filePath(QStringLiteral("VM.docx"));
        QCOMPARE(fileDialogStart(proposed), proposed);
        QCOMPARE(fileDialogStart(dir.path()), dir.path());
        QCOMPARE(openedIn(proposed), QDir(dir.path()).absolutePath());
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
