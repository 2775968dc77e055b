#include "MainViews.h"

#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QSqlQuery>

MainViews::MainViews() = default;
MainViews::~MainViews() = default;

void MainViews::open(const QString& programFolder, bool keepRegistration)
{
    using Database::File;
    if (!isOpen()) {
        theme = Database::openView(programFolder, File::Theme, QStringLiteral("Theme"));
        registration = Database::openView(programFolder, File::Clinical, QStringLiteral("IDE"));
        counting = Database::openView(programFolder, File::Clinical, QStringLiteral("IDE"));
        answers = Database::openView(programFolder, File::Clinical, QStringLiteral("Answer"));
        proposal = Database::openView(programFolder, File::Clinical, QStringLiteral("IDE"));
        questions = Database::openView(programFolder, File::Clinical, QStringLiteral("QU"));
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
    QByteArray mark;
    for (const DataView* view : {theme.get(), counting.get()}) {
        QSqlQuery query(view->database());
        // Writes through this connection, then commits by other connections to the file.
        for (const char* sql : {"SELECT total_changes()", "PRAGMA data_version"}) {
            if (!query.exec(QLatin1String(sql)) || !query.next())
                return {}; // unknown: an empty mark, which never counts as unchanged
            mark += query.value(0).toByteArray() + ';';
        }
    }
    return mark;
}
