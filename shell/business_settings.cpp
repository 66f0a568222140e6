#include "shell/business_settings.h"

#include "store/database.h"
#include "store/transaction.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <algorithm>
#include <utility>

namespace shell {

namespace {

constexpr int kSettingsRow = 1;
constexpr int kExternalDatabasesRow = 10;

QString connectText(store::Database& db, int id) {
    return db
        .scalar(QStringLiteral("SELECT Special FROM connect WHERE id = :id"),
                {{QStringLiteral("id"), id}})
        .toString();
}

void writeConnect(store::Database& db, int id, const QString& text) {
    store::Transaction tx(db);
    const bool present = db.scalar(QStringLiteral("SELECT count(*) FROM connect WHERE id = :id"),
                                   {{QStringLiteral("id"), id}})
                             .toInt() > 0;
    db.exec(present ? QStringLiteral("UPDATE connect SET Special = :t WHERE id = :id")
                    : QStringLiteral("INSERT INTO connect (id, Special) VALUES (:id, :t)"),
            {{QStringLiteral("id"), id}, {QStringLiteral("t"), text}});
    tx.commit();
}

QList<SettingRow> readOldPrefs(store::Database& db) {
    QList<SettingRow> rows;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT \"key\", str, num, \"int\", reg FROM prefs ORDER BY id"));
    while (q.next()) {
        SettingRow row;
        row.key = q.value(0).toString();
        row.str = q.value(1).toString();
        if (!q.value(2).isNull())
            row.num = q.value(2).toDouble();
        if (!q.value(3).isNull())
            row.intValue = q.value(3).toLongLong();
        row.reg = q.value(4).toString();
        rows.append(row);
    }
    return rows;
}

} // namespace

BusinessSettings BusinessSettings::load(store::Database& db) {
    BusinessSettings settings;
    if (db.hasTable(QStringLiteral("prefs"))) {
        // Older databases kept the settings in a table of their own; take them over once.
        store::Transaction tx(db);
        settings.rows_ = readOldPrefs(db);
        settings.save(db);
        db.exec(QStringLiteral("DROP TABLE prefs"));
        tx.commit();
    } else {
        settings.rows_ = fromText(connectText(db, kSettingsRow));
    }
    if (settings.rows_.isEmpty())
        settings.fillDefaults(db);
    return settings;
}

namespace {

QList<SettingRow> defaultRows() {
    const QDate today = QDate::currentDate();
    return {
        {settingKeys::firstTimeMonth, {}, std::nullopt, today.month(), {}},
        {settingKeys::firstTimeYear, {}, std::nullopt, today.year(), {}},
        {settingKeys::taksa, {}, 0.0, std::nullopt, {}},
        {settingKeys::prices, {}, std::nullopt, 0, {}},
        {settingKeys::currency, {}, std::nullopt, 0, {}},
    };
}

} // namespace

void BusinessSettings::fillDefaults(store::Database& db) {
    rows_ = defaultRows();
    save(db);
}

int BusinessSettings::addMissingDefaults(store::Database& db) {
    QList<SettingRow> changed = rows_;
    int added = 0;
    for (const SettingRow& row : defaultRows()) {
        if (!has(row.key)) {
            changed.append(row);
            ++added;
        }
    }
    if (added == 0)
        return 0;
    const QList<SettingRow> before = std::exchange(rows_, changed);
    try {
        save(db);
    } catch (...) {
        rows_ = before; // what is in memory stays what is stored
        throw;
    }
    return added;
}

const SettingRow* BusinessSettings::find(const QString& key) const {
    for (const SettingRow& row : rows_) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}

bool BusinessSettings::has(const QString& key) const {
    return find(key) != nullptr;
}

qint64 BusinessSettings::intValue(const QString& key, qint64 fallback) const {
    const SettingRow* row = find(key);
    return row && row->intValue ? *row->intValue : fallback;
}

double BusinessSettings::numValue(const QString& key, double fallback) const {
    const SettingRow* row = find(key);
    return row && row->num ? *row->num : fallback;
}

void BusinessSettings::setValue(store::Database& db, const QString& key,
                                const std::function<void(SettingRow&)>& assign) {
    QList<SettingRow> changed = rows_;
    auto it = std::find_if(changed.begin(), changed.end(),
                           [&](const SettingRow& row) { return row.key == key; });
    if (it == changed.end()) {
        changed.append({key, {}, std::nullopt, std::nullopt, {}});
        it = changed.end() - 1;
    }
    assign(*it);
    // The table in memory changes only once the database holds the change.
    writeConnect(db, kSettingsRow, textOf(changed));
    rows_ = changed;
}

void BusinessSettings::setInt(store::Database& db, const QString& key, qint64 value) {
    setValue(db, key, [value](SettingRow& row) { row.intValue = value; });
}

void BusinessSettings::setNum(store::Database& db, const QString& key, double value) {
    setValue(db, key, [value](SettingRow& row) { row.num = value; });
}

void BusinessSettings::ensureInt(store::Database& db, const QString& key, qint64 value) {
    if (!has(key))
        setInt(db, key, value);
}

void BusinessSettings::ensureNum(store::Database& db, const QString& key, double value) {
    if (!has(key))
        setNum(db, key, value);
}

int BusinessSettings::storeMode(store::Database& db) const {
    const int mode = int(intValue(settingKeys::store));
    if (mode == 2 && externalDatabases(db).isEmpty())
        return 0;
    return mode;
}

QString BusinessSettings::toText() const {
    return textOf(rows_);
}

QString BusinessSettings::textOf(const QList<SettingRow>& rows) {
    QJsonArray array;
    for (const SettingRow& row : rows) {
        QJsonObject o;
        o.insert(QStringLiteral("key"), row.key);
        if (!row.str.isEmpty())
            o.insert(QStringLiteral("str"), row.str);
        if (row.num)
            o.insert(QStringLiteral("num"), *row.num);
        if (row.intValue)
            o.insert(QStringLiteral("int"), *row.intValue);
        if (!row.reg.isEmpty())
            o.insert(QStringLiteral("reg"), row.reg);
        array.append(o);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QList<SettingRow> BusinessSettings::fromText(const QString& text) {
    QList<SettingRow> rows;
    const QJsonArray array = QJsonDocument::fromJson(text.toUtf8()).array();
    for (const QJsonValue& value : array) {
        const QJsonObject o = value.toObject();
        SettingRow row;
        row.key = o.value(QStringLiteral("key")).toString();
        if (row.key.isEmpty())
            continue;
        row.str = o.value(QStringLiteral("str")).toString();
        if (o.contains(QStringLiteral("num")))
            row.num = o.value(QStringLiteral("num")).toDouble();
        if (o.contains(QStringLiteral("int")))
            row.intValue = o.value(QStringLiteral("int")).toInteger();
        row.reg = o.value(QStringLiteral("reg")).toString();
        rows.append(row);
    }
    return rows;
}

void BusinessSettings::save(store::Database& db) const {
    writeConnect(db, kSettingsRow, toText());
}

QStringList externalDatabases(store::Database& db) {
    QStringList paths;
    for (const QString& line : connectText(db, kExternalDatabasesRow).split(QLatin1Char('\n'))) {
        const QString path = line.trimmed();
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

void saveExternalDatabases(store::Database& db, const QStringList& paths) {
    writeConnect(db, kExternalDatabasesRow, paths.join(QLatin1Char('\n')));
}

} // namespace shell
