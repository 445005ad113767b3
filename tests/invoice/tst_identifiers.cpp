#include "invoice/identifiers.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace identifiers;

class TestIdentifiers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void patterns_data();
    void patterns();
    void patternsAgreeWithRegularExpressionsOnRandomInput();
    void hostileInputIsHandled();
    void confirmationNumbers_data();
    void confirmationNumbers();
    void normalisation_data();
    void normalisation();
    void normalisationIsStable();
    void insuredNumbers();
    void shortDates_data();
    void shortDates();
};

void TestIdentifiers::patterns_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("expected");
    QTest::newRow("14 digits") << "12345678901234" << "##############" << true;
    QTest::newRow("13 not 14") << "1234567890123" << "##############" << false;
    QTest::newRow("whole value") << "1234567890123X" << "#############" << false;
    QTest::newRow("old form") << "082/00123456" << "#*/#####*" << true;
    QTest::newRow("four after slash") << "082/1234" << "#*/#####*" << false;
    QTest::newRow("five after slash") << "082/12345" << "#*/#####*" << true;
    QTest::newRow("star matches none") << "1/12345" << "#*/#####*" << true;
    QTest::newRow("empty pattern") << "" << "" << true;
    QTest::newRow("empty value") << "" << "#" << false;
    QTest::newRow("only star") << "" << "*" << true;
    QTest::newRow("non-ASCII digit") << QString::fromUtf16(u"١٢٣") << "###" << false;
    QTest::newRow("literal") << "a'b" << "a'b" << true;
}

void TestIdentifiers::patterns()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(bool, expected);
    QCOMPARE(matches(value, pattern), expected);
}

// The pattern notation read as a regular expression, for comparison.
static QRegularExpression asRegex(const QString& pattern)
{
    QString re = QStringLiteral("^");
    for (QChar c : pattern)
        re += c == u'#' ? QStringLiteral("[0-9]") : c == u'*' ? QStringLiteral(".*") : QRegularExpression::escape(QString(c));
    return QRegularExpression(re + u'$', QRegularExpression::DotMatchesEverythingOption);
}

void TestIdentifiers::patternsAgreeWithRegularExpressionsOnRandomInput()
{
    QRandomGenerator random(20261206);
    const QString alphabet = QStringLiteral("0123/a*#Č ");
    auto randomText = [&](int maxLength, const QString& letters) {
        QString s;
        const int n = random.bounded(maxLength + 1);
        for (int i = 0; i < n; ++i)
            s += letters[random.bounded(int(letters.size()))];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const QString pattern = randomText(8, QStringLiteral("#*/0a"));
        const QString value = randomText(12, alphabet);
        QVERIFY2(matches(value, pattern) == asRegex(pattern).match(value).hasMatch(),
                 qPrintable(value + u" ~ " + pattern));
        // Normalisation only ever removes leading zeros.
        const QString normal = normalizedConfirmationNumber(value);
        QVERIFY(value.endsWith(normal) || value.mid(1).startsWith(normal) || value.mid(2).startsWith(normal));
        readShortDate(value);
    }
}

void TestIdentifiers::hostileInputIsHandled()
{
    const QString longStars(5000, u'*');
    const QString longValue = QString(100000, u'1') + u'x';
    QVERIFY(!matches(longValue, QString(longStars + u'#')));
    QVERIFY(matches(longValue, u"#*x"));
    QVERIFY(!isSubmittableConfirmationNumber(longValue));
    QCOMPARE(normalizedConfirmationNumber(QString(100, u'0') + u'/').size(), 101); // five digits first
    QCOMPARE(normalizedConfirmationNumber(QStringLiteral("012/") + QString(100, u'1')).size(), 20);
    QCOMPARE(readShortDate(longValue).status, ShortDate::Invalid);
    QCOMPARE(readShortDate(QStringLiteral("01'02'03")).status, ShortDate::Invalid);
}

void TestIdentifiers::confirmationNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("onlyDigitsAndSlashes");
    QTest::addColumn<bool>("submittable");
    QTest::newRow("14 digits") << "12345678901234" << true << true;
    QTest::newRow("13 digits") << "1234567890123" << true << true;
    QTest::newRow("old form") << "082/00123456" << true << true;
    QTest::newRow("hyphen") << "082-00123456" << false << false;
    QTest::newRow("short after slash") << "082/1234" << true << false;
    QTest::newRow("empty") << "" << true << false;
    QTest::newRow("letter O for zero") << "O82/00123456" << false << false;
}

void TestIdentifiers::confirmationNumbers()
{
    QFETCH(QString, number);
    QFETCH(bool, onlyDigitsAndSlashes);
    QFETCH(bool, submittable);
    QCOMPARE(hasOnlyDigitsAndSlashes(number), onlyDigitsAndSlashes);
    QCOMPARE(isSubmittableConfirmationNumber(number), submittable);
}

void TestIdentifiers::normalisation_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("14 digits with zeros") << "00012345678901" << "00012345678901";
    QTest::newRow("one zero") << "082/00123456" << "82/00123456";
    QTest::newRow("two zeros") << "0082/00123456" << "82/00123456";
    QTest::newRow("third zero stays") << "0007/12345678" << "07/12345678";
    QTest::newRow("five digits first") << "00082/12345678" << "00082/12345678";
    QTest::newRow("no zero") << "182/00123456" << "182/00123456";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("three zeros keep two") << "000/12345678" << "00/12345678";
    QTest::newRow("two zeros stay") << "00/12345678" << "00/12345678";
    QTest::newRow("one zero stays") << "0/12345678" << "0/12345678";
}

void TestIdentifiers::normalisation()
{
    QFETCH(QString, number);
    QFETCH(QString, expected);
    QCOMPARE(normalizedConfirmationNumber(number), expected);
    // Every print normalises again: nothing changes the second time.
    QCOMPARE(normalizedConfirmationNumber(expected), expected);
}

void TestIdentifiers::normalisationIsStable()
{
    // Numbers of digits and slashes (the only ones the check before the
    // normalisation lets through), rich in zeros.
    QRandomGenerator random(20241204);
    for (int i = 0; i < 20000; ++i) {
        QString number;
        const int length = random.bounded(1, 16);
        for (int k = 0; k < length; ++k) {
            const int pick = random.bounded(10);
            number += pick < 5 ? u'0' : pick < 7 ? u'/' : QChar(u'0' + random.bounded(10));
        }
        const QString once = normalizedConfirmationNumber(number);
        QVERIFY2(normalizedConfirmationNumber(once) == once, qPrintable(number));
    }
}

void TestIdentifiers::insuredNumbers()
{
    QVERIFY(isHealthNumber(u"123456789"));
    QVERIFY(!isHealthNumber(u"12345678"));
    QVERIFY(isSubmittableInsuredNumber(u"12345678"));
    QVERIFY(isSubmittableInsuredNumber(u"123456789"));
    QVERIFY(!isSubmittableInsuredNumber(u"1234567890"));
    QVERIFY(!isSubmittableInsuredNumber(u"1234 5678"));
    QVERIFY(kInsuredNumberHelp.contains(QStringLiteral("\r\nAko imate broj osigurane osobe")));
}

void TestIdentifiers::shortDates_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("status");
    QTest::addColumn<QDate>("date");
    QTest::newRow("six digits") << "010203" << int(ShortDate::Valid) << QDate(2003, 2, 1);
    QTest::newRow("dots") << "01.02.03" << int(ShortDate::Valid) << QDate(2003, 2, 1);
    QTest::newRow("trailing dot") << "01.02.03." << int(ShortDate::Valid) << QDate(2003, 2, 1);
    QTest::newRow("four-digit year, dot") << "15.06.1995." << int(ShortDate::Valid) << QDate(1995, 6, 15);
    QTest::newRow("pivot 29") << "31.12.29" << int(ShortDate::Valid) << QDate(2029, 12, 31);
    QTest::newRow("pivot 30") << "01.01.30" << int(ShortDate::Valid) << QDate(1930, 1, 1);
    QTest::newRow("leap day") << "29.02.24" << int(ShortDate::Valid) << QDate(2024, 2, 29);
    QTest::newRow("no leap day") << "29.02.23" << int(ShortDate::Invalid) << QDate();
    QTest::newRow("day 32") << "32.01.24" << int(ShortDate::Invalid) << QDate();
    QTest::newRow("month 13") << "011324" << int(ShortDate::Invalid) << QDate();
    QTest::newRow("one-digit day") << "1.2.03" << int(ShortDate::Invalid) << QDate();
    QTest::newRow("words") << "danas" << int(ShortDate::Invalid) << QDate();
    QTest::newRow("empty") << "" << int(ShortDate::Cancelled) << QDate();
}

void TestIdentifiers::shortDates()
{
    QFETCH(QString, answer);
    QFETCH(int, status);
    QFETCH(QDate, date);
    const ShortDate read = readShortDate(answer);
    QCOMPARE(int(read.status), status);
    QCOMPARE(read.date, date);
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestIdentifiers)
#include "tst_identifiers.moc"
