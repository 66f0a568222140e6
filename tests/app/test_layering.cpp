#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The include lines of the sources keep to the program's layers: the store knows nothing above
// it, the widget kit knows no database, nothing below the main window knows it, the warehouse
// does not reach into the orders, and logic files carry no widgets.
namespace {

const QStringList kSubsystems = {"orders",    "warehouse", "sales",   "finance",
                                 "invoicing", "staff",     "vehicles"};

struct Include {
    QString file;   // "orders/order_work.cpp"
    QString header; // "store/database.h" or "QWidget"
    bool system;    // <...>
};

QList<Include> includesOf(const QString& root, const QString& file) {
    QFile f(QDir(root).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    static const QRegularExpression line(
        QStringLiteral("^\\s*#\\s*include\\s*([<\"])([^>\"]+)[>\"]"));
    QList<Include> result;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const auto m = line.match(QString::fromUtf8(raw));
        if (m.hasMatch())
            result.append({file, m.captured(2), m.captured(1) == QLatin1String("<")});
    }
    return result;
}

QStringList sourcesUnder(const QString& root, const QString& dir) {
    QStringList files;
    QDirIterator it(QDir(root).filePath(dir), {"*.h", "*.cpp"}, QDir::Files);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString folderOf(const QString& header) {
    return header.section('/', 0, 0);
}

// Files that build or drive widgets say so in their names; every other file of a subsystem, the
// shell or the store is logic.
bool isWidgetFile(const QString& file) {
    static const QRegularExpression name(
        QStringLiteral("_(window|dialog|panel|controls|commands)\\.(h|cpp)$"));
    return name.match(file).hasMatch();
}

QSet<QString> widgetHeaders() {
    QSet<QString> names;
    for (const QString& entry : QDir(QStringLiteral(QT_WIDGETS_INCLUDE_DIR)).entryList(QDir::Files))
        names.insert(entry);
    names.insert(QStringLiteral("QtWidgets"));
    return names;
}

// The only store headers the widget kit may use: plain values and helpers without a database.
const QStringList kStoreValuesForUi = {"store/money.h"};

} // namespace

class TestLayering : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void includesKeepToTheLayers() {
        const QString root = QStringLiteral(WORKSHOP_SOURCE_DIR);
        const QSet<QString> widgets = widgetHeaders();
        QVERIFY2(widgets.contains("QWidget") && widgets.contains("QDialog"),
                 "the widget headers must be known for this check to mean anything");

        QStringList violations;
        auto refuse = [&](const Include& inc, const char* why) {
            violations << QStringLiteral("%1 includes %2: %3").arg(inc.file, inc.header, why);
        };
        QStringList folders = kSubsystems;
        folders << "store"
                << "ui"
                << "shell";
        int checked = 0;
        for (const QString& folder : folders) {
            for (const QString& file : sourcesUnder(root, folder)) {
                for (const Include& inc : includesOf(root, file)) {
                    ++checked;
                    const QString to = folderOf(inc.header);
                    if (inc.system) {
                        const bool logic = folder != "ui" && !isWidgetFile(file);
                        if (logic && widgets.contains(inc.header))
                            refuse(inc, "a logic file holds no widgets");
                        continue;
                    }
                    if (folder == "store" && to != "store")
                        refuse(inc, "the store includes nothing above it");
                    if (folder == "ui" && to == "store" && !kStoreValuesForUi.contains(inc.header))
                        refuse(inc, "the widget kit uses no database header");
                    if (folder == "ui" && to != "ui" && to != "store")
                        refuse(inc, "the widget kit includes nothing above it");
                    if (folder == "shell" && kSubsystems.contains(to))
                        refuse(inc, "the shell includes no subsystem");
                    if (to == "app")
                        refuse(inc, "only the program itself knows the main window");
                    if (folder == "warehouse" && to == "orders")
                        refuse(inc, "the warehouse does not reach into the orders");
                    if (folder != "ui" && !isWidgetFile(file) &&
                        (isWidgetFile(inc.header) || inc.header.startsWith("ui/")) &&
                        inc.header != "ui/scanner_settings.h")
                        refuse(inc, "a logic file includes no window or widget of the kit");
                }
            }
        }
        QVERIFY(checked > 500);
        for (const QString& violation : violations)
            qWarning("%s", qPrintable(violation));
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join('\n')));
    }

    void widgetFileNamesAreRecognised_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("widgets");
        QTest::newRow("window") << "orders/order_report_window.cpp" << true;
        QTest::newRow("dialog header") << "staff/employee_dialog.h" << true;
        QTest::newRow("entry functions") << "warehouse/warehouse_commands.cpp" << true;
        QTest::newRow("logic") << "orders/order_work.cpp" << false;
        QTest::newRow("window in the middle of a name") << "orders/window_rules.cpp" << false;
    }
    void widgetFileNamesAreRecognised() {
        QFETCH(QString, file);
        QFETCH(bool, widgets);
        QCOMPARE(isWidgetFile(file), widgets);
    }
};

QTEST_MAIN(TestLayering)
#include "test_layering.moc"
