// Loading the fund's price list from a CSV file: reading the file in the
// forms a shop saves it, what the summary tells, what is changed, and that a
// bad file or a failure on the way changes nothing.
#include "codelists/codelist_commands.h"
#include "codelists/price_file.h"
#include "codelists/price_load.h"
#include "common/cp1250.h"
#include "data/database.h"
#include "support/process_run.h"
#include "support/shop_fixture.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray kRows = "2103060101001;Leća za čitanje, \"plus\";12,5;5\r\n"
                         "210303141201;Okvir;7;25 %\r\n";

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestPriceList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheFormsAShopSaves_data();
    void readsTheFormsAShopSaves();
    void refusesAFileWithoutItsColumns();
    void numbersAndRates();
    void rowsNotUnderstoodAreListedByLine();
    void pricesAreRoundedThenCheckedAndRatesAreTheFunds();
    void onlyRegularFilesOfAPriceListsSize();

    void knownNewAndUnchangedCodes();
    void namesAndRatesThatChangeAreShown();
    void badNumberOnLineSevenChangesNothing();
    void cancelAndFailureChangeNothing();
    void toolPrintsAndAppliesOnlyWithYes();

private:
    // Every row of both lists, to compare before and after.
    static QByteArray dump(Database& db);
};

QByteArray TestPriceList::dump(Database& db)
{
    QByteArray all;
    for (const char* table : {"KelmorinISO", "OrtopedskaKelmorinISO"}) {
        QSqlQuery q(db.handle());
        q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                all += q.value(i).toString().toUtf8() + '|';
            all += '\n';
        }
    }
    all += db.scalar(QStringLiteral("SELECT group_concat(name) FROM sqlite_master")).toString().toUtf8();
    return all;
}

void TestPriceList::readsTheFormsAShopSaves_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QString::fromUtf8("Šifra;Naziv;Cijena;PDV\r\n" + kRows);
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF" + text.toUtf8());
    QTest::newRow("Windows-1250") << cp1250::encode(text);
    QTest::newRow("commas, quoted decimal comma, other headings")
        << QByteArray("Cjenik ortopedskih pomagala\n\nSIFRA,\"naziv pomagala\",\"Cijena (EUR)\",\"Stopa PDV-a\"\n"
                      "2103060101001,\"Le\xC4\x87" "a za \xC4\x8Ditanje, \"\"plus\"\"\",\"12,5\",5\n"
                      "210303141201,Okvir,7,\"25 %\"\n");
    QTest::newRow("commas, decimal point, LF") << QByteArray(
        "sifra,Naziv,cijena,pdv\n2103060101001,\"Le\xC4\x87" "a za \xC4\x8Ditanje, \"\"plus\"\"\",12.5,5\n210303141201,Okvir,7.00,25\n");
}

void TestPriceList::readsTheFormsAShopSaves()
{
    QFETCH(QByteArray, bytes);
    const pricefile::Result r = pricefile::parse(bytes);
    QVERIFY2(r, qPrintable(pricefile::describe(r.failure)));
    const auto& rows = r.content->rows;
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].code, QStringLiteral("2103060101001"));
    QCOMPARE(rows[0].name.value_or(QString()), QStringLiteral("Leća za čitanje, \"plus\""));
    QCOMPARE(rows[0].price, 12.5);
    QCOMPARE(rows[0].vatRate.value_or(-1), 5.0);
    QCOMPARE(rows[1].code, QStringLiteral("210303141201"));
    QCOMPARE(rows[1].price, 7.0);
    QCOMPARE(rows[1].vatRate.value_or(-1), 25.0);
    QVERIFY(r.content->skipped.empty());
}

void TestPriceList::refusesAFileWithoutItsColumns()
{
    pricefile::Result r = pricefile::parse("Naziv;Cijena\nOkvir;7\n");
    QVERIFY(!r);
    QVERIFY(r.failure.reason.contains(QStringLiteral("Šifra")));
    r = pricefile::parse("Šifra;Naziv;Iznos\n210303141201;Okvir;7\n");
    QVERIFY(!r);
    QVERIFY(r.failure.reason.contains(QStringLiteral("Cijena")));
    // Two price columns and neither is the plain one: the file does not say
    // which to take.
    r = pricefile::parse("Šifra;Cijena s PDV-om;Cijena EUR\n210303141201;8,75;7\n");
    QVERIFY(!r);
    QCOMPARE(r.failure.line, 1);
    r = pricefile::parse("Šifra;Naziv;Cijena\n210303141201;\"Okvir;7\n210303141202;Drugi;8\n");
    QVERIFY(!r);
    QCOMPARE(r.failure.line, 2);
    QVERIFY(!pricefile::parse(QByteArray("SQLite format 3\0\0\0", 18)));
}

void TestPriceList::numbersAndRates()
{
    QCOMPARE(pricefile::number(u"1.234,56").value_or(0), 1234.56);
    QCOMPARE(pricefile::number(u"1,234.56").value_or(0), 1234.56);
    QCOMPARE(pricefile::number(u"0,0425").value_or(0), 0.0425);
    QCOMPARE(pricefile::number(u" 45,00 € ").value_or(0), 45.0);
    QCOMPARE(pricefile::number(u"1 234,5").value_or(0), 1234.5);
    QVERIFY(!pricefile::number(u"12,5x"));
    QVERIFY(!pricefile::number(u"1.23.4"));
    QVERIFY(!pricefile::number(u""));
    QVERIFY(!pricefile::number(u"1e308"));
    // In a file of decimal commas "1.234" is a thousand and more, not one.
    QCOMPARE(pricefile::decimalMark({"12,50", "1.234", "7"}), QChar(u','));
    QCOMPARE(pricefile::decimalMark({"12.50", "1,234"}), QChar(u'.'));
    QVERIFY(pricefile::decimalMark({"1.234", "2,345"}).isNull());
    QCOMPARE(pricefile::number(u"1.234", u',').value_or(0), 1234.0);
    QCOMPARE(pricefile::number(u"1,234", u'.').value_or(0), 1234.0);
    QVERIFY(!pricefile::number(u"1.5", u','));
    QCOMPARE(pricefile::number(u"12,50", u',').value_or(0), 12.5);
    QVERIFY(!pricefile::number(u"inf"));
    // Amounts that would overflow every printed column refuse the file,
    // naming the line; extra decimals are cut to the lists' four.
    pricefile::Result big = pricefile::parse("Šifra;Naziv;Cijena\n2103060101001;Leća;1,23456\n2103060101002;Okvir;99999999999999999999\n");
    QVERIFY(!big);
    QCOMPARE(big.failure.line, 3);
    big = pricefile::parse("Šifra;Naziv;Cijena\n2103060101001;Leća;1,23456\nABCDEFGHIJKL;Slova;5\n");
    QVERIFY(big);
    QCOMPARE(big.content->rows.size(), size_t(1));
    QCOMPARE(big.content->rows[0].price, 1.2346);
    QCOMPARE(big.content->skipped.size(), size_t(1));
    QCOMPARE(pricefile::vatRate(u"25%").value_or(0), 25.0);
    QCOMPARE(pricefile::vatRate(u"0,05").value_or(0), 5.0);
    QCOMPARE(pricefile::vatRate(u"PDV 5%").value_or(0), 5.0);
    QCOMPARE(pricefile::vatRate(u"opća stopa").value_or(0), 25.0);
    QVERIFY(!pricefile::vatRate(u"130"));
    QVERIFY(!pricefile::vatRate(u"5,5"));
    QVERIFY(!pricefile::vatRate(u"puno"));
}

void TestPriceList::pricesAreRoundedThenCheckedAndRatesAreTheFunds()
{
    struct Case {
        const char* price;
        const char* vat;
        double stored; // -1: the file is refused
    };
    const Case cases[] = {
        {"999999,9999", "5", 999999.9999},
        {"999999,99999", "5", -1}, // a million once rounded
        {"1000000", "5", -1},
        {"0,00004", "5", -1},      // a price that would become 0
        {"0,00005", "5", 0.0001},
        {"0", "5", 0},
        {"-0,00001", "5", -1},
        {"12,5", "0,5", -1},       // no 50 %
        {"12,5", "100", -1},
        {"12,5", "7", -1},
        {"12,5", "0,13", 12.5},
        {"12,5", "25 %", 12.5},
    };
    for (const Case& c : cases) {
        const QByteArray csv = QByteArray("Šifra;Cijena;PDV\n2103060101001;") + c.price + ';' + c.vat + '\n';
        const pricefile::Result r = pricefile::parse(csv);
        const QByteArray what = QByteArray(c.price) + " / " + c.vat;
        if (c.stored < 0) {
            QVERIFY2(!r, what.constData());
            QCOMPARE(r.failure.line, 2);
            continue;
        }
        QVERIFY2(r, what.constData());
        QCOMPARE(r.content->rows.at(0).price, c.stored);
    }
}

void TestPriceList::onlyRegularFilesOfAPriceListsSize()
{
    TempFolder folder;
    // A pipe in the file's place is refused at once, not waited on.
    const QString fifo = folder.file(QStringLiteral("cjenik.csv"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    pricefile::Result r = pricefile::read(fifo);
    QVERIFY(!r);
    QVERIFY2(r.failure.reason.contains(QStringLiteral("cjenik.csv")) && r.failure.reason.contains(QStringLiteral("obična")),
             qPrintable(r.failure.reason));
    QVERIFY(timer.elapsed() < 10000);
    // A device that never ends.
    r = pricefile::read(QStringLiteral("/dev/zero"));
    QVERIFY(!r);
    QVERIFY(r.failure.reason.contains(QStringLiteral("obična")));
    // A file larger than any price list; the message says the limit.
    const QString big = folder.file(QStringLiteral("veliki.csv"));
    {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write("Šifra;Cijena\n"));
        QVERIFY(f.resize(pricefile::kMaxSize + 1));
    }
    r = pricefile::read(big);
    QVERIFY(!r);
    QVERIFY2(r.failure.reason.contains(QStringLiteral("16 MB")), qPrintable(r.failure.reason));

    // Through the tool: the folder is not held for ever.
    const QString shop = folder.file(QStringLiteral("shop"));
    QProcess init;
    init.start(QStringLiteral(KELMORIN_TOOL), {QStringLiteral("init"), shop});
    QVERIFY(init.waitForFinished(30000));
    QProcess prices;
    prices.start(QStringLiteral(KELMORIN_TOOL), {QStringLiteral("prices"), shop, fifo, QStringLiteral("--yes")});
    QVERIFY(prices.waitForFinished(30000));
    QCOMPARE(prices.exitStatus(), QProcess::NormalExit);
    QCOMPARE(prices.exitCode(), 1);
    QVERIFY(QString::fromUtf8(prices.readAllStandardError()).contains(QStringLiteral("cjenik.csv")));
}

void TestPriceList::rowsNotUnderstoodAreListedByLine()
{
    const pricefile::Result r = pricefile::parse("Šifra;Naziv;Cijena;PDV\n"
                                                 "2103060101001;Leća;12,5;5\n"
                                                 "ORTOPEDIJA;;;\n"
                                                 ";Naslov skupine;;\n"
                                                 "2103060101002;Bez cijene;;5\n"
                                                 ";;;\n"
                                                 "2103060101001;Ponovljena;13;5\n");
    QVERIFY(r);
    QCOMPARE(r.content->rows.size(), size_t(1));
    QList<int> lines;
    for (const auto& s : r.content->skipped)
        lines << s.line;
    QCOMPARE(lines, (QList<int>{3, 4, 5, 7}));
    QVERIFY(r.content->skipped[3].reason.contains(QStringLiteral("retku 2")));
}

void TestPriceList::knownNewAndUnchangedCodes()
{
    ShopFixture shop(newfolder::Content::Demo);
    QVERIFY(shop.session);
    Database& db = shop.session->database();
    // The same code twice in the list: the file's price goes to its first row.
    QVERIFY(db.exec(QStringLiteral("INSERT INTO OrtopedskaKelmorinISO (Broj, Sifra, Naziv, Cijena, PDV) "
                                   "VALUES (40, '2103060102001', 'drugi redak', 16.8, 5)")));
    const QByteArray before = dump(db);
    write(QStringLiteral("cjenik.csv"),
          "Šifra;Naziv;Cijena;PDV\n"
          "2103060101001;Sferna leća;13,75;5\n"      // price of a known 13-character code
          "2103060102001;;99;5\n"                    // known, twice in the list
          "210303141201;PRIMJER - sunčane naočale s dioptrijom;45;25\n" // unchanged
          "2103031412001;;45,00;\n"                  // unchanged, rate kept
          "9900000000001;Novo pomagalo;10;25\n"      // new in the 13-character list
          "9900000000003;" + QByteArray(300, 'N') + ";10;5\n" // a name longer than the field
          "990000000001;Novo staro;20;5\n"           // new in the 12-character list
          "9900000000002;Bez stope;10;\n"            // new, no rate: left out
          "12345;Kratka;1;5\n");
    shop.dialogs.answer(true);
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Applied);

    const QString summary = shop.dialogs.shown().at(0).text;
    QVERIFY2(summary.contains(QStringLiteral("cijena kod 2 šifri")), qPrintable(summary));
    QVERIFY(summary.contains(QStringLiteral("2103060102001: 16")));
    QVERIFY(summary.contains(QStringLiteral("Novih šifri (dodaju se na kraj popisa): 3.")));
    QVERIFY(summary.contains(QStringLiteral("Bez promjene: 2 šifri.")));
    QVERIFY(summary.contains(QStringLiteral("redak 9: nova šifra 9900000000002 nema stopu PDV-a")));
    QVERIFY(summary.contains(QStringLiteral("redak 10: šifra \"12345\"")));
    // The larger change is listed first.
    QVERIFY(summary.indexOf(QStringLiteral("2103060102001")) < summary.indexOf(QStringLiteral("2103060101001")));

    auto value = [&](const char* sql) { return db.scalar(QString::fromLatin1(sql)); };
    QCOMPARE(value("SELECT Cijena FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060101001'").toDouble(), 13.75);
    QCOMPARE(value("SELECT Naziv FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060101001'").toString(),
             QStringLiteral("Sferna leća"));
    QCOMPARE(value("SELECT group_concat(Cijena || '/' || Naziv) FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060102001' "
                   "ORDER BY rowid").toString(),
             QStringLiteral("99.0/PRIMJER - sferna leća od +/-4,25 do +/-6,0 D,16.8/drugi redak"));
    QCOMPARE(value("SELECT PDV FROM OrtopedskaKelmorinISO WHERE Sifra = '2103031412001'").toInt(), 25);
    QCOMPARE(value("SELECT Broj || '/' || Cijena || '/' || PDV FROM OrtopedskaKelmorinISO WHERE Sifra = '9900000000001'").toString(),
             QStringLiteral("41/10.0/25"));
    QCOMPARE(value("SELECT Broj FROM KelmorinISO WHERE Sifra = '990000000001'").toInt(), 13);
    QCOMPARE(value("SELECT length(Naziv) FROM OrtopedskaKelmorinISO WHERE Sifra = '9900000000003'").toInt(), 255);
    QCOMPARE(value("SELECT count(*) FROM OrtopedskaKelmorinISO WHERE Sifra = '9900000000002'").toInt(), 0);
    QCOMPARE(value("SELECT Cijena FROM OrtopedskaKelmorinISO WHERE Sifra = '0603120101001'").toDouble(), 52.10);

    // The lists as they were, under the upgrade steps' kind of name.
    QCOMPARE(value("SELECT Cijena FROM OrtopedskaKelmorinISO261207 WHERE Sifra = '2103060101001'").toDouble(), 12.5);
    QCOMPARE(value("SELECT count(*) FROM KelmorinISO261207").toInt(), 12);
    QVERIFY(shop.dialogs.messages().last().contains(QStringLiteral("OrtopedskaKelmorinISO261207")));

    // A second load on the same day keeps the first backup.
    write(QStringLiteral("cjenik.csv"), "Šifra;Cijena\n2103060101001;14\n");
    shop.dialogs.answer(true);
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Applied);
    QCOMPARE(value("SELECT Cijena FROM OrtopedskaKelmorinISO261207 WHERE Sifra = '2103060101001'").toDouble(), 12.5);
    QCOMPARE(value("SELECT Cijena FROM OrtopedskaKelmorinISO261207_2 WHERE Sifra = '2103060101001'").toDouble(), 13.75);
    QVERIFY(!db.hasTable(QStringLiteral("KelmorinISO261207_2")));
    // The lists changed; the backups hold them as they were.
    QVERIFY(dump(db) != before);
}

void TestPriceList::namesAndRatesThatChangeAreShown()
{
    ShopFixture shop(newfolder::Content::Demo);
    QVERIFY(shop.session);
    Database& db = shop.session->database();
    auto value = [&](const QString& sql) { return db.scalar(sql); };
    const QString oldName = value(QStringLiteral("SELECT Naziv FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060101001'")).toString();
    QVERIFY(!oldName.isEmpty());
    // The same prices: only a name and a rate change.
    write(QStringLiteral("cjenik.csv"), "Šifra;Naziv;Cijena;PDV\n"
                                        "2103060101001;Sferna leća, plastična;12,5;5\n"
                                        "2103031412001;;45,00;5\n");
    shop.dialogs.answer(true);
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Applied);
    const QString summary = shop.dialogs.shown().at(0).text;
    QVERIFY2(summary.contains(QStringLiteral("Mijenja se cijena kod 0 šifri.")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("Mijenja se naziv kod 1 šifri (šifra: stari naziv -> novi naziv):\r\n"
                                             "   2103060101001: ")
                              + oldName + QStringLiteral(" -> Sferna leća, plastična")),
             qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("Mijenja se stopa PDV-a kod 1 šifri (šifra: stara stopa -> nova stopa):\r\n"
                                             "   2103031412001: 25 % -> 5 %")),
             qPrintable(summary));
    QCOMPARE(value(QStringLiteral("SELECT Naziv FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060101001'")).toString(),
             QStringLiteral("Sferna leća, plastična"));
    QCOMPARE(value(QStringLiteral("SELECT PDV FROM OrtopedskaKelmorinISO WHERE Sifra = '2103031412001'")).toInt(), 5);
}

void TestPriceList::badNumberOnLineSevenChangesNothing()
{
    ShopFixture shop(newfolder::Content::Demo);
    QVERIFY(shop.session);
    Database& db = shop.session->database();
    const QByteArray before = dump(db);
    write(QStringLiteral("cjenik.csv"), "Šifra;Naziv;Cijena;PDV\n"
                                        "2103060101001;Leća;13;5\n"
                                        "2103060102001;Leća;14;5\n"
                                        "2103060201001;Leća;15;5\n"
                                        "2103060301001;Leća;16;5\n"
                                        "2103060401001;Leća;17;5\n"
                                        "2103061001001;Okvir;18,5 kn;5\n"
                                        "2103061002001;Okvir;19;5\n");
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Failed);
    QCOMPARE(shop.dialogs.shown().size(), size_t(1)); // no question, only why
    const QString message = shop.dialogs.messages().first();
    QVERIFY2(message.contains(QStringLiteral("Redak 7")) && message.contains(QStringLiteral("18,5 kn")), qPrintable(message));
    QCOMPARE(dump(db), before);

    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("nema.csv")), codelists::PriceLoad::Failed);
    QVERIFY(shop.dialogs.messages().last().contains(QStringLiteral("nema.csv")));
    QCOMPARE(dump(db), before);
}

void TestPriceList::cancelAndFailureChangeNothing()
{
    ShopFixture shop(newfolder::Content::Demo);
    QVERIFY(shop.session);
    Database& db = shop.session->database();
    write(QStringLiteral("cjenik.csv"), "Šifra;Cijena;PDV\n2103060101001;13;5\n9900000000001;10;5\n9900000000002;11;5\n");
    const QByteArray before = dump(db);
    shop.dialogs.answer(false);
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Cancelled);
    QCOMPARE(dump(db), before);

    // The database refuses the second new code half way: the backup, the
    // changed price and the first new code are all undone.
    QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER odbij BEFORE INSERT ON OrtopedskaKelmorinISO "
                                   "WHEN NEW.Sifra = '9900000000002' BEGIN SELECT RAISE(ABORT, 'disk je pun'); END")));
    const QByteArray withTrigger = dump(db);
    shop.dialogs.answer(true);
    QCOMPARE(codelists::loadPriceFile(shop.services(), db, QStringLiteral("cjenik.csv")), codelists::PriceLoad::Failed);
    QVERIFY(shop.dialogs.messages().last().contains(QStringLiteral("disk je pun")));
    QCOMPARE(dump(db), withTrigger);
}

void TestPriceList::toolPrintsAndAppliesOnlyWithYes()
{
    TempFolder folder;
    const QString shop = folder.file(QStringLiteral("shop"));
    auto tool = [](const QStringList& args) {
        const ProcessRun run = runProcess(QStringLiteral(KELMORIN_TOOL), args);
        return std::make_tuple(run.code, run.out, run.err);
    };
    QCOMPARE(std::get<0>(tool({QStringLiteral("init"), QStringLiteral("--demo"), shop})), 0);
    write(folder.file(QStringLiteral("c.csv")), "Šifra;Cijena\n2103060101001;13\n");
    auto price = [&] {
        Database db(shop + QStringLiteral("/Kelmorin.mdb"));
        return db.scalar(QStringLiteral("SELECT Cijena FROM OrtopedskaKelmorinISO WHERE Sifra = '2103060101001'")).toDouble();
    };
    auto [code, out, err] = tool({QStringLiteral("prices"), shop, folder.file(QStringLiteral("c.csv"))});
    QCOMPARE(code, 0);
    QVERIFY2(out.contains(QStringLiteral("2103060101001: 12")), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("--yes")));
    QCOMPARE(price(), 12.5);
    std::tie(code, out, err) = tool({QStringLiteral("prices"), shop, folder.file(QStringLiteral("c.csv")), QStringLiteral("--yes")});
    QCOMPARE(code, 0);
    QCOMPARE(price(), 13.0);

    write(folder.file(QStringLiteral("c.csv")), "Šifra;Cijena\n2103060101001;x\n");
    std::tie(code, out, err) = tool({QStringLiteral("prices"), shop, folder.file(QStringLiteral("c.csv")), QStringLiteral("--yes")});
    QCOMPARE(code, 1);
    QVERIFY(err.contains(QStringLiteral("Redak 2")));
    QCOMPARE(std::get<0>(tool({QStringLiteral("prices"), shop})), 2);
}

#include "support/test_main.h"
KELMORIN_TEST_MAIN(TestPriceList)
#include "tst_price_list.moc"
