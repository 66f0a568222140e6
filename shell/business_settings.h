#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace store {
class Database;
}

namespace shell {

// Keys of the settings that belong to the database.
namespace settingKeys {
inline const QString firstTimeMonth = QStringLiteral("FirstTimeMonth");
inline const QString firstTimeYear = QStringLiteral("FirstTimeYear");
inline const QString taksa = QStringLiteral("Taksa");
inline const QString prices = QStringLiteral("Prices");
inline const QString currency = QStringLiteral("Currency");
inline const QString taksaGtp = QStringLiteral("TaksaGTP");
inline const QString clerkGtp = QStringLiteral("ClerkGTP");
inline const QString useSn = QStringLiteral("UseSN");
inline const QString store = QStringLiteral("Store");
inline const QString workByTime = QStringLiteral("WorkByTime");
inline const QString workByPercent = QStringLiteral("WorkByPercent");
} // namespace settingKeys

// One key and its value, which sits in the one column the key uses.
struct SettingRow {
    QString key;
    QString str;
    std::optional<double> num;
    std::optional<qint64> intValue;
    QString reg;
};

// The settings every workstation that opens the database shares. They travel inside the
// database (row 1 of connect) and are written back at every change.
class BusinessSettings {
public:
    // Reads the settings of a database: an old prefs table is taken over (and dropped), else
    // row 1 of connect is read; an empty result gets the first defaults, which are saved.
    static BusinessSettings load(store::Database& db);

    bool has(const QString& key) const;
    // A key without a row reads as the given default.
    qint64 intValue(const QString& key, qint64 fallback = 0) const;
    double numValue(const QString& key, double fallback = 0) const;
    const QList<SettingRow>& rows() const { return rows_; }

    // Changes one value and saves the whole table at once.
    void setInt(store::Database& db, const QString& key, qint64 value);
    void setNum(store::Database& db, const QString& key, double value);
    // Appends the key when it has no row yet (the settings dialog's own defaults).
    void ensureInt(store::Database& db, const QString& key, qint64 value);
    void ensureNum(store::Database& db, const QString& key, double value);

    // The values the program asks for, with their defaults.
    double serviceFee() const { return numValue(settingKeys::taksa, 0); }
    bool singleSalePrice() const { return intValue(settingKeys::prices) == 1; }
    bool foreignCurrencies() const { return intValue(settingKeys::currency) == 1; }
    double inspectionFee() const { return numValue(settingKeys::taksaGtp, 20); }
    double inspectionClerkAmount() const { return numValue(settingKeys::clerkGtp, 0); }
    bool useSerialNumbers() const { return intValue(settingKeys::useSn) != 0; }
    bool workByTime() const { return intValue(settingKeys::workByTime) != 0; }
    bool workByFixedAmount() const { return intValue(settingKeys::workByPercent) != 0; }
    int firstMonth() const { return int(intValue(settingKeys::firstTimeMonth, 1)); }
    int firstYear() const { return int(intValue(settingKeys::firstTimeYear, 2000)); }
    // 0 own warehouse, 2 the external warehouse databases (only while a list is stored).
    int storeMode(store::Database& db) const;

    // The default rows whose keys are missing are appended and stored; the others keep their
    // values. Returns how many were added.
    int addMissingDefaults(store::Database& db);

    // The settings as stored in row 1 of connect.
    QString toText() const;
    static QList<SettingRow> fromText(const QString& text);

private:
    void save(store::Database& db) const;
    void fillDefaults(store::Database& db);
    const SettingRow* find(const QString& key) const;
    void setValue(store::Database& db, const QString& key,
                  const std::function<void(SettingRow&)>& assign);
    static QString textOf(const QList<SettingRow>& rows);

    QList<SettingRow> rows_;
};

// Row 10 of connect: the external warehouse database files, one path per line.
QStringList externalDatabases(store::Database& db);
void saveExternalDatabases(store::Database& db, const QStringList& paths);

} // namespace shell
