#include "data/record_set.h"
#include "data/sql_values.h"
#include "patients/patient_register.h"
#include "register_fixture.h"

#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using patients::PatientList;

// The patient list on a register in a temporary folder: its order, the
// search, the fields' rules, adding and counting, and the file's absence.
class TestPatientList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderFollowsTheCroatianAlphabet();
    void sortingByAColumnKeepsThePatient();
    void searchBySurnameAndNumberWrapsRound();
    void searchTextIsTakenLiterally();
    void dateOfBirthFromTheCitizensNumber_data();
    void dateOfBirthFromTheCitizensNumber();
    void leavingFieldsWritesCapitalsAndFillsTheBirthDate();
    void enterWalksTheFieldsAndComesBack();
    void abandonedNewPatientIsRemovedOnFirstOpen();
    void addingAndCounting();
    void missingRegisterIsOfferedAndMadePrivate();

private:
    static QStringList surnames(RecordSet& set)
    {
        QStringList names;
        for (int row = 0; row < set.rowCount(); ++row)
            names << set.value(row, u"prezime").toString() + u' ' + set.value(row, u"ime").toString();
        return names;
    }
};

void TestPatientList::orderFollowsTheCroatianAlphabet()
{
    RegisterFixture f;
    for (const char* surname : {"ŽAGAR", "ZEC", "ŠIMIĆ", "SAVIĆ", "ĐURIĆ", "DŽAJA", "DUGI", "ĆOSIĆ",
                                    "ČOLIĆ", "CVITAN", "LJUBIĆ", "LOVRIĆ"})
        f.patient(QString::fromUtf8(surname), QStringLiteral("ANA"));
    f.patient(QStringLiteral("CVITAN"), QStringLiteral("ČEDO"));
    f.patient(QStringLiteral("CVITAN"), QStringLiteral("BRANKO"));
    PatientList list(f.services());
    QVERIFY(list.open());
    QCOMPARE(surnames(list.patients()),
             (QStringList{"CVITAN ANA", "CVITAN BRANKO", "CVITAN ČEDO", "ČOLIĆ ANA", "ĆOSIĆ ANA", "DUGI ANA",
                          "DŽAJA ANA", "ĐURIĆ ANA", "LOVRIĆ ANA", "LJUBIĆ ANA", "SAVIĆ ANA", "ŠIMIĆ ANA",
                          "ZEC ANA", "ŽAGAR ANA"}));
    QCOMPARE(list.patients().current(), 0);
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestPatientList::sortingByAColumnKeepsThePatient()
{
    RegisterFixture f;
    f.patient(QStringLiteral("ANIĆ"), QStringLiteral("IVA"), QStringLiteral("3001990330000"));
    f.patient(QStringLiteral("BABIĆ"), QStringLiteral("ANA"), QStringLiteral("0101980330000"));
    f.patient(QStringLiteral("CIGLAR"), QStringLiteral("ŽANA"), QStringLiteral("1505970330000"));
    PatientList list(f.services());
    QVERIFY(list.open());
    list.patients().setCurrent(1); // BABIĆ
    QVERIFY(list.sortBy(2));
    QCOMPARE(surnames(list.patients()), (QStringList{"BABIĆ ANA", "CIGLAR ŽANA", "ANIĆ IVA"}));
    QCOMPARE(list.patients().field(u"prezime").toString(), QStringLiteral("BABIĆ"));
    QVERIFY(list.sortBy(1));
    QCOMPARE(surnames(list.patients()), (QStringList{"BABIĆ ANA", "ANIĆ IVA", "CIGLAR ŽANA"}));
}

void TestPatientList::searchBySurnameAndNumberWrapsRound()
{
    RegisterFixture f;
    f.patient(QStringLiteral("ANIĆ"), QStringLiteral("IVA"), QStringLiteral("1503985330001"));
    f.patient(QStringLiteral("KOS"), QStringLiteral("ANA"), QStringLiteral("0101970330002"));
    f.patient(QStringLiteral("KOVAČ"), QStringLiteral("IVO"), QStringLiteral("1503990330003"));
    f.patient(QStringLiteral("ČOVIĆ"), QStringLiteral("MARA"), QStringLiteral("0202960330004"));
    f.patient(QStringLiteral("MARIĆ"), QStringLiteral("PERO"), QStringLiteral("0303950330005"));
    PatientList list(f.services());
    QVERIFY(list.open());
    RecordSet& set = list.patients();
    auto current = [&set] { return set.field(u"prezime").toString(); };

    list.search(QStringLiteral("ko"));
    QCOMPARE(current(), QStringLiteral("KOS"));
    list.search(QStringLiteral("kov"));
    QCOMPARE(current(), QStringLiteral("KOVAČ"));
    list.search(QStringLiteral("čov")); // a Croatian letter in small letters
    QCOMPARE(current(), QStringLiteral("ČOVIĆ"));
    list.search(QStringLiteral("1503"));
    QCOMPARE(current(), QStringLiteral("ANIĆ"));

    // Enter goes to the next match and from the last one back to the first.
    list.searchNext(QStringLiteral("1503"));
    QCOMPARE(current(), QStringLiteral("KOVAČ"));
    list.searchNext(QStringLiteral("1503"));
    QCOMPARE(current(), QStringLiteral("ANIĆ"));
    list.search(QStringLiteral("ko"));
    list.searchNext(QStringLiteral("ko"));
    list.searchNext(QStringLiteral("ko"));
    QCOMPARE(current(), QStringLiteral("KOS"));

    // Nothing found: the first patient, without a message.
    set.setCurrent(3);
    list.search(QStringLiteral("zz"));
    QCOMPARE(set.current(), 0);
    list.searchNext(QStringLiteral("zz"));
    QCOMPARE(set.current(), 0);
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestPatientList::searchTextIsTakenLiterally()
{
    RegisterFixture f;
    f.patient(QStringLiteral("OBRAN"), QStringLiteral("A"));
    f.patient(QStringLiteral("O'BRIEN"), QStringLiteral("B"));
    f.patient(QStringLiteral("O%NEIL"), QStringLiteral("C"));
    f.patient(QStringLiteral("OX"), QStringLiteral("D"));
    PatientList list(f.services());
    QVERIFY(list.open());
    list.search(QStringLiteral("o'"));
    QCOMPARE(list.patients().field(u"prezime").toString(), QStringLiteral("O'BRIEN"));
    list.search(QStringLiteral("o%n"));
    QCOMPARE(list.patients().field(u"prezime").toString(), QStringLiteral("O%NEIL"));
    list.search(QStringLiteral("o*x"));
    QCOMPARE(list.patients().current(), 0);
}

void TestPatientList::dateOfBirthFromTheCitizensNumber_data()
{
    QTest::addColumn<QString>("jmbg");
    QTest::addColumn<QString>("born");
    QTest::newRow("last century") << "1503985330012" << "15.03.1985";
    QTest::newRow("this century") << "0107003330012" << "01.07.2003";
    QTest::newRow("seven characters") << "3112999" << "31.12.1999";
    QTest::newRow("year 801 still last millennium's") << "0101801" << "01.01.1801";
    QTest::newRow("year 800 counts as 2800") << "0101800" << "01.01.2800";
    QTest::newRow("six characters") << "150398" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("no such day") << "3102985330012" << "";
    QTest::newRow("letters") << "15A3985330012" << "";
}

void TestPatientList::dateOfBirthFromTheCitizensNumber()
{
    QFETCH(QString, jmbg);
    QFETCH(QString, born);
    QCOMPARE(patients::dateOfBirthFromJmbg(jmbg).value_or(QString()), born);
}

void TestPatientList::leavingFieldsWritesCapitalsAndFillsTheBirthDate()
{
    RegisterFixture f;
    const qint64 filled = f.patient(QStringLiteral("A"), QStringLiteral("A"), {},
                                    {{QStringLiteral("Datrodj"), QStringLiteral("01.01.1950")}});
    f.patient(QStringLiteral("B"), QStringLiteral("B"));
    PatientList list(f.services());
    QVERIFY(list.open());
    RecordSet& set = list.patients();
    set.setCurrent(1);
    set.setField(u"prezime", QStringLiteral("kovačević"));
    QVERIFY(!list.leaveField(QStringLiteral("prezime")));
    set.setField(u"Ulica", QStringLiteral("ulica šoštarića 4"));
    list.leaveField(QStringLiteral("Ulica"));
    set.setField(u"JMBG", QStringLiteral("1503985330012"));
    QVERIFY(list.leaveField(QStringLiteral("JMBG")));
    // What the file holds, read through a connection of its own.
    Database check(QStringLiteral("Pac.mdb"));
    const qint64 number = set.field(u"Broj").toLongLong();
    QCOMPARE(check.scalar(QStringLiteral("SELECT prezime FROM Popis WHERE Broj = ?"), {number}).toString(),
             QStringLiteral("KOVAČEVIĆ"));
    QCOMPARE(check.scalar(QStringLiteral("SELECT Ulica FROM Popis WHERE Broj = ?"), {number}).toString(),
             QStringLiteral("ULICA ŠOŠTARIĆA 4"));
    QCOMPARE(check.scalar(QStringLiteral("SELECT Datrodj FROM Popis WHERE Broj = ?"), {number}).toString(),
             QStringLiteral("15.03.1985"));

    // A date of birth that is there is never overwritten.
    set.setCurrent(0);
    set.setField(u"JMBG", QStringLiteral("0107003330012"));
    QVERIFY(!list.leaveField(QStringLiteral("JMBG")));
    QCOMPARE(check.scalar(QStringLiteral("SELECT Datrodj FROM Popis WHERE Broj = ?"), {filled}).toString(),
             QStringLiteral("01.01.1950"));
    // The read-only fields are left as they are.
    QVERIFY(!list.leaveField(QStringLiteral("Broj")));
}

void TestPatientList::enterWalksTheFieldsAndComesBack()
{
    const auto& fields = patients::patientFields();
    QCOMPARE(fields.size(), size_t(14));
    QCOMPARE(fields.at(1).caption, QStringLiteral("Ime"));
    QCOMPARE(fields.at(11).field, QStringLiteral("Izabranidr"));
    QVERIFY(fields.at(12).readOnly && fields.at(13).readOnly && !fields.at(11).readOnly);
    QCOMPARE(patients::nextPatientPosition(0), 1);
    QCOMPARE(patients::nextPatientPosition(10), 11);
    QCOMPARE(patients::nextPatientPosition(11), 0);
    QCOMPARE(patients::nextPatientPosition(12), 0);
    QCOMPARE(patients::nextPatientPosition(13), 0);
}

void TestPatientList::abandonedNewPatientIsRemovedOnFirstOpen()
{
    RegisterFixture f;
    f.insert(QStringLiteral("Popis"), {{QStringLiteral("Datupisa"), QDate(2026, 1, 2)}});
    f.insert(QStringLiteral("Popis"), {{QStringLiteral("prezime"), QString()}, {QStringLiteral("ime"), QString()},
                                       {QStringLiteral("Datupisa"), QDate(2026, 1, 3)}});
    // An empty patient whose visits were recorded stays.
    const qint64 withVisit = f.insert(QStringLiteral("Popis"), {{QStringLiteral("Datupisa"), QDate(2026, 1, 4)}});
    f.visit(withVisit, QDate(2026, 1, 4));
    f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    PatientList list(f.services());
    QVERIFY(list.open());
    QCOMPARE(list.patients().rowCount(), 2);
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT count(*) FROM Popis")).toInt(), 2);
    QCOMPARE(list.patients().value(0, u"Broj").toLongLong(), withVisit);
}

void TestPatientList::addingAndCounting()
{
    RegisterFixture f;
    f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    f.patient(QStringLiteral("BABIĆ"), QStringLiteral("ANA"));
    PatientList list(f.services());
    QVERIFY(list.open());
    f.dialogs.answer(false);
    QCOMPARE(list.addPatient(), -1);
    QCOMPARE(f.dialogs.shown().back().title, QStringLiteral("Upis novog pacijenta"));
    QCOMPARE(f.dialogs.shown().back().text,
             QStringLiteral("Želite li upisati novog pacijenta kliknite na OK i upišite sve podatke?"));
    QCOMPARE(f.dialogs.shown().back().kind, ScriptedDialogs::Shown::OkCancel);
    QCOMPARE(list.patients().rowCount(), 2);

    f.dialogs.answer(true);
    QCOMPARE(list.addPatient(), 2);
    RecordSet& set = list.patients();
    QCOMPARE(set.current(), 2);
    QCOMPARE(sqlvalue::toDate(set.field(u"Datupisa")), QDate(2026, 3, 15));
    QVERIFY(set.field(u"Broj").toLongLong() > 0);
    list.showCount();
    QCOMPARE(f.dialogs.messages().last(), QStringLiteral("Ukupan broj upisanih pacijenata je 3"));
}

void TestPatientList::missingRegisterIsOfferedAndMadePrivate()
{
    RegisterFixture f(false);
    {
        PatientList list(f.services());
        f.dialogs.answer(false);
        QVERIFY(!list.open());
        QVERIFY(f.dialogs.messages().first().contains(QStringLiteral("Pac.mdb")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("Pac.mdb")));
    }
    f.dialogs.clear();
    PatientList list(f.services());
    f.dialogs.answer(true);
    QVERIFY(list.open());
    QCOMPARE(list.patients().rowCount(), 0);
    struct stat st {};
    QCOMPARE(::stat("Pac.mdb", &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0600);
    // An empty register: the search and the count work on nothing.
    list.search(QStringLiteral("a"));
    list.searchNext(QStringLiteral("a"));
    list.showCount();
    QCOMPARE(f.dialogs.messages().last(), QStringLiteral("Ukupan broj upisanih pacijenata je 0"));

    // A file that is no database is named in the message.
    RegisterFixture g(false);
    g.folder.touch(QStringLiteral("Pac.mdb"), "not a database at all, but long enough to be read as one");
    PatientList broken(g.services());
    QVERIFY(!broken.open());
    QVERIFY(g.dialogs.messages().last().contains(QStringLiteral("Pac.mdb")));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestPatientList)
#include "tst_patient_list.moc"
