// The converter of Access databases, run as the user runs it
// (kelmorin-tool import-access), against what mdbtools' own export prints
// for the same files: every table, every column in order with its type,
// every value. Then damaged copies: a clear message, exit 1, no new file.
#include "access/access_file.h"
#include "access/conversion.h"
#include "access/mdb_reader.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

const QString kData = QStringLiteral(KELMORIN_ACCESS_DATA);

struct Run {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

Run runTool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KELMORIN_TOOL), args);
    Run r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        r.crashed = true;
        return r;
    }
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString runMdb(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// One CSV field as mdb-export writes it: quoted text, or a bare value; a
// bare empty field is a NULL.
struct Field {
    QString text;
    bool quoted = false;
};

QList<QList<Field>> parseCsv(const QString& csv)
{
    QList<QList<Field>> rows;
    QList<Field> row;
    Field field;
    bool inQuotes = false;
    bool any = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < csv.size() && csv[i + 1] == u'"') {
                field.text += c;
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
            field.quoted = true;
            any = true;
        } else if (c == u',') {
            row << field;
            field = Field();
            any = true;
        } else if (c == u'\n') {
            if (any || !field.text.isEmpty())
                row << field;
            rows << row;
            row.clear();
            field = Field();
            any = false;
        } else if (c != u'\r') {
            field.text += c;
            any = true;
        }
    }
    return rows;
}

// The columns of each table as mdb-schema names them, in order.
QMap<QString, QList<QPair<QString, QString>>> accessColumns(const QString& file)
{
    QMap<QString, QList<QPair<QString, QString>>> tables;
    const QString schema = runMdb(QStringLiteral("mdb-schema"), {QStringLiteral("--no-indexes"),
                                                                  QStringLiteral("--no-relations"), file});
    QString current;
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE \\[(.*)\\]$"));
    static const QRegularExpression column(QStringLiteral("^\\s+\\[(.*)\\]\\s+(.*?)( NOT NULL)?,?\\s*$"));
    for (const QString& line : schema.split(u'\n')) {
        const auto t = table.match(line);
        if (t.hasMatch()) {
            current = t.captured(1);
            tables[current];
            continue;
        }
        const auto c = column.match(line);
        if (c.hasMatch() && !current.isEmpty())
            tables[current] << qMakePair(c.captured(1), c.captured(2));
    }
    return tables;
}

// The type a column of the given Access type has in the new file.
QString expectedType(const QString& accessType)
{
    static const QRegularExpression text(QStringLiteral("^Text \\((\\d+)\\)$"));
    const auto m = text.match(accessType);
    if (m.hasMatch())
        return QStringLiteral("TEXT(%1)").arg(m.captured(1));
    static const QMap<QString, QString> types = {
        {"Boolean", "BOOLEAN"}, {"Byte", "TINYINT"}, {"Integer", "SMALLINT"}, {"Long Integer", "INTEGER"},
        {"Currency", "CURRENCY"}, {"Single", "FLOAT"}, {"Double", "DOUBLE"}, {"DateTime", "DATE"},
        {"Replication ID", "GUID"}, {"OLE", "BLOB"},
    };
    if (accessType.startsWith(u"Memo"))
        return QStringLiteral("TEXT");
    if (accessType.startsWith(u"Numeric"))
        return QStringLiteral("DECIMAL");
    return types.value(accessType, QStringLiteral("?") + accessType);
}

// A stored value as mdb-export writes it for a column of this type.
QString exportForm(const QVariant& v, const QString& type)
{
    if (v.isNull())
        return QString();
    if (type == u"DATE") {
        const QString text = v.toString();
        return text.size() == 10 ? text + QStringLiteral(" 00:00:00") : text;
    }
    if (type == u"CURRENCY")
        return QString::number(v.toDouble(), 'f', 4);
    if (type == u"DOUBLE" || type == u"FLOAT" || type == u"DECIMAL")
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

QString exportNumber(const QString& text, const QString& type)
{
    if (type == u"CURRENCY")
        return QString::number(text.toDouble(), 'f', 4);
    if (type == u"DOUBLE" || type == u"FLOAT" || type == u"DECIMAL")
        return QString::number(text.toDouble(), 'g', 15);
    return text;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QStringList testFiles() { return QDir(kData).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name); }

} // namespace

class TestAccessConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recognisedByTheHeader();
    void everyTableColumnAndValueOfEachFile_data();
    void everyTableColumnAndValueOfEachFile();
    void storedDatesFollowTheCalendar();
    void everyKindOfValueComesOutExactly_data();
    void everyKindOfValueComesOutExactly();
    void aPasswordProtectedCopyIsRefused_data();
    void aPasswordProtectedCopyIsRefused();
    void damagedCopiesGiveAMessageAndNoFile_data();
    void damagedCopiesGiveAMessageAndNoFile();
    void refusesToWriteOverOrBesideAnything();
    void aConverterThatCrashesOrStallsLeavesNoFile_data();
    void aConverterThatCrashesOrStallsLeavesNoFile();
};

void TestAccessConversion::recognisedByTheHeader()
{
    TempFolder folder;
    QCOMPARE(accessdb::formatOf(kData + QStringLiteral("/jet3-types.mdb")), accessdb::Format::Jet3);
    QCOMPARE(accessdb::formatOf(kData + QStringLiteral("/jet4-types.mdb")), accessdb::Format::Jet4);
    folder.touch(QStringLiteral("text.mdb"), "Standard Jet DB but only text");
    QCOMPARE(accessdb::formatOf(folder.file(QStringLiteral("text.mdb"))), accessdb::Format::NotAccess);
    QCOMPARE(accessdb::formatOf(folder.file(QStringLiteral("missing.mdb"))), accessdb::Format::NotAccess);
    QFile jet4(kData + QStringLiteral("/jet4-types.mdb"));
    QVERIFY(jet4.open(QIODevice::ReadOnly));
    QByteArray head = jet4.read(4096);
    head.replace(4, 15, "Standard ACE DB");
    head[0x14] = 2;
    folder.touch(QStringLiteral("newer.accdb"), head);
    QCOMPARE(accessdb::formatOf(folder.file(QStringLiteral("newer.accdb"))), accessdb::Format::Newer);
}

void TestAccessConversion::everyTableColumnAndValueOfEachFile_data()
{
    QTest::addColumn<QString>("file");
    for (const QString& file : testFiles())
        QTest::newRow(file.toUtf8().constData()) << file;
    QVERIFY(testFiles().size() >= 3);
}

void TestAccessConversion::everyTableColumnAndValueOfEachFile()
{
    QFETCH(QString, file);
    const QString source = kData + u'/' + file;
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("Kelmorin.mdb"));
    const Run run = runTool({QStringLiteral("import-access"), source, target});
    QVERIFY2(!run.crashed && run.exitCode == 0, qPrintable(run.err));
    // The new file alone, under its name; no temporary file is left.
    QCOMPARE(filesIn(folder.path()), QStringList{QStringLiteral("Kelmorin.mdb")});

    const QStringList accessTables = runMdb(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), source})
                                         .split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!accessTables.isEmpty());
    QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts), accessTables);
    const auto columns = accessColumns(source);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("converted"));
    db.setDatabaseName(target);
    QVERIFY(db.open());
    QStringList sqliteTables;
    QSqlQuery names(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence' "
                                   "ORDER BY rowid"),
                    db);
    while (names.next())
        sqliteTables << names.value(0).toString();
    QCOMPARE(sqliteTables, accessTables);

    for (const QString& table : accessTables) {
        // Columns: names in the physical order, types mapped.
        QList<QPair<QString, QString>> converted;
        QSqlQuery info(db);
        QVERIFY(info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)));
        while (info.next())
            converted << qMakePair(info.value(1).toString(), info.value(2).toString());
        const auto& expected = columns.value(table);
        QCOMPARE(converted.size(), expected.size());
        QStringList types;
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(converted[i].first, expected[i].first);
            QCOMPARE(converted[i].second, expectedType(expected[i].second));
            types << converted[i].second;
        }

        // Rows: every value as mdb-export writes it, dates to the second.
        const auto exported = parseCsv(runMdb(QStringLiteral("mdb-export"),
                                              {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"), source, table}));
        QVERIFY(!exported.isEmpty());
        QCOMPARE(exported.first().size(), expected.size());
        QSqlQuery rows(db);
        QVERIFY(rows.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)));
        int n = 1;
        while (rows.next()) {
            QVERIFY2(n < exported.size(), qPrintable(table));
            const QList<Field>& want = exported[n];
            QCOMPARE(want.size(), types.size());
            for (int c = 0; c < types.size(); ++c) {
                const QVariant value = rows.value(c);
                const Field& field = want[c];
                const QString where = QStringLiteral("%1 row %2 column %3").arg(table).arg(n).arg(expected[c].first);
                if (!field.quoted && field.text.isEmpty()) {
                    // mdb-export writes NULL and the empty text alike.
                    QVERIFY2(value.isNull() || value.toString().isEmpty(), qPrintable(where));
                    continue;
                }
                QVERIFY2(!value.isNull(), qPrintable(where));
                // mdb-export turns days before 1900 into "1900-01-00";
                // those are checked against the written values below.
                if (types[c] == u"DATE" && value.toString() < u"1900")
                    continue;
                QCOMPARE(exportForm(value, types[c]), exportNumber(field.text, types[c]));
            }
            ++n;
        }
        QCOMPARE(n, exported.size());
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("converted"));
}

// Days since 30 December 1899; the fraction is the time of day, also
// for days before that date.
void TestAccessConversion::storedDatesFollowTheCalendar()
{
    using accessdb::reader::dateText;
    QCOMPARE(QString::fromStdString(dateText(0.0)), QStringLiteral("1899-12-30"));
    QCOMPARE(QString::fromStdString(dateText(1.5)), QStringLiteral("1899-12-31 12:00:00"));
    QCOMPARE(QString::fromStdString(dateText(-1.25)), QStringLiteral("1899-12-29 06:00:00"));
    QCOMPARE(QString::fromStdString(dateText(60.0)), QStringLiteral("1900-02-28"));
    QCOMPARE(QString::fromStdString(dateText(61.0)), QStringLiteral("1900-03-01"));
    // 1 January 2000, one second before midnight.
    QCOMPARE(QString::fromStdString(dateText(36526.0 + 86399.0 / 86400.0)), QStringLiteral("2000-01-01 23:59:59"));
    // 29 February 2024 and 7 December 2026, 10:15:30 (beyond 2038).
    QCOMPARE(QString::fromStdString(dateText(45351.0)), QStringLiteral("2024-02-29"));
    QCOMPARE(QString::fromStdString(dateText(46363.0 + (10 * 3600 + 15 * 60 + 30) / 86400.0)),
             QStringLiteral("2026-12-07 10:15:30"));
    QCOMPARE(QString::fromStdString(dateText(2958465.0)), QStringLiteral("9999-12-31"));
    QCOMPARE(QString::fromStdString(dateText(-657434.0)), QStringLiteral("0100-01-01"));
    // Half a second before midnight rounds into the next day.
    QCOMPARE(QString::fromStdString(dateText(36526.0 + 86399.6 / 86400.0)), QStringLiteral("2000-01-02"));
    QVERIFY(dateText(1e300).empty());
}

void TestAccessConversion::everyKindOfValueComesOutExactly_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QStringList>("rows");
    // Each value as SQLite quotes it; currency to four decimals.
    const QString table1 = QStringLiteral(
        "SELECT quote(A)||'|'||quote(B)||'|'||quote(C)||'|'||quote(D)||'|'||quote(E)||'|'||quote(F)||'|'||quote(G)"
        "||'|'||CASE WHEN H IS NULL THEN 'NULL' ELSE printf('%.4f', H) END||'|'||quote(I) FROM Table1 ORDER BY rowid");
    const QStringList typed = {
        QStringLiteral("'Račun 1/2026'|'Čedomir Šimić, Đakovo'|255|-32768|2147483647|0.5|'2026-12-07 10:15:30'|1234.5678|1"),
        QStringLiteral("'ćevapčići'|'ŽUPANIJA ĆĆĐŠŽ čćđšž'|0|32767|-2147483648|-1234.5|'1899-12-30 23:59:59'|-0.0001|0"),
        QStringLiteral("NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|0"),
        QStringLiteral("''|'prazno gore'|1|0|0|0.0|'1885-06-01 14:30:00'|0.9999|1"),
        QStringLiteral("'ĐURO ĐAKOVIĆ'|NULL|7|-1|1|1.0e-300|'2000-02-29'|NULL|1"),
        QStringLiteral("'Šibenik'|'Ž'|NULL|12|NULL|NULL|'1900-01-01 00:00:01'|99999999.9999|0"),
    };
    // Jet 3 keeps text in the file's code page (here Windows-1250).
    QTest::newRow("Jet 3") << QStringLiteral("jet3-values.mdb") << table1 << typed;
    QTest::newRow("Jet 4") << QStringLiteral("jet4-values.mdb") << table1 << typed;
    QTest::newRow("memo") << QStringLiteral("jet4-memo.mdb")
                          << QStringLiteral("SELECT quote(col1)||'|'||quote(col2) FROM test ORDER BY rowid")
                          << QStringList{QStringLiteral("'Čćđšž ČĆĐŠŽ – napomena uz nalaz'|NULL"),
                                         QStringLiteral("''|NULL"), QStringLiteral("NULL|NULL")};
}

// The rows added to the licensed files (see data/SOURCE): NULLs, Croatian
// letters, times of day and days before 1900, currency, yes/no, the limits
// of the whole-number types, each against the value that was written.
void TestAccessConversion::everyKindOfValueComesOutExactly()
{
    QFETCH(QString, file);
    QFETCH(QString, select);
    QFETCH(QStringList, rows);
    TempFolder folder;
    const QString target = folder.file(QStringLiteral("Kelmorin.mdb"));
    const Run run = runTool({QStringLiteral("import-access"), kData + u'/' + file, target});
    QVERIFY2(!run.crashed && run.exitCode == 0, qPrintable(run.err));
    QStringList converted;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("values"));
        db.setDatabaseName(target);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(select), qPrintable(query.lastError().text()));
        while (query.next())
            converted << query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("values"));
    // The rows the licensed file had come first.
    QVERIFY(converted.size() > rows.size());
    QCOMPARE(converted.mid(converted.size() - rows.size()), rows);
}

void TestAccessConversion::aPasswordProtectedCopyIsRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Jet 3") << QStringLiteral("jet3-types.mdb");
    QTest::newRow("Jet 4") << QStringLiteral("jet4-types.mdb");
}

// The database password is kept in the header, under a fixed stream
// cipher: a changed byte there is a password set, as Access would have it.
void TestAccessConversion::aPasswordProtectedCopyIsRefused()
{
    QFETCH(QString, file);
    QFile original(kData + u'/' + file);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QByteArray bytes = original.readAll();
    bytes[0x42] = static_cast<char>(bytes.at(0x42) ^ 'K');
    TempFolder folder;
    folder.touch(QStringLiteral("lozinka.mdb"), bytes);
    const Run run = runTool({QStringLiteral("import-access"), folder.file(QStringLiteral("lozinka.mdb")),
                             folder.file(QStringLiteral("Kelmorin.mdb"))});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("Datoteka lozinka.mdb se ne može pretvoriti: baza je zaštićena lozinkom.")),
             qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("Nova datoteka nije napravljena")), qPrintable(run.err));
    QCOMPARE(filesIn(folder.path()), QStringList{QStringLiteral("lozinka.mdb")});
}

void TestAccessConversion::damagedCopiesGiveAMessageAndNoFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    for (const QString& file : testFiles()) {
        for (const char* damage : {"empty", "header only", "one page", "half", "last page missing", "catalog scrambled",
                                   "table pages scrambled", "every page scrambled", "not a database"})
            QTest::addRow("%s %s", qPrintable(file), damage) << file << QString::fromLatin1(damage);
    }
}

void TestAccessConversion::damagedCopiesGiveAMessageAndNoFile()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFile original(kData + u'/' + file);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QByteArray bytes = original.readAll();
    const int page = bytes.at(0x14) == 0 ? 2048 : 4096;
    QRandomGenerator random(20261207);
    const auto scramble = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to && i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(random.bounded(256));
    };
    if (damage == u"empty")
        bytes.clear();
    else if (damage == u"header only")
        bytes.truncate(100);
    else if (damage == u"one page")
        bytes.truncate(page);
    else if (damage == u"half")
        bytes.truncate(bytes.size() / 2 / page * page);
    else if (damage == u"last page missing")
        bytes.truncate(bytes.size() - page);
    else if (damage == u"catalog scrambled")
        scramble(2 * page, 3 * page); // the page of the system catalog
    else if (damage == u"table pages scrambled")
        scramble(3 * page, bytes.size());
    else if (damage == u"every page scrambled")
        scramble(page, bytes.size());
    else if (damage == u"not a database")
        bytes = "Ovo nije baza podataka.\r\n";

    TempFolder folder;
    folder.touch(QStringLiteral("izvor.mdb"), bytes);
    const Run run = runTool({QStringLiteral("import-access"), folder.file(QStringLiteral("izvor.mdb")),
                             folder.file(QStringLiteral("Kelmorin.mdb"))});
    QVERIFY(!run.crashed);
    // A damaged copy may still hold everything a table needs (a page
    // of a table that has no rows); then the conversion is whole.
    if (run.exitCode == 0 && (damage == u"last page missing" || damage == u"table pages scrambled")) {
        QVERIFY(QFileInfo::exists(folder.file(QStringLiteral("Kelmorin.mdb"))));
        QCOMPARE(filesIn(folder.path()).size(), 2);
        return;
    }
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("Datoteka izvor.mdb se ne može pretvoriti: ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("Nova datoteka nije napravljena")), qPrintable(run.err));
    QCOMPARE(filesIn(folder.path()), QStringList{QStringLiteral("izvor.mdb")});
}

void TestAccessConversion::refusesToWriteOverOrBesideAnything()
{
    TempFolder folder;
    const QString source = kData + QStringLiteral("/jet4-types.mdb");
    folder.touch(QStringLiteral("Kelmorin.mdb"), "prije");
    Run run = runTool({QStringLiteral("import-access"), source, folder.file(QStringLiteral("Kelmorin.mdb"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("već postoji")), qPrintable(run.err));
    QFile kept(folder.file(QStringLiteral("Kelmorin.mdb")));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("prije"));

    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        folder.touch(QStringLiteral("Pac.mdb") + QLatin1String(suffix), "ostatak");
        run = runTool({QStringLiteral("import-access"), source, folder.file(QStringLiteral("Pac.mdb"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Pac.mdb") + QLatin1String(suffix)), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("Pac.mdb"))));
        QVERIFY(QFile::remove(folder.file(QStringLiteral("Pac.mdb") + QLatin1String(suffix))));
    }

    // A file in the newer format is named as such.
    QFile jet4(source);
    QVERIFY(jet4.open(QIODevice::ReadOnly));
    QByteArray newer = jet4.readAll();
    newer[0x14] = 3;
    folder.touch(QStringLiteral("novija.accdb"), newer);
    run = runTool({QStringLiteral("import-access"), folder.file(QStringLiteral("novija.accdb")),
                   folder.file(QStringLiteral("Pac.mdb"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("accdb")), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("Pac.mdb"))));
}

void TestAccessConversion::aConverterThatCrashesOrStallsLeavesNoFile_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("reason");
    QTest::newRow("crash") << QByteArray("echo 'TABLES 1 10'; echo 'TABLE 10 Rn'; kill -SEGV $$")
                           << QStringLiteral("datoteka je oštećena (pretvorba se prekinula)");
    QTest::newRow("stall") << QByteArray("echo 'TABLES 1 10'; exec sleep 30")
                           << QStringLiteral("pretvorba je zastala, datoteka je vjerojatno oštećena");
    QTest::newRow("ends without saying it is done") << QByteArray("echo 'TABLES 1 10'; exit 0")
                                                    << QStringLiteral("datoteka je oštećena");
    QTest::newRow("fewer rows than the source")
        << QByteArray("echo 'TABLES 1 10'; echo 'TABLE 10 Rn'; cp \"$KELMORIN_EMPTY_RN\" \"$2\"; echo DONE")
        << QStringLiteral("u tablici Rn izvorna datoteka ima 10 redaka, a nova 0");
}

// The program never trusts the converter's word alone: a crash, silence,
// a missing end or a table short of rows all leave no new file.
void TestAccessConversion::aConverterThatCrashesOrStallsLeavesNoFile()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, reason);
    TempFolder folder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty"));
        db.setDatabaseName(folder.file(QStringLiteral("empty.sqlite")));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("CREATE TABLE Rn (a)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("empty"));
    qputenv("KELMORIN_EMPTY_RN", folder.file(QStringLiteral("empty.sqlite")).toUtf8());
    folder.touch(QStringLiteral("converter.sh"), "#!/bin/sh\n" + script + "\n");
    QVERIFY(QFile::setPermissions(folder.file(QStringLiteral("converter.sh")), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(QDir().mkdir(folder.file(QStringLiteral("shop"))));
    accessdb::Conversion conversion(folder.file(QStringLiteral("converter.sh")));
    conversion.setSilenceLimit(500);
    QVERIFY(!conversion.run(kData + QStringLiteral("/jet4-types.mdb"), folder.file(QStringLiteral("shop/Kelmorin.mdb"))));
    QCOMPARE(conversion.error(), QStringLiteral("Datoteka jet4-types.mdb se ne može pretvoriti: %1.\r\n"
                                                "Nova datoteka nije napravljena; izvorna datoteka ostaje kakva je.")
                                     .arg(reason));
    QVERIFY(filesIn(folder.file(QStringLiteral("shop"))).isEmpty());
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestAccessConversion)
#include "tst_access_conversion.moc"
