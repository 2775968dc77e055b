#include "TestProgramFolder.h"

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QDir>
#include <QFile>
#include <QtTest>

TestProgramFolder::TestProgramFolder(bool createDatabases)
{
    m_context.dataFolder = m_dir.path();
    m_context.sharedFolder = m_dir.path();
    m_context.prompts = &prompts;
    m_context.desktop = &desktop;
    m_context.navigator = &navigator;
    m_context.clock = &clock;

    const QString skinSource =
        qEnvironmentVariable("VELMORA_SKIN_DIR", QStringLiteral(VELMORA_SHIPPED_SKINS));
    QDir().mkpath(m_dir.filePath(QStringLiteral("skin")));
    const QDir source(skinSource);
    for (const QString& name : source.entryList({QStringLiteral("*.skn")}, QDir::Files))
        QFile::copy(source.filePath(name), m_dir.filePath(QStringLiteral("skin/") + name));
    if (createDatabases && !openDatabases())
        qFatal("could not create the test databases");
}

TestProgramFolder::~TestProgramFolder()
{
    closeDatabases();
}

bool TestProgramFolder::openDatabases()
{
    return Database::openProgramDatabases(path()).ok;
}

void TestProgramFolder::closeDatabases()
{
    Database::closeProgramDatabases(path());
}

std::unique_ptr<DataView> TestProgramFolder::view(const QString& table)
{
    const auto file = table == QLatin1String("Theme") ? Database::File::Theme : Database::File::Clinical;
    return Database::openView(path(), file, table);
}

void TestProgramFolder::addSubject(const QString& code, const QString& firstName, const QString& lastName,
                                   bool withAnswers)
{
    auto subjects = view(QStringLiteral("IDE"));
    subjects->addNew();
    subjects->setField(QStringLiteral("Code"), code);
    subjects->setField(QStringLiteral("FName"), firstName);
    subjects->setField(QStringLiteral("LName"), lastName);
    subjects->setField(QStringLiteral("Sen"), QStringLiteral("30"));
    subjects->setField(QStringLiteral("Jens"), QStringLiteral("مرد"));
    subjects->setField(QStringLiteral("Taahol"), QStringLiteral("مجرد"));
    subjects->setField(QStringLiteral("Tahsil"), QStringLiteral("ليسانس"));
    subjects->setField(QStringLiteral("Group"), QStringLiteral("A"));
    subjects->setField(QStringLiteral("Date"), QStringLiteral("1402/02/13"));
    subjects->setField(QStringLiteral("Time"), QStringLiteral("14:05:09"));
    QVERIFY(subjects->commit());
    if (withAnswers) {
        auto answers = view(QStringLiteral("Answer"));
        answers->addNew();
        answers->setField(QStringLiteral("Code"), code.trimmed());
        QVERIFY(answers->commit());
    }
}

void TestProgramFolder::setAnswers(const QString& code, const QStringList& values)
{
    auto answers = view(QStringLiteral("Answer"));
    QVERIFY(answers->filterBy(QStringLiteral("Code"), code));
    QVERIFY(answers->hasCurrentRow());
    for (int i = 0; i < values.size(); ++i)
        answers->setField(Database::itemColumn(i + 1), values.at(i));
    QVERIFY(answers->commit());
}
