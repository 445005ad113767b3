#include "common/cp1250.h"
#include "patients/recall.h"
#include "register_fixture.h"

#include <QFile>
#include <QTest>
#include <QTextStream>

using patients::RecallEntry;

// Who is due for a check: the selection by the date of the last visit, the
// report's bytes, the menu's command and the tool's.
class TestRecall : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }
    void selectionByLastVisit();
    void monthsEndingOnAShorterMonth();
    void reportBytes();
    void commandAsksAndShowsTheReport();
    void toolWritesTheReportOrSaysWhy();

private:
    // Patients numbered 1 to 6 in the register of the fixture.
    static void fill(RegisterFixture& f);
    static QStringList names(const std::vector<RecallEntry>& due)
    {
        QStringList n;
        for (const RecallEntry& e : due)
            n << e.surname;
        return n;
    }
    // A report line with texts starting at the given columns (from 1).
    static QString columns(const QList<std::pair<int, QString>>& parts)
    {
        QString line;
        for (const auto& [column, text] : parts)
            line = line.leftJustified(column - 1, u' ') + text;
        return line;
    }
};

void TestRecall::fill(RegisterFixture& f)
{
    const qint64 anic = f.patient(QStringLiteral("ANIĆ"), QStringLiteral("IVA"));
    const qint64 babic = f.patient(QStringLiteral("BABIĆ"), QStringLiteral("ANA"));
    const qint64 cvitan = f.patient(QStringLiteral("CVITAN"), QStringLiteral("PERO"));
    const qint64 dugi = f.patient(QStringLiteral("DUGI"), QStringLiteral("MARKO"), QStringLiteral("3011955330012"),
                                  {{QStringLiteral("Datrodj"), QStringLiteral("30.11.1955")},
                                   {QStringLiteral("Telefon"), QStringLiteral("091 234 5678")},
                                   {QStringLiteral("Ulica"), QStringLiteral("ILICA 5")},
                                   {QStringLiteral("Postbr"), QStringLiteral("10000")},
                                   {QStringLiteral("Mjesto"), QStringLiteral("ZAGREB")}});
    f.patient(QStringLiteral("ŽAGAR"), QStringLiteral("ANA"));
    f.patient(QStringLiteral("ČOLIĆ"), QStringLiteral("JOSIP"), {}, {{QStringLiteral("Mjesto"), QStringLiteral("SPLIT")}});
    // A row a new patient left empty.
    f.insert(QStringLiteral("Popis"), {{QStringLiteral("Datupisa"), QDate(2020, 1, 1)}});
    // Today is 15 March 2026; 24 months back is 15 March 2024.
    f.visit(anic, QDate(2024, 3, 15));  // exactly 24 months ago: due
    f.visit(babic, QDate(2024, 3, 16)); // a day less: not yet
    f.visit(cvitan, QDate(2020, 1, 1));
    f.visit(cvitan, QDate(2025, 6, 1)); // an old visit and a recent one
    f.visit(dugi, QDate(2023, 11, 30));
    f.visit(dugi, QDate(2022, 2, 2));   // the last visit is not the last row
}

void TestRecall::selectionByLastVisit()
{
    RegisterFixture f;
    fill(f);
    const auto due = patients::dueForCheck(*f.db, f.clock.today(), 24);
    QVERIFY(due);
    QCOMPARE(names(*due), (QStringList{"DUGI", "ANIĆ", "ČOLIĆ", "ŽAGAR"}));
    QCOMPARE(due->at(0).lastVisit, QDate(2023, 11, 30));
    QCOMPARE(due->at(0).number, 4);
    QVERIFY(!due->at(2).lastVisit.isValid());
    // A shorter interval takes in the recent ones too.
    QCOMPARE(names(*patients::dueForCheck(*f.db, f.clock.today(), 9)),
             (QStringList{"DUGI", "ANIĆ", "BABIĆ", "CVITAN", "ČOLIĆ", "ŽAGAR"}));
    // An empty register has nobody to call.
    RegisterFixture empty;
    QVERIFY(patients::dueForCheck(*empty.db, empty.clock.today(), 24)->empty());
}

void TestRecall::monthsEndingOnAShorterMonth()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("A"), QStringLiteral("B"));
    f.visit(p, QDate(2024, 2, 29));
    // 31 May 2026 less 27 months is the last day of February 2024.
    QCOMPARE(patients::dueForCheck(*f.db, QDate(2026, 5, 31), 27)->size(), size_t(1));
    QCOMPARE(patients::dueForCheck(*f.db, QDate(2026, 5, 28), 27)->size(), size_t(0));
}

void TestRecall::reportBytes()
{
    RegisterFixture f;
    fill(f);
    const QByteArray bytes = patients::recallReport(*patients::dueForCheck(*f.db, f.clock.today(), 24), f.clock.today(), 24);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.contains("\n\n"));
    const QStringList lines = cp1250::decode(bytes).split(QStringLiteral("\r\n"));
    const QStringList expected = {
        QStringLiteral("Pacijenti za kontrolu: od zadnje posjete prošlo je najmanje 24 mj. (na dan 15.03.2026.)"),
        QString(),
        columns({{1, "Šifra"}, {8, "Prezime i ime"}, {38, "Datum rođ."}, {51, "Telefon"}, {67, "Zadnja posjeta"}}),
        QString(),
        columns({{1, " 4 "}, {8, "DUGI MARKO"}, {38, "30.11.1955"}, {51, "091 234 5678"}, {67, "30.11.2023."}}),
        columns({{8, "ILICA 5, 10000 ZAGREB"}}),
        columns({{1, " 1 "}, {8, "ANIĆ IVA"}, {67, "15.03.2024."}}),
        columns({{1, " 6 "}, {8, "ČOLIĆ JOSIP"}, {67, "bez posjete"}}),
        columns({{8, "SPLIT"}}),
        columns({{1, " 5 "}, {8, "ŽAGAR ANA"}, {67, "bez posjete"}}),
        QString(),
        columns({{8, "Ukupno pacijenata za kontrolu: 4"}}),
        QString(),
    };
    QCOMPARE(lines, expected);
}

void TestRecall::commandAsksAndShowsTheReport()
{
    RegisterFixture f;
    fill(f);
    QStringList shown;
    patients::RecallCommand command(*f.db, f.services(), [&shown](const QString& path) { shown << path; });

    f.dialogs.answer(QString()); // Cancel
    QVERIFY(command.run().isEmpty());
    QCOMPARE(f.dialogs.shown().back().kind, ScriptedDialogs::Shown::Input);
    QCOMPARE(f.dialogs.shown().back().title, QStringLiteral("Pacijenti za kontrolu"));
    QVERIFY(!QFile::exists(QStringLiteral("Temp.txt")));

    for (const char* wrong : {"dvije godine", "0", "-3", "1201"}) {
        f.dialogs.answer(QString::fromLatin1(wrong));
        QVERIFY(command.run().isEmpty());
        QCOMPARE(f.dialogs.messages().last(), QStringLiteral("Broj mjeseci mora biti cijeli broj od 1 do 1200!"));
    }
    QVERIFY(shown.isEmpty());

    f.dialogs.acceptDefault(); // 24
    const QString path = command.run();
    QCOMPARE(shown, QStringList{path});
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), patients::recallReport(*patients::dueForCheck(*f.db, f.clock.today(), 24), f.clock.today(), 24));
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Temp.txt"));
}

void TestRecall::toolWritesTheReportOrSaysWhy()
{
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    {
        RegisterFixture f;
        fill(f);
        QCOMPARE(patients::runRecallTool({QStringLiteral("--months"), QStringLiteral("12")}, out, err), 0);
        out.flush();
        QVERIFY(outText.trimmed().endsWith(QStringLiteral("Temp.txt")));
        QFile file(outText.trimmed());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(cp1250::decode(file.readAll()).contains(QStringLiteral("najmanje 12 mj.")));
        QCOMPARE(patients::runRecallTool({QStringLiteral("--weeks"), QStringLiteral("3")}, out, err), 2);
        QCOMPARE(patients::runRecallTool({QStringLiteral("--months"), QStringLiteral("x")}, out, err), 1);
    }
    RegisterFixture none(false);
    errText.clear();
    QCOMPARE(patients::runRecallTool({}, out, err), 1);
    err.flush();
    QVERIFY(errText.contains(QStringLiteral("Pac.mdb")));

    RegisterFixture broken(false);
    broken.folder.touch(QStringLiteral("Pac.mdb"), "this is not a database file and it is long enough to tell");
    errText.clear();
    QCOMPARE(patients::runRecallTool({}, out, err), 1);
    err.flush();
    QVERIFY(errText.contains(QStringLiteral("Pac.mdb")));
    QVERIFY(!QFile::exists(QStringLiteral("Temp.txt")));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestRecall)
#include "tst_recall.moc"
