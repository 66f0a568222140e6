// Times the operations users wait for on a large database: bench --database FILE.
//
// Each case runs in a child process of its own, so that its peak resident memory is its own,
// and reports the median of several runs. Cases that write work on a copy of the database.
#include "app/program_start.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_register_window.h"
#include "orders/order_registration.h"
#include "orders/order_work.h"
#include "shell/business_settings.h"
#include "shell/login.h"
#include "shell/login_dialog.h"
#include "shell/session.h"
#include "store/currency.h"
#include "store/database.h"
#include "store/money.h"
#include "store/rights.h"
#include "store/sql_values.h"
#include "ui/message_box.h"
#include "ui/optional_date_edit.h"
#include "vehicles/car_register.h"
#include "warehouse/delivery.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/parts_search.h"
#include "warehouse/warehouse_settings.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Everything a case needs to know about its run.
struct Context {
    QString database; // the generated database, only read
    QString work;     // a copy for the cases that write
    int runs = 7;
};

struct Timings {
    QList<double> ms;
    QString note{};
};

struct Case {
    const char* name;
    const char* target; // the goal, as text
    double targetMs;    // 0: none
    std::function<Timings(const Context&)> run;
};

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Times fn once per run; prepare (untimed) runs before each.
Timings repeat(int runs, const std::function<void()>& fn,
               const std::function<void()>& prepare = {}) {
    Timings t;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        fn();
        t.ms << timer.nsecsElapsed() / 1e6;
    }
    return t;
}

// Message boxes would block a run: every text is kept and every question answered Yes.
class SilentResponder : public ui::Responder {
public:
    QStringList texts;
    void message(QWidget*, const QString&, const QString& text, ui::MessageIcon) override {
        texts << text;
    }
    bool ask(QWidget*, const QString&, const QString& text) override {
        texts << text;
        return true;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&,
                                     bool) override {
        return std::nullopt;
    }
};

SilentResponder& responder() {
    static SilentResponder r;
    return r;
}

std::unique_ptr<store::Database> open(const QString& path) {
    return store::Database::openFile(path);
}

shell::Session adminSession(store::Database& db) {
    shell::LoggedInUser admin{1, QStringLiteral("Administrator"), QStringLiteral("Administrator"),
                              *store::rightsPresetForLevel(0)};
    return shell::Session(admin, QStringLiteral("bench"), shell::BusinessSettings::load(db));
}

QDate today() {
    return QDate::currentDate();
}

// Start and login -------------------------------------------------------------------------------

// What happens between the splash and the login dialog on the screen.
Timings databaseStart(const Context& c) {
    QSettings settings(QDir(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation))
                           .filePath(QStringLiteral("bench.ini")),
                       QSettings::IniFormat);
    return repeat(c.runs, [&] {
        std::optional<app::StartedDatabase> started =
            app::runDatabaseStart(nullptr, settings, c.database);
        if (!started)
            throw std::runtime_error("the database start failed");
        TsrPass login(*started->db);
        login.show();
        QApplication::processEvents();
    });
}

Timings login(const Context& c) {
    auto db = open(c.database);
    return repeat(c.runs, [&] {
        shell::LoginAttempts attempts;
        if (attempts.submit(*db, QStringLiteral("Administrator"), QStringLiteral("demo")) !=
            shell::LoginAttempts::Outcome::LoggedIn)
            throw std::runtime_error("the demo login failed");
    });
}

// Order register --------------------------------------------------------------------------------

// The register window on the screen, driven through its controls as a user would.
struct RegisterWindow {
    std::unique_ptr<store::Database> db;
    shell::Session session;
    std::unique_ptr<TfrmSprPor> window;

    explicit RegisterWindow(const QString& path) : db(open(path)), session(adminSession(*db)) {
        window = std::make_unique<TfrmSprPor>(*db, session, session.settings());
        window->show();
        QApplication::processEvents();
    }
    template <typename T> T* child(const char* name) {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }
    void clearCriteria() {
        for (const char* name :
             {"ePorNo", "eNames", "eAdres", "ePhone", "eModel", "eRegNo", "eCouppe", "eEngine"})
            child<QLineEdit>(name)->clear();
        child<QComboBox>("eMarka")->setCurrentIndex(0);
        child<QComboBox>("eClerk")->setCurrentIndex(0);
        child<ui::OptionalDateEdit>("fdate1")->clearValue();
        child<ui::OptionalDateEdit>("fdate2")->clearValue();
    }
    Timings timed(int runs, const std::function<void()>& action) {
        Timings t = repeat(runs, [&] {
            action();
            QApplication::processEvents();
        });
        t.note = QStringLiteral("%1 orders").arg(window->listedRows());
        if (!responder().texts.isEmpty())
            t.note += QStringLiteral("; said: ") + responder().texts.constLast();
        return t;
    }
};

Timings criteriaSearch(const Context& c, const std::function<void(RegisterWindow&)>& fill) {
    RegisterWindow w(c.database);
    w.clearCriteria();
    fill(w);
    return w.timed(c.runs, [&] { w.window->search(); });
}

Timings fixedReport(const Context& c, const char* button, std::optional<QDate> from) {
    RegisterWindow w(c.database);
    w.child<QRadioButton>(button)->setChecked(true);
    if (from) {
        w.child<ui::OptionalDateEdit>("date1")->setValue(*from);
        w.child<ui::OptionalDateEdit>("date2")->setValue(today());
    }
    return w.timed(c.runs, [&] { w.window->runReport(); });
}

// A registration number of a car that has been in the workshop, for a search that finds few.
QString someRegNo(const QString& path) {
    auto db = open(path);
    return db
        ->scalar(QStringLiteral("SELECT serial FROM porychka WHERE idPor = "
                                "(SELECT max(idPor) / 2 FROM porychka)"))
        .toString();
}

// Parts search ----------------------------------------------------------------------------------

Timings partsSearch(const Context& c, warehouse::PartsSearch search) {
    auto db = open(c.database);
    warehouse::PartsList list(*db, {1, true, false, true, true});
    list.resize(900, 500);
    list.show();
    QApplication::processEvents();
    const auto condition = warehouse::partsSearchCondition(db->dialect(), search);
    Timings t = repeat(c.runs, [&] {
        list.loadRestricted(*condition);
        QApplication::processEvents();
    });
    t.note = list.isEmpty() ? QStringLiteral("nothing found") : QStringLiteral("found");
    return t;
}

QString somePartNo(const QString& path) {
    auto db = open(path);
    return db
        ->scalar(QStringLiteral("SELECT PartNo FROM parts WHERE id = "
                                "(SELECT max(id) / 3 FROM parts)"))
        .toString();
}

// Postings, on the copy -------------------------------------------------------------------------

struct Workshop {
    std::unique_ptr<store::Database> db;
    shell::BusinessSettings settings;
    store::Rates rates;
    int userId = 0;
    qint64 technician = 0;

    explicit Workshop(const QString& path)
        : db(open(path)), settings(shell::BusinessSettings::load(*db)) {
        // Diagnosis only: what a posting costs without waiting for the disk's flushes.
        if (qEnvironmentVariableIsSet("BENCH_SYNC_OFF"))
            db->exec(QStringLiteral("PRAGMA synchronous = OFF"));
        rates = store::latestRates(*db).value_or(store::Rates{today(), 1.7, 1.95583});
        userId =
            db->scalar(QStringLiteral("SELECT min(id) FROM clerks WHERE Nick = 'priemna'")).toInt();
        technician = db->scalar(QStringLiteral("SELECT min(id) FROM clerks WHERE worker = 0 AND "
                                               "Active = :t"),
                                {{QStringLiteral("t"), true}})
                         .toLongLong();
    }

    orders::NewOrder newOrder() {
        QSqlQuery q = db->exec(QStringLiteral(
            "SELECT Marka, Model, Modify, Engine, YearMade, RegNo, Couppe, OwnerName, "
            "OwnerAddress, OwnerPhone FROM cars WHERE id = (SELECT max(id) / 2 FROM cars)"));
        if (!q.next())
            throw std::runtime_error("no car");
        orders::NewOrder o;
        o.marka = q.value(0).toString();
        o.model = q.value(1).toString();
        o.modify = q.value(2).toString();
        o.engine = q.value(3).toString();
        o.year = q.value(4).toString();
        o.regNo = q.value(5).toString();
        o.couppe = q.value(6).toString();
        o.clientName = q.value(7).toString();
        o.clientAdres = q.value(8).toString();
        o.clientPhone = q.value(9).toString();
        o.km = QStringLiteral("185000");
        o.defect = QStringLiteral("Скърцат спирачките;");
        o.dueDate = orders::dueDateForType(today(), 0);
        return o;
    }

    qint64 registerOne() {
        const orders::NewOrder o = newOrder();
        return orders::registerOrder(*db, o, orders::proposedOrderNumber(*db).value_or(1), today())
            .number;
    }

    // Parts with enough units, most stocked first.
    QList<qint64> stockedParts(int count) {
        QList<qint64> ids;
        QSqlQuery q = db->exec(QStringLiteral("SELECT id FROM parts WHERE amnt > 2 ORDER BY amnt "
                                              "DESC, id LIMIT :n"),
                               {{QStringLiteral("n"), count}});
        while (q.next())
            ids << q.value(0).toLongLong();
        return ids;
    }

    orders::MoneyContext context(qint64 idPor, bool partsOnly) {
        const auto head = orders::loadOrderHead(*db, idPor);
        const auto discounts = orders::clientDiscounts(*db, head->clientNames);
        return {head->taksa, discounts.parts, discounts.jobs, partsOnly};
    }

    // What the report window does when a part is picked: its price, then the booking.
    void addPart(qint64 idPor, qint64 partId, const orders::MoneyContext& context) {
        const auto part = warehouse::loadPart(*db, partId);
        double price = 0;
        if (const auto first = orders::existingLinePrice(*db, idPor, partId))
            price = *first;
        else
            price = orders::newLinePrice(*part, 0, rates);
        orders::addStockPart(*db, {idPor, partId, 1, QString(), price, userId}, context);
    }

    orders::OrderMoney addLabour(qint64 idPor) {
        orders::LabourBooking b;
        b.idPor = idPor;
        b.description = QStringLiteral("Смяна на предни накладки");
        b.clientPrice = 40;
        b.technicianAmount = 16;
        b.technicianId = technician;
        return orders::addLabourLine(*db, b, context(idPor, false));
    }

    // An order with two parts and two labour lines, reported and ready for marking ready.
    orders::OrderMoney workedOrder(qint64& idPor, QList<qint64>& parts) {
        idPor = registerOne();
        const orders::MoneyContext partsContext = context(idPor, true);
        for (int i = 0; i < 2 && !parts.isEmpty(); ++i)
            addPart(idPor, parts.takeFirst(), partsContext);
        const auto head = orders::loadOrderHead(*db, idPor);
        orders::storeReportOpening(*db, idPor, settings.serviceFee(),
                                   orders::clientDiscounts(*db, head->clientNames));
        addLabour(idPor);
        return addLabour(idPor);
    }

    void markReady(qint64 idPor, const orders::OrderMoney& m) {
        if (orders::markReady(*db, {idPor, m.fee, m.labourClient, m.parts, m.amount, 0}) !=
            orders::ReadyOutcome::Ready)
            throw std::runtime_error("not marked ready");
    }

    // What the payment window does on "pay": the order's money as stored, rates, posting.
    void pay(qint64 idPor) {
        const auto head = orders::loadOrderHead(*db, idPor);
        const auto client = orders::clientDiscounts(*db, head->clientNames);
        const orders::WorkTotals totals = orders::workTotals(*db, idPor);
        orders::PaymentInput in;
        in.idPor = idPor;
        in.orderNumberText = QString::number(idPor);
        in.clientNames = head->clientNames;
        in.clientId = client.firmId;
        in.fee = head->taksa;
        in.labourClient = totals.labourClient;
        in.labourClerk = totals.labourClerk;
        in.parts = totals.parts;
        in.amount = head->sumAll;
        in.discount = store::roundMoney(in.fee + in.parts + in.labourClient - in.amount);
        in.foreignCurrencies = settings.foreignCurrencies();
        in.userId = userId;
        if (orders::paymentNeedsRates(*db, idPor, in.foreignCurrencies))
            in.rates = store::ratesOf(*db, today()).value_or(rates);
        if (!orders::payOrder(*db, in).paid)
            throw std::runtime_error("not paid");
    }
};

Timings newOrderSave(const Context& c) {
    Workshop w(c.work);
    const orders::NewOrder o = w.newOrder();
    return repeat(c.runs, [&] {
        orders::registerOrder(*w.db, o, orders::proposedOrderNumber(*w.db).value_or(1), today());
    });
}

Timings addPart(const Context& c) {
    Workshop w(c.work);
    const qint64 idPor = w.registerOne();
    QList<qint64> parts = w.stockedParts(c.runs);
    const orders::MoneyContext context = w.context(idPor, true);
    return repeat(c.runs, [&] { w.addPart(idPor, parts.takeFirst(), context); });
}

Timings markReady(const Context& c) {
    Workshop w(c.work);
    QList<qint64> parts = w.stockedParts(2 * c.runs);
    qint64 idPor = 0;
    orders::OrderMoney money;
    return repeat(
        c.runs, [&] { w.markReady(idPor, money); }, [&] { money = w.workedOrder(idPor, parts); });
}

Timings payment(const Context& c) {
    Workshop w(c.work);
    QList<qint64> parts = w.stockedParts(2 * c.runs);
    qint64 idPor = 0;
    return repeat(
        c.runs, [&] { w.pay(idPor); },
        [&] {
            const orders::OrderMoney money = w.workedOrder(idPor, parts);
            w.markReady(idPor, money);
        });
}

Timings delivery(const Context& c) {
    Workshop w(c.work);
    const qint64 supplier =
        w.db->scalar(QStringLiteral("SELECT min(id) FROM delivers")).toLongLong();
    const qint64 parts = w.db->scalar(QStringLiteral("SELECT max(id) FROM parts")).toLongLong();
    warehouse::WarehouseSettings ws;
    ws.currency = store::CurrencyMode::ThreeCurrencies;
    int run = 0;
    warehouse::Delivery d;
    return repeat(
        c.runs, [&] { warehouse::recordDelivery(*w.db, d, warehouse::Payment::Debt, w.userId); },
        [&] {
            // Fifty parts spread over the nomenclature, different ones each run.
            d = warehouse::Delivery{today(), supplier, QStringLiteral("Доставчик"), w.rates, {}};
            for (int i = 0; i < 50; ++i) {
                const qint64 id = 1 + (qint64(i) * parts / 50 + run * 7) % parts;
                const auto part = warehouse::loadPart(*w.db, id);
                warehouse::DeliveryLine line = warehouse::proposeLine(*w.db, *part, supplier, ws);
                line.count = 5;
                line.inPrice = 20;
                line.ipId = store::kLeva;
                line.opId = store::kLeva;
                warehouse::applyMarkup(line, 40, w.rates);
                d.lines << line;
            }
            ++run;
        });
}

// Cash book and profit: their windows come later; these are the statements they need --------------

// The cash book of a period: its movements with the employee's name, and the till's balance
// in each currency over the whole book.
Timings cashBook(const Context& c, int days) {
    auto db = open(c.database);
    const store::Binds period{{QStringLiteral("from"), today().addDays(-days + 1)},
                              {QStringLiteral("to"), today()}};
    qint64 rows = 0;
    Timings t = repeat(c.runs, [&] {
        rows = 0;
        QSqlQuery q = db->exec(
            QStringLiteral("SELECT k.Data, k.Chas, k.Suma, k.idVal, k.Notes, c.Name FROM kasa k "
                           "LEFT JOIN clerks c ON c.id = k.UserID "
                           "WHERE k.Data >= :from AND k.Data <= :to"),
            period);
        double sum = 0;
        while (q.next()) {
            sum += q.value(2).toDouble();
            ++rows;
        }
        for (int currency = store::kLeva; currency <= store::kEur; ++currency)
            db->scalar(QStringLiteral("SELECT sum(suma) FROM kasa WHERE idval = :v"),
                       {{QStringLiteral("v"), currency}});
    });
    t.note = QStringLiteral("%1 movements").arg(rows);
    return t;
}

// The profit report of a year (its rows) and the financial summary (sums by source and
// currency, additional income and expenses).
Timings profitYear(const Context& c) {
    auto db = open(c.database);
    const store::Binds period{{QStringLiteral("from"), today().addYears(-1).addDays(1)},
                              {QStringLiteral("to"), today()}};
    qint64 rows = 0;
    Timings t = repeat(c.runs, [&] {
        rows = 0;
        QSqlQuery list = db->exec(
            QStringLiteral("SELECT Data, idNote, Pech, idVal FROM pech WHERE Data >= :from AND "
                           "Data <= :to"),
            period);
        while (list.next())
            ++rows;
        QSqlQuery sums = db->exec(
            QStringLiteral("SELECT idNote, idVal, sum(Pech) FROM pech WHERE Data >= :from AND "
                           "Data <= :to GROUP BY idNote, idVal"),
            period);
        while (sums.next()) {
        }
        db->scalar(
            QStringLiteral("SELECT sum(suma) FROM prihodi WHERE Data >= :from AND Data <= :to"),
            period);
        db->scalar(
            QStringLiteral("SELECT sum(suma) FROM expenses WHERE Data >= :from AND Data <= :to"),
            period);
    });
    t.note = QStringLiteral("%1 profit rows").arg(rows);
    return t;
}

// Leaving the registration number of a new order: the car's last order, else the car register,
// and its previous repairs; typed with Latin look-alikes as people do.
Timings returningCar(const Context& c) {
    auto db = open(c.database);
    const QString stored = db->scalar(QStringLiteral("SELECT serial FROM porychka WHERE idPor = "
                                                     "(SELECT max(idPor) / 2 FROM porychka)"))
                               .toString();
    QString typed = stored.toLower();
    const QString cyrillic = QStringLiteral("авекмнорстух");
    const QString latin = QStringLiteral("abekmhopctyx");
    for (int i = 0; i < cyrillic.size(); ++i)
        typed.replace(cyrillic.at(i), latin.at(i));
    int found = 0;
    Timings t = repeat(c.runs, [&] {
        found = 0;
        if (const auto earlier = orders::latestOrderOfCar(*db, typed)) {
            found = int(orders::previousRepairs(*db, earlier->marka, earlier->model, typed).size());
        } else if (vehicles::findCarByRegNo(*db, typed)) {
            found = 1;
        }
    });
    t.note = QStringLiteral("%1 typed as \"%2\", %3 earlier orders").arg(stored, typed).arg(found);
    return t;
}

// The cases -------------------------------------------------------------------------------------

QList<Case> cases() {
    using warehouse::PartsSearch;
    const QDate monthStart(today().year(), today().month(), 1);
    return {
        {"start: open, upgrade check, settings, login dialog", "< 1 s, < 150 MB", 1000,
         databaseStart},
        {"login", "", 0, login},
        {"register: client name contains \"Петров\"", "< 200 ms", 200,
         [](const Context& c) {
             return criteriaSearch(c, [](RegisterWindow& w) {
                 w.child<QLineEdit>("eNames")->setText(QStringLiteral("Петров"));
             });
         }},
        {"register: registration number contains", "< 200 ms", 200,
         [](const Context& c) {
             const QString regNo = someRegNo(c.database);
             return criteriaSearch(c, [&](RegisterWindow& w) {
                 w.child<QLineEdit>("eRegNo")->setText(regNo.right(6));
             });
         }},
        {"register: brand VW, model contains \"Golf\"", "< 200 ms", 200,
         [](const Context& c) {
             return criteriaSearch(c, [](RegisterWindow& w) {
                 w.child<QComboBox>("eMarka")->setCurrentText(QStringLiteral("VW"));
                 w.child<QLineEdit>("eModel")->setText(QStringLiteral("Golf"));
             });
         }},
        {"register: received in one month", "< 200 ms", 200,
         [monthStart](const Context& c) {
             return criteriaSearch(c, [&](RegisterWindow& w) {
                 w.child<ui::OptionalDateEdit>("fdate1")->setValue(monthStart.addMonths(-1));
                 w.child<ui::OptionalDateEdit>("fdate2")->setValue(monthStart.addDays(-1));
             });
         }},
        {"report: unfinished", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb1", std::nullopt); }},
        {"report: overdue", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb6", std::nullopt); }},
        {"report: ready, not collected", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb2", std::nullopt); }},
        {"report: received this month", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb3", std::nullopt); }},
        {"report: repaired this month", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb4", std::nullopt); }},
        {"report: paid this month", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb5", std::nullopt); }},
        {"report: paid in one year", "< 200 ms", 200,
         [](const Context& c) { return fixedReport(c, "rb5", today().addYears(-1).addDays(1)); }},
        {"parts search: name contains \"филтър маслен\"", "< 200 ms", 200,
         [](const Context& c) {
             return partsSearch(c, {QStringLiteral("*филтър маслен*"), true});
         }},
        {"parts search: name contains \"турбокомпресор bmw x3\"", "< 200 ms", 200,
         [](const Context& c) {
             return partsSearch(c, {QStringLiteral("*турбокомпресор bmw x3*"), true});
         }},
        {"parts search: a number in all four columns", "< 200 ms", 200,
         [](const Context& c) {
             return partsSearch(c, {somePartNo(c.database), true, true, true, true});
         }},
        {"new order save", "", 0, newOrderSave},
        {"new order: a returning car by its number", "< 20 ms", 20, returningCar},
        {"add a part to an order", "< 20 ms", 20, addPart},
        {"mark an order ready", "< 20 ms", 20, markReady},
        {"order payment", "< 20 ms", 20, payment},
        {"delivery of 50 lines", "", 0, delivery},
        {"cash book: one month", "< 200 ms", 200, [](const Context& c) { return cashBook(c, 31); }},
        {"cash book: one year", "< 200 ms", 200, [](const Context& c) { return cashBook(c, 365); }},
        {"profit: one year", "< 200 ms", 200, profitYear},
    };
}

// Child: one case, one result line on stdout.
int runCase(const QString& name, const Context& c) {
    for (const Case& k : cases()) {
        if (QString::fromUtf8(k.name) != name)
            continue;
        const Timings t = k.run(c);
        QTextStream out(stdout);
        out << "RESULT\t" << median(t.ms) << '\t' << *std::max_element(t.ms.begin(), t.ms.end())
            << '\t' << t.ms.constFirst() << '\t' << t.ms.size() << '\t' << peakKiB() << '\t'
            << t.note << Qt::endl;
        return 0;
    }
    QTextStream(stderr) << "no case " << name << Qt::endl;
    return 2;
}

// The copy is written through to the disk before any case runs: otherwise the commits of the
// writing cases would wait for the write-back of hundreds of megabytes.
bool copyToDisk(const QString& from, const QString& to) {
    if (!QFile::copy(from, to))
        return false;
    QFile copy(to);
    if (!copy.open(QIODevice::ReadWrite) || ::fsync(copy.handle()) != 0)
        return false;
    ::sync(); // and whatever else the disk still has to write, a deleted earlier copy included
    return true;
}

QString cell(const QString& text, int width) {
    return text.leftJustified(width);
}

// Parent: every case in a child of its own, a table on stdout.
int runAll(const Context& c, const QString& only) {
    QTextStream out(stdout);
    out << cell(QStringLiteral("case"), 52) << cell(QStringLiteral("median ms"), 11)
        << cell(QStringLiteral("max ms"), 10) << cell(QStringLiteral("1st ms"), 10)
        << cell(QStringLiteral("runs"), 6) << cell(QStringLiteral("peak MB"), 9)
        << cell(QStringLiteral("target"), 17) << QStringLiteral("result") << Qt::endl;
    int failures = 0;
    for (const Case& k : cases()) {
        const QString name = QString::fromUtf8(k.name);
        if (!only.isEmpty() && !name.contains(only))
            continue;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--case"), name, QStringLiteral("--database"), c.database,
                     QStringLiteral("--work"), c.work, QStringLiteral("--runs"),
                     QString::number(c.runs)});
        child.waitForFinished(-1);
        const QString output = QString::fromUtf8(child.readAllStandardOutput());
        const qsizetype at = output.indexOf(QStringLiteral("RESULT\t"));
        out << cell(name, 52);
        if (child.exitCode() != 0 || at < 0) {
            out << "FAILED (exit " << child.exitCode() << ")" << Qt::endl
                << QString::fromUtf8(child.readAllStandardError());
            ++failures;
            continue;
        }
        const QStringList f = output.mid(at).trimmed().split(QLatin1Char('\t'));
        const double med = f[1].toDouble();
        const double peakMb = f[5].toDouble() / 1024;
        bool met = k.targetMs == 0 || med < k.targetMs;
        if (QString::fromUtf8(k.target).contains(QStringLiteral("MB")))
            met = met && peakMb < 150;
        out << cell(QString::number(med, 'f', 1), 11)
            << cell(QString::number(f[2].toDouble(), 'f', 1), 10)
            << cell(QString::number(f[3].toDouble(), 'f', 1), 10) << cell(f[4], 6)
            << cell(QString::number(peakMb, 'f', 0), 9) << cell(QString::fromUtf8(k.target), 17)
            << (k.targetMs == 0 ? QStringLiteral("-")
                : met           ? QStringLiteral("met")
                                : QStringLiteral("MISSED"))
            << (f.size() > 6 && !f[6].isEmpty() ? QStringLiteral("  (") + f[6] + QLatin1Char(')')
                                                : QString())
            << Qt::endl;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // The windows are shown offscreen; the children need a GUI application, the parent not.
    bool child = false;
    for (int i = 1; i < argc; ++i)
        child = child || QByteArray(argv[i]) == "--case";
    if (child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (child)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvik"));
    QCoreApplication::setApplicationName(QStringLiteral("MotrelaBench"));
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
    // Never the user's own settings or data folders.
    QStandardPaths::setTestModeEnabled(true);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times searches, reports and postings on a generated database."));
    parser.addHelpOption();
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("The generated database (read only)."),
                                      QStringLiteral("file"));
    const QCommandLineOption work(QStringLiteral("work"), QStringLiteral("Copy for writing cases."),
                                  QStringLiteral("file"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs per case."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  QStringLiteral("Only cases whose name contains this text."),
                                  QStringLiteral("text"));
    const QCommandLineOption syncOff(QStringLiteral("sync-off"),
                                     QStringLiteral("Postings without waiting for the disk "
                                                    "(to tell their own cost from the disk's)."));
    const QCommandLineOption caseOption(QStringLiteral("case"), QStringLiteral("Run one case."),
                                        QStringLiteral("name"));
    parser.addOptions({database, work, runs, only, syncOff, caseOption});
    parser.process(*app);
    Context c;
    c.database = QFileInfo(parser.value(database)).absoluteFilePath();
    c.runs = std::max(1, parser.value(runs).toInt());
    if (!QFileInfo::exists(c.database)) {
        QTextStream(stderr) << "no database: bench --database FILE" << Qt::endl;
        return 2;
    }
    if (parser.isSet(syncOff))
        qputenv("BENCH_SYNC_OFF", "1");
    ui::setResponder(&responder());
    try {
        if (parser.isSet(caseOption)) {
            c.work = parser.value(work);
            return runCase(parser.value(caseOption), c);
        }
        // A file generated by an older version is brought up to the current schema once here,
        // as the program's first start would, so that the start case times a current file.
        app::startDatabase(c.database, false);
        QTemporaryDir dir(QFileInfo(c.database).absolutePath() + QStringLiteral("/bench-XXXXXX"));
        c.work = dir.filePath(QStringLiteral("work.mdz"));
        if (!copyToDisk(c.database, c.work)) {
            QTextStream(stderr) << "cannot copy the database" << Qt::endl;
            return 1;
        }
        QTextStream(stdout) << "database: " << c.database << " ("
                            << QFileInfo(c.database).size() / (1024 * 1024) << " MiB)" << Qt::endl;
        return runAll(c, parser.value(only));
    } catch (const store::DbError& e) {
        QTextStream(stderr) << "database error: " << e.message() << Qt::endl;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "error: " << e.what() << Qt::endl;
    }
    return 1;
}
