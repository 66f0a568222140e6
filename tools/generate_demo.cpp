// Builds a demo workshop database: generate_demo [options] FILE. See --help.
#include "store/database.h"
#include "tools/demo_check.h"
#include "tools/demo_generator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

QString duration(qint64 ms) {
    return QStringLiteral("%1:%2").arg(ms / 60000).arg(ms / 1000 % 60, 2, 10, QChar(u'0'));
}

int check(store::Database& db) {
    QElapsedTimer timer;
    timer.start();
    const QStringList problems = demo::checkConsistency(db);
    for (const QString& problem : problems)
        err() << "check: " << problem << Qt::endl;
    err() << (problems.isEmpty() ? "consistency check passed" : "consistency check FAILED") << " ("
          << timer.elapsed() << " ms)" << Qt::endl;
    return problems.isEmpty() ? 0 : 3;
}

void printCounts(store::Database& db) {
    const char* tables[] = {"porychka",   "PartsInPor", "Jobs_In_Por", "parts",     "Part_Moves",
                            "sprDost",    "kasa",       "pech",        "payClient", "payments",
                            "paymClerks", "cars",       "firms",       "valcourse"};
    for (const char* table : tables)
        err() << "  " << table << ": "
              << db.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table))
                     .toLongLong()
              << Qt::endl;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds a demo workshop database through the program's own operations."));
    parser.addHelpOption();
    const QCommandLineOption years(QStringLiteral("years"), QStringLiteral("Years of business."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption perDay(QStringLiteral("orders-per-day"),
                                    QStringLiteral("Orders on an ordinary working day."),
                                    QStringLiteral("n"), QStringLiteral("20"));
    const QCommandLineOption parts(QStringLiteral("parts"),
                                   QStringLiteral("Parts in the nomenclature."),
                                   QStringLiteral("n"), QStringLiteral("5000"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption lastDay(QStringLiteral("last-day"),
                                     QStringLiteral("Last day of business (yyyy-MM-dd); today by "
                                                    "default."),
                                     QStringLiteral("date"));
    const QCommandLineOption checkOnly(QStringLiteral("check"),
                                       QStringLiteral("Only check an existing FILE."));
    parser.addOptions({years, perDay, parts, seed, lastDay, checkOnly});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The database to create."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QString path = parser.positionalArguments().constFirst();

    try {
        if (parser.isSet(checkOnly)) {
            auto db = store::Database::openFile(path);
            return check(*db);
        }
        demo::DemoOptions options;
        options.years = parser.value(years).toInt();
        options.ordersPerDay = parser.value(perDay).toInt();
        options.parts = parser.value(parts).toInt();
        options.seed = parser.value(seed).toULongLong();
        if (parser.isSet(lastDay))
            options.lastDay = QDate::fromString(parser.value(lastDay), Qt::ISODate);
        if (!options.lastDay.isValid()) {
            err() << "invalid --last-day" << Qt::endl;
            return 2;
        }

        QElapsedTimer timer;
        timer.start();
        auto db = store::Database::createFile(path);
        // This connection only fills a new file: a crash means generating again, so durability
        // is traded for speed here and nowhere else.
        db->exec(QStringLiteral("PRAGMA synchronous = OFF"));
        db->exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
        db->exec(QStringLiteral("PRAGMA cache_size = -131072"));
        int lastPercent = -1;
        const demo::GenerationSummary summary =
            demo::generateDemo(*db, options, [&](const demo::Progress& p) {
                const int percent = p.expectedOrders ? int(100 * p.orders / p.expectedOrders) : 100;
                if (percent == lastPercent)
                    return;
                lastPercent = percent;
                err() << "\r" << p.day.toString(Qt::ISODate) << "  orders " << p.orders << " ("
                      << percent << "%)  " << duration(timer.elapsed()) << "   " << Qt::flush;
            });
        err() << Qt::endl
              << "generated in " << duration(timer.elapsed()) << " (" << timer.elapsed()
              << " ms): " << summary.orders << " orders, " << summary.partLines << " part lines, "
              << summary.labourLines << " labour lines, " << summary.parts << " parts, "
              << summary.deliveries << " deliveries with " << summary.deliveryLines << " lines, "
              << summary.cars << " cars" << Qt::endl;
        printCounts(*db);
        db.reset();
        err() << "file size: " << QFileInfo(path).size() / (1024 * 1024) << " MiB" << Qt::endl;
        db = store::Database::openFile(path);
        return check(*db);
    } catch (const store::DbError& e) {
        err() << "database error: " << e.message() << Qt::endl;
    } catch (const std::exception& e) {
        err() << "error: " << e.what() << Qt::endl;
    }
    return 1;
}
