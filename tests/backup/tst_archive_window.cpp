// The second place for backups as the user sets it, on the general-data
// tab, and what the backup at the end of the program does with it.
#include "app/main_window.h"
#include "backup/backup.h"
#include "backup/backup_wiring.h"
#include "data/database.h"
#include "data/schema.h"
#include "support/checked.h"
#include "support/shop_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

class TestArchiveWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void secondPlaceTypedOnTheFormGetsTheExitBackup();
    void unreachableSecondPlaceIsReportedAndTheBackupCounts();

private:
    // Types `place` into the field of the general data and leaves it.
    void typeSecondPlace(const QString& place);
    // The end of the program as the window and main() run it.
    void exit();

    std::unique_ptr<ShopFixture> m_shop;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<backuptab::Archive> m_archive;
};

void TestArchiveWindow::init()
{
    m_shop = std::make_unique<ShopFixture>(newfolder::Content::Demo);
    QVERIFY(m_shop->session);
    m_window = std::make_unique<MainWindow>(*m_shop->session, m_shop->services());
    m_archive = backuptab::install(*m_window, *m_shop->session, m_shop->services());
    m_window->prepare();
}

void TestArchiveWindow::cleanup()
{
    m_archive.reset();
    m_window.reset();
    m_shop.reset();
}

void TestArchiveWindow::typeSecondPlace(const QString& place)
{
    auto* field = m_window->generalDataArea()->findChild<QLineEdit*>(QStringLiteral("ArhivaMapa"));
    QVERIFY(field);
    QVERIFY(field->isEnabled() && !field->isReadOnly());
    QCOMPARE(field->maxLength(), 255);
    field->clear();
    QTest::keyClicks(field, place);
    QTest::keyClick(field, Qt::Key_Return);
}

void TestArchiveWindow::exit()
{
    m_window->exitProgram();
    m_archive->atExit();
}

void TestArchiveWindow::secondPlaceTypedOnTheFormGetsTheExitBackup()
{
    // The menu no longer keeps it.
    QVERIFY(!m_window->menuAction(QStringLiteral("arhdrugo")));
    const QString stick = m_shop->folder.file(QStringLiteral("usb"));
    QVERIFY(QDir().mkpath(stick));
    CHECKED(typeSecondPlace(stick));
    QCOMPARE(backup::secondPlace(QDir::current()), stick);

    exit();
    QVERIFY2(m_shop->dialogs.messages().isEmpty(), qPrintable(m_shop->dialogs.messages().join(u'\n')));
    const QList<backup::Copy> copies = backup::list(QDir::current());
    QCOMPARE(copies.size(), 1);
    // The same verified pair lies in both places.
    for (const QString& file : {copies.first().invoiceFile, copies.first().patientFile}) {
        const QString there = QDir(stick).filePath(QFileInfo(file).fileName());
        QString error;
        QVERIFY2(backup::verify(there, &error), qPrintable(there + u' ' + error));
        QCOMPARE(QFileInfo(there).size(), QFileInfo(file).size());
    }
    QCOMPARE(Database(QDir(stick).filePath(QFileInfo(copies.first().invoiceFile).fileName()), Database::Mode::ReadOnly)
                 .scalar(QStringLiteral("SELECT ArhivaMapa FROM Opci"))
                 .toString(),
             stick);
}

void TestArchiveWindow::unreachableSecondPlaceIsReportedAndTheBackupCounts()
{
    const QString stick = m_shop->folder.file(QStringLiteral("usb-nije-utaknut"));
    CHECKED(typeSecondPlace(stick));
    exit();
    const QStringList shown = m_shop->dialogs.messages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().contains(QStringLiteral("nije dostupno")) && shown.first().contains(stick), qPrintable(shown.first()));
    QVERIFY(!QFileInfo::exists(stick));
    const QList<backup::Copy> copies = backup::list(QDir::current());
    QCOMPARE(copies.size(), 1);
    QString error;
    QVERIFY2(backup::verify(copies.first().invoiceFile, &error), qPrintable(error));
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestArchiveWindow)
#include "tst_archive_window.moc"
