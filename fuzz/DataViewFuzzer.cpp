// The data view on a subject table with awkward codes and groups: any sequence of filters, sorts,
// moves, cancelled edits, and rows stored, read back and removed again. The walk must visit every
// row in the view's order, a filter must find exactly its value, a text is stored exactly or
// refused, and nothing but the stored-and-removed rows ever changes the file.
#include "FuzzSupport.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

const QStringList& awkwardTexts()
{
    static const QStringList texts{
        QStringLiteral("1"),
        QStringLiteral(" 1"),
        QStringLiteral("1 "),
        QStringLiteral("01"),
        QStringLiteral(""),
        QString(),
        QStringLiteral("x' OR '1'='1"),
        QStringLiteral("a\"b"),
        QString(QChar(0xFEFF)) + u'1',
        QString(QChar(0xFFFE)) + u'1',
        QStringLiteral("۱۲"),
        QStringLiteral("x") + QString::fromUtf8("\xF0\x9F\x98\x80"),
        QStringLiteral("x") + QChar(0xD83D),
        QStringLiteral("a") + QChar(0) + u'b',
        QStringLiteral("%"),
        QStringLiteral("1; DROP TABLE IDE; --"),
        QString(300, u'9'),
    };
    return texts;
}

const QStringList kColumns{QStringLiteral("Code"), QStringLiteral("group"), QStringLiteral("S"),
                           QStringLiteral("FName"), QStringLiteral("nosuch")};

struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<DataView> view;
    QString snapshot;
};

QString snapshotOf(const DataView& view)
{
    QStringList columnTexts;
    for (const QString& column : view.columns())
        columnTexts << QStringLiteral("typeof(%1) || hex(%1)").arg(quotedIdentifier(column));
    QSqlQuery query(view.database());
    const bool ok = query.exec(QStringLiteral("SELECT %1 FROM IDE ORDER BY rowid")
                                   .arg(columnTexts.join(QStringLiteral(" || '|' || "))));
    FUZZ_CHECK(ok, "the table can be read");
    QString result;
    while (query.next())
        result += query.value(0).toString() + u'\n';
    return result;
}

Fixture& fixture()
{
    static Fixture* f = [] {
        ensureApplication();
        auto* created = new Fixture;
        FUZZ_CHECK(Database::openProgramDatabases(created->dir.path()).ok, "the databases open");
        created->view =
            Database::openView(created->dir.path(), Database::File::Clinical, QStringLiteral("IDE"));
        // A scratch file: no waiting for the disk on every stored row.
        QSqlQuery(created->view->database()).exec(QStringLiteral("PRAGMA synchronous = OFF"));
        QSqlQuery(created->view->database()).exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
        const QStringList& texts = awkwardTexts();
        for (int i = 0; i < texts.size(); ++i) {
            const QString& code = texts.at(i);
            if (!DataView::isStorableText(code))
                continue;
            DataView& view = *created->view;
            view.addNew();
            if (!code.isNull())
                view.setField(QStringLiteral("Code"), code);
            const QString& group = texts.at((i * 7) % texts.size());
            if (DataView::isStorableText(group) && !group.isNull())
                view.setField(QStringLiteral("Group"), group);
            if (i % 3)
                view.setField(QStringLiteral("S"), QString::number(i % 5));
            FUZZ_CHECK(view.commit(), "an awkward subject is stored");
        }
        created->snapshot = snapshotOf(*created->view);
        return created;
    }();
    return *f;
}

DataView::Row currentRow(const DataView& view)
{
    DataView::Row row;
    for (const QString& column : view.columns())
        row.insert(column, view.field(column));
    return row;
}

// Walks the view both ways and compares with its rows, read in one go.
void checkWalk(DataView& view)
{
    const QVector<DataView::Row> rows = view.rows();
    FUZZ_CHECK(view.count() == rows.size(), "count agrees with the rows");
    QVector<DataView::Row> forward;
    for (bool on = view.moveFirst(); on && forward.size() <= rows.size(); on = view.moveNext())
        forward << currentRow(view);
    FUZZ_CHECK(forward == rows, "the forward walk visits every row in order");
    QVector<DataView::Row> backward;
    for (bool on = view.moveLast(); on && backward.size() <= rows.size(); on = view.movePrevious())
        backward.prepend(currentRow(view));
    FUZZ_CHECK(backward == rows, "the backward walk visits every row in order");
}

void checkFilter(DataView& view, const QString& column, const QString& value)
{
    const QString actual = view.resolveColumn(column);
    for (const DataView::Row& row : view.rows())
        FUZZ_CHECK(row.value(actual) == value, "a filter finds only its value");
    if (!DataView::isStorableText(value))
        FUZZ_CHECK(view.count() == 0, "an unstorable value finds nothing");
}

QString pickText(FuzzInput& input)
{
    const QStringList& texts = awkwardTexts();
    const int pick = input.choice(static_cast<int>(texts.size()) + 1);
    return pick < texts.size() ? texts.at(pick) : input.text();
}

void storeReadBackAndRemove(DataView& view, const QString& code, const QString& group)
{
    const int before = view.count();
    view.addNew();
    view.setField(QStringLiteral("Code"), code);
    view.setField(QStringLiteral("Group"), group);
    const bool storable = DataView::isStorableText(code) && DataView::isStorableText(group);
    const bool stored = view.commit();
    FUZZ_CHECK(stored == storable, "a text is stored exactly when it is storable");
    if (!stored) {
        view.cancelChanges();
        FUZZ_CHECK(!view.hasCurrentRow(), "a cancelled new row is gone");
        return;
    }
    FUZZ_CHECK(view.field(QStringLiteral("Code")) == code, "the code reads back exactly");
    FUZZ_CHECK(view.field(QStringLiteral("Group")) == group, "the group reads back exactly");
    if (!view.isFiltered())
        FUZZ_CHECK(view.count() == before + 1, "one more row");
    FUZZ_CHECK(view.removeCurrent(), "the stored row is removed");
    FUZZ_CHECK(view.count() == before, "as many rows as before");
    view.filterBy(QStringLiteral("Code"), code);
    checkFilter(view, QStringLiteral("Code"), code);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fixture& f = fixture();
    DataView& view = *f.view;
    view.setSort(QString());
    view.requery();
    FuzzInput input(data, size);
    for (int step = 0; step < 24 && !input.atEnd(); ++step) {
        switch (input.choice(9)) {
        case 0: {
            const QString column = kColumns.at(input.choice(kColumns.size()));
            const QString value = pickText(input);
            const bool known = view.filterBy(column, value);
            FUZZ_CHECK(known == !view.resolveColumn(column).isEmpty(), "a filter on a column is known");
            if (known)
                checkFilter(view, column, value);
            else
                FUZZ_CHECK(view.count() == 0, "an unknown column lets nothing pass");
            break;
        }
        case 1: {
            const bool asText = input.byte() % 2;
            const QString filter = asText ? input.text()
                                          : kColumns.at(input.choice(kColumns.size())) +
                                                QStringLiteral("='") + pickText(input) + u'\'';
            view.setFilter(filter);
            FUZZ_CHECK(view.isFiltered(), "a filter is set");
            break;
        }
        case 2:
            view.setSort(input.byte() % 4 ? kColumns.at(input.choice(kColumns.size())) : QString());
            break;
        case 3:
            checkWalk(view);
            break;
        case 4: {
            const int move = input.choice(4);
            const bool moved = move == 0   ? view.moveFirst()
                               : move == 1 ? view.moveLast()
                               : move == 2 ? view.moveNext()
                                           : view.movePrevious();
            FUZZ_CHECK(moved == view.hasCurrentRow(), "a move lands on a row or on none");
            break;
        }
        case 5: {
            if (!view.hasCurrentRow())
                break;
            const DataView::Row stored = currentRow(view);
            const QString column = kColumns.at(input.choice(kColumns.size()));
            const QString value = pickText(input);
            const bool set = view.setField(column, value);
            FUZZ_CHECK(set == !view.resolveColumn(column).isEmpty(), "a field of a column can be set");
            if (set)
                FUZZ_CHECK(view.field(column) == value, "the field holds the value set");
            view.cancelChanges();
            FUZZ_CHECK(currentRow(view) == stored, "a cancelled edit leaves the stored row");
            break;
        }
        case 6:
            view.addNew();
            view.setField(QStringLiteral("Code"), pickText(input));
            view.cancelChanges();
            FUZZ_CHECK(!view.hasCurrentRow() && !view.hasChanges(), "a cancelled new row is gone");
            break;
        case 7:
            storeReadBackAndRemove(view, pickText(input), pickText(input));
            break;
        default:
            view.requery();
            FUZZ_CHECK(!view.isFiltered(), "reading again drops the filter");
            break;
        }
    }
    checkWalk(view);
    FUZZ_CHECK(snapshotOf(view) == f.snapshot, "the table is as it was");
    return 0;
}
