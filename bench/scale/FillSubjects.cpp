// Makes a program folder's DABSH.skn hold many subjects with their answers, as the scale benchmark
// uses them, for trying the program itself on a large file:
//   build/bench/bench_fill_subjects <program folder> [subjects, 1000000 if not given]
// A folder whose DABSH.skn already holds subjects is left alone.

#include "BenchSupport.h"
#include "datastore/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_fill_subjects <program folder> [subjects]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? QByteArray(argv[2]).toInt() : 1000000;
    if (!Database::openProgramDatabases(folder).ok || count <= 0)
        return 1;
    QSqlQuery present(Database::connection(folder, Database::File::Clinical));
    if (!present.exec(QStringLiteral("SELECT COUNT(*) FROM IDE")) || !present.next() ||
        present.value(0).toInt() > 0) {
        std::fprintf(stderr, "%s already holds subjects\n", argv[1]);
        return 1;
    }
    present = QSqlQuery();
    QElapsedTimer timer;
    timer.start();
    if (!BenchSupport::fillSubjects(folder, count) || !BenchSupport::varySubjects(folder, count))
        return 1;
    std::printf("%d subjects with answers in %.1f s\n", count, static_cast<double>(timer.elapsed()) / 1000.0);
    Database::closeProgramDatabases(folder);
    return 0;
}
