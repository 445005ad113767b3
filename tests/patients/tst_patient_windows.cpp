#include "data/record_set.h"
#include "data/sql_values.h"
#include "patients/patient_card_window.h"
#include "patients/patient_list_window.h"
#include "patients/patient_register.h"
#include "patients/visit_card.h"
#include "register_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

// The two windows of the register driven as a user would: typing, Enter,
// double-clicks and clicks.
class TestPatientWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listFollowsTheSearchAndTheFields();
    void cardWithoutVisitsRefusesTypingUntilANewVisit();
};

void TestPatientWindows::listFollowsTheSearchAndTheFields()
{
    RegisterFixture f;
    f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"), QStringLiteral("0101970330012"));
    f.patient(QStringLiteral("KOVAČ"), QStringLiteral("ANA"), QStringLiteral("1503985330019"));
    f.patient(QStringLiteral("KOS"), QStringLiteral("PERO"));
    patients::PatientList list(f.services());
    QVERIFY(list.open());
    QWidget main;
    int cards = 0;
    PatientListWindow window(list, {[&cards] { ++cards; }, [] {}, {}}, &main);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Only surname, first name and number show in the grid.
    QTableView* grid = window.grid();
    int shown = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        shown += grid->isColumnHidden(c) ? 0 : 1;
    QCOMPARE(shown, 3);

    QTest::keyClicks(window.searchBox(), QStringLiteral("ko"));
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(window.field(0)->text(), QStringLiteral("KOS"));
    QTest::keyClick(window.searchBox(), Qt::Key_Return);
    QCOMPARE(window.field(0)->text(), QStringLiteral("KOVAČ"));
    QTest::mouseDClick(window.searchBox(), Qt::LeftButton);
    QVERIFY(window.searchBox()->text().isEmpty());

    // Typing a surname in small letters: capitals when the field is left;
    // the field with the cursor is light yellow.
    QLineEdit* surname = window.field(0);
    surname->setFocus();
    QCOMPARE(surname->palette().color(QPalette::Base), QColor(255, 255, 192));
    surname->selectAll();
    QTest::keyClicks(surname, QStringLiteral("kova"));
    QTest::sendKeyEvent(QTest::Click, surname, Qt::Key_C, QStringLiteral("č"), Qt::NoModifier);
    QTest::keyClicks(surname, QStringLiteral("i"));
    QTest::sendKeyEvent(QTest::Click, surname, Qt::Key_C, QStringLiteral("ć"), Qt::NoModifier);
    QTest::keyClick(surname, Qt::Key_Return);
    QVERIFY(window.field(1)->hasFocus());
    QCOMPARE(surname->text(), QStringLiteral("KOVAČIĆ"));
    QCOMPARE(surname->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT count(*) FROM Popis WHERE prezime = ?"), {QStringLiteral("KOVAČIĆ")}).toInt(), 1);

    // Enter from "Izabrani dr." and from the read-only fields goes back to
    // "Prezime".
    for (int position : {11, 12, 13}) {
        window.field(position)->setFocus();
        QTest::keyClick(window.field(position), Qt::Key_Return);
        QVERIFY(surname->hasFocus());
    }
    QVERIFY(window.field(12)->isReadOnly() && window.field(13)->isReadOnly());

    // A double-click on the surname opens the card.
    QTest::mouseDClick(surname, Qt::LeftButton);
    QCOMPARE(cards, 1);
    window.goBack();
    QVERIFY(!window.isVisible());
}

void TestPatientWindows::cardWithoutVisitsRefusesTypingUntilANewVisit()
{
    RegisterFixture f;
    const qint64 p = f.patient(QStringLiteral("HORVAT"), QStringLiteral("IVAN"), {},
                               {{QStringLiteral("Datrodj"), QStringLiteral("01.01.1970")}});
    f.visit(f.patient(QStringLiteral("ANIĆ"), QStringLiteral("ANA")), QDate(2025, 1, 1));
    patients::PatientList list(f.services());
    QVERIFY(list.open());
    list.patients().setCurrent(1); // HORVAT, without visits
    patients::VisitCard card(list.database(), f.services());
    QWidget main;
    PatientCardWindow window(list, card, {{}, {}}, &main);
    window.reload();
    window.show();
    QVERIFY(window.header()->text().contains(QStringLiteral("HORVAT IVAN")));
    QVERIFY(window.header()->text().contains(QString::number(p)));
    QVERIFY(qobject_cast<QPlainTextEdit*>(window.field(0))->isReadOnly());
    QVERIFY(qobject_cast<QLineEdit*>(window.field(37))->isReadOnly());
    QTest::mouseClick(window.correctionKind(true), Qt::LeftButton);
    QVERIFY(window.correctionKind(true)->text().isEmpty());

    f.dialogs.answer(true);
    window.addVisit();
    QVERIFY(!qobject_cast<QPlainTextEdit*>(window.field(0))->isReadOnly());
    QCOMPARE(window.grid()->model()->rowCount(), 1);
    QCOMPARE(window.grid()->model()->index(0, 2).data().toString(), QStringLiteral("15.03.2026"));

    // The sign box: "-" then "+"; the kind of correction: three clicks
    // round to nothing.
    auto* sign = qobject_cast<QLineEdit*>(window.field(7));
    QTest::mouseDClick(sign, Qt::LeftButton);
    QCOMPARE(sign->text(), QStringLiteral("-"));
    QTest::mouseDClick(sign, Qt::LeftButton);
    QCOMPARE(sign->text(), QStringLiteral("+"));
    QStringList kinds;
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(window.correctionKind(false), Qt::LeftButton);
        kinds << window.correctionKind(false)->text();
    }
    QCOMPARE(kinds, (QStringList{"naočale", "kont. leće", ""}));
    QCOMPARE(window.previousVisit()->text(), QStringLiteral("Nema prethodne posjete."));

    // What is typed is in the file once the card is left.
    QTest::keyClicks(qobject_cast<QLineEdit*>(window.field(8)), QStringLiteral("1,25"));
    window.goBack();
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT A3 FROM Nalazi WHERE Broj = ?"), {p}).toString(), QStringLiteral("1,25"));
    QCOMPARE(f.db->scalar(QStringLiteral("SELECT A2 FROM Nalazi WHERE Broj = ?"), {p}).toString(), QStringLiteral("+"));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestPatientWindows)
#include "tst_patient_windows.moc"
