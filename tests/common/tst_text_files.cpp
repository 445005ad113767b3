#include "common/cp1250.h"
#include "support/fake_platform.h"
#include "common/text_file.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>

class TestTextFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void croatianLettersAndEuro();
    void everyByteMatchesTheSystemConverter();
    void everyCharacterRoundTrips();
    void unmappableCharacters();
    void writerUsesCrLfAndWin1250();
    void readLinesSplitsBothLineEnds();
    void filesAreFoundWithoutRegardToCase();
};

void TestTextFiles::croatianLettersAndEuro()
{
    const QString letters = QStringLiteral("ČčĆćĐđŠšŽž€");
    const QByteArray bytes("\xC8\xE8\xC6\xE6\xD0\xF0\x8A\x9A\x8E\x9E\x80", 11);
    QCOMPARE(cp1250::encode(letters), bytes);
    QCOMPARE(cp1250::decode(bytes), letters);
    QCOMPARE(cp1250::encode(u"Abc 123:"), QByteArray("Abc 123:"));
}

void TestTextFiles::everyByteMatchesTheSystemConverter()
{
    QStringDecoder system("windows-1250");
    if (!system.isValid())
        QSKIP("this Qt build has no Windows-1250 converter to compare with");
    const QList<int> undefined = {0x81, 0x83, 0x88, 0x90, 0x98};
    for (int b = 0; b < 256; ++b) {
        if (undefined.contains(b))
            continue;
        const QByteArray one(1, char(b));
        const QString expected = system.decode(one);
        QVERIFY2(QString(QChar(cp1250::toUnicode(uchar(b)))) == expected,
                 qPrintable(QStringLiteral("byte %1").arg(b, 2, 16)));
    }
}

void TestTextFiles::everyCharacterRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QCOMPARE(cp1250::encode(cp1250::decode(all)), all);
}

void TestTextFiles::unmappableCharacters()
{
    // Letters the code page lacks lose their accent; the rest become "?".
    QCOMPARE(cp1250::encode(u"Muñoz"), QByteArray("Munoz"));
    QCOMPARE(cp1250::encode(u"Õ"), QByteArray("O"));
    QCOMPARE(cp1250::encode(u"中"), QByteArray("?"));
    QCOMPARE(cp1250::encode(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
}

void TestTextFiles::writerUsesCrLfAndWin1250()
{
    TempFolder folder;
    TextFileWriter writer;
    writer.write(QStringLiteral("60:"));
    writer.writeLine(QStringLiteral("Šimić"));
    writer.writeLine();
    QVERIFY(writer.save(QStringLiteral("a.txt")));
    QFile file(QStringLiteral("a.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("60:\x8Aimi\xE6\r\n\r\n"));

    QString error;
    QVERIFY(!writer.save(QStringLiteral("no/such/folder/a.txt"), &error));
    QVERIFY(!error.isEmpty());
}

void TestTextFiles::readLinesSplitsBothLineEnds()
{
    TempFolder folder;
    folder.touch(QStringLiteral("r.txt"), "#99 \x8Akola\r\nsecond\nlast");
    const auto lines = textfile::readLines(QStringLiteral("r.txt"));
    QVERIFY(lines);
    QCOMPARE(*lines, (QStringList{QStringLiteral("#99 Škola"), QStringLiteral("second"), QStringLiteral("last")}));
    QVERIFY(!textfile::readLines(QStringLiteral("missing.txt")));
}

void TestTextFiles::filesAreFoundWithoutRegardToCase()
{
    TempFolder folder;
    FakePlatform platform;
    folder.touch(QStringLiteral("ARHIVA.EXE"));
    QCOMPARE(platform.findFile(QStringLiteral("Arhiva.exe")), QStringLiteral("ARHIVA.EXE"));
    QVERIFY(!platform.fileExists(QStringLiteral("Dst.exe")));
    QCOMPARE(platform.findCompanion(QStringLiteral("arhiva.exe")), QStringLiteral("ARHIVA.EXE"));
#ifndef Q_OS_WIN
    // A native program of the same name without ".exe" counts too.
    folder.touch(QStringLiteral("Dst"));
    QFile::setPermissions(folder.file(QStringLiteral("Dst")), QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(platform.findCompanion(QStringLiteral("Dst.exe")), QStringLiteral("Dst"));
#endif
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestTextFiles)
#include "tst_text_files.moc"
