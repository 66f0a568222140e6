#include "support/fake_scanner.h"
#include "ui/barcode_reader.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace ui;
using testing::FakeScanner;

namespace {

ui::ScannerSettings settingsFor(const QString& port) {
    ui::ScannerSettings s;
    s.enabled = true;
    s.portName = port;
    s.baudRate = 9600;
    return s;
}

} // namespace

class TestBarcodeReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void piecesAreAssembled_data();
    void piecesAreAssembled();
    void codesArriveFromTheSerialPort_data();
    void codesArriveFromTheSerialPort();
    void scannerOffOrMissingIsIgnored();
    void portFollowsTheActiveWindow();
};

void TestBarcodeReader::piecesAreAssembled_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("one piece") << QList<QByteArray>{"3800123456789\r\n"}
                               << QStringList{"3800123456789"};
    QTest::newRow("several pieces")
        << QList<QByteArray>{"380", "0123", "456789\r\n"} << QStringList{"3800123456789"};
    QTest::newRow("line feed alone") << QList<QByteArray>{"12345\r", "\n"} << QStringList{"12345"};
    QTest::newRow("cut to 13") << QList<QByteArray>{"123456789012345\r\n"}
                               << QStringList{"1234567890123"};
    QTest::newRow("incomplete") << QList<QByteArray>{"123", "45\r"} << QStringList{};
    QTest::newRow("two codes in one piece")
        << QList<QByteArray>{"111\r\n222\r\n"} << QStringList{"111", "222"};
    QTest::newRow("only the end") << QList<QByteArray>{"\r\n"} << QStringList{};
}

void TestBarcodeReader::piecesAreAssembled() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QStringList, codes);
    ui::BarcodeAssembler assembler;
    QStringList got;
    for (const QByteArray& piece : pieces)
        got += assembler.feed(piece);
    QCOMPARE(got, codes);
    // What completed is gone; an incomplete code stays for the next piece.
    QCOMPARE(assembler.pending().isEmpty(), !codes.isEmpty() || pieces.last().endsWith('\n'));
}

void TestBarcodeReader::codesArriveFromTheSerialPort_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QString>("code");
    QTest::newRow("whole") << QList<QByteArray>{"3800123456789\r\n"} << "3800123456789";
    QTest::newRow("pieces") << QList<QByteArray>{"ABC-", "12", "3\r\n"} << "ABC-123";
    QTest::newRow("line feed alone") << QList<QByteArray>{"4711\r", "\n"} << "4711";
    QTest::newRow("15 characters") << QList<QByteArray>{"ABCDEFGHIJKLMNO\r\n"} << "ABCDEFGHIJKLM";
}

void TestBarcodeReader::codesArriveFromTheSerialPort() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QString, code);
    FakeScanner scanner;
    ui::BarcodeReader reader(settingsFor(scanner.portName()));
    QVERIFY(reader.open());
    QSignalSpy spy(&reader, &ui::BarcodeReader::codeRead);
    for (const QByteArray& piece : pieces) {
        scanner.send(piece);
        QTest::qWait(60); // the pieces arrive as separate reads
    }
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), code);
    // The next code starts afresh.
    scanner.send("42\r\n");
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(spy.last().first().toString(), QString("42"));
}

void TestBarcodeReader::scannerOffOrMissingIsIgnored() {
    FakeScanner scanner;
    ui::ScannerSettings off = settingsFor(scanner.portName());
    off.enabled = false;
    ui::BarcodeReader reader(off);
    QVERIFY(!reader.open());
    QVERIFY(!reader.isOpen());
    reader.setSettings(settingsFor("/dev/no-such-scanner"));
    QVERIFY(!reader.open());
    QVERIFY(!reader.isOpen());
    reader.close(); // closing a port that never opened is harmless
}

void TestBarcodeReader::portFollowsTheActiveWindow() {
    FakeScanner scanner;
    QWidget window;
    QWidget other;
    ui::BarcodeReader reader(settingsFor(scanner.portName()));
    reader.followWindow(&window);
    QVERIFY(!reader.isOpen());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(reader.isOpen());

    QSignalSpy spy(&reader, &ui::BarcodeReader::codeRead);
    scanner.send("12"); // half a code when the window loses the focus
    QTest::qWait(60);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(!reader.isOpen());

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(reader.isOpen());
    scanner.send("345\r\n");
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), QString("345")); // the old half was dropped
}

QTEST_MAIN(TestBarcodeReader)
#include "test_barcode_reader.moc"
