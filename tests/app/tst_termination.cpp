#include "common/clock.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "data/sql_values.h"
#include "support/temp_folder.h"

#include <QProcess>
#include <QTest>

#include <csignal>

class TestTermination : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedTextSurvivesTheSignal_data();
    void typedTextSurvivesTheSignal();
};

void TestTermination::typedTextSurvivesTheSignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("expected"); // null: what the row held before
    const QString surname = QStringLiteral("Šimunović-Đurić");
    QTest::newRow("SIGTERM, surname") << SIGTERM << QStringLiteral("Prezime") << surname << QVariant(surname);
    QTest::newRow("SIGHUP, surname") << SIGHUP << QStringLiteral("Prezime") << surname << QVariant(surname);
    // A date box commits its text only when it is left.
    QTest::newRow("SIGTERM, short date") << SIGTERM << QStringLiteral("Datumnar") << QStringLiteral("030125")
                                         << QVariant(QDate(2025, 1, 3));
    QTest::newRow("SIGHUP, dotted date") << SIGHUP << QStringLiteral("DatumIzdavanja") << QStringLiteral("28.02.2026")
                                         << QVariant(QDate(2026, 2, 28));
    // Half a date, or one that does not exist, is no date: the stored one stays.
    QTest::newRow("SIGTERM, half a date") << SIGTERM << QStringLiteral("Datumnar") << QStringLiteral("0301") << QVariant();
    QTest::newRow("SIGTERM, no such day") << SIGTERM << QStringLiteral("Datumnar") << QStringLiteral("300226") << QVariant();
    // A cell of an unlocked code list still being typed goes in as well.
    QTest::newRow("SIGTERM, price cell") << SIGTERM << QStringLiteral("Cijena") << QStringLiteral("77,77") << QVariant(77.77);
    QTest::newRow("SIGHUP, price cell") << SIGHUP << QStringLiteral("Cijena") << QStringLiteral("1234.5") << QVariant(1234.5);
    // A quantity is left as the tab would leave it: the amount follows.
    QTest::newRow("SIGTERM, quantity") << SIGTERM << QStringLiteral("Kol1") << QStringLiteral("9") << QVariant(QStringLiteral("9"));
}

void TestTermination::typedTextSurvivesTheSignal()
{
    QFETCH(int, signal);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QVariant, expected);
    TempFolder folder;
    FixedClock clock(QDate(2026, 12, 7));
    QString error;
    QVERIFY2(newfolder::create(QStringLiteral("."), newfolder::Content::Demo, clock, &error), qPrintable(error));

    const bool price = box == u"Cijena";
    const QString lastInvoice = price ? QStringLiteral("SELECT Cijena FROM OrtopedskaKelmorinISO ORDER BY Broj LIMIT 1")
                                      : QStringLiteral("SELECT \"%1\" FROM Rn WHERE God = 26 ORDER BY Rnbr DESC LIMIT 1").arg(box);
    auto stored = [&] {
        Database db(schema::kInvoiceFile);
        const QVariant v = db.scalar(lastInvoice);
        if (price)
            return QVariant(v.toDouble());
        return box.startsWith(QStringLiteral("Datum")) ? QVariant(sqlvalue::toDate(v)) : QVariant(v.toString());
    };
    auto amount = [] {
        Database db(schema::kInvoiceFile);
        return db.scalar(QStringLiteral("SELECT Iznos FROM Rn WHERE God = 26 ORDER BY Rnbr DESC LIMIT 1")).toDouble();
    };
    const double amountBefore = amount();
    const QVariant before = stored();
    QVERIFY(before != expected);
    if (expected.isNull())
        expected = before;

    // The program is ended while the cursor is still in the box: nothing
    // has left the box, so only the handling of the signal can save it.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TYPING_HELPER), {QDir::currentPath(), box, typed});
    QVERIFY(program.waitForStarted());
    QVERIFY2(program.waitForReadyRead(20000), program.readAllStandardError().constData());
    QCOMPARE(program.readAllStandardOutput().trimmed(), QByteArray("spreman"));
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QCOMPARE(stored(), expected);
    if (box.startsWith(u"Kol")) {
        // Nine pieces of the line's aid cost more than the pieces before.
        QVERIFY2(amount() > amountBefore, qPrintable(QString::number(amount())));
    }
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestTermination)
#include "tst_termination.moc"
