// The user guide in a new folder: present, whole, every link resolving.
#include "common/clock.h"
#include "data/new_folder.h"
#include "guide/guide.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestGuide : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newFolderHoldsTheGuideWithEveryLinkResolving();
    void aGuideAlreadyThereIsKept();
};

void TestGuide::newFolderHoldsTheGuideWithEveryLinkResolving()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    QString error;
    QVERIFY2(newfolder::create(shop, newfolder::Content::Demo, FixedClock(QDate(2026, 3, 2)), &error), qPrintable(error));
    QFile page(shop + QStringLiteral("/Uputstva.htm"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains(QStringLiteral("<html lang=\"hr\">")));

    QSet<QString> anchors;
    static const QRegularExpression ids(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (auto it = ids.globalMatch(html); it.hasNext();)
        anchors << it.next().captured(1);
    static const QRegularExpression links(QStringLiteral("\\b(href|src)=\"([^\"]+)\""));
    int internal = 0, pictures = 0;
    for (auto it = links.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(2);
        QVERIFY2(!target.contains(u':'), qPrintable(target + QStringLiteral(": the guide must work offline")));
        if (target.startsWith(u'#')) {
            QVERIFY2(anchors.contains(target.mid(1)), qPrintable(target));
            ++internal;
        } else {
            QVERIFY2(QFileInfo(shop + u'/' + target).isFile(), qPrintable(target));
            QVERIFY(QFileInfo(shop + u'/' + target).size() > 1000);
            ++pictures;
        }
    }
    // A table of contents with the eight chapters, and pictures of the windows.
    QVERIFY(internal >= 8);
    QVERIFY(pictures >= 3);
}

void TestGuide::aGuideAlreadyThereIsKept()
{
    TempFolder folder;
    folder.touch(QStringLiteral("UPUTSTVA.HTM"), "moje upute");
    QString error;
    QVERIFY(guide::install(QDir(folder.path()), &error));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("Uputstva.htm"))) || QFileInfo(folder.file(QStringLiteral("UPUTSTVA.HTM"))).size() == 11);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    // A folder without one gets it.
    QVERIFY(QFile::remove(folder.file(QStringLiteral("UPUTSTVA.HTM"))));
    QVERIFY(guide::install(QDir(folder.path()), &error));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Uputstva.htm"))));
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestGuide)
#include "tst_guide.moc"
