// Every e-invoice of a folder of varied invoices passes the official
// checks the exchange runs (the UBL 2.1 schema with the Croatian
// extension, EN 16931, CIUS-HR/EXT-HR 2025), and its amounts are those of
// the invoice's record in the fund's file, to the cent, and those of the
// printed invoice of its kind but for the rounding of the VAT.
#include "eracun/eracun_run.h"
#include "eracun_shop.h"
#include "data/pricing.h"
#include "data/statement.h"
#include "print/invoice_slots.h"
#include "submission/submission_records.h"
#include "support/shop_fixture.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <set>

namespace {

const QString kRules = QStringLiteral(KELMORIN_ERACUN_RULES);
const QString kSaxon = QStringLiteral("/usr/share/java/Saxon-HE.jar");

qint64 cents(double v) { return qint64(std::llround(v * 100)); }
qint64 cents(const QString& text) { return cents(QString(text).replace(u',', u'.').toDouble()); }

// The amounts a document states.
struct Stated {
    QString number;
    qint64 taxExclusive = 0, tax = 0, taxInclusive = 0, prepaid = 0, payable = 0;
    int lines = 0;
};

Stated readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Stated s;
    QXmlStreamReader xml(&file);
    QStringList parents;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            const QString parent = parents.isEmpty() ? QString() : parents.last();
            parents << name;
            if (name == u"InvoiceLine") {
                ++s.lines;
                continue;
            }
            if (parent == u"Invoice" && name == u"ID")
                s.number = xml.readElementText();
            else if (parent == u"TaxTotal" && name == u"TaxAmount")
                s.tax = cents(xml.readElementText());
            else if (parent == u"LegalMonetaryTotal" && name == u"TaxExclusiveAmount")
                s.taxExclusive = cents(xml.readElementText());
            else if (parent == u"LegalMonetaryTotal" && name == u"TaxInclusiveAmount")
                s.taxInclusive = cents(xml.readElementText());
            else if (parent == u"LegalMonetaryTotal" && name == u"PrepaidAmount")
                s.prepaid = cents(xml.readElementText());
            else if (parent == u"LegalMonetaryTotal" && name == u"PayableAmount")
                s.payable = cents(xml.readElementText());
            else
                continue;
            parents.removeLast(); // readElementText consumed the end
        } else if (xml.isEndElement()) {
            parents.removeLast();
        }
    }
    return s;
}

// The failed rules of a schematron report ("id: text"), warnings left out.
QStringList failedRules(const QString& report)
{
    QFile file(report);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("no report ") + report};
    QStringList failed;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"failed-assert") {
            const QString flag = xml.attributes().value(QLatin1String("flag")).toString();
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            if (flag != u"warning" && flag != u"information")
                failed << id + QStringLiteral(": ") + text;
        }
    }
    return failed;
}

// Runs a program to its end; its output when it failed.
bool runProgram(const QString& program, const QStringList& args, QString* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(-1)) {
        *output = p.errorString();
        return false;
    }
    *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The schematron reports of every document of `documents`, one Saxon start
// per rule set; map of document name to failed rules.
QHash<QString, QStringList> schematron(const QString& documents, const QString& reports)
{
    QHash<QString, QStringList> failed;
    const QString java = QStandardPaths::findExecutable(QStringLiteral("java"));
    for (const QString& rules : {QStringLiteral("EN16931-UBL-validation"), QStringLiteral("HR-CIUS-EXT-EN16931-UBL")}) {
        const QString out = reports + u'/' + rules;
        QDir().mkpath(out);
        QString output;
        if (!runProgram(java, {QStringLiteral("-cp"), kSaxon, QStringLiteral("net.sf.saxon.Transform"), QStringLiteral("-s:") + documents,
                        QStringLiteral("-xsl:") + kRules + QStringLiteral("/schematron/") + rules + QStringLiteral(".xslt"),
                        QStringLiteral("-o:") + out},
                 &output)) {
            failed[QStringLiteral("(Saxon)")] << rules + QStringLiteral(": ") + output;
            continue;
        }
        QDirIterator it(documents, {QStringLiteral("*.xml")});
        while (it.hasNext()) {
            const QFileInfo doc(it.next());
            for (const QString& rule : failedRules(out + u'/' + doc.fileName()))
                failed[doc.fileName()] << rules + QStringLiteral(" ") + rule;
        }
    }
    return failed;
}

QStringList xmlFiles(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.xml")});
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

class TestEracunValidation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty(), "xmllint (libxml2-utils) is missing");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("java")).isEmpty(), "java (default-jre-headless) is missing");
        QVERIFY2(QFile::exists(kSaxon), "Saxon-HE (libsaxonhe-java) is missing");
    }

    // The folder of random invoices: every document valid, its amounts
    // those of the printed invoice and of the fund's file. The official
    // example and a copy with a wrong operator OIB go through the same runs,
    // so that a checker that checks nothing cannot pass the test.
    void documentsOfRandomInvoicesAreValidAndAgree()
    {
        ShopFixture shop(newfolder::Content::Demo);
        QVERIFY(shop.session);
        Database& db = shop.session->database();
        QVERIFY(eracunshop::addExpensiveAid(db));
        const int count = 60;
        QVERIFY(eracunshop::insertInvoices(db, 1001, count, QStringLiteral("E"), 20261207));

        const QString documents = shop.folder.file(QStringLiteral("eRacun"));
        eracun::Run run(db, shop.clock);
        QVERIFY2(run.load(), qPrintable(run.error()));
        const eracun::Run::Outcome outcome = run.writeMarked(26, QStringLiteral("E"), documents);
        QVERIFY2(outcome.ok(), qPrintable(outcome.messages.join(u'\n')));
        QCOMPARE(outcome.invoices, count);

        // The control documents.
        QFile example(kRules + QStringLiteral("/examples/eRacun_PDV5_2026.xml"));
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QByteArray exampleXml = example.readAll();
        QVERIFY(exampleXml.contains("<cbc:ID>12345678903</cbc:ID>"));
        QFile::copy(example.fileName(), documents + QStringLiteral("/control-good.xml"));
        QFile bad(documents + QStringLiteral("/control-bad.xml"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(exampleXml).replace("<cbc:ID>12345678903</cbc:ID>", "<cbc:ID>12345678901</cbc:ID>"));
        bad.close();

        // The schema, all documents in one run.
        const QStringList files = xmlFiles(documents);
        QCOMPARE(files.size(), outcome.files.size() + 2);
        QString output;
        QVERIFY2(runProgram(QStringLiteral("xmllint"),
                     QStringList{QStringLiteral("--noout"), QStringLiteral("--schema"),
                                 kRules + QStringLiteral("/xsd/maindoc/UBL-Invoice-2.1.xsd")} + files,
                     &output),
                 qPrintable(output));

        // Both rule sets.
        QHash<QString, QStringList> failed = schematron(documents, shop.folder.file(QStringLiteral("svrl")));
        const QStringList controlFailures = failed.take(QStringLiteral("control-bad.xml"));
        QVERIFY2(controlFailures.size() == 1 && controlFailures.first().contains(u"HR-BR-9"),
                 qPrintable(controlFailures.join(u'\n')));
        QStringList report;
        for (auto it = failed.cbegin(); it != failed.cend(); ++it)
            report << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral("\n  "));
        QVERIFY2(report.isEmpty(), qPrintable(report.join(u'\n')));

        // The amounts, invoice by invoice.
        pricing::Catalogue catalogue(db);
        const GeneralRecord& general = run.general();
        static const InvoiceRecord::Reader reader(InvoiceRecord::columns());
        Statement q(db, QStringLiteral("SELECT %1 FROM Rn WHERE God = 26 AND Izbor = 'E' ORDER BY Rnbr")
                            .arg(InvoiceRecord::columns().join(QStringLiteral(", "))));
        int invoices = 0, supplementary = 0, documentsChecked = 0, rounded = 0;
        bool sawHundredsOfThousands = false, sawBothRates = false, sawLargest = false, sawSmallest = false, sawAll = false;
        while (q.next()) {
            const InvoiceRecord invoice = reader.read(q);
            ++invoices;
            const submission::Computed file = submission::compute(catalogue, invoice);
            QVERIFY(file.ok());
            const QStringList record =
                submission::record60(invoice, submission::supplierFrom(general), file).split(u':');
            const qint64 fileTotal = cents(record[9]), filePatient = cents(record[10]),
                         fileSupplementary = cents(record[11]), fileBasic = cents(record[13]);
            const pricing::Priced priced = pricing::price(catalogue, invoice, pricing::Document::Invoice);
            std::set<double> rates;
            for (const auto& l : priced.lines)
                rates.insert(l.vatRate);
            sawBothRates = sawBothRates || rates.size() == 2;
            sawHundredsOfThousands = sawHundredsOfThousands || priced.total >= 100000;
            sawLargest = sawLargest || filePatient == 53088;
            sawSmallest = sawSmallest || filePatient == 883;
            sawAll = sawAll || (filePatient > 0 && filePatient == fileTotal);
            for (const auto kind : {invoiceslots::Kind::Basic, invoiceslots::Kind::Supplementary}) {
                if (kind == invoiceslots::Kind::Supplementary && !invoice.supplementary)
                    continue;
                const invoiceslots::Result printed = invoiceslots::fill(catalogue, {invoice, general}, kind, QTime(12, 0));
                const QString name = QStringLiteral("eRacun-") + invoiceslots::numberText({invoice, general}, kind)
                    + QStringLiteral(".xml");
                const Stated doc = readDocument(documents + u'/' + name);
                QCOMPARE(doc.number, invoiceslots::numberText({invoice, general}, kind));
                ++documentsChecked;
                QCOMPARE(doc.taxExclusive + doc.tax, doc.taxInclusive);
                QCOMPARE(doc.lines, int(priced.lines.size()));
                // The printed invoice: its total, the fund's amount, the
                // co-payment; equal, or apart by the rounding of the VAT.
                // The printed invoice rounds each line's VAT from the
                // unrounded price times quantity, the file from the net
                // amount in whole cents: the two VATs of a line lie within
                // 25 % of half a cent of each other, so once rounded they
                // differ by at most a cent, and the total by a cent a line.
                // The co-payment is 20 % of the total (within 0.8 of a cent
                // for four lines) rounded once more, within its limits: a
                // cent at most. The fund's share is the rest.
                const qint64 lines = qint64(priced.lines.size());
                const qint64 printedCoPayment = cents(printed.values[invoiceslots::slot::kCoPayment].toString());
                const qint64 printedShare = kind == invoiceslots::Kind::Basic
                    ? cents(printed.fundAmount)
                    : cents(printed.values[invoiceslots::slot::kSupplementary].toString());
                const qint64 printedOther = kind == invoiceslots::Kind::Basic ? printedCoPayment : cents(printed.fundAmount);
                const qint64 dTotal = doc.taxInclusive - cents(printed.total), dShare = doc.payable - printedShare,
                             dOther = doc.prepaid - printedOther;
                if (kind == invoiceslots::Kind::Supplementary)
                    ++supplementary;
                if (dTotal != 0 || dShare != 0 || dOther != 0) {
                    ++rounded;
                    QVERIFY2(outcome.differences.filter(doc.number + u':').size() == 1, qPrintable(doc.number));
                    QVERIFY(std::abs(dTotal) <= lines);
                    const qint64 coPaymentBound = 1, fundBound = lines + 1;
                    QVERIFY(std::abs(kind == invoiceslots::Kind::Basic ? dOther : dShare) <= coPaymentBound);
                    QVERIFY(std::abs(kind == invoiceslots::Kind::Basic ? dShare : dOther) <= fundBound);
                }
                // The fund's file, to the cent.
                QCOMPARE(doc.taxInclusive, fileTotal);
                if (kind == invoiceslots::Kind::Basic) {
                    QCOMPARE(doc.payable, fileBasic);
                    QCOMPARE(doc.prepaid, filePatient + fileSupplementary);
                } else {
                    QCOMPARE(doc.payable, fileSupplementary);
                    QCOMPARE(doc.prepaid, fileBasic);
                }
            }
        }
        QCOMPARE(invoices, count);
        QCOMPARE(documentsChecked, outcome.files.size());
        // Every document apart from its printed invoice was reported, and
        // the cases made for it were among them.
        QCOMPARE(rounded, outcome.differences.size());
        QVERIFY(rounded >= 3);
        QVERIFY(supplementary > 0);
        QVERIFY(sawBothRates);
        QVERIFY(sawHundredsOfThousands);
        QVERIFY(sawLargest);
        QVERIFY(sawSmallest);
        QVERIFY(sawAll);
    }
};

#include "support/test_main.h"
KELMORIN_TEST_GUILESS_MAIN(TestEracunValidation)
#include "tst_eracun_validation.moc"
