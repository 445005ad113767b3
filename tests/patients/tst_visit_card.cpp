#include "support/recording_canvas.h"
#include "data/record_set.h"
#include "data/sql_values.h"
#include "patients/visit_card.h"
#include "patients/visit_print.h"
#include "register_fixture.h"

#include <QTest>

using patients::VisitCard;

// The patient's card: the visits' order, the sign and correction fields,
// the card without visits, the saves, the previous visit, and the print of
// a visit drawn on a recording canvas.
class TestVisitCard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void visitsAreInDateOrderAcrossYears();
    void signAndCorrectionKindCycles();
    void cardWithoutVisitsIsReadOnlyUntilANewVisit();
    void editsAreSavedWhenAnotherVisitBecomesCurrent();
    void previousVisitShowsRefractionAndCorrection();
    void printShowsOnlyWhatWasFilled();
    void printPutsEachEyeInItsRow();

private:
    static QStringList dates(RecordSet& set)
    {
        QStringList d;
        for (int row = 0; row < set.rowCount(); ++row)
            d << sqlvalue::toDate(set.value(row, u"Datum")).toString(QStringLiteral("dd.MM.yyyy"));
        return d;
    }
};

void TestVisitCard::visitsAreInDateOrderAcrossYears()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    const qint64 other = f.patient(QStringLiteral("BABIĆ"), QStringLiteral("ANA"));
    f.visit(p, QDate(2024, 3, 1), {{QStringLiteral("Dg1"), QStringLiteral("first of 1 March")}});
    f.visit(p, QDate(2023, 12, 31));
    f.visit(p, QDate(2025, 1, 15));
    f.visit(p, QDate(2024, 3, 1), {{QStringLiteral("Dg1"), QStringLiteral("second of 1 March")}});
    f.visit(other, QDate(2026, 1, 1));
    VisitCard card(*f.db, f.services());
    QVERIFY(card.load(p));
    QCOMPARE(dates(card.visits()), (QStringList{"31.12.2023", "01.03.2024", "01.03.2024", "15.01.2025"}));
    QCOMPARE(card.visits().value(1, u"Dg1").toString(), QStringLiteral("first of 1 March"));
    // The card opens on the last visit; picking the first shows it.
    QCOMPARE(card.visits().current(), 3);
    QVERIFY(card.select(0));
    QCOMPARE(sqlvalue::toDate(card.currentVisit().value(QStringLiteral("Datum"))), QDate(2023, 12, 31));
    // Every activation goes back to the last visit.
    QVERIFY(card.load(p));
    QCOMPARE(card.visits().current(), 3);
    QVERIFY(card.load(other));
    QCOMPARE(dates(card.visits()), QStringList{"01.01.2026"});
}

void TestVisitCard::signAndCorrectionKindCycles()
{
    QCOMPARE(patients::nextSign(QString()), QStringLiteral("-"));
    QCOMPARE(patients::nextSign(QStringLiteral("-")), QStringLiteral("+"));
    QCOMPARE(patients::nextSign(QStringLiteral("+")), QStringLiteral("-"));
    QCOMPARE(patients::nextSign(QStringLiteral("x")), QStringLiteral("+"));

    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    f.visit(p, QDate(2026, 1, 1), {{QStringLiteral("KorSnkl"), QStringLiteral("prizme")}});
    VisitCard card(*f.db, f.services());
    QVERIFY(card.load(p));
    QStringList signs;
    for (const char* field : {"A2", "A6", "A10", "A12", "A17", "A19"}) {
        QVERIFY(card.toggleSign(QString::fromLatin1(field)));
        signs << card.currentVisit().value(QString::fromLatin1(field)).toString();
        QVERIFY(card.toggleSign(QString::fromLatin1(field)));
        signs << card.currentVisit().value(QString::fromLatin1(field)).toString();
    }
    QCOMPARE(signs, (QStringList{"-", "+", "-", "+", "-", "+", "-", "+", "-", "+", "-", "+"}));
    QVERIFY(!card.toggleSign(QStringLiteral("A3"))); // a value, not a sign

    QStringList kinds;
    for (int click = 0; click < 3; ++click) {
        QVERIFY(card.cycleCorrectionKind(QStringLiteral("KorDnkl")));
        kinds << card.currentVisit().value(QStringLiteral("KorDnkl")).toString();
    }
    QCOMPARE(kinds, (QStringList{"naočale", "kont. leće", ""}));
    QVERIFY(card.cycleCorrectionKind(QStringLiteral("KorSnkl")));
    QCOMPARE(card.currentVisit().value(QStringLiteral("KorSnkl")).toString(), QStringLiteral("prizme"));
}

void TestVisitCard::cardWithoutVisitsIsReadOnlyUntilANewVisit()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    VisitCard card(*f.db, f.services());
    QVERIFY(card.load(p));
    QVERIFY(!card.isEditable());
    QVERIFY(!card.toggleSign(QStringLiteral("A2")));
    QVERIFY(!card.cycleCorrectionKind(QStringLiteral("KorDnkl")));
    QVERIFY(!card.previousVisit());

    f.dialogs.answer(false);
    QCOMPARE(card.addVisit(), -1);
    QCOMPARE(f.dialogs.shown().back().kind, ScriptedDialogs::Shown::YesNo);
    QCOMPARE(f.dialogs.shown().back().title, QStringLiteral("Nova posjeta"));
    QCOMPARE(f.dialogs.shown().back().text, QStringLiteral("Želite li otvoriti novu posjetu?"));
    QVERIFY(!card.isEditable());

    f.dialogs.answer(true);
    QCOMPARE(card.addVisit(), 0);
    QVERIFY(card.isEditable());
    QCOMPARE(dates(card.visits()), QStringList{"15.03.2026"});
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT Broj FROM Nalazi")).toLongLong(), p);
    // A second visit the same day comes after the first.
    card.visits().setField(u"Dg1", QStringLiteral("first"));
    f.dialogs.answer(true);
    QCOMPARE(card.addVisit(), 1);
    QVERIFY(card.load(p));
    QCOMPARE(card.visits().current(), 1);
    QCOMPARE(card.visits().value(0, u"Dg1").toString(), QStringLiteral("first"));
}

void TestVisitCard::editsAreSavedWhenAnotherVisitBecomesCurrent()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    const qint64 older = f.visit(p, QDate(2025, 1, 1));
    const qint64 newer = f.visit(p, QDate(2026, 1, 1));
    VisitCard card(*f.db, f.services());
    QVERIFY(card.load(p));
    card.visits().setField(u"Anamneza", QStringLiteral("Slabije vidi na daljinu.\nNosi naočale."));
    QVERIFY(card.select(0));
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT Anamneza FROM Nalazi WHERE Rbr = ?"), {newer}).toString(),
             QStringLiteral("Slabije vidi na daljinu.\nNosi naočale."));
    card.visits().setField(u"A43", QStringLiteral("Kontrola za godinu dana."));
    QVERIFY(card.save());
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT A43 FROM Nalazi WHERE Rbr = ?"), {older}).toString(),
             QStringLiteral("Kontrola za godinu dana."));
    // Another activation saves too.
    card.visits().setField(u"Komentar", QStringLiteral("x"));
    QVERIFY(card.load(p));
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT Komentar FROM Nalazi WHERE Rbr = ?"), {older}).toString(),
             QStringLiteral("x"));
}

void TestVisitCard::previousVisitShowsRefractionAndCorrection()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"));
    f.visit(p, QDate(2024, 5, 1),
            {{QStringLiteral("A10"), QStringLiteral("+")}, {QStringLiteral("A11"), QStringLiteral("1,50")},
             {QStringLiteral("A12"), QStringLiteral("-")}, {QStringLiteral("A13"), QStringLiteral("0,50")},
             {QStringLiteral("A14"), QStringLiteral("90")}, {QStringLiteral("KorDnkl"), QStringLiteral("naočale")},
             {QStringLiteral("KorD"), QStringLiteral("1,0")}, {QStringLiteral("A6"), QStringLiteral("-")},
             {QStringLiteral("A7"), QStringLiteral("2,00")}, {QStringLiteral("Addbliz"), QStringLiteral("1,25")}});
    f.visit(p, QDate(2026, 2, 1));
    VisitCard card(*f.db, f.services());
    QVERIFY(card.load(p));
    const auto previous = card.previousVisit();
    QVERIFY(previous);
    QCOMPARE(patients::refractionSummary(*previous),
             QStringLiteral("OD: sph +1,50  cyl -0,50  ax 90  naočale = 1,0\nOS: sph -2,00\nadd +1,25 Dsph"));
    QVERIFY(card.select(0));
    QVERIFY(!card.previousVisit());
}

namespace {

patients::VisitPrint samplePrint(const QVariantMap& visit)
{
    patients::VisitPrint p;
    p.shopName = QStringLiteral("OPTIKA ZJENICA");
    p.shopAddress = QStringLiteral("Ilica 1");
    p.shopTown = QStringLiteral("10000 Zagreb");
    p.patientNumber = 17;
    p.surname = QStringLiteral("HORVAT");
    p.name = QStringLiteral("IVAN");
    p.born = QStringLiteral("15.03.1985");
    p.visit = visit;
    p.visit.insert(QStringLiteral("Datum"), QStringLiteral("2026-03-15"));
    return p;
}

} // namespace

void TestVisitCard::printShowsOnlyWhatWasFilled()
{
    RecordingCanvas canvas;
    patients::drawVisit(canvas, samplePrint({{QStringLiteral("NormD"), QStringLiteral("0,8")},
                                             {QStringLiteral("A2"), QStringLiteral("+")}, // a sign without a value
                                             {QStringLiteral("A43"), QStringLiteral("Naočale za čitanje.")},
                                             {QStringLiteral("Anamneza"), QStringLiteral("private history")}}));
    const QStringList texts = canvas.texts();
    for (const char* expected : {"OPTIKA ZJENICA", "Ilica 1", "10000 Zagreb", "HORVAT IVAN", "15.03.1985",
                                     "17", "15.03.2026.", "OD (desno oko)", "Vid", "0,8", "Mišljenje:",
                                     "Naočale za čitanje.", "Potpis i pečat"})
        QVERIFY2(texts.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected)));
    // Nothing about the left eye, no empty columns, no empty captions, no
    // lone sign, and the history stays on the card.
    for (const char* absent : {"OS (lijevo oko)", "Sph (D)", "Cyl (D)", "Os (°)", "Adicija:", "Th.:",
                                   "Dg.:", "Kontrola za:", "+", "private history"})
        QVERIFY2(!texts.contains(QString::fromUtf8(absent)), qPrintable(QString::fromUtf8(absent)));
    bool signatureLine = false;
    for (const RecordingCanvas::Item& item : canvas.items())
        signatureLine = signatureLine || (item.kind == RecordingCanvas::Item::Line && item.y1 >= 250 && item.x1 > 100);
    QVERIFY(signatureLine);
}

void TestVisitCard::printPutsEachEyeInItsRow()
{
    RecordingCanvas canvas;
    patients::drawVisit(canvas, samplePrint({{QStringLiteral("A10"), QStringLiteral("+")},
                                             {QStringLiteral("A11"), QStringLiteral("1,50")},
                                             {QStringLiteral("A14"), QStringLiteral("90")},
                                             {QStringLiteral("A19"), QStringLiteral("-")},
                                             {QStringLiteral("A20"), QStringLiteral("0,75")},
                                             {QStringLiteral("A6"), QStringLiteral("-")},
                                             {QStringLiteral("A7"), QStringLiteral("3,00")},
                                             {QStringLiteral("KorSnkl"), QStringLiteral("kont. leće")},
                                             {QStringLiteral("Addbliz"), QStringLiteral("2,00")},
                                             {QStringLiteral("A44"), QStringLiteral("Kapi")}}));
    auto item = [&canvas](const QString& text) {
        const RecordingCanvas::Item* found = canvas.findText(text);
        if (!found)
            qFatal("%s not printed", qPrintable(text));
        return *found;
    };
    const auto od = item(QStringLiteral("OD (desno oko)")), os = item(QStringLiteral("OS (lijevo oko)"));
    QVERIFY(os.y1 > od.y1);
    // Right eye: sphere +1,50 and axis 90; left eye: the sphere -3,00 of
    // the box without a cylinder, the cylinder -0,75 of the other box.
    QCOMPARE(item(QStringLiteral("+1,50")).y1, od.y1);
    QCOMPARE(item(QStringLiteral("90")).y1, od.y1);
    QCOMPARE(item(QStringLiteral("-0,75")).y1, os.y1);
    QCOMPARE(item(QStringLiteral("kont. leće")).y1, os.y1);
    QCOMPARE(item(QStringLiteral("-0,75")).x1, item(QStringLiteral("Cyl (D)")).x1);
    QCOMPARE(item(QStringLiteral("+1,50")).x1, item(QStringLiteral("Sph (D)")).x1);
    QCOMPARE(item(QStringLiteral("90")).x1, item(QStringLiteral("Os (°)")).x1);
    QCOMPARE(item(QStringLiteral("-3,00")).y1, os.y1);
    QCOMPARE(item(QStringLiteral("-3,00")).x1, item(QStringLiteral("Sph (D)")).x1);
    QVERIFY(canvas.findText(QStringLiteral("+2,00 Dsph za blizinu")));
    QVERIFY(canvas.findText(QStringLiteral("Kapi")));
    QVERIFY(!canvas.findText(QStringLiteral("Vid")));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestVisitCard)
#include "tst_visit_card.moc"
