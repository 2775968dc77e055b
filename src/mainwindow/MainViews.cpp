#include "MainViews.h"

#include "WriteMark.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

MainViews::MainViews() = default;
MainViews::~MainViews() = default;

void MainViews::open(const QString& dataFolder, bool keepRegistration)
{
    using Database::File;
    if (!isOpen()) {
        theme = Database::openView(dataFolder, File::Theme, QStringLiteral("Theme"));
        registration = Database::openView(dataFolder, File::Clinical, QStringLiteral("IDE"));
        counting = Database::openView(dataFolder, File::Clinical, QStringLiteral("IDE"));
        answers = Database::openView(dataFolder, File::Clinical, QStringLiteral("Answer"));
        proposal = Database::openView(dataFolder, File::Clinical, QStringLiteral("IDE"));
        questions = Database::openView(dataFolder, File::Clinical, QStringLiteral("QU"));
        return;
    }
    theme->requery();
    if (!keepRegistration)
        registration->requery();
    counting->requery();
    answers->requery();
    proposal->requery();
    questions->requery();
}

bool MainViews::hasSubjects() const
{
    // A view of its own, so that no window's filter hides the rows.
    DataView all(counting->database(), QStringLiteral("IDE"));
    return all.hasCurrentRow();
}

QByteArray MainViews::writeMark() const
{
    const QByteArray themeMark = ::writeMark(theme->database());
    const QByteArray clinicalMark = ::writeMark(counting->database());
    return themeMark.isEmpty() || clinicalMark.isEmpty() ? QByteArray() : themeMark + clinicalMark;
}
