#include "common/clock.h"
#include "data/database.h"
#include "data/new_folder.h"
#include "data/schema.h"
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
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void TestTermination::typedTextSurvivesTheSignal()
{
    QFETCH(int, signal);
    TempFolder folder;
    FixedClock clock(QDate(2026, 12, 7));
    QString error;
    QVERIFY2(newfolder::create(QStringLiteral("."), newfolder::Content::Demo, clock, &error), qPrintable(error));

    // The program is ended while the cursor is still in the box: nothing
    // has left the box, so only the handling of the signal can save it.
    const QString surname = QStringLiteral("Šimunović-Đurić");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TYPING_HELPER), {QDir::currentPath(), surname});
    QVERIFY(program.waitForStarted());
    QVERIFY2(program.waitForReadyRead(20000), program.readAllStandardError().constData());
    QCOMPARE(program.readAllStandardOutput().trimmed(), QByteArray("spreman"));
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Prezime FROM Rn WHERE God = 26 ORDER BY Rnbr DESC LIMIT 1")).toString(),
             surname);
}

QTEST_GUILESS_MAIN(TestTermination)
#include "tst_termination.moc"
