#include "data/croatian_collation.h"
#include "data/database.h"
#include "support/temp_folder.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

class TestCroatianCollation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesSortInTheCroatianAlphabet();
    void everyConnectionSortsTheSameWay();
};

namespace {

// Surnames in the order a Croatian reader expects them.
const QStringList kOrdered = {
    QStringLiteral("Babić"),   QStringLiteral("Cvitan"),    QStringLiteral("Cvitanić"), QStringLiteral("čačić"),
    QStringLiteral("Čolak"),   QStringLiteral("Ćosić"),     QStringLiteral("Ćurić"),    QStringLiteral("Dukić"),
    QStringLiteral("Dzakula"), QStringLiteral("Džaja"),     QStringLiteral("DŽEKO"),    QStringLiteral("Đurić"),
    QStringLiteral("Elez"),    QStringLiteral("Lovrić"),    QStringLiteral("Ljubić"),   QStringLiteral("Nikić"),
    QStringLiteral("Njegovan"), QStringLiteral("Sertić"),   QStringLiteral("sušić"),    QStringLiteral("Šimunović"),
    QStringLiteral("Tomić"),   QStringLiteral("Vuković"),   QStringLiteral("Zorić"),    QStringLiteral("Žužić"),
};

QStringList shuffled(QStringList list)
{
    std::shuffle(list.begin(), list.end(), *QRandomGenerator::global());
    return list;
}

} // namespace

void TestCroatianCollation::namesSortInTheCroatianAlphabet()
{
    for (int round = 0; round < 20; ++round) {
        QStringList names = shuffled(kOrdered);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return croatian::compare(a, b) < 0; });
        QCOMPARE(names, kOrdered);
    }
    // Case does not decide the order of letters, only of equal names.
    QVERIFY(croatian::compare(u"šimić", u"Sabol") > 0);
    QVERIFY(croatian::compare(u"ana", u"Ana") < 0);
    QVERIFY(croatian::compare(u"Ana", u"ana") > 0);
    QCOMPARE(croatian::compare(u"Ana", u"Ana"), 0);
    // Digits before letters, a shorter name before its longer forms.
    QVERIFY(croatian::compare(u"1. kat", u"A") < 0);
    QVERIFY(croatian::compare(u"Ban", u"Banić") < 0);
}

void TestCroatianCollation::everyConnectionSortsTheSameWay()
{
    TempFolder folder;
    {
        Database db(QStringLiteral("proba.mdb"), Database::Mode::Create);
        QVERIFY2(db.isOpen(), qPrintable(db.error()));
        QVERIFY(db.exec(QStringLiteral("CREATE TABLE Rn (Rnbr INTEGER, Prezime TEXT)")));
        int number = 0;
        for (const QString& name : shuffled(kOrdered))
            QVERIFY(db.exec(QStringLiteral("INSERT INTO Rn VALUES (?, ?)"), {++number, name}));
    }
    // A second connection (a command's own) knows the collation too.
    for (int connection = 0; connection < 2; ++connection) {
        Database db(QStringLiteral("proba.mdb"));
        QSqlQuery q(db.handle());
        QVERIFY(q.exec(QStringLiteral("SELECT Prezime FROM Rn ORDER BY Prezime COLLATE ") + croatian::kCollation));
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        QCOMPARE(names, kOrdered);
    }
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestCroatianCollation)
#include "tst_croatian_collation.moc"
