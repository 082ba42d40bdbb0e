// Qt's own Firebird driver as a peer: runs a statement and fetches every row
// with every value, texts included, then prints the seconds it took and the
// rows and text bytes it read. Opening the connection is not counted.
//
//   bench_qt_ibase DATABASE STATEMENT      (DATABASE as "localhost:/path" or "/path")

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_qt_ibase DATABASE STATEMENT\n");
        return 2;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"));
    if (!db.isValid()) {
        std::fprintf(stderr, "bench_qt_ibase: the QIBASE driver is not installed\n");
        return 1;
    }
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    db.setUserName(QStringLiteral("SYSDBA"));
    db.setPassword(QStringLiteral("pelicanos"));
    if (!db.open()) {
        std::fprintf(stderr, "bench_qt_ibase: %s\n", qPrintable(db.lastError().text()));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    long long rows = 0;
    long long bytes = 0;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(QString::fromLatin1(argv[2]))) {
            std::fprintf(stderr, "bench_qt_ibase: %s\n", qPrintable(query.lastError().text()));
            return 1;
        }
        const int columns = query.record().count();
        while (query.next()) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                const QVariant v = query.value(c);
                if (v.typeId() == QMetaType::QByteArray)
                    bytes += v.toByteArray().size();
                else if (v.typeId() == QMetaType::QString)
                    bytes += v.toString().size();
            }
        }
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    db.close();
    std::printf("%.6f %lld %lld\n", seconds, rows, bytes);
    return 0;
}
