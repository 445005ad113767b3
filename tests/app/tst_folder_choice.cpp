// Which folder the program works in when started with or without one.
#include "app/folder_choice.h"
#include "support/temp_folder.h"

#include <QTest>

class TestFolderChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderOfChoice();
};

void TestFolderChoice::orderOfChoice()
{
    TempFolder folder;
    const QString home = folder.file(QStringLiteral("home"));
    const QString here = folder.file(QStringLiteral("here"));
    const QString last = folder.file(QStringLiteral("last"));
    QVERIFY(QDir().mkpath(home) && QDir().mkpath(here) && QDir().mkpath(last));
    const QString fallback = home + QStringLiteral("/Kelmorin");

    // Nothing holds data: the folder under home.
    QCOMPARE(folderchoice::choose({}, here, last, home), fallback);
    QCOMPARE(folderchoice::choose({}, here, {}, home), fallback);
    // The last folder, once it holds the database.
    folder.touch(QStringLiteral("last/Kelmorin.mdb"));
    QCOMPARE(folderchoice::choose({}, here, last, home), last);
    // The current folder before the last one.
    folder.touch(QStringLiteral("here/Kelmorin.mdb"));
    QCOMPARE(folderchoice::choose({}, here, last, home), here);
    // A folder given wins, relative to the current one, with or without data.
    QCOMPARE(folderchoice::choose(QStringLiteral("../elsewhere"), here, last, home), folder.file(QStringLiteral("elsewhere")));
    QCOMPARE(folderchoice::choose(home, here, last, home), home);
    // A last folder that was removed is not used.
    QVERIFY(QDir(last).removeRecursively());
    QVERIFY(QFile::remove(here + QStringLiteral("/Kelmorin.mdb")));
    QCOMPARE(folderchoice::choose({}, here, last, home), fallback);
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestFolderChoice)
#include "tst_folder_choice.moc"
