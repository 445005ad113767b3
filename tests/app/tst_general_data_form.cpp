#include "app/field_binder.h"
#include "app/main_window.h"
#include "data/session.h"
#include "data/database.h"
#include "support/fake_platform.h"
#include "data/schema.h"
#include "data/upgrade_chain.h"
#include "support/shop_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class TestGeneralDataForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fieldsShowAndTakeTheGeneralData();
    void ibanTypedInFullAfterTheWidening();
    void mainOfficeFillsCityAndStreet();
    void lineThicknessRewritesTheInvoiceLayouts();

private:
    template <typename W>
    W* field(const char* name)
    {
        return m_window->generalDataArea()->findChild<W*>(QString::fromLatin1(name));
    }
    double lineWidth(const char* table, int kind);

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<MainWindow> m_window;
};

void TestGeneralDataForm::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    m_window->prepare();
}

void TestGeneralDataForm::cleanup()
{
    m_window.reset();
    m_shop.reset();
}

double TestGeneralDataForm::lineWidth(const char* table, int kind)
{
    return m_shop->session->database()
        .scalar(QStringLiteral("SELECT A6 FROM \"%1\" WHERE A1 = ?").arg(QLatin1String(table)), {kind})
        .toDouble();
}

void TestGeneralDataForm::fieldsShowAndTakeTheGeneralData()
{
    auto* name = field<QLineEdit>("Naziv");
    QCOMPARE(name->text(), QStringLiteral("PRIMJER Optika Jelić d.o.o."));
    QTest::keyClicks(name, QStringLiteral(" 2"));
    QCOMPARE(m_shop->session->generalData().field(u"Naziv").toString(), QStringLiteral("PRIMJER Optika Jelić d.o.o. 2"));
    // Leaving the box (Enter here) writes the row: nothing typed waits for the exit.
    QTest::keyClick(name, Qt::Key_Return);
    {
        Database other(schema::kInvoiceFile);
        QCOMPARE(other.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString(), QStringLiteral("PRIMJER Optika Jelić d.o.o. 2"));
    }

    // Characters that would break the fund's file cannot be typed or pasted
    // into the fields it carries; a colon stays free elsewhere.
    auto* premises = field<QLineEdit>("Prostor");
    premises->clear();
    QTest::keyClicks(premises, QStringLiteral("P:1"));
    QCOMPARE(premises->text(), QStringLiteral("P1"));
    premises->selectAll();
    premises->insert(QStringLiteral("2\n3"));
    QCOMPARE(premises->text(), QStringLiteral("P1"));
    QCOMPARE(m_shop->session->generalData().field(u"Prostor").toString(), QStringLiteral("P1"));
    auto* person = field<QLineEdit>("Odgovosoba");
    person->clear();
    QTest::keyClicks(person, QStringLiteral("dr. Ana: voditelj"));
    QCOMPARE(person->text(), QStringLiteral("dr. Ana: voditelj"));

    // Nothing longer than the field can be typed.
    QCOMPARE(field<QLineEdit>("Crte")->maxLength(), 1);
    QCOMPARE(field<QLineEdit>("Ziro")->maxLength(), 25);

    // The year is changed only through the menu command.
    auto* year = field<QLineEdit>("God");
    QCOMPARE(year->text(), QStringLiteral("2026"));
    QVERIFY(year->isReadOnly());
    QTest::keyClicks(year, QStringLiteral("7"));
    QCOMPARE(m_shop->session->generalData().field(u"God").toInt(), 2026);

    // A command that changes the row is shown at once.
    m_shop->session->generalData().setField(u"Predbroj", QStringLiteral("R-"));
    QCOMPARE(field<QLineEdit>("Predbroj")->text(), QStringLiteral("R-"));

    // The edits are in the file once the program ends.
    m_window->exitProgram();
    Database other(schema::kInvoiceFile);
    QCOMPARE(other.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString(), QStringLiteral("PRIMJER Optika Jelić d.o.o. 2"));
}

void TestGeneralDataForm::ibanTypedInFullAfterTheWidening()
{
    // A file of the releases before 080713 gave the account 20 characters;
    // that step widens it so that a Croatian IBAN (21 characters) fits.
    m_window.reset();
    Database& db = m_shop->session->database();
    const QString create = db.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'Opci'")).toString();
    QString narrow = create;
    narrow.replace(QStringLiteral("\"Ziro\" TEXT(25)"), QStringLiteral("\"Ziro\" TEXT(20)"));
    narrow.replace(QStringLiteral("\"Opci\""), QStringLiteral("\"OpciUzi\""));
    QVERIFY(narrow != create);
    QVERIFY(db.exec(narrow) && db.exec(QStringLiteral("INSERT INTO OpciUzi SELECT * FROM Opci")) && db.exec(QStringLiteral("DROP TABLE Opci"))
            && db.exec(QStringLiteral("ALTER TABLE OpciUzi RENAME TO Opci")));
    QCOMPARE(schema::textWidth(db, QStringLiteral("Opci"), QStringLiteral("Ziro")), 20);
    for (const upgrade::Step& step : upgrade::steps()) {
        if (step.id == u"080713") {
            FakePlatform platform;
            upgrade::StepContext context(db, nullptr, platform);
            QVERIFY2(step.work(context), qPrintable(context.error()));
        }
    }

    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    m_window->prepare();
    const QString iban = QStringLiteral("HR1210010051863000160");
    auto* box = field<QLineEdit>("Ziro");
    box->clear();
    QTest::keyClicks(box, iban);
    QTest::keyClick(box, Qt::Key_Return);
    Database other(schema::kInvoiceFile);
    QCOMPARE(other.scalar(QStringLiteral("SELECT Ziro FROM Opci")).toString(), iban);
    QCOMPARE(other.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString(), QStringLiteral("PRIMJER Optika Jelić d.o.o."));
}

void TestGeneralDataForm::mainOfficeFillsCityAndStreet()
{
    auto* office = field<QComboBox>("Podrured");
    QCOMPARE(office->count(), 20);
    QCOMPARE(office->itemText(0), QStringLiteral("Bjelovar"));
    QCOMPARE(office->currentText(), QStringLiteral("Zagreb"));
    const int split = office->findText(QStringLiteral("Split"));
    QCOMPARE(split, 13);
    office->setCurrentIndex(split);
    Q_EMIT office->activated(split);

    RecordSet& general = m_shop->session->generalData();
    QCOMPARE(general.field(u"Podrured").toString(), QStringLiteral("Split"));
    QCOMPARE(general.field(u"Mjestopodrur").toString(), QStringLiteral("Split"));
    QCOMPARE(general.field(u"Ulicapodrur").toString(), QStringLiteral("Obala Kneza Branimira 14"));
    QCOMPARE(field<QLineEdit>("Ulicapodrur")->text(), QStringLiteral("Obala Kneza Branimira 14"));

    // City and street stay editable after the choice.
    auto* street = field<QLineEdit>("Ulicapodrur");
    street->clear();
    QTest::keyClicks(street, QStringLiteral("Vukovarska 1"));
    QCOMPARE(general.field(u"Ulicapodrur").toString(), QStringLiteral("Vukovarska 1"));
}

void TestGeneralDataForm::lineThicknessRewritesTheInvoiceLayouts()
{
    Database& db = m_shop->session->database();
    QVERIFY(db.exec(QStringLiteral("INSERT INTO Osnovno (A1, A6) VALUES (5, 1)")));
    QVERIFY(db.exec(QStringLiteral("INSERT INTO OrtopedskoPomagalo2 (A1, A6) VALUES (2, 1)")));
    auto* thickness = field<QLineEdit>("Crte");
    thickness->selectAll();
    QTest::keyClicks(thickness, QStringLiteral("4"));
    QCOMPARE(lineWidth("Osnovno", 2), 4.0);
    QCOMPARE(lineWidth("Osnovno", 5), 4.0);
    QCOMPARE(lineWidth("Dopunsko", 2), 4.0);
    // Text rows and the confirmation form keep their own.
    QCOMPARE(m_shop->session->database().scalar(QStringLiteral("SELECT COUNT(*) FROM Osnovno WHERE A1 = 1 AND A6 = 4")).toInt(), 0);
    QCOMPARE(lineWidth("OrtopedskoPomagalo2", 2), 1.0);

    // Emptied or not a number: thickness 0.
    QTest::keyClick(thickness, Qt::Key_Backspace);
    QCOMPARE(lineWidth("Dopunsko", 2), 0.0);
    QTest::keyClicks(thickness, QStringLiteral("x"));
    QCOMPARE(lineWidth("Osnovno", 5), 0.0);
    QCOMPARE(m_shop->session->generalData().field(u"Crte").toString(), QStringLiteral("x"));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestGeneralDataForm)
#include "tst_general_data_form.moc"
