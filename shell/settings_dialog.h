#pragma once

#include <QDialog>
#include <QSerialPort>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace store {
class Database;
}

namespace shell {

class BusinessSettings;

namespace keys {
inline const QString printer = QStringLiteral("Printer");
inline const QString autoArchive = QStringLiteral("AutoArchive");
} // namespace keys

// "Printer" holds this when documents go to the dot-matrix printer.
inline const QString kMatrixPrinter = QStringLiteral("Matrix");
inline const QString kSystemPrinter = QStringLiteral("Windows");

QString currencyRefusalText(); // leva only while parts were bought in USD or EUR
QString notWorkingYetText();   // "Тази функция още не работи"
QString portBusyText(); // "Този COM-порт се използва от друга програма!"

// Some part still in the warehouse was bought in US dollars or euros.
bool partsInForeignCurrency(store::Database& db);

} // namespace shell

// The settings: the values the business shares (kept in the database), this user's printer,
// archive and barcode reader, the database file and the external warehouse databases.
class TsrNastr : public QDialog {
    Q_OBJECT
public:
    // Closes the program's connection and runs the database start on the file; true when the
    // program now works on it. The dialog has already checked the file.
    using DatabaseSwitch = std::function<bool(const QString& path)>;

    // settings is the copy the other windows read, so a saved value reaches them at once.
    TsrNastr(store::Database& db, shell::BusinessSettings& settings,
             DatabaseSwitch switchDatabase = {}, QWidget* parent = nullptr);

    // Unsaved changes of the general or pay-mode values.
    bool isChanged() const;
    // The store choice or the list of external databases waits for its own save.
    bool isStorePending() const;
    QSerialPort& port() { return comPort_; }

Q_SIGNALS:
    // On closing: the exchange-rate command belongs on the menu exactly when foreign
    // currencies are on.
    void currencyModeChosen(bool foreignCurrencies);
    // The program now runs on another database file; this dialog has closed.
    void databaseSwitched(const QString& path);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildGeneralPage();
    QWidget* buildReaderPage();
    QWidget* buildStorePage();
    void connectChangeTracking();

    void prepare();
    void addDialogDefaults();
    void loadUserValues();
    void loadStoreChoice();
    void setCleanState();
    void trackChange();
    void updatePayModeState();

    void currencyChanged();
    bool currencyCheck();
    bool amountsAreSensible();
    void save();
    void cancel();

    void switchDatabase();
    void scannerSwitched(bool on);
    void editPortParameters();
    bool openPort();
    void closePort();
    void readPort();

    void storeChanged();
    void addExternalDatabase();
    void saveStoreChoice();

    store::Database& db_;
    shell::BusinessSettings& settings_;
    DatabaseSwitch switchDatabase_;
    QSerialPort comPort_;
    bool loading_ = false;

    QTabWidget* pages_ = nullptr;
    QWidget* generalPage_ = nullptr;
    QWidget* clearingPage_ = nullptr;
    QWidget* storePage_ = nullptr;

    QComboBox* cmbPrices_ = nullptr;
    QComboBox* cmbVal_ = nullptr;
    QLineEdit* eTaksa_ = nullptr;
    QCheckBox* chkSN_ = nullptr;
    QLineEdit* eTaksaGTP_ = nullptr;
    QLineEdit* eClerkGTP_ = nullptr;
    QRadioButton* radio1_ = nullptr;
    QRadioButton* radio2_ = nullptr;
    QLineEdit* eDatabase_ = nullptr;
    QPushButton* eDatabaseButton_ = nullptr;
    QCheckBox* chkArhive_ = nullptr;
    QRadioButton* rb1_ = nullptr;
    QRadioButton* rb2_ = nullptr;
    QRadioButton* rbPerc_ = nullptr;
    QRadioButton* rbLv_ = nullptr;

    QCheckBox* chkBarcode_ = nullptr;
    QPushButton* btnDeff_ = nullptr;
    QPlainTextEdit* memo2_ = nullptr;

    QComboBox* cmbStore_ = nullptr;
    QPushButton* btnOpen_ = nullptr;
    QPlainTextEdit* memoMicro_ = nullptr;
    QPushButton* btnStore_ = nullptr;

    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QPushButton* bitBtn3_ = nullptr;
};
