#pragma once

#include "FakeDesktop.h"
#include "FakeNavigator.h"
#include "FakePrompts.h"
#include "FixedClock.h"
#include "common/AppContext.h"

#include <QTemporaryDir>

#include <memory>

class DataView;

// A fresh program folder for one test: the shipped skins, new database files with their first-run
// content, scripted prompts, a fake desktop and navigator and a fixed clock.
class TestProgramFolder
{
public:
    // With createDatabases false, the folder is empty but for the skins.
    explicit TestProgramFolder(bool createDatabases = true);
    ~TestProgramFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    AppContext& context() { return m_context; }

    // Opens (or reopens) the databases; false when a file is not readable.
    bool openDatabases();
    void closeDatabases();

    // Rows straight from the files, bypassing the program's views.
    std::unique_ptr<DataView> view(const QString& table);
    // Inserts a subject (IDE row) and, when withAnswers, an empty Answer row.
    void addSubject(const QString& code, const QString& firstName = QStringLiteral("Ali"),
                    const QString& lastName = QStringLiteral("Ahmadi"), bool withAnswers = true);
    // Sets the stored answers of a subject ("" clears) for items 1 … answers.size().
    void setAnswers(const QString& code, const QStringList& answers);

    FakePrompts prompts;
    FakeDesktop desktop;
    FakeNavigator navigator;
    FixedClock clock;

private:
    QTemporaryDir m_dir;
    AppContext m_context;
};
