#include "invoicing/amount_in_words.h"

#include <QTest>

using namespace invoicing;

class TestAmountInWords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void groups_data();
    void groups();
    void amounts_data();
    void amounts();
};

void TestAmountInWords::groups_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("words");
    QTest::newRow("0") << 0 << "нула ";
    QTest::newRow("7") << 7 << "седем ";
    QTest::newRow("10") << 10 << "десет ";
    QTest::newRow("12") << 12 << "дванадесет ";
    QTest::newRow("25") << 25 << "двадесет и пет ";
    QTest::newRow("40") << 40 << "четиридесет ";
    QTest::newRow("100") << 100 << "сто ";
    QTest::newRow("105") << 105 << "сто и пет ";
    QTest::newRow("110") << 110 << "сто и десет ";
    QTest::newRow("119") << 119 << "сто и деветнадесет ";
    QTest::newRow("120") << 120 << "сто и двадесет ";
    QTest::newRow("125") << 125 << "сто двадесет и пет ";
    QTest::newRow("999") << 999 << "деветстотин деветдесет и девет ";
    QTest::newRow("-42") << -42 << "минус четиридесет и два ";
}

void TestAmountInWords::groups() {
    QFETCH(int, n);
    QFETCH(QString, words);
    QCOMPARE(groupWords(n), words);
}

void TestAmountInWords::amounts_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("rounded");
    QTest::addColumn<QString>("truncated");
    auto row = [](const char* name, double amount, const char* rounded, const char* truncated) {
        QTest::newRow(name) << amount << QString::fromUtf8(rounded) << QString::fromUtf8(truncated);
    };
    row("0", 0, "Нула лв. 00 ст.", "Нула лв. 00 ст.");
    row("12.5", 12.5, "Дванадесет лв. 50 ст.", "Дванадесет лв. 50 ст.");
    row("3.1 padded", 3.1, "Три лв. 10 ст.", "Три лв. 10 ст.");
    row("1.995", 1.995, "Два лв. 00 ст.", "Един лв. 99 ст.");
    row("0.995 into the leva", 0.995, "Един лв. 00 ст.", "Нула лв. 99 ст.");
    row("only the third decimal counts", 1.2349, "Един лв. 23 ст.", "Един лв. 23 ст.");
    row("105", 105, "Сто и пет лв. 00 ст.", "Сто и пет лв. 00 ст.");
    row("1000", 1000, "Хиляда лв. 00 ст.", "Хиляда лв. 00 ст.");
    row("1100", 1100, "Хиляда сто лв. 00 ст.", "Хиляда сто лв. 00 ст.");
    row("1234.56", 1234.56, "Хиляда двеста тридесет и четири лв. 56 ст.",
        "Хиляда двеста тридесет и четири лв. 56 ст.");
    row("2002", 2002, "Две хиляди и два лв. 00 ст.", "Две хиляди и два лв. 00 ст.");
    row("12000", 12000, "Дванадесет хиляди лв. 00 ст.", "Дванадесет хиляди лв. 00 ст.");
    row("22000", 22000, "Двадесет и две хиляди лв. 00 ст.", "Двадесет и две хиляди лв. 00 ст.");
    row("21005 feminine", 21005, "Двадесет и една хиляди и пет лв. 00 ст.",
        "Двадесет и една хиляди и пет лв. 00 ст.");
    row("131000 feminine", 131000, "Сто тридесет и една хиляди лв. 00 ст.",
        "Сто тридесет и една хиляди лв. 00 ст.");
    row("11000 stays", 11000, "Единадесет хиляди лв. 00 ст.", "Единадесет хиляди лв. 00 ст.");
    row("1000000", 1000000, "Един милион лв. 00 ст.", "Един милион лв. 00 ст.");
    row("2000000.5", 2000000.5, "Два милиона лв. 50 ст.", "Два милиона лв. 50 ст.");
    row("3001120", 3001120, "Три милиона хиляда сто и двадесет лв. 00 ст.",
        "Три милиона хиляда сто и двадесет лв. 00 ст.");
    row("billion: last nine digits", 1234567890,
        "Двеста тридесет и четири милиона петстотин шестдесет и седем хиляди осемстотин и "
        "деветдесет лв. 00 ст.",
        "Двеста тридесет и четири милиона петстотин шестдесет и седем хиляди осемстотин и "
        "деветдесет лв. 00 ст.");
    row("negative", -1234.5, "Минус хиляда двеста тридесет и четири лв. 50 ст.",
        "Минус хиляда двеста тридесет и четири лв. 50 ст.");
    row("negative carry grows the amount", -1.995, "Минус два лв. 00 ст.", "Минус един лв. 99 ст.");
}

void TestAmountInWords::amounts() {
    QFETCH(double, amount);
    QFETCH(QString, rounded);
    QFETCH(QString, truncated);
    QCOMPARE(amountInWordsRounded(amount), rounded);
    QCOMPARE(amountInWordsTruncated(amount), truncated);
}

QTEST_MAIN(TestAmountInWords)
#include "test_amount_in_words.moc"
