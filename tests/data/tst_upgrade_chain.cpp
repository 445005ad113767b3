#include "common/clock.h"
#include "support/fake_platform.h"
#include "common/scripted_dialogs.h"
#include "data/database.h"
#include "data/layout_refresh.h"
#include "data/line_thickness.h"
#include "data/new_folder.h"
#include "data/schema.h"
#include "data/upgrade_chain.h"
#include "support/checked.h"
#include "support/temp_folder.h"
#include "upgrade_fixtures.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString kPrices = QStringLiteral("Usklađene su cijene optičkih kelmorin!");

QStringList allStepIds()
{
    QStringList ids;
    for (const upgrade::Step& s : upgrade::steps())
        ids << s.id;
    return ids;
}

// A folder at the newest release whose newest marker is that of `id`.
void makeCurrentFolderMarkedAt(const QString& id)
{
    FixedClock clock(QDate(2026, 1, 1));
    QString error;
    QVERIFY2(newfolder::create(QStringLiteral("."), newfolder::Content::Empty, clock, &error), qPrintable(error));
    QFile::remove(upgrade::markerName(upgrade::steps().back().id));
    QFile marker(upgrade::markerName(id));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    // The database of that release records the steps up to id.
    Database db(schema::kInvoiceFile);
    const QStringList ids = upgrade::allStepIds();
    for (const QString& later : ids.mid(ids.indexOf(id) + 1))
        QVERIFY(db.exec(QStringLiteral("DELETE FROM Nadogradnje WHERE Korak = ?"), {later}));
}

QStringList indexesOf(Database& db, const QString& table)
{
    QStringList names;
    QSqlQuery q(db.handle());
    q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = '%1' AND sql IS NOT NULL ORDER BY name").arg(table));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// A layout table's rows in stored order, one text per row.
QStringList layoutRows(Database& db, const QString& table)
{
    QStringList rows;
    QSqlQuery q(db.handle());
    if (!q.exec(QStringLiteral("SELECT A1, A2, A3, A4, A5, A6, A7, Opis FROM \"%1\" ORDER BY A0").arg(table)))
        return {QStringLiteral("unreadable")};
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < 8; ++i)
            values << (q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
        rows << values.join(u'|');
    }
    return rows;
}

// Puts the rows an earlier release wrote (a fixture file, one row a line:
// A1 to A6, then A7 or \N) in place of the table's rows.
void putEarlierRows(Database& db, const QString& table, const QString& release)
{
    QFile file(QStringLiteral(EARLIER_LAYOUTS "/%1_%2.tsv").arg(release, table));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QVERIFY(db.exec(QStringLiteral("DELETE FROM \"%1\"").arg(table)));
    const QString insert = QStringLiteral("INSERT INTO \"%1\" (A1, A2, A3, A4, A5, A6, A7) VALUES (?, ?, ?, ?, ?, ?, ?)").arg(table);
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split('\t');
        QCOMPARE(f.size(), 7);
        QVariantList binds;
        for (int i = 0; i < 6; ++i)
            binds << f[i].toDouble();
        binds << (f[6] == "\\N" ? QVariant() : QVariant(QString::fromUtf8(f[6])));
        QVERIFY(db.exec(insert, binds));
    }
}

QByteArray fileContent(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestUpgradeChain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        m_platform = std::make_unique<FakePlatform>();
    }
    void cleanup() { m_folder.reset(); }

    void whichStepsRun();
    void onlyTheStepAfterTheNewestMarkerRuns();
    void missingPackageStopsBeforeAnyChange();
    void failureHalfWayIsUndone();
    void wholeChainFromTheOldestDatabase();
    void tableNamesInPackagesIgnoreCase();
    void countGuardAddsNothingToAFullTable();
    void secondPlaceForBackupsCarriedIntoTheGeneralData();
    void invoiceLayoutsOfEarlierReleasesRefreshed_data();
    void invoiceLayoutsOfEarlierReleasesRefreshed();

private:
    upgrade::Chain chain() { return upgrade::Chain(*m_dialogs, m_clock, *m_platform); }

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<FakePlatform> m_platform;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 1), QTime(14, 5, 6))};
};

void TestUpgradeChain::whichStepsRun()
{
    QCOMPARE(upgrade::steps().size(), size_t(32));
    QCOMPARE(chain().pendingSteps(), allStepIds());

    m_folder->touch(QStringLiteral("upg160523.inm"));
    QCOMPARE(chain().pendingSteps(),
             (QStringList{QStringLiteral("051023"), QStringLiteral("061226"), QStringLiteral("081226"),
                          QStringLiteral("091226")}));

    // Markers of older steps do not matter once a newer one is there.
    m_folder->touch(QStringLiteral("UPG051023.INM"));
    QFile::remove(m_folder->file(QStringLiteral("upg160523.inm")));
    QCOMPARE(chain().pendingSteps(), (QStringList{QStringLiteral("061226"), QStringLiteral("081226"), QStringLiteral("091226")}));
    QFile::remove(m_folder->file(QStringLiteral("UPG051023.INM")));

    // A marker from 140110 on decides alone: the three oldest are skipped.
    m_folder->touch(QStringLiteral("upg140110.inm"));
    QCOMPARE(chain().pendingSteps(), allStepIds().mid(4));
    QFile::remove(m_folder->file(QStringLiteral("upg140110.inm")));

    // Without such a marker the three oldest run under their own markers.
    m_folder->touch(upgrade::kOldestMarker);
    m_folder->touch(QStringLiteral("upg170909.inm"));
    QStringList expected = allStepIds().mid(1);
    expected.removeOne(QStringLiteral("170909"));
    QCOMPARE(chain().pendingSteps(), expected);
}

void TestUpgradeChain::onlyTheStepAfterTheNewestMarkerRuns()
{
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("160523")));
    CHECKED(fixtures::makePackage(QStringLiteral("051023")));
    bool markerAtMessage = true;
    m_dialogs->onShown([&](const ScriptedDialogs::Shown&) { markerAtMessage = QFile::exists(QStringLiteral("upg051023.inm")); });

    QVERIFY(chain().run());
    QCOMPARE(m_dialogs->messages(), QStringList{kPrices});
    QVERIFY(!markerAtMessage); // this step's message comes before its marker
    QCOMPARE(fileContent(QStringLiteral("upg051023.inm")), QByteArray("011226140506\r\n"));

    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Naziv FROM OrtopedskaKelmorinISO")).toString(), QStringLiteral("paket 051023"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM OrtopedskaKelmorinISO051023")).toInt(), 12);
    // The backup took its indexes along under its own name; the new table
    // has fresh ones.
    QVERIFY(indexesOf(db, QStringLiteral("OrtopedskaKelmorinISO051023")).contains(QStringLiteral("OrtopedskaKelmorinISO051023_Sifra")));
    QVERIFY(indexesOf(db, QStringLiteral("OrtopedskaKelmorinISO")).contains(QStringLiteral("OrtopedskaKelmorinISO_Sifra")));

    m_dialogs->clear();
    QVERIFY(chain().run());
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TestUpgradeChain::missingPackageStopsBeforeAnyChange()
{
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("160523")));
    QVERIFY(!chain().run());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QVERIFY(m_dialogs->messages().first().contains(QStringLiteral("upg051023.mdb")));
    QVERIFY(!QFile::exists(QStringLiteral("upg051023.inm")));
    Database db(schema::kInvoiceFile);
    QVERIFY(!db.hasTable(QStringLiteral("OrtopedskaKelmorinISO051023")));
}

void TestUpgradeChain::failureHalfWayIsUndone()
{
    // The package lacks the table to import: the rename before it is undone.
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("160523")));
    CHECKED(fixtures::makePackageWith(QStringLiteral("051023"), {QStringLiteral("Osnovno")}));
    QVERIFY(!chain().run());
    QCOMPARE(m_dialogs->messages().size(), 1);
    QVERIFY(m_dialogs->messages().first().contains(QStringLiteral("051023")));
    QVERIFY(!QFile::exists(QStringLiteral("upg051023.inm")));
    Database db(schema::kInvoiceFile);
    QVERIFY(!db.hasTable(QStringLiteral("OrtopedskaKelmorinISO051023")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM OrtopedskaKelmorinISO")).toInt(), 12);
    QVERIFY(indexesOf(db, QStringLiteral("OrtopedskaKelmorinISO")).contains(QStringLiteral("OrtopedskaKelmorinISO_Sifra")));
}

void TestUpgradeChain::wholeChainFromTheOldestDatabase()
{
    CHECKED(fixtures::makeOldestDatabase());
    CHECKED(fixtures::makeEveryPackage());
    m_folder->touch(QStringLiteral("Rp6"), "layout 6");
    m_folder->touch(QStringLiteral("pacor.inm"), "patients");
    {
        Database legacy(QStringLiteral("OSNDOP.INM"), Database::Mode::Create);
        QVERIFY(legacy.exec(schema::createTableSql(QStringLiteral("Osnovno"), schema::layoutTable())));
        QVERIFY(legacy.exec(schema::createTableSql(QStringLiteral("Dopunsko"), schema::layoutTable())));
        QVERIFY(legacy.exec(QStringLiteral("INSERT INTO Osnovno (A0, A1, A7) VALUES (50, 1, 'staro')")));
    }
    QStringList shownWithMarker;
    m_dialogs->onShown([&](const ScriptedDialogs::Shown& s) {
        if (s.text.startsWith(QStringLiteral("Molim kliknite")))
            shownWithMarker << QString::number(QFile::exists(QStringLiteral("upg140110.inm")));
    });

    QVERIFY2(chain().run(), qPrintable(m_dialogs->messages().join(u'\n')));

    QCOMPARE(m_dialogs->messages(),
             (QStringList{
                 QStringLiteral("Molim kliknite na Opći podaci i upišite vaš OIB!"),
                 QStringLiteral("Ubačene su promjene u popis očnih kelmorin!"),
                 QStringLiteral("Ubačene su promjene cijena očnih kelmorin i promjenjen broj računa u skladu sa Zakonom!\r\n"
                                "Ne zaboravite promjeniti poslovnu godinu kako bi računi krenuli od broja 1!"),
                 QStringLiteral("Usklađen je popis optičkih kelmorin (vrijedi od 01.01.14)"),
                 kPrices, kPrices,
                 QStringLiteral("Ubačen je novi šifrarnik optičkih kelmorin (vrijedi od 21.11.15)!"),
                 kPrices, kPrices, kPrices, kPrices,
                 QStringLiteral("Ubačen je novi šifrarnik ortopedskih kelmorin u eurima!"),
                 kPrices, kPrices}));
    QCOMPARE(shownWithMarker, QStringList{QStringLiteral("1")}); // after its marker
    QCOMPARE(m_platform->registrations, 1);

    // Markers and files.
    QVERIFY(fileContent(upgrade::kOldestMarker).startsWith("Nadogradnja 050207 01.12.2026"));
    QCOMPARE(fileContent(QStringLiteral("upg041219.inm")), QByteArray("011226140506: 011219\r\n"));
    for (const QString& id : allStepIds().mid(1))
        QVERIFY2(QFile::exists(upgrade::markerName(id)), qPrintable(id));
    QVERIFY(!QFile::exists(QStringLiteral("OSNDOP.INM")));
    QCOMPARE(fileContent(QStringLiteral("Pac.mdb")), QByteArray("patients"));
    QCOMPARE(fileContent(QStringLiteral("Rp3")), QByteArray("layout 6"));

    Database db(schema::kInvoiceFile);
    // Rn ends with the newest columns in the newest order.
    QStringList expected;
    for (const schema::Column& c : schema::invoiceTable())
        expected << QString::fromLatin1(c.name);
    QCOMPARE(db.columns(QStringLiteral("Rn")), expected);
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(God || '/' || Rnbr, ' ') FROM Rn")).toString(), QStringLiteral("6/1 6/2"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Rn WHERE DatumIzdavanja = Datum")).toInt(), 2);
    QCOMPARE(db.columns(QStringLiteral("Opci")).mid(13, 8),
             (QStringList{"Brd", "Predbroj", "Izabroj", "RacunR", "Oznosn", "Ozndop", "God", "OIB"}));
    QCOMPARE(db.scalar(QStringLiteral("SELECT God || Oznosn || Ozndop FROM Opci")).toString(), QStringLiteral("200712"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT Cijena FROM Kelmorin WHERE Sifra = 'BNBD01M'")).toDouble(), 36.90);

    // Price change by code and the VAT rule: 25 stays, anything else is 5.
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(Cijena || '/' || PDV, ' ') FROM KelmorinISO080114")).toString(),
             QStringLiteral("99.5/5 5.0/25 10.0/25"));
    // The old list took the new list's price where the new list names its code.
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(Cijena, ' ') FROM KelmorinISO060123")).toString(),
             QStringLiteral("70.25 5.0"));
    // 071219 added its rows to the layout that 120922 then kept as a backup.
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Osnovno120922 WHERE A7 = 'Datum izdavanja kelmorin:'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT A7 FROM Osnovno")).toString(), QStringLiteral("paket 060123"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT A7 FROM OrtopedskoPomagalo2")).toString(), QStringLiteral("paket 150123"));
    for (const char* backup : {"KelmorinISO030914", "KelmorinISO120115", "OrtopedskaKelmorinISO170217",
                               "OrtopedskaKelmorinISO110517", "OrtopedskaKelmorinISO120118", "OrtopedskaKelmorinISO180218",
                               "OrtopedskaKelmorinISO060123", "OrtopedskaKelmorinISO160523", "OrtopedskaKelmorinISO051023",
                               "Dopunsko120922", "OsnovnoKn060123", "DopunskoKn060123", "OrtopedskoPomagalo2150123"})
        QVERIFY2(db.hasTable(QLatin1String(backup)), backup);

    // Every width of the newest release holds, the IBAN's too.
    for (const QString& table : {QStringLiteral("Opci"), QStringLiteral("Rn")}) {
        const QHash<QString, int> widths = schema::textWidths(db, table);
        for (const schema::Column& c : table == u"Opci" ? schema::generalDataTable() : schema::invoiceTable()) {
            const QString type = QString::fromLatin1(c.type);
            if (type.startsWith(u"TEXT("))
                QCOMPARE(widths.value(QString::fromLatin1(c.name).toLower()), type.mid(5).chopped(1).toInt());
        }
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT Naziv FROM Opci")).toString(), QStringLiteral("Optika"));

    m_dialogs->clear();
    QVERIFY(chain().run());
    QVERIFY(m_dialogs->messages().isEmpty());
}

void TestUpgradeChain::tableNamesInPackagesIgnoreCase()
{
    // The packages' engine does not tell "ortopedskakelmoriniso" from
    // "OrtopedskaKelmorinISO".
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("160523")));
    {
        Database package(upgrade::packageName(QStringLiteral("051023")), Database::Mode::Create);
        QVERIFY(package.exec(schema::createTableSql(QStringLiteral("ortopedskakelmoriniso"), schema::codeListTable(true))));
        QVERIFY(package.exec(QStringLiteral("INSERT INTO ortopedskakelmoriniso (Broj, Sifra, Naziv) VALUES (1, '2103060101001', 'mala slova')")));
    }
    QVERIFY2(chain().run(), qPrintable(m_dialogs->messages().join(u'\n')));
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Naziv FROM OrtopedskaKelmorinISO")).toString(), QStringLiteral("mala slova"));
    // The table keeps the name the program knows it by.
    QCOMPARE(db.scalar(QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'OrtopedskaKelmorinISO'")).toString(),
             QStringLiteral("OrtopedskaKelmorinISO"));
}

void TestUpgradeChain::countGuardAddsNothingToAFullTable()
{
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("051023")));
    Database db(schema::kInvoiceFile);
    const int opciColumns = db.columns(QStringLiteral("Opci")).size();
    {
        Transaction tx(db);
        upgrade::StepContext ctx(db, nullptr, *m_platform);
        QVERIFY2(upgrade::steps().front().work(ctx), qPrintable(ctx.error()));
        QVERIFY(tx.commit());
    }
    QCOMPARE(db.columns(QStringLiteral("Opci")).size(), opciColumns);
    QCOMPARE(db.columns(QStringLiteral("Rn")).size(), 45);
    QCOMPARE(db.scalar(QStringLiteral("SELECT God FROM Opci")).toInt(), 2007);
}

void TestUpgradeChain::secondPlaceForBackupsCarriedIntoTheGeneralData()
{
    // A folder of the release before: no field for the second place, which
    // that release kept in a text file of the archive folder.
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("081226")));
    {
        Database db(schema::kInvoiceFile);
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE Opci DROP COLUMN ArhivaMapa")));
    }
    QVERIFY(QDir().mkpath(QStringLiteral("Arhiva")));
    m_folder->touch(QStringLiteral("Arhiva/Drugo mjesto.txt"), "D:\\Sigurnosne kopije\r\n");
    QCOMPARE(chain().pendingSteps(), QStringList{QStringLiteral("091226")});
    QVERIFY2(chain().run(), qPrintable(m_dialogs->messages().join(u'\n')));
    QVERIFY(m_dialogs->messages().isEmpty());
    QVERIFY(QFile::exists(QStringLiteral("upg091226.inm")));
    Database db(schema::kInvoiceFile);
    QCOMPARE(db.scalar(QStringLiteral("SELECT ArhivaMapa FROM Opci")).toString(), QStringLiteral("D:\\Sigurnosne kopije"));
    QCOMPARE(schema::textWidth(db, QStringLiteral("Opci"), QStringLiteral("ArhivaMapa")), 255);
}

void TestUpgradeChain::invoiceLayoutsOfEarlierReleasesRefreshed_data()
{
    QTest::addColumn<QString>("release");
    QTest::addColumn<bool>("changedByHand"); // one row of Dopunsko moved since
    QTest::newRow("first release") << QStringLiteral("first") << false;
    QTest::newRow("wider ISO and VAT columns") << QStringLiteral("second") << false;
    QTest::newRow("a row moved by hand") << QStringLiteral("second") << true;
}

void TestUpgradeChain::invoiceLayoutsOfEarlierReleasesRefreshed()
{
    QFETCH(QString, release);
    QFETCH(bool, changedByHand);
    // Today's rows, as a folder made now gets them.
    QVERIFY(QDir().mkpath(QStringLiteral("now")));
    QString error;
    QVERIFY2(newfolder::create(QStringLiteral("now"), newfolder::Content::Empty, m_clock, &error), qPrintable(error));
    QStringList todays[2];
    {
        Database now(QStringLiteral("now/") + schema::kInvoiceFile);
        todays[0] = layoutRows(now, QStringLiteral("Osnovno"));
        todays[1] = layoutRows(now, QStringLiteral("Dopunsko"));
    }

    // A folder of that release, whose user made the lines 3 wide.
    CHECKED(makeCurrentFolderMarkedAt(QStringLiteral("051023")));
    QStringList form, formS, handMade;
    {
        Database db(schema::kInvoiceFile);
        CHECKED(putEarlierRows(db, QStringLiteral("Osnovno"), release));
        CHECKED(putEarlierRows(db, QStringLiteral("Dopunsko"), release));
        QVERIFY(layouts::setLineThickness(db, 3));
        if (changedByHand)
            QVERIFY(db.exec(QStringLiteral("UPDATE Dopunsko SET A2 = A2 + 1 WHERE A0 = (SELECT max(A0) FROM Dopunsko)")));
        // The fund's form holds the user's own fine-tuned positions.
        QVERIFY(db.exec(QStringLiteral("UPDATE OrtopedskoPomagalo2 SET A2 = A2 + 0.5")));
        form = layoutRows(db, QStringLiteral("OrtopedskoPomagalo2"));
        formS = layoutRows(db, QStringLiteral("OrtopedskoPomagalo2S"));
        handMade = layoutRows(db, QStringLiteral("Dopunsko"));
        // The earlier invoice printed the supplementary share's kuna
        // equivalent (slot 85) beside the co-payment.
        QVERIFY(handMade.filter(QRegularExpression(QStringLiteral("^91\\|176\\|.*\\|85\\|-$"))).size() == 1);
    }

    QVERIFY(chain().run());
    QVERIFY(m_dialogs->messages().isEmpty());

    Database db(schema::kInvoiceFile);
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM Nadogradnje WHERE Korak = '061226'")).toInt() == 1);
    QCOMPARE(layoutRows(db, QStringLiteral("OrtopedskoPomagalo2")), form);
    QCOMPARE(layoutRows(db, QStringLiteral("OrtopedskoPomagalo2S")), formS);
    const QStringList osnovno = layoutRows(db, QStringLiteral("Osnovno"));
    const QStringList dopunsko = layoutRows(db, QStringLiteral("Dopunsko"));
    if (changedByHand)
        QCOMPARE(dopunsko, handMade);
    // Today's rows, with the user's line width.
    for (int t = 0; t < 2; ++t) {
        const QStringList& rows = t == 0 ? osnovno : dopunsko;
        if (t == 1 && changedByHand)
            continue;
        QCOMPARE(rows.size(), todays[t].size());
        int lines = 0;
        for (int i = 0; i < rows.size(); ++i) {
            QStringList got = rows[i].split(u'|'), want = todays[t][i].split(u'|');
            if (got[0] == u"2" || got[0] == u"5") {
                QCOMPARE(got[5], QStringLiteral("3"));
                got[5] = want[5];
                ++lines;
            }
            QCOMPARE(got, want);
        }
        QVERIFY(lines > 10);
    }
    if (!changedByHand) {
        // The co-payment's own kuna equivalent (slot 84), not slot 85.
        QVERIFY(dopunsko.filter(QRegularExpression(QStringLiteral("\\|84\\|-$"))).size() == 1);
        QVERIFY(dopunsko.filter(QRegularExpression(QStringLiteral("\\|85\\|-$"))).isEmpty());
    }
}

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestUpgradeChain)
#include "tst_upgrade_chain.moc"
