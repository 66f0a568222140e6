#include "invoicing/amount_in_words.h"

#include <QStringList>

namespace invoicing {

namespace {

const QStringList& units() {
    static const QStringList words = {"един ", "два ",   "три ",  "четири ", "пет ",
                                      "шест ", "седем ", "осем ", "девет "};
    return words;
}

const QStringList& teens() {
    static const QStringList words = {
        "десет ",      "единадесет ",  "дванадесет ",   "тринадесет ",  "четиринадесет ",
        "петнадесет ", "шестнадесет ", "седемнадесет ", "осемнадесет ", "деветнадесет "};
    return words;
}

const QStringList& tens() {
    static const QStringList words = {"двадесет ",  "тридесет ",   "четиридесет ", "петдесет ",
                                      "шестдесет ", "седемдесет ", "осемдесет ",   "деветдесет "};
    return words;
}

const QStringList& hundreds() {
    static const QStringList words = {"сто ",          "двеста ",     "триста ",
                                      "четиристотин ", "петстотин ",  "шестстотин ",
                                      "седемстотин ",  "осемстотин ", "деветстотин "};
    return words;
}

const QString kAnd = QStringLiteral("и ");

int digit(QChar c) {
    return c.digitValue();
}

// Thousands agree with the feminine "хиляди": "две хиляди", "двадесет и една хиляди".
QString feminineBeforeThousands(QString words) {
    if (words.endsWith(QStringLiteral("два ")))
        words.replace(words.size() - 2, 1, QStringLiteral("е"));
    else if (words.endsWith(QStringLiteral(" един ")) || words == QStringLiteral("един "))
        words.replace(words.size() - 5, 5, QStringLiteral("една "));
    return words;
}

QString thousandsText(const QString& group) {
    const int value = group.toInt();
    if (value == 0)
        return {};
    if (value == 1)
        return QStringLiteral("хиляда ");
    if (value == -1)
        return QStringLiteral("минус хиляда ");
    return feminineBeforeThousands(groupWords(value)) + QStringLiteral("хиляди ");
}

QString millionsText(const QString& group) {
    const int value = group.toInt();
    if (value == 1)
        return QStringLiteral("един милион ");
    if (value == -1)
        return QStringLiteral("минус един милион ");
    return groupWords(value) + QStringLiteral("милиона ");
}

QString capitalized(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

enum class Stotinki { Rounded, Truncated };

QString amountInWords(double amount, Stotinki mode) {
    // Up to 15 significant digits, no exponent in the range callers use, "." as mark.
    const QString text = QString::number(amount, 'g', 15);
    const qsizetype separator = text.indexOf(QLatin1Char('.'));
    QString cents = QStringLiteral("00");
    int carry = 0;
    if (separator >= 0) {
        const QString fraction = text.mid(separator + 1);
        if (mode == Stotinki::Truncated || fraction.size() < 3) {
            cents = fraction.left(2);
        } else {
            int d1 = digit(fraction.at(0));
            int d2 = digit(fraction.at(1));
            if (digit(fraction.at(2)) >= 5)
                ++d2;
            if (d2 == 10) {
                d2 = 0;
                ++d1;
            }
            if (d1 == 10) {
                d1 = 0;
                carry = 1;
            }
            cents = QString::number(d1) + QString::number(d2);
        }
        while (cents.size() < 2)
            cents += QLatin1Char('0');
    }

    QString whole = separator >= 0 ? text.left(separator) : text;
    const bool negative = whole.startsWith(QLatin1Char('-'));
    // A rounded-up cent adds to the size of the amount, whatever its sign.
    const qint64 magnitude = (negative ? whole.mid(1) : whole).toLongLong() + carry;
    whole = (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude);
    if (whole.size() > 9)
        whole = whole.right(9); // only the last nine digits of the leva are worded

    QString leva;
    QString thousands;
    QString millions;
    if (whole.size() <= 3) {
        leva = groupWords(whole.toInt());
    } else {
        const int unitsValue = whole.right(3).toInt();
        leva = groupWords(unitsValue);
        whole.chop(3);
        QString thousandsGroup = whole;
        if (whole.size() > 3) {
            thousandsGroup = whole.right(3);
            millions = millionsText(whole.left(whole.size() - 3));
        }
        thousands = thousandsText(thousandsGroup);
        if (!millions.isEmpty() || !thousands.isEmpty()) {
            if (unitsValue < 100)
                leva = kAnd + leva;
            if (unitsValue == 0)
                leva.clear();
        }
    }
    return capitalized(millions + thousands + leva + QStringLiteral("лв. ") + cents +
                       QStringLiteral(" ст."));
}

} // namespace

QString groupWords(int n) {
    if (n == 0)
        return QStringLiteral("нула ");
    QString result;
    if (n < 0) {
        result = QStringLiteral("минус ");
        n = -n;
    }
    QString digits = QString::number(n);
    bool hundredsWritten = false;
    bool tensWritten = false;
    if (n >= 100) {
        hundredsWritten = true;
        result += hundreds().at(digit(digits.at(0)) - 1);
        digits.remove(0, 1);
        n = digits.toInt();
    }
    if (n >= 10 && n <= 19) {
        if (hundredsWritten)
            result += kAnd;
        result += teens().at(digit(digits.back()));
    }
    if (n >= 20) {
        tensWritten = true;
        if (digits.back() == QLatin1Char('0') && hundredsWritten)
            result += kAnd;
        result += tens().at(digit(digits.at(0)) - 2);
        digits.remove(0, 1);
        n = digits.toInt();
    }
    if (n >= 1 && n <= 9) {
        if (hundredsWritten || tensWritten)
            result += kAnd;
        result += units().at(n - 1);
    }
    return result;
}

QString amountInWordsRounded(double amount) {
    return amountInWords(amount, Stotinki::Rounded);
}

QString amountInWordsTruncated(double amount) {
    return amountInWords(amount, Stotinki::Truncated);
}

} // namespace invoicing
