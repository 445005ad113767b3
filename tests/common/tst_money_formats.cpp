#include "common/formats.h"
#include "common/money.h"

#include <QTest>

class TestMoneyFormats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundingConstants_data();
    void roundingConstants();
    void singlePrecisionFollowsFloatArithmetic();
    void numberPatterns_data();
    void numberPatterns();
    void roundsHalfAwayOnDecimalDigits();
    void generalNumbers_data();
    void generalNumbers();
    void datesAndTimes();
};

void TestMoneyFormats::roundingConstants_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("expected");
    // A remainder of 0.49 of a cent already rounds up with 0.51.
    QTest::newRow("0.51 tips at .49") << 12.3449 << money::kLine << 12.35;
    QTest::newRow("0.51 keeps below .49") << 12.3448 << money::kLine << 12.34;
    QTest::newRow("price 33.335") << 33.335 << money::kLine << 33.34;
    QTest::newRow("0.5 half") << 0.125 << money::kHalf << 0.13;
    QTest::newRow("0.5 below half") << 0.1249 << money::kHalf << 0.12;
    QTest::newRow("0.501 keeps .49") << 10.0049 << money::kHalfUp << 10.00;
    QTest::newRow("0.509") << 10.00491 << money::kNearlyUp << 10.01;
    QTest::newRow("negative cuts down") << -1.006 << money::kHalf << -1.01;
    QTest::newRow("whole") << 25.0 << money::kLine << 25.0;
}

void TestMoneyFormats::roundingConstants()
{
    QFETCH(double, amount);
    QFETCH(double, k);
    QFETCH(double, expected);
    QCOMPARE(money::roundCents(amount, k), expected);
}

void TestMoneyFormats::singlePrecisionFollowsFloatArithmetic()
{
    // 0.1f * 3 is 0.3000000119 in float: the float path must see that value.
    const float x = 0.1f * 3.0f;
    QCOMPARE(money::roundCents(x, 0.5f), 0.3f);
    QCOMPARE(money::roundCents(8.83f * 0.2f, 0.5f), 1.77f);
}

void TestMoneyFormats::numberPatterns_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    const QString hr = QStringLiteral("hr_HR"), en = QStringLiteral("en_US");
    QTest::newRow("hr 0.00") << hr << 12.5 << "0.00" << "12,50";
    QTest::newRow("en 0.00") << en << 12.5 << "0.00" << "12.50";
    QTest::newRow("hr zero") << hr << 0.0 << "0.00" << "0,00";
    QTest::newRow("hr small") << hr << 0.07 << "0.00" << "0,07";
    QTest::newRow("hr grouping") << hr << 1234567.891 << "#,##0.00" << "1.234.567,89";
    QTest::newRow("en grouping") << en << 1234567.891 << "#,##0.00" << "1,234,567.89";
    QTest::newRow("grouping below thousand") << hr << 999.999 << "#,##0.00" << "1.000,00";
    QTest::newRow("four decimals") << hr << 0.0425 << "0.0000" << "0,0425";
    QTest::newRow("price list") << en << 12345.5 << "#,##0.0000" << "12,345.5000";
    QTest::newRow("000") << hr << 7.0 << "000" << "007";
    QTest::newRow("0000 rounds") << hr << 41.6 << "0000" << "0042";
    QTest::newRow("00000000") << hr << 1234.0 << "00000000" << "00001234";
    QTest::newRow("kuna") << hr << 94.181 << "(0.00 kn)" << "(94,18 kn)";
    QTest::newRow("euro in brackets") << en << 1.5 << "(0.00 €)" << "(1.50 €)";
    QTest::newRow("euro total") << hr << 2500.0 << "#,##0.00 €" << "2.500,00 €";
    QTest::newRow("negative") << hr << -3.456 << "0.00" << "-3,46";
    QTest::newRow("negative zero") << hr << -0.001 << "0.00" << "0,00";
}

void TestMoneyFormats::numberPatterns()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(format::number(value, pattern, QLocale(locale)), expected);
}

void TestMoneyFormats::roundsHalfAwayOnDecimalDigits()
{
    // 2.675 is 2.67499999... in binary; the shown digits say 2.675.
    QCOMPARE(format::number(2.675, u"0.00", QLocale::c()), QStringLiteral("2.68"));
    QCOMPARE(format::number(1.005, u"0.00", QLocale::c()), QStringLiteral("1.01"));
    QCOMPARE(format::number(0.5, u"000", QLocale::c()), QStringLiteral("001"));
    QCOMPARE(format::number(9.995, u"0.00", QLocale::c()), QStringLiteral("10.00"));
    QCOMPARE(format::number(1e-9, u"0.00", QLocale::c()), QStringLiteral("0.00"));
    QCOMPARE(format::number(std::nan(""), u"0.00", QLocale::c()), QStringLiteral("0.00"));
}

void TestMoneyFormats::datesAndTimes()
{
    const QDate d(2024, 3, 5);
    QCOMPARE(format::date(d, u"dd.MM.yyyy"), QStringLiteral("05.03.2024"));
    QCOMPARE(format::date(d, u"dd.MM.yy"), QStringLiteral("05.03.24"));
    QCOMPARE(format::date(QDate(), u"dd.MM.yyyy"), QString());
    // The patterns written directly agree with the toolkit's own.
    for (const QDate& day : {QDate(2024, 12, 4), QDate(1999, 1, 31), QDate(2030, 10, 9), QDate(1000, 2, 1)}) {
        for (const char16_t* pattern : {u"dd.MM.yyyy", u"dd.MM.yyyy.", u"dd.MM.yy", u"ddMMyy", u"yyyy-MM-dd", u"d.M.yyy"})
            QCOMPARE(format::date(day, pattern), day.toString(QStringView(pattern)));
    }
    QCOMPARE(format::time(QTime(7, 5, 9), u"HH:mm:ss"), QStringLiteral("07:05:09"));
}

void TestMoneyFormats::generalNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 32767.0 << "32767";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("fifteen digits") << 999999999999999.0 << "999999999999999";
    QTest::newRow("sixteen digits") << 1e15 << "1000000000000000";
    QTest::newRow("fraction") << 2.5 << "2,5";
    QTest::newRow("long fraction") << 0.1 + 0.2 << "0,3";
    QTest::newRow("small") << 0.00001 << "0,00001";
}

void TestMoneyFormats::generalNumbers()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(format::general(value, QLocale(QLocale::Croatian, QLocale::Croatia)), expected);
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestMoneyFormats)
#include "tst_money_formats.moc"
