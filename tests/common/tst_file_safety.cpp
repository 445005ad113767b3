// Files written whole or not at all, files read only when they are what
// they claim to be, private rights, and one program per folder.
#include "common/folder_lock.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "support/temp_folder.h"
#include "support/tiny_filesystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

int modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// Everything in the folder, hidden files too.
QStringList everything(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestFileSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { textfile::setWriteLimitForTests(-1); }
    void aFailedWriteKeepsTheOldFileAndLeavesNothing();
    void aBatchIsWholeOrLeavesTheOldFiles();
    void aFullFilesystemIsReported();
    void linksAreNotWrittenThrough();
    void onlyRegularFilesOfSaneSizeAreRead();
    void newFilesArePrivateAndWiderDataFilesNarrowed();
    void theProgramsOwnFileNames();
    void oneHolderOfTheFolderLock();
};

void TestFileSafety::aFailedWriteKeepsTheOldFileAndLeavesNothing()
{
    TempFolder folder;
    const QByteArray old = "60:staro:\r\n";
    QVERIFY(textfile::writeWhole(QStringLiteral("1234.O26"), old));
    const QByteArray fresh(5512, 'n');
    // A disk that takes 4096 bytes, then none; and one that takes nothing.
    for (qint64 limit : {4096, 0, 5511}) {
        textfile::setWriteLimitForTests(limit);
        QString error;
        QVERIFY(!textfile::writeWhole(QStringLiteral("1234.O26"), fresh, &error));
        QVERIFY2(error.contains(QStringLiteral("1234.O26")) && error.contains(QString::fromLocal8Bit(strerror(ENOSPC))),
                 qPrintable(error));
        QCOMPARE(contentOf(QStringLiteral("1234.O26")), old);
        QCOMPARE(everything(folder.path()), QStringList{QStringLiteral("1234.O26")});
    }
    // The same through the text writer and a copy.
    TextFileWriter text;
    text.writeLine(QStringLiteral("Nadogradnja"));
    textfile::setWriteLimitForTests(3);
    QVERIFY(!text.save(QStringLiteral("upg051023.inm")));
    QVERIFY(!textfile::copyWhole(QStringLiteral("1234.O26"), QStringLiteral("kopija.O26")));
    QCOMPARE(everything(folder.path()), QStringList{QStringLiteral("1234.O26")});

    textfile::setWriteLimitForTests(-1);
    QVERIFY(textfile::writeWhole(QStringLiteral("1234.O26"), fresh));
    QCOMPARE(contentOf(QStringLiteral("1234.O26")), fresh);
    QString error;
    QVERIFY(!textfile::writeWhole(QStringLiteral("nema/mape.txt"), fresh, &error));
    QVERIFY(error.contains(QStringLiteral("mape.txt")));
}

// Many files with one flush of the disk: a failure on the last leaves none
// of the new files, the old ones as they were, and no temporary file.
void TestFileSafety::aBatchIsWholeOrLeavesTheOldFiles()
{
    TempFolder folder;
    QVERIFY(textfile::writeWhole(QStringLiteral("b.xml"), "staro"));
    const std::vector<textfile::NamedBytes> batch{{QStringLiteral("a.xml"), QByteArray(10, 'a')},
                                                  {QStringLiteral("b.xml"), QByteArray(10, 'b')},
                                                  {QStringLiteral("c.xml"), QByteArray(200, 'c')}};
    textfile::setWriteLimitForTests(100);
    QString error;
    QVERIFY(!textfile::writeWholeBatch(batch, &error));
    QVERIFY2(error.contains(QStringLiteral("c.xml")), qPrintable(error));
    QCOMPARE(everything(folder.path()), QStringList{QStringLiteral("b.xml")});
    QCOMPARE(contentOf(QStringLiteral("b.xml")), QByteArray("staro"));

    // A link in one file's place stops the batch before anything is named.
    textfile::setWriteLimitForTests(-1);
    QVERIFY(QFile::link(QStringLiteral("/tmp/nigdje"), QStringLiteral("c.xml")));
    QVERIFY(!textfile::writeWholeBatch(batch, &error));
    QCOMPARE(everything(folder.path()), (QStringList{QStringLiteral("b.xml"), QStringLiteral("c.xml")}));
    QCOMPARE(contentOf(QStringLiteral("b.xml")), QByteArray("staro"));

    QVERIFY(QFile::remove(QStringLiteral("c.xml")));
    QVERIFY2(textfile::writeWholeBatch(batch, &error), qPrintable(error));
    QCOMPARE(everything(folder.path()), (QStringList{QStringLiteral("a.xml"), QStringLiteral("b.xml"), QStringLiteral("c.xml")}));
    for (const textfile::NamedBytes& file : batch) {
        QCOMPARE(contentOf(file.path), file.bytes);
        QCOMPARE(modeOf(file.path), 0600);
    }
}

void TestFileSafety::aFullFilesystemIsReported()
{
    TinyFilesystem disk(64);
    if (!disk.isMounted())
        QSKIP("a small tmpfs needs root");
    const QString path = disk.path() + QStringLiteral("/1234.O26");
    QVERIFY(textfile::writeWhole(path, QByteArray(100, 's')));
    disk.fill();
    QString error;
    QVERIFY(!textfile::writeWhole(path, QByteArray(5512, 'n'), &error));
    QVERIFY2(error.contains(QStringLiteral("1234.O26")), qPrintable(error));
    QCOMPARE(contentOf(path), QByteArray(100, 's'));
    QCOMPARE(everything(disk.path()), (QStringList{QStringLiteral("1234.O26"), QStringLiteral("filler")}));
}

void TestFileSafety::linksAreNotWrittenThrough()
{
    TempFolder folder;
    const QString victim = folder.file(QStringLiteral("drugdje.txt"));
    QVERIFY(QFile::link(victim, folder.file(QStringLiteral("Recept.txt")))); // dangling
    QString error;
    QVERIFY(!textfile::writeWhole(QStringLiteral("Recept.txt"), "#99 X\r\n", &error));
    QVERIFY(error.contains(QStringLiteral("Recept.txt")));
    QVERIFY(!QFile::exists(victim));
    QVERIFY(QFileInfo(folder.file(QStringLiteral("Recept.txt"))).isSymLink());
}

void TestFileSafety::onlyRegularFilesOfSaneSizeAreRead()
{
    TempFolder folder;
    folder.touch(QStringLiteral("Recept.txt"), "#99 A\r\n");
    QCOMPARE(textfile::readLines(QStringLiteral("Recept.txt")), QStringList{QStringLiteral("#99 A")});
    QVERIFY(::mkfifo("cijev.txt", 0600) == 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder.file(QStringLiteral("nula.txt"))));
    folder.touch(QStringLiteral("veliki.txt"), QByteArray(textfile::kMaxReadSize + 1, 'x'));
    QElapsedTimer timer;
    timer.start();
    for (const char* name : {"cijev.txt", "nula.txt", "veliki.txt", "."})
        QVERIFY2(!textfile::readLines(QLatin1String(name)), name);
    QVERIFY(timer.elapsed() < 5000); // a pipe nobody writes to does not hold the program
}

void TestFileSafety::newFilesArePrivateAndWiderDataFilesNarrowed()
{
    TempFolder folder;
    const mode_t previous = ::umask(022);
    QVERIFY(textfile::writeWhole(QStringLiteral("1234.O26"), "60:\r\n"));
    QVERIFY(textfile::copyWhole(QStringLiteral("1234.O26"), QStringLiteral("kopija.txt")));
    {
        workdir::FolderLock lock;
    }
    folder.touch(QStringLiteral("Kelmorin.mdb"));
    folder.touch(QStringLiteral("biljeske.txt"));
    ::chmod("Kelmorin.mdb", 0644);
    ::chmod("biljeske.txt", 0644);
    ::umask(previous);
    QCOMPARE(modeOf(QStringLiteral("1234.O26")), 0600);
    QCOMPARE(modeOf(QStringLiteral("kopija.txt")), 0600);
    QCOMPARE(modeOf(workdir::kLockFile), 0600);

    workdir::narrowDataFiles();
    QCOMPARE(modeOf(QStringLiteral("Kelmorin.mdb")), 0600);
    QCOMPARE(modeOf(QStringLiteral("biljeske.txt")), 0644); // not the program's
}

void TestFileSafety::theProgramsOwnFileNames()
{
    for (const char* name : {"Kelmorin.mdb", "/x/KELMORIN.MDB", "Pac.mdb", "Kelmorin.mdb-journal", "upg051023.mdb",
                             "upg051023.inm", "upg050207", "Osndop.inm", "Pacor.inm", "Recept.txt", "1234567891140005.O26",
                             "1234567891140005061226223000.O26", "Kelmorin.lck"})
        QVERIFY2(workdir::isDataFileName(QLatin1String(name)), name);
    for (const char* name : {"racun.pdf", "Kelmorin.pdf", "upg.inm", "Temp.txt", "dopis.O26.pdf"})
        QVERIFY2(!workdir::isDataFileName(QLatin1String(name)), name);
}

void TestFileSafety::oneHolderOfTheFolderLock()
{
    TempFolder folder;
    auto first = std::make_unique<workdir::FolderLock>();
    QVERIFY(first->isHeld());
    workdir::FolderLock second(folder.path());
    QVERIFY(!second.isHeld());
    QCOMPARE(second.error(), QStringLiteral("Program već radi s podacima u ovoj mapi."));
    first.reset();
    workdir::FolderLock third;
    QVERIFY(third.isHeld());
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestFileSafety)
#include "tst_file_safety.moc"
