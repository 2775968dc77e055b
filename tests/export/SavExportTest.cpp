#include "TestProgramFolder.h"
#include "TestServer.h"
#include "calendar/ShamsiDate.h"
#include "common/CommonTexts.h"
#include "datastore/AdministrationDetails.h"
#include "datastore/AdministrationStore.h"
#include "datastore/ClinicServer.h"
#include "datastore/DataView.h"
#include "datastore/Database.h"
#include "export/Anonymising.h"
#include "export/ExportCommand.h"
#include "export/ExportTexts.h"
#include "export/SubjectExport.h"
#include "testing/TestingTexts.h"

#include <QtTest>

#include <readstat.h>

#include <cmath>

using Kind = FakePrompts::Kind;

namespace {

// A .sav file as ReadStat's own reader sees it.
struct SavFile
{
    struct Variable
    {
        QString name;
        QString label;
        QString labelSet;
        readstat_measure_t measure = READSTAT_MEASURE_UNKNOWN;
        bool text = false;
        QList<double> missing;
    };
    QString encoding;
    QList<Variable> variables;
    QHash<QString, QMap<double, QString>> labels;
    QList<QVariantList> rows; // a QString, a double, or nothing for a system-missing number
    QStringList notes;

    int column(const QString& name) const
    {
        for (int i = 0; i < variables.size(); ++i) {
            if (variables.at(i).name == name)
                return i;
        }
        return -1;
    }
    QVariant value(int row, const QString& name) const { return rows.at(row).at(column(name)); }
    QMap<double, QString> labelsOf(const QString& name) const
    {
        return labels.value(variables.at(column(name)).labelSet);
    }
};

SavFile readSav(const QString& path)
{
    SavFile file;
    readstat_parser_t* parser = readstat_parser_init();
    readstat_set_metadata_handler(parser, [](readstat_metadata_t* metadata, void* context) {
        static_cast<SavFile*>(context)->encoding = QString::fromUtf8(readstat_get_file_encoding(metadata));
        return int(READSTAT_HANDLER_OK);
    });
    readstat_set_note_handler(parser, [](int, const char* note, void* context) {
        static_cast<SavFile*>(context)->notes << QString::fromUtf8(note);
        return int(READSTAT_HANDLER_OK);
    });
    readstat_set_variable_handler(
        parser, [](int, readstat_variable_t* v, const char* labelSet, void* context) {
            SavFile::Variable variable{QString::fromUtf8(readstat_variable_get_name(v)),
                                       QString::fromUtf8(readstat_variable_get_label(v)),
                                       labelSet ? QString::fromUtf8(labelSet) : QString(),
                                       readstat_variable_get_measure(v),
                                       readstat_variable_get_type_class(v) == READSTAT_TYPE_CLASS_STRING,
                                       {}};
            for (int i = 0; i < readstat_variable_get_missing_ranges_count(v); ++i)
                variable.missing << readstat_double_value(readstat_variable_get_missing_range_lo(v, i));
            static_cast<SavFile*>(context)->variables << variable;
            return int(READSTAT_HANDLER_OK);
        });
    readstat_set_value_label_handler(parser, [](const char* set, readstat_value_t value, const char* label,
                                                void* context) {
        static_cast<SavFile*>(context)->labels[QString::fromUtf8(set)].insert(readstat_double_value(value),
                                                                              QString::fromUtf8(label));
        return int(READSTAT_HANDLER_OK);
    });
    readstat_set_value_handler(parser,
                               [](int row, readstat_variable_t* v, readstat_value_t value, void* context) {
                                   auto* file = static_cast<SavFile*>(context);
                                   while (file->rows.size() <= row)
                                       file->rows << QVariantList();
                                   QVariant cell;
                                   if (readstat_value_type_class(value) == READSTAT_TYPE_CLASS_STRING)
                                       cell = QString::fromUtf8(readstat_string_value(value));
                                   else if (!readstat_value_is_system_missing(value))
                                       cell = readstat_double_value(value);
                                   Q_UNUSED(v)
                                   file->rows[row] << cell;
                                   return int(READSTAT_HANDLER_OK);
                               });
    const readstat_error_t result = readstat_parse_sav(parser, QFile::encodeName(path).constData(), &file);
    readstat_parser_free(parser);
    if (result != READSTAT_OK)
        return {};
    return file;
}

int daysBetween(const QString& earlier, const QString& later)
{
    const auto date = [](const QString& text) {
        const QStringList parts = text.split(u'/');
        return fromJalali({parts.at(0).toInt(), parts.at(1).toInt(), parts.at(2).toInt()});
    };
    return static_cast<int>(date(earlier).daysTo(date(later)));
}

} // namespace

class SavExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    QTemporaryDir m_out;

    QSqlDatabase database() { return Database::connection(m_folder->path(), Database::File::Clinical); }

    void setSubject(const QString& code, const QHash<QString, QString>& fields)
    {
        auto subjects = m_folder->view(QStringLiteral("IDE"));
        QVERIFY(subjects->filterBy(QStringLiteral("Code"), code));
        for (auto it = fields.begin(); it != fields.end(); ++it)
            QVERIFY(subjects->setField(it.key(), it.value()));
        QVERIFY(subjects->commit());
    }

    SubjectExport::Outcome exportTo(const QString& name, bool perAdministration, const QByteArray& key = {})
    {
        SubjectExport::Options options;
        options.perAdministration = perAdministration;
        options.anonymisingKey = key;
        return SubjectExport::write(database(), SubjectSelection{}, m_out.filePath(name), {}, {}, options);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        // 1: Persian names, everything answered and scored.
        m_folder->addSubject(QStringLiteral("1"), QStringLiteral("علی"), QStringLiteral("احمدي"));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("5")));
        setSubject(QStringLiteral("1"), {{"S", "5."},
                                         {"L", "4.29"},
                                         {"F1", "5."},
                                         {"P", "5."},
                                         {"F2", "5."},
                                         {"Jens", CommonTexts::female},
                                         {"Taahol", QStringLiteral("متأهل")},
                                         {"Sen", QStringLiteral("۳۴")},
                                         {"Date", QStringLiteral("1402/12/28")}});
        // 2: item 3 unanswered, never scored, a marital state the registration does not offer.
        m_folder->addSubject(QStringLiteral("2"), QStringLiteral("سارا"), QStringLiteral("کريمي"));
        QStringList answers(35, QStringLiteral("2"));
        answers[2].clear();
        m_folder->setAnswers(QStringLiteral("2"), answers);
        setSubject(QStringLiteral("2"), {{"Taahol", QStringLiteral("نامزد")},
                                         {"Tahsil", QStringLiteral("ليسانس")},
                                         {"Jens", QString()},
                                         {"Sen", QString()}});
        // 3: never answered.
        m_folder->addSubject(QStringLiteral("3"), QStringLiteral("رضا"), QStringLiteral("رضايي"), false);
        m_folder->prompts.clear();
    }
    void cleanup()
    {
        m_folder.reset();
        QVERIFY(QDir(m_out.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_out.path()));
    }

    void savReadsBackWithLabelsLevelsAndMissingValues()
    {
        const SubjectExport::Outcome outcome = exportTo(QStringLiteral("all.sav"), false);
        QCOMPARE(outcome.status, SubjectExport::Outcome::Status::Written);
        const SavFile sav = readSav(m_out.filePath(QStringLiteral("all.sav")));
        QCOMPARE(sav.encoding, QStringLiteral("UTF-8"));
        QCOMPARE(sav.variables.size(), 63);
        QCOMPARE(sav.rows.size(), 3);
        QVERIFY(sav.notes.isEmpty());
        QCOMPARE(sav.variables.at(sav.column(QStringLiteral("code"))).label, ExportTexts::captionCode);
        QCOMPARE(sav.variables.at(sav.column(QStringLiteral("q7"))).label, QStringLiteral("سوال 7"));

        // Answers: ordinal, coded 1 … 5 with the options' texts, unanswered as a declared -1.
        const SavFile::Variable& q3 = sav.variables.at(sav.column(QStringLiteral("q3")));
        QCOMPARE(q3.measure, READSTAT_MEASURE_ORDINAL);
        QCOMPARE(q3.missing, QList<double>{-1});
        const QMap<double, QString> answerLabels = sav.labelsOf(QStringLiteral("q3"));
        QCOMPARE(answerLabels.value(5), TestingTexts::optionVeryMuch);
        QCOMPARE(answerLabels.value(1), TestingTexts::optionVeryLittle);
        QCOMPARE(answerLabels.value(-1), ExportTexts::labelUnanswered);
        QCOMPARE(sav.value(0, QStringLiteral("q3")), QVariant(5.0));
        QCOMPARE(sav.value(1, QStringLiteral("q3")), QVariant(-1.0));
        QCOMPARE(sav.value(1, QStringLiteral("q4")), QVariant(2.0));
        QCOMPARE(sav.value(2, QStringLiteral("q1")), QVariant(-1.0));
        QCOMPARE(sav.value(1, QStringLiteral("miss_total")), QVariant(1.0));

        // Scores: scale, the unscored as a declared -1.
        const SavFile::Variable& love = sav.variables.at(sav.column(QStringLiteral("L")));
        QCOMPARE(love.measure, READSTAT_MEASURE_SCALE);
        QCOMPARE(love.missing, QList<double>{-1});
        QCOMPARE(sav.value(0, QStringLiteral("L")), QVariant(4.29));
        QCOMPARE(sav.value(1, QStringLiteral("L")), QVariant(-1.0));
        QCOMPARE(sav.labelsOf(QStringLiteral("L")).value(-1), ExportTexts::labelNotScored);

        // Gender and marital status as labelled numbers; an unknown state gets a label of its own.
        QCOMPARE(sav.variables.at(sav.column(QStringLiteral("gender"))).measure, READSTAT_MEASURE_NOMINAL);
        QCOMPARE(sav.value(0, QStringLiteral("gender")), QVariant(2.0));
        QCOMPARE(sav.labelsOf(QStringLiteral("gender")).value(2), CommonTexts::female);
        QVERIFY(!sav.value(1, QStringLiteral("gender")).isValid());
        const QMap<double, QString> marital = sav.labelsOf(QStringLiteral("marital"));
        QCOMPARE(marital.value(sav.value(0, QStringLiteral("marital")).toDouble()), QStringLiteral("متأهل"));
        QCOMPARE(marital.value(sav.value(1, QStringLiteral("marital")).toDouble()), QStringLiteral("نامزد"));
        QCOMPARE(marital.size(), CommonTexts::maritalStates.size() + 1);

        // Texts in UTF-8, Persian digits read as a number.
        QCOMPARE(sav.value(0, QStringLiteral("first_name")), QVariant(QStringLiteral("علی")));
        QCOMPARE(sav.value(1, QStringLiteral("education")), QVariant(QStringLiteral("ليسانس")));
        QCOMPARE(sav.value(0, QStringLiteral("age")), QVariant(34.0));
        QVERIFY(!sav.value(1, QStringLiteral("age")).isValid());
        QCOMPARE(sav.value(2, QStringLiteral("code")), QVariant(QStringLiteral("3")));
    }

    void oddAndLongTextsAreKeptWhole()
    {
        QStringList answers(35, QStringLiteral("3"));
        answers[0] = QStringLiteral("x");
        m_folder->setAnswers(QStringLiteral("1"), answers);
        // Longer than the 255 bytes of a plain SPSS text.
        const QString education = QString(400, QChar(0x0627));
        setSubject(QStringLiteral("2"), {{"Tahsil", education}});
        QCOMPARE(exportTo(QStringLiteral("odd.sav"), false).status, SubjectExport::Outcome::Status::Written);
        const SavFile sav = readSav(m_out.filePath(QStringLiteral("odd.sav")));
        QVERIFY(sav.variables.at(sav.column(QStringLiteral("q1"))).text);
        QCOMPARE(sav.value(0, QStringLiteral("q1")), QVariant(QStringLiteral("x")));
        QCOMPARE(sav.value(1, QStringLiteral("q1")), QVariant(QStringLiteral("2")));
        QCOMPARE(sav.value(0, QStringLiteral("q2")), QVariant(3.0));
        QCOMPARE(sav.value(1, QStringLiteral("education")), QVariant(education));
    }

    void longFormAnonymisedKeepsEachSubjectsRowsTogether()
    {
        QSqlDatabase db = database();
        QVERIFY(AdministrationStore::ensure(db));
        // Subject 1: two earlier administrations closed, the latest in Answer and IDE.
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("4")));
        QVERIFY(AdministrationStore::startNew(db, QStringLiteral("1"),
                                              {QStringLiteral("1403/01/05"), {}, {}, {}}));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("3")));
        QVERIFY(AdministrationStore::startNew(db, QStringLiteral("1"),
                                              {QStringLiteral("1403/07/01"), {}, {}, {}}));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("1")));

        const QByteArray key = Anonymising::newKey();
        const SubjectExport::Outcome outcome = exportTo(QStringLiteral("long.sav"), true, key);
        QCOMPARE(outcome.status, SubjectExport::Outcome::Status::Written);
        QCOMPARE(outcome.rows, 4); // three of subject 1, one of subject 2, none of 3
        QCOMPARE(outcome.subjects, 2);
        const SavFile sav = readSav(m_out.filePath(QStringLiteral("long.sav")));
        QCOMPARE(sav.rows.size(), 4);
        for (const char* dropped : {"code", "first_name", "last_name", "education"})
            QCOMPARE(sav.column(QString::fromLatin1(dropped)), -1);
        QCOMPARE(sav.notes.join(u' ').contains(QStringLiteral("HMAC-SHA256")), true);

        const QString pseudonym = sav.value(0, QStringLiteral("pseudonym")).toString();
        QCOMPARE(pseudonym, Anonymising::pseudonym(key, QStringLiteral("1")));
        QVERIFY(pseudonym != sav.value(3, QStringLiteral("pseudonym")).toString());
        QStringList dates;
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(sav.value(row, QStringLiteral("pseudonym")).toString(), pseudonym);
            QCOMPARE(sav.value(row, QStringLiteral("adm_seq")), QVariant(double(row + 1)));
            dates << sav.value(row, QStringLiteral("adm_date")).toString();
        }
        QCOMPARE(sav.value(0, QStringLiteral("q1")), QVariant(4.0));
        QCOMPARE(sav.value(1, QStringLiteral("q1")), QVariant(3.0));
        QCOMPARE(sav.value(2, QStringLiteral("q1")), QVariant(1.0));
        // One shift for all of the subject's dates: the intervals hold, the dates moved.
        const QString registered = sav.value(0, QStringLiteral("reg_date")).toString();
        QCOMPARE(dates.at(0), registered); // the first administration began at registration
        QCOMPARE(daysBetween(registered, dates.at(1)),
                 daysBetween(QStringLiteral("1402/12/28"), QStringLiteral("1403/01/05")));
        QCOMPARE(daysBetween(dates.at(1), dates.at(2)),
                 daysBetween(QStringLiteral("1403/01/05"), QStringLiteral("1403/07/01")));
        QCOMPARE(daysBetween(QStringLiteral("1402/12/28"), registered),
                 Anonymising::dateShift(key, QStringLiteral("1")));
        QVERIFY(registered != QStringLiteral("1402/12/28"));

        // Nobody answered: the file is there, with its variables and no row.
        SubjectExport::Options longForm;
        longForm.perAdministration = true;
        const QString none = m_out.filePath(QStringLiteral("none.sav"));
        QCOMPARE(SubjectExport::write(database(), {QStringLiteral("Code"), QStringLiteral("3")}, none, {}, {},
                                      longForm)
                     .status,
                 SubjectExport::Outcome::Status::Written);
        QCOMPARE(readSav(none).variables.size(), 65);
        QCOMPARE(readSav(none).rows.size(), 0);

        // The same key again gives the same pseudonyms, another key others.
        QCOMPARE(exportTo(QStringLiteral("again.csv"), false, key).status,
                 SubjectExport::Outcome::Status::Written);
        QFile again(m_out.filePath(QStringLiteral("again.csv")));
        QVERIFY(again.open(QIODevice::ReadOnly));
        const QString csv = QString::fromUtf8(again.readAll());
        QVERIFY(csv.contains(pseudonym + u','));
        QVERIFY(!csv.contains(QStringLiteral("علی")));
        QVERIFY(Anonymising::pseudonym(Anonymising::newKey(), QStringLiteral("1")) != pseudonym);
    }

    void bothFormsReadTheClinicServer()
    {
        TestServer server;
        SKIP_WITHOUT_TEST_SERVER(server);
        TestProgramFolder folder;
        const ClinicServer::Result used =
            ClinicServer::useServer(folder.path(), server.settings(), server.password());
        QVERIFY2(used.ok, qPrintable(used.message));
        folder.addSubject(QStringLiteral("7"));
        folder.setAnswers(QStringLiteral("7"), QStringList(35, QStringLiteral("4")));
        QSqlDatabase db = Database::connection(folder.path(), Database::File::Clinical);
        QVERIFY(AdministrationStore::ensure(db));
        QVERIFY(AdministrationStore::startNew(db, QStringLiteral("7"),
                                              {QStringLiteral("1403/01/05"), {}, {}, {}}));
        folder.setAnswers(QStringLiteral("7"), QStringList(35, QStringLiteral("2")));
        folder.addSubject(QStringLiteral("8"), QStringLiteral("Sara"), QStringLiteral("Karimi"), false);

        SubjectExport::Options options;
        options.perAdministration = true;
        const QString path = m_out.filePath(QStringLiteral("server.sav"));
        QCOMPARE(SubjectExport::write(db, {}, m_out.filePath(QStringLiteral("wide.csv"))).rows, 2);
        const SubjectExport::Outcome outcome = SubjectExport::write(db, {}, path, {}, {}, options);
        QCOMPARE(outcome.status, SubjectExport::Outcome::Status::Written);
        QCOMPARE(outcome.rows, 2);
        const SavFile sav = readSav(path);
        QCOMPARE(sav.rows.size(), 2);
        QCOMPARE(sav.value(0, QStringLiteral("q1")), QVariant(4.0));
        QCOMPARE(sav.value(1, QStringLiteral("q1")), QVariant(2.0));
        QCOMPARE(sav.value(1, QStringLiteral("adm_seq")), QVariant(2.0));
        QCOMPARE(sav.value(1, QStringLiteral("adm_date")), QVariant(QStringLiteral("1403/01/05")));
    }

    void datesShiftAcrossMonthsAndYearsAndKeysReadAsTyped()
    {
        QCOMPARE(Anonymising::shiftedDate(QStringLiteral("1402/06/31"), 1), QStringLiteral("1402/07/01"));
        QCOMPARE(Anonymising::shiftedDate(QStringLiteral(" ۱۴۰۲/۰۱/۰۱ "), -1), QStringLiteral("1401/12/29"));
        QCOMPARE(Anonymising::shiftedDate(QStringLiteral("1403/12/30"), 1), QStringLiteral("1404/01/01"));
        QCOMPARE(Anonymising::shiftedDate(QStringLiteral("1402/10/15"), 365), QStringLiteral("1403/10/15"));
        for (const char* unreadable : {"", "1402/13/01", "1402/12/30", "about 1402", "1402/1/1/1"})
            QVERIFY(Anonymising::shiftedDate(QString::fromUtf8(unreadable), 10).isEmpty());
        const QByteArray key = Anonymising::newKey();
        for (const QString& code : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("کد")}) {
            const int shift = Anonymising::dateShift(key, code);
            QVERIFY(shift != 0 && std::abs(shift) <= 365);
        }

        const QString text = Anonymising::keyText(key);
        QCOMPARE(Anonymising::keyOfText(text), std::optional<QByteArray>(key));
        QString typed = QStringLiteral("  ") + text.toUpper();
        for (int digit = 0; digit < 10; ++digit)
            typed.replace(QChar(u'0' + digit), QChar(0x06F0 + digit));
        typed.replace(u'-', u' ');
        QCOMPARE(Anonymising::keyOfText(typed), std::optional<QByteArray>(key));
        QVERIFY(!Anonymising::keyOfText(text.chopped(1)));
        QVERIFY(!Anonymising::keyOfText(text.chopped(1) + u'g'));
    }

    void theClinicKeyIsShownOnceKeptAndReplacedOnRequest()
    {
        FakePrompts& prompts = m_folder->prompts;
        const auto keyMessages = [&] {
            return std::count_if(prompts.shown.cbegin(), prompts.shown.cend(),
                                 [](const FakePrompts::Shown& s) {
                                     return s.kind == Kind::Message && s.title == ExportTexts::keyTitle;
                                 });
        };
        const QString path = m_out.filePath(QStringLiteral("anon.csv"));
        prompts.fileAnswers.enqueue(path);
        QVERIFY(ExportCommand(m_folder->context(), nullptr).run({}, ExportCommand::Choice{false, true}));
        QString error;
        const std::optional<QByteArray> kept = Anonymising::loadKey(m_folder->path(), &error);
        QVERIFY(kept && kept->size() == Anonymising::kKeyBytes);
        QCOMPARE(keyMessages(), 1);
        const auto shownKey =
            std::find_if(prompts.shown.cbegin(), prompts.shown.cend(),
                         [](const FakePrompts::Shown& s) { return s.title == ExportTexts::keyTitle; });
        QVERIFY(shownKey->text.contains(Anonymising::keyText(*kept)));
        QCOMPARE(QFileInfo(m_folder->filePath(Anonymising::keyFileName)).permissions() &
                     (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
        prompts.fileAnswers.enqueue(path);
        QVERIFY(ExportCommand(m_folder->context(), nullptr).run({}, ExportCommand::Choice{false, true}));
        QCOMPARE(keyMessages(), 1);

        // An earlier key: refused when mistyped, kept after the user agrees to replace the current one.
        prompts.clear();
        prompts.passwordAnswers.enqueue(QStringLiteral("12ab"));
        QVERIFY(!ExportCommand(m_folder->context(), nullptr).enterEarlierKey());
        QCOMPARE(prompts.shown.last().title, CommonTexts::warningTitle);
        const QByteArray earlier = Anonymising::newKey();
        prompts.passwordAnswers.enqueue(Anonymising::keyText(earlier));
        prompts.yesNoAnswers.enqueue(true);
        QVERIFY(ExportCommand(m_folder->context(), nullptr).enterEarlierKey());
        QCOMPARE(Anonymising::loadKey(m_folder->path(), &error), std::optional<QByteArray>(earlier));
        prompts.fileAnswers.enqueue(path);
        QVERIFY(ExportCommand(m_folder->context(), nullptr).run({}, ExportCommand::Choice{false, true}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(
            QString::fromUtf8(file.readAll()).contains(Anonymising::pseudonym(earlier, QStringLiteral("2"))));
    }

    // Each administration of the long form carries its own entry state; the one-row form the latest's.
    void eachAdministrationCarriesItsEntry()
    {
        QVERIFY(AdministrationStore::startNew(database(), QStringLiteral("1"), {}));
        m_folder->setAnswers(QStringLiteral("1"), QStringList(35, QStringLiteral("4")));
        AdministrationDetails::Details details;
        details.code = QStringLiteral("1");
        details.sequence = 1;
        details.state = AdministrationDetails::EntryState::Verified;
        QVERIFY(AdministrationDetails::store(database(), details));
        details.sequence = 2;
        details.state = AdministrationDetails::EntryState::AwaitingReview;
        QVERIFY(AdministrationDetails::store(database(), details));

        SubjectExport::Options longForm;
        longForm.perAdministration = true;
        const QString path = m_out.filePath(QStringLiteral("long.csv"));
        QCOMPARE(SubjectExport::write(database(), {QStringLiteral("Code"), QStringLiteral("1")}, path, {}, {},
                                      longForm)
                     .status,
                 SubjectExport::Outcome::Status::Written);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        QVERIFY(lines.at(1).contains(QStringLiteral(",verified,,,1,0,0,0")));
        QVERIFY(lines.at(2).contains(QStringLiteral(",review,,,1,0,0,0")));
        const SubjectExport::Outcome latest = exportTo(QStringLiteral("latest.sav"), false);
        QCOMPARE(latest.status, SubjectExport::Outcome::Status::Written);
        const SavFile sav = readSav(m_out.filePath(QStringLiteral("latest.sav")));
        const int entry = sav.column(QStringLiteral("entry"));
        QCOMPARE(sav.variables.at(entry).label, ExportTexts::captionEntry);
        // Coded by its place among the values, "review" the fifth.
        const int code = sav.column(QStringLiteral("code"));
        for (const QVariantList& row : sav.rows) {
            if (row.at(code).toString() == QLatin1String("1"))
                QCOMPARE(row.at(entry).toDouble(), 5.0);
        }
    }
};

QTEST_MAIN(SavExportTest)
#include "SavExportTest.moc"
