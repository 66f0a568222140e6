#include "shell/settings_dialog.h"

#include "shell/business_settings.h"
#include "shell/database_switch.h"
#include "shell/help_window.h"
#include "shell/serial_port_dialog.h"
#include "shell/serial_port_settings.h"
#include "shell/user_settings.h"
#include "store/database.h"
#include "store/money.h"
#include "store/transaction.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/wait_message.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>
#include <cmath>

using shell::BusinessSettings;
namespace settingKeys = shell::settingKeys;

namespace shell {

QString currencyRefusalText() {
    return QStringLiteral("Не можете да изключите работата с валути USD и EUR,\nзащото имате "
                          "доставени резервни части в тези валути!");
}

QString notWorkingYetText() {
    return QStringLiteral("Тази функция още не работи");
}

QString portBusyText() {
    return QStringLiteral("Този COM-порт се използва от друга програма!");
}

bool partsInForeignCurrency(store::Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM parts WHERE ipVal > 1")).toInt() > 0;
}

} // namespace shell

namespace {

const QString kHelpSettings = QStringLiteral("ОбщиНастройки");

QLineEdit* amountEdit(QWidget* parent, const char* name, bool allowMinus) {
    QLineEdit* edit = ui::amountEdit(parent, name, allowMinus);
    edit->setMaximumWidth(120);
    return edit;
}

// An empty or unreadable field counts as 0, as an empty value reads everywhere else.
double amountOf(const QLineEdit* edit) {
    return store::parseMoney(edit->text()).value_or(0.0);
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TsrNastr::TsrNastr(store::Database& db, BusinessSettings& settings, DatabaseSwitch switchDatabase,
                   QWidget* parent)
    : QDialog(parent), db_(db), settings_(settings), switchDatabase_(std::move(switchDatabase)),
      comPort_(this) {
    setObjectName(QStringLiteral("TsrNastr"));
    setWindowTitle(QStringLiteral("Настройки"));
    comPort_.setObjectName(QStringLiteral("ComPort"));
    connect(&comPort_, &QSerialPort::readyRead, this, &TsrNastr::readPort);

    pages_ = named(new QTabWidget(this), "PageControl1");
    generalPage_ = buildGeneralPage();
    pages_->addTab(generalPage_, QStringLiteral("Общи настройки"));
    pages_->addTab(buildReaderPage(), QStringLiteral("Баркод четец"));
    storePage_ = buildStorePage();
    pages_->addTab(storePage_, QStringLiteral("Склад"));
    // The clearing of data comes with its own commands later; the page stays empty till then.
    clearingPage_ = named(new QWidget(this), "TabSheet2");
    pages_->addTab(clearingPage_, QStringLiteral("Изчистване на данни"));
    pages_->setTabEnabled(pages_->indexOf(clearingPage_), false);

    bitBtn1_ = named(new QPushButton(QStringLiteral("Запис"), this), "BitBtn1");
    bitBtn2_ = named(new QPushButton(QStringLiteral("Отказ"), this), "BitBtn2");
    bitBtn3_ = named(new QPushButton(QStringLiteral("Затвори"), this), "BitBtn3");
    bitBtn1_->setAutoDefault(false);
    bitBtn2_->setAutoDefault(false);
    bitBtn3_->setAutoDefault(false);
    connect(bitBtn1_, &QPushButton::clicked, this, &TsrNastr::save);
    connect(bitBtn2_, &QPushButton::clicked, this, &TsrNastr::cancel);
    connect(bitBtn3_, &QPushButton::clicked, this, &TsrNastr::close);

    auto* help = named(new QAction(this), "Action1");
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, kHelpSettings); });
    addAction(help);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bitBtn1_);
    buttons->addWidget(bitBtn2_);
    buttons->addWidget(bitBtn3_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    connectChangeTracking();
}

QWidget* TsrNastr::buildGeneralPage() {
    auto* page = named(new QWidget(this), "TabSheet1");

    cmbPrices_ = named(new QComboBox(page), "cmbPrices");
    cmbPrices_->addItems({QStringLiteral("Отделни цени за поръчки и за продажба"),
                          QStringLiteral("Продажната цена е равна на цената за поръчки")});
    cmbVal_ = named(new QComboBox(page), "cmbVal");
    cmbVal_->addItems({QStringLiteral("Само в лева"), QStringLiteral("В лева, USD и EUR")});
    auto* button1 = named(new QPushButton(QStringLiteral("Проверка"), page), "Button1");
    button1->setAutoDefault(false);
    connect(button1, &QPushButton::clicked, this, [this] { currencyCheck(); });
    auto* currencyRow = new QHBoxLayout;
    currencyRow->addWidget(cmbVal_, 1);
    currencyRow->addWidget(button1);

    eTaksa_ = amountEdit(page, "eTaksa", false);
    ui::refuseMinus(eTaksa_, QStringLiteral("Таксата не може да бъде отрицателна."));
    chkSN_ = named(new QCheckBox(QStringLiteral("Отчитане на серийни номера на частите"), page),
                   "chkSN");
    eTaksaGTP_ = amountEdit(page, "eTaksaGTP", false);
    ui::refuseMinus(eTaksaGTP_, QStringLiteral("Таксата не може да бъде отрицателна."));
    eClerkGTP_ = amountEdit(page, "eClerkGTP", true);

    auto* values = new QGroupBox(QStringLiteral("Общи стойности"), page);
    auto* form = new QFormLayout(values);
    form->addRow(QStringLiteral("Цени на доставените части:"), cmbPrices_);
    form->addRow(QStringLiteral("Работа с валути:"), currencyRow);
    form->addRow(QStringLiteral("Такса обслужване на поръчка (лв.):"), eTaksa_);
    form->addRow(QString(), chkSN_);
    form->addRow(QStringLiteral("Такса технически преглед (лв.):"), eTaksaGTP_);
    form->addRow(QStringLiteral("Сума за техника за един преглед (лв.):"), eClerkGTP_);

    radio1_ =
        named(new QRadioButton(QStringLiteral("Матричен принтер (Epson LX-300)"), page), "Radio1");
    radio2_ = named(new QRadioButton(QStringLiteral("Системен принтер"), page), "Radio2");
    auto* printer = new QGroupBox(QStringLiteral("Печат на документите"), page);
    auto* printerLayout = new QVBoxLayout(printer);
    printerLayout->addWidget(radio1_);
    printerLayout->addWidget(radio2_);

    rb1_ = named(new QRadioButton(QStringLiteral("По цените на операциите"), page), "rb1");
    rb2_ = named(new QRadioButton(QStringLiteral("По време"), page), "rb2");
    rbPerc_ =
        named(new QRadioButton(QStringLiteral("Процент от цената за клиента"), page), "rbPerc");
    rbLv_ = named(new QRadioButton(QStringLiteral("Фиксирана сума за техника"), page), "rbLv");
    auto* payGroup = new QButtonGroup(page);
    payGroup->addButton(rb1_);
    payGroup->addButton(rb2_);
    auto* shareGroup = new QButtonGroup(page);
    shareGroup->addButton(rbPerc_);
    shareGroup->addButton(rbLv_);
    auto* pay = new QGroupBox(QStringLiteral("Заплащане на техниците"), page);
    auto* payLayout = new QVBoxLayout(pay);
    payLayout->addWidget(rb1_);
    auto* share = new QVBoxLayout;
    share->setContentsMargins(24, 0, 0, 0);
    share->addWidget(rbPerc_);
    share->addWidget(rbLv_);
    payLayout->addLayout(share);
    payLayout->addWidget(rb2_);

    eDatabase_ = named(new QLineEdit(page), "eDatabase");
    eDatabase_->setReadOnly(true);
    eDatabaseButton_ = named(new QPushButton(QStringLiteral("Смяна..."), page), "eDatabaseButton");
    eDatabaseButton_->setAutoDefault(false);
    eDatabaseButton_->setEnabled(bool(switchDatabase_));
    connect(eDatabaseButton_, &QPushButton::clicked, this, &TsrNastr::switchDatabase);
    chkArhive_ =
        named(new QCheckBox(QStringLiteral("Автоматичен архив при затваряне на програмата"), page),
              "chkArhive");
    connect(chkArhive_, &QCheckBox::toggled, this, [this](bool on) {
        if (loading_)
            return;
        QSettings reg = shell::userSettings();
        reg.setValue(shell::keys::autoArchive, on);
    });
    auto* database = new QGroupBox(QStringLiteral("База данни"), page);
    auto* databaseLayout = new QVBoxLayout(database);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(eDatabase_, 1);
    pathRow->addWidget(eDatabaseButton_);
    databaseLayout->addLayout(pathRow);
    databaseLayout->addWidget(chkArhive_);

    auto* right = new QVBoxLayout;
    right->addWidget(printer);
    right->addWidget(pay);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(values, 3);
    top->addLayout(right, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(database);
    layout->addStretch();
    return page;
}

QWidget* TsrNastr::buildReaderPage() {
    auto* page = named(new QWidget(this), "TabSheet3");
    chkBarcode_ = named(new QCheckBox(QStringLiteral("Към компютъра е включен баркод четец"), page),
                        "chkBarcode");
    btnDeff_ = named(new QPushButton(QStringLiteral("Параметри на порта..."), page), "btnDeff");
    btnDeff_->setAutoDefault(false);
    memo2_ = named(new QPlainTextEdit(page), "Memo2");
    memo2_->setReadOnly(true);
    connect(chkBarcode_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            scannerSwitched(on);
    });
    connect(btnDeff_, &QPushButton::clicked, this, &TsrNastr::editPortParameters);

    auto* row = new QHBoxLayout;
    row->addWidget(chkBarcode_);
    row->addStretch();
    row->addWidget(btnDeff_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(new QLabel(
        QStringLiteral("Прочетени символи (сканирайте код, за да проверите четеца):"), page));
    layout->addWidget(memo2_);
    return page;
}

QWidget* TsrNastr::buildStorePage() {
    auto* page = named(new QWidget(this), "TabSheet5");
    cmbStore_ = named(new QComboBox(page), "cmbStore");
    cmbStore_->addItems({QStringLiteral("Собствен склад на програмата"),
                         QStringLiteral("Склад на Microinvest на сървър"),
                         QStringLiteral("Бази данни на Microinvest Склад")});
    btnOpen_ = named(new QPushButton(QStringLiteral("Добави база данни..."), page), "btnOpen");
    memoMicro_ = named(new QPlainTextEdit(page), "memoMicro");
    btnStore_ = named(new QPushButton(QStringLiteral("Запис на избора"), page), "btnStore");
    btnOpen_->setAutoDefault(false);
    btnStore_->setAutoDefault(false);
    connect(cmbStore_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            storeChanged();
    });
    connect(memoMicro_, &QPlainTextEdit::textChanged, this, [this] {
        if (!loading_)
            btnStore_->setEnabled(true);
    });
    connect(btnOpen_, &QPushButton::clicked, this, &TsrNastr::addExternalDatabase);
    connect(btnStore_, &QPushButton::clicked, this, &TsrNastr::saveStoreChoice);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Източник на резервни части:"), page));
    row->addWidget(cmbStore_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOpen_);
    buttons->addStretch();
    buttons->addWidget(btnStore_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("Бази данни на Microinvest Склад:"), page));
    layout->addWidget(memoMicro_);
    layout->addLayout(buttons);
    return page;
}

void TsrNastr::connectChangeTracking() {
    const auto track = [this] {
        if (!loading_)
            trackChange();
    };
    connect(cmbPrices_, &QComboBox::currentIndexChanged, this, track);
    connect(cmbVal_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            currencyChanged();
    });
    for (QLineEdit* edit : {eTaksa_, eTaksaGTP_, eClerkGTP_})
        connect(edit, &QLineEdit::textChanged, this, track);
    connect(chkSN_, &QCheckBox::toggled, this, track);
    for (QRadioButton* radio : {radio1_, radio2_, rb1_, rb2_, rbPerc_, rbLv_})
        connect(radio, &QRadioButton::toggled, this, track);
}

bool TsrNastr::isChanged() const {
    return bitBtn1_->isEnabled();
}

bool TsrNastr::isStorePending() const {
    return btnStore_->isEnabled();
}

void TsrNastr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        prepare();
}

void TsrNastr::prepare() {
    loading_ = true;
    pages_->setCurrentWidget(generalPage_);
    loadUserValues();
    addDialogDefaults();
    eTaksa_->setText(store::formatMoney(settings_.serviceFee()));
    eTaksaGTP_->setText(store::formatMoney(settings_.inspectionFee()));
    eClerkGTP_->setText(store::formatMoney(settings_.inspectionClerkAmount()));
    chkSN_->setChecked(settings_.useSerialNumbers());
    loadStoreChoice();
    (settings_.workByTime() ? rb2_ : rb1_)->setChecked(true);
    (settings_.workByFixedAmount() ? rbLv_ : rbPerc_)->setChecked(true);
    updatePayModeState();
    cmbVal_->setCurrentIndex(settings_.foreignCurrencies() ? 1 : 0);
    cmbPrices_->setCurrentIndex(settings_.singleSalePrice() ? 1 : 0);
    currencyCheck();
    loading_ = false;
    setCleanState();
    pages_->setTabVisible(pages_->indexOf(storePage_), false);
}

void TsrNastr::loadUserValues() {
    QSettings reg = shell::userSettings();
    if (!reg.contains(shell::keys::printer))
        reg.setValue(shell::keys::printer, shell::kSystemPrinter);
    const bool matrix = reg.value(shell::keys::printer).toString() == shell::kMatrixPrinter;
    (matrix ? radio1_ : radio2_)->setChecked(true);
    if (!reg.contains(shell::keys::autoArchive))
        reg.setValue(shell::keys::autoArchive, false);
    chkArhive_->setChecked(reg.value(shell::keys::autoArchive).toBool());
    if (!reg.contains(shell::keys::useBarcodeScanner))
        shell::setScannerEnabled(reg, false);
    chkBarcode_->setChecked(reg.value(shell::keys::useBarcodeScanner).toBool());
    btnDeff_->setEnabled(chkBarcode_->isChecked());
    closePort();
    const QString baseFile = reg.value(shell::keys::baseFile, db_.filePath()).toString();
    eDatabase_->setText(QDir::toNativeSeparators(baseFile));
}

void TsrNastr::addDialogDefaults() {
    // The keys this dialog added to the first defaults; all or none reach the database.
    BusinessSettings changed = settings_;
    try {
        store::Transaction tx(db_);
        changed.ensureNum(db_, settingKeys::taksaGtp, 20);
        changed.ensureNum(db_, settingKeys::clerkGtp, 0);
        changed.ensureInt(db_, settingKeys::useSn, 0);
        changed.ensureInt(db_, settingKeys::store, 0);
        changed.ensureInt(db_, settingKeys::workByTime, 0);
        changed.ensureInt(db_, settingKeys::workByPercent, 0);
        tx.commit();
        settings_ = std::move(changed);
    } catch (const store::DbError& e) {
        // The dialog still shows the defaults; they are written at the next save.
        ui::error(this, e.message());
    }
}

void TsrNastr::loadStoreChoice() {
    const qint64 stored = settings_.intValue(settingKeys::store);
    cmbStore_->setCurrentIndex(stored >= 0 && stored <= 2 ? int(stored) : 0);
    storeChanged();
    memoMicro_->clear();
    if (cmbStore_->currentIndex() == 2) {
        const QStringList paths = shell::externalDatabases(db_);
        if (paths.isEmpty()) {
            cmbStore_->setCurrentIndex(0);
            storeChanged();
        } else {
            memoMicro_->setPlainText(paths.join(QLatin1Char('\n')));
        }
    }
    btnStore_->setEnabled(false);
}

void TsrNastr::setCleanState() {
    bitBtn1_->setEnabled(false);
    bitBtn2_->setEnabled(false);
    bitBtn3_->setEnabled(true);
    pages_->setTabVisible(pages_->indexOf(clearingPage_), true);
}

void TsrNastr::trackChange() {
    bitBtn1_->setEnabled(true);
    bitBtn2_->setEnabled(true);
    bitBtn3_->setEnabled(false);
    pages_->setTabVisible(pages_->indexOf(clearingPage_), false);
    updatePayModeState();
}

void TsrNastr::updatePayModeState() {
    rbPerc_->setEnabled(rb1_->isChecked());
    rbLv_->setEnabled(rb1_->isChecked());
}

void TsrNastr::currencyChanged() {
    currencyCheck();
    trackChange();
}

bool TsrNastr::currencyCheck() {
    if (cmbVal_->currentIndex() != 0 || !shell::partsInForeignCurrency(db_))
        return false;
    ui::warning(this, shell::currencyRefusalText());
    cmbVal_->setCurrentIndex(1);
    return true;
}

bool TsrNastr::amountsAreSensible() {
    // No workshop charges or credits this much for one order or one inspection.
    constexpr double kCeiling = 10000;
    for (QLineEdit* edit : {eTaksa_, eTaksaGTP_, eClerkGTP_}) {
        if (std::fabs(amountOf(edit)) <= kCeiling)
            continue;
        ui::message(this, ui::captionError(),
                    QStringLiteral("Сумата трябва да е между 0 и 10 000 лв.!"),
                    ui::MessageIcon::Error);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void TsrNastr::save() {
    if (!amountsAreSensible())
        return;
    currencyCheck();
    trackChange();
    QSettings reg = shell::userSettings();
    reg.setValue(shell::keys::printer,
                 radio1_->isChecked() ? shell::kMatrixPrinter : shell::kSystemPrinter);

    BusinessSettings changed = settings_;
    try {
        store::Transaction tx(db_);
        changed.setNum(db_, settingKeys::taksa, amountOf(eTaksa_));
        changed.setInt(db_, settingKeys::useSn, chkSN_->isChecked() ? 1 : 0);
        changed.setInt(db_, settingKeys::currency, cmbVal_->currentIndex());
        changed.setNum(db_, settingKeys::taksaGtp, amountOf(eTaksaGTP_));
        changed.setNum(db_, settingKeys::clerkGtp, amountOf(eClerkGTP_));
        changed.setInt(db_, settingKeys::prices, cmbPrices_->currentIndex());
        changed.setInt(db_, settingKeys::workByTime, rb1_->isChecked() ? 0 : 1);
        changed.setInt(db_, settingKeys::workByPercent, rbPerc_->isChecked() ? 0 : 1);
        tx.commit();
    } catch (const store::DbError& e) {
        // Nothing was saved; the changes stay on screen to be saved again.
        ui::error(this, e.message());
        return;
    }
    settings_ = std::move(changed);
    setCleanState();
}

void TsrNastr::cancel() {
    prepare();
}

void TsrNastr::reject() {
    if (btnStore_->isEnabled()) {
        pages_->setTabVisible(pages_->indexOf(storePage_), true);
        pages_->setCurrentWidget(storePage_);
        return;
    }
    if (bitBtn1_->isEnabled()) {
        pages_->setCurrentWidget(generalPage_);
        return;
    }
    closePort();
    Q_EMIT currencyModeChosen(cmbVal_->currentIndex() == 1);
    QDialog::reject();
}

void TsrNastr::switchDatabase() {
    if (!switchDatabase_)
        return;
    const QString folder = QFileInfo(db_.filePath()).absolutePath();
    const QString chosen =
        ui::openFileName(this, QStringLiteral("Избор на база данни"),
                         QDir(folder).filePath(shell::kDatabaseFileName),
                         QStringLiteral("База данни (*.mdz);;Всички файлове (*)"));
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    std::optional<QString> problem;
    {
        setEnabled(false);
        TfmMess wait(this);
        ui::WaitMessage shown(wait, QStringLiteral("Проверка на новата база данни ..."));
        problem = shell::databaseSwitchProblem(db_, path);
        setEnabled(true);
    }
    if (problem) {
        ui::error(this, *problem);
        return;
    }
    closePort();
    QSettings reg = shell::userSettings();
    const QVariant previous = reg.value(shell::keys::baseFile);
    reg.setValue(shell::keys::baseFile, path);
    eDatabase_->setText(QDir::toNativeSeparators(path));
    const bool switched = switchDatabase_(path);
    if (switched) {
        Q_EMIT databaseSwitched(path);
    } else if (previous.isValid()) {
        // The next start should find the database that worked, not the one that failed.
        reg.setValue(shell::keys::baseFile, previous);
    } else {
        reg.remove(shell::keys::baseFile);
    }
    // The connection this dialog was opened on is gone either way; its values with it.
    QDialog::done(switched ? QDialog::Accepted : QDialog::Rejected);
}

void TsrNastr::scannerSwitched(bool on) {
    btnDeff_->setEnabled(on);
    QSettings reg = shell::userSettings();
    shell::setScannerEnabled(reg, on);
    if (on)
        openPort(); // a missing or busy port is not reported here
    else
        closePort();
}

void TsrNastr::editPortParameters() {
    closePort();
    {
        QSettings reg = shell::userSettings();
        shell::SerialPortDialog dialog(shell::loadScannerSettings(reg), this);
        if (dialog.exec() == QDialog::Accepted)
            shell::saveScannerPort(reg, dialog.settings());
    }
    memo2_->clear();
    if (!openPort())
        ui::message(this, ui::captionMessage(), shell::portBusyText(), ui::MessageIcon::Warning);
}

bool TsrNastr::openPort() {
    closePort();
    QSettings reg = shell::userSettings();
    const ui::ScannerSettings s = shell::loadScannerSettings(reg);
    if (s.portName.isEmpty())
        return false;
    comPort_.setPortName(s.portName);
    comPort_.setBaudRate(s.baudRate);
    comPort_.setDataBits(s.dataBits);
    comPort_.setParity(s.parity);
    comPort_.setStopBits(s.stopBits);
    comPort_.setFlowControl(s.flowControl);
    return comPort_.open(QIODevice::ReadOnly);
}

void TsrNastr::closePort() {
    if (comPort_.isOpen())
        comPort_.close();
}

void TsrNastr::readPort() {
    memo2_->moveCursor(QTextCursor::End);
    memo2_->insertPlainText(QString::fromLatin1(comPort_.readAll()));
    memo2_->moveCursor(QTextCursor::End);
}

void TsrNastr::storeChanged() {
    if (cmbStore_->currentIndex() == 1) {
        ui::message(this, ui::captionMessage(), shell::notWorkingYetText(),
                    ui::MessageIcon::Warning);
        const QSignalBlocker quiet(cmbStore_);
        cmbStore_->setCurrentIndex(0);
    }
    const bool external = cmbStore_->currentIndex() == 2;
    btnOpen_->setEnabled(external);
    memoMicro_->setEnabled(external);
    btnStore_->setEnabled(true);
}

void TsrNastr::addExternalDatabase() {
    const QString chosen =
        ui::openFileName(this, QStringLiteral("База данни на Microinvest Склад"), QString(),
                         QStringLiteral("Бази данни (*.mdb *.db);;Всички файлове (*)"));
    if (chosen.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    const QStringList lines = memoMicro_->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().compare(path, Qt::CaseInsensitive) == 0)
            return;
    }
    QString text = memoMicro_->toPlainText();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    memoMicro_->setPlainText(text + path);
    btnStore_->setEnabled(true);
}

void TsrNastr::saveStoreChoice() {
    QStringList paths;
    for (const QString& line : memoMicro_->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            paths << line.trimmed();
    }
    if (paths.isEmpty() && cmbStore_->currentIndex() == 2) {
        const QSignalBlocker quiet(cmbStore_);
        cmbStore_->setCurrentIndex(0);
        btnOpen_->setEnabled(false);
        memoMicro_->setEnabled(false);
    }
    BusinessSettings changed = settings_;
    try {
        store::Transaction tx(db_);
        if (cmbStore_->currentIndex() == 2)
            shell::saveExternalDatabases(db_, paths);
        changed.setInt(db_, settingKeys::store, cmbStore_->currentIndex());
        tx.commit();
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    settings_ = std::move(changed);
    btnStore_->setEnabled(false);
}
