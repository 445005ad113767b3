#include "data/session.h"
#include "data/database.h"
#include "print/adjustment_window.h"
#include "support/shop_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QAccessible>
#include <QTest>

class TestLayoutAdjustment : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loadMoveAndSave();
    void cancelKeepsTheTableAndTheBoxes();
    void enterWalksLeftTopNext();

private:
    double stored(const char* column, int slot)
    {
        return m_shop->session->database()
            .scalar(QStringLiteral("SELECT %1 FROM OrtopedskoPomagalo2 WHERE A7 = ?").arg(QLatin1String(column)),
                    {QString::number(slot)})
            .toDouble();
    }
    void click(const char* name) { m_window->findChild<QPushButton*>(QLatin1String(name))->click(); }
    void type(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<QWidget> m_main;
    AdjustmentWindow* m_window = nullptr;
};

void TestLayoutAdjustment::init()
{
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    m_shop = std::make_unique<ShopFixture>();
    QVERIFY(m_shop->session);
    m_main = std::make_unique<QWidget>();
    m_window = new AdjustmentWindow(m_shop->session->database(), m_shop->dialogs, m_main.get());
    m_window->open(QStringLiteral("Potvrda HZZO"));
}

void TestLayoutAdjustment::cleanup()
{
    m_main.reset();
    m_shop.reset();
}

void TestLayoutAdjustment::loadMoveAndSave()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Prilagodba ispisa recepta: Potvrda HZZO"));
    QCOMPARE(m_window->leftBox(0)->text(), QStringLiteral("20"));
    // Each box is announced by its row and column; the window as a window.
    QCOMPARE(m_window->leftBox(0)->accessibleName(), QStringLiteral("Ugovorni isporučitelj Naziv: lijevi rub (mm)"));
    QCOMPARE(m_window->topBox(0)->accessibleName(), QStringLiteral("Ugovorni isporučitelj Naziv: gornji rub (mm)"));
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window)->role(), QAccessible::Window);
    QVERIFY(m_window->leftBox(56)->isEnabled());
    // The lining-size codes are not loaded and cannot be moved.
    QVERIFY(!m_window->leftBox(57)->isEnabled());
    QVERIFY(m_window->leftBox(57)->text().isEmpty());

    type(m_window->leftBox(0), QStringLiteral("12,5"));
    type(m_window->topBox(1), QStringLiteral("nije broj"));
    type(m_window->leftBox(16), QStringLiteral("99"));
    click("desno");
    click("gore");
    QCOMPARE(m_window->leftBox(0)->text(), QStringLiteral("13,5"));
    QCOMPARE(m_window->topBox(1)->text(), QStringLiteral("nije broj"));
    const double top1 = stored("A3", 1), top15 = stored("A3", 15), left15 = stored("A2", 15);

    click("spremi");
    QCOMPARE(m_shop->dialogs.messages().last(), QStringLiteral("Promjene su spremljene!"));
    QVERIFY(m_window->isHidden());
    QCOMPARE(stored("A2", 0), 13.5);
    QCOMPARE(stored("A3", 1), top1); // not a number: kept
    // The second line of a name follows its first line, whatever was typed.
    QCOMPARE(stored("A2", 16), left15 + 1);
    QCOMPARE(stored("A3", 16), top15 - 1 + 3);
}

void TestLayoutAdjustment::cancelKeepsTheTableAndTheBoxes()
{
    click("desno");
    click("desno");
    click("odustani");
    QVERIFY(m_window->isHidden());
    QCOMPARE(stored("A2", 0), 20.0);
    m_window->open(QStringLiteral("Potvrda HZZO"));
    QCOMPARE(m_window->leftBox(0)->text(), QStringLiteral("22")); // loaded once a run
}

void TestLayoutAdjustment::enterWalksLeftTopNext()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->leftBox(3)->setFocus();
    QTest::keyClick(m_window->leftBox(3), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->topBox(3));
    QTest::keyClick(m_window->topBox(3), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->leftBox(4));
    m_window->topBox(42)->setFocus();
    QTest::keyClick(m_window->topBox(42), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->leftBox(0));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestLayoutAdjustment)
#include "tst_layout_adjustment.moc"
