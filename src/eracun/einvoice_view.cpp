#include "einvoice_view.h"

#include "einvoice.h"

#include "common/formats.h"

#include <QHash>
#include <QStringList>
#include <QXmlStreamReader>

#include <vector>

namespace eracun {
namespace {

// The values of a part of the document by their path of local names below
// it ("AccountingSupplierParty/Party/PartyLegalEntity/RegistrationName").
using Values = QHash<QString, QString>;

struct Read {
    Values invoice;
    std::vector<Values> lines, rates;
    bool ok = false;
};

Read read(const QByteArray& xml)
{
    Read r;
    QXmlStreamReader x(xml);
    QStringList path;
    Values* part = &r.invoice;
    int partDepth = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const QString name = x.name().toString();
            if (path.isEmpty() && name != u"Invoice")
                return r;
            path << name;
            const bool line = path.size() == 2 && name == u"InvoiceLine";
            const bool rate = path.size() == 3 && path[1] == u"TaxTotal" && name == u"TaxSubtotal";
            if (line) {
                r.lines.emplace_back();
                part = &r.lines.back();
                partDepth = 2;
            } else if (rate) {
                r.rates.emplace_back();
                part = &r.rates.back();
                partDepth = 3;
            }
            // Attributes by the element's path and their name: "InvoicedQuantity@unitCode".
            const QString key = path.mid(part == &r.invoice ? 1 : partDepth).join(u'/');
            for (const QXmlStreamAttribute& a : x.attributes())
                (*part)[key + u'@' + a.name().toString()] = a.value().toString();
        } else if (x.isCharacters() && !x.isWhitespace() && path.size() > 1) {
            const QString key = path.mid(part == &r.invoice ? 1 : partDepth).join(u'/');
            (*part)[key] += x.text().toString();
        } else if (x.isEndElement()) {
            if (path.size() == partDepth) {
                part = &r.invoice;
                partDepth = 0;
            }
            path.removeLast();
        }
    }
    r.ok = !x.hasError();
    return r;
}

QString esc(const QString& text) { return text.toHtmlEscaped(); }

// An amount as the shop reads it: 1.234,56.
QString money(const QString& amount)
{
    bool ok = false;
    const double value = amount.toDouble(&ok);
    return ok ? format::number(value, u"#,##0.00", QLocale(QLocale::Croatian, QLocale::Croatia)) : esc(amount);
}

QString number(const QString& value)
{
    QString text = value;
    return esc(text.replace(u'.', u','));
}

QString date(const QString& iso)
{
    const QStringList p = iso.split(u'-');
    return p.size() == 3 ? QStringLiteral("%1.%2.%3.").arg(p[2], p[1], p[0]) : esc(iso);
}

QString row(const QString& label, const QString& value)
{
    if (value.trimmed().isEmpty())
        return {};
    return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(esc(label), value);
}

// A party; `contact` is the path of the seller's operator, when there is one.
QString party(const Values& v, const QString& prefix, const QString& contact, const QString& title)
{
    const auto get = [&v, &prefix](const char* key) { return v.value(prefix + QLatin1String(key)).trimmed(); };
    QString html = QStringLiteral("<div class=\"party\"><h2>%1</h2>\n<p><b>%2</b>").arg(esc(title), esc(get("PartyLegalEntity/RegistrationName")));
    if (const QString trading = get("PartyName/Name"); !trading.isEmpty())
        html += QStringLiteral("<br>") + esc(trading);
    const QString place = QString(get("PostalAddress/PostalZone") + u' ' + get("PostalAddress/CityName")).trimmed();
    for (const QString& line : {get("PostalAddress/StreetName"), place})
        if (!line.isEmpty())
            html += QStringLiteral("<br>") + esc(line);
    html += QStringLiteral("</p>\n<table>\n");
    html += row(QStringLiteral("OIB"), esc(get("EndpointID")));
    html += row(QStringLiteral("PDV broj"), esc(get("PartyTaxScheme/CompanyID")));
    if (!contact.isEmpty()) {
        const QString name = v.value(contact + QStringLiteral("Name")).trimmed(), oib = v.value(contact + QStringLiteral("ID")).trimmed();
        html += row(QStringLiteral("Operater"), esc(oib.isEmpty() ? name : QStringLiteral("%1 (OIB %2)").arg(name, oib)));
    }
    html += QStringLiteral("</table></div>\n");
    return html;
}

} // namespace

QString viewFileName(const QString& documentFileName)
{
    QString name = documentFileName;
    if (name.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive))
        name.chop(4);
    return name + QStringLiteral(".html");
}

QByteArray htmlView(const QByteArray& xml)
{
    const Read r = read(xml);
    if (!r.ok)
        return {};
    const Values& v = r.invoice;
    const QString currency = esc(v.value(QStringLiteral("DocumentCurrencyCode"), QStringLiteral("EUR")));
    QString html;
    html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"hr\">\n<head>\n<meta charset=\"utf-8\">\n<title>eRačun %1</title>\n")
                .arg(esc(v.value(QStringLiteral("ID"))));
    html += QStringLiteral(
        "<style>\n"
        "body{font-family:sans-serif;font-size:14px;margin:2em auto;max-width:60em;color:#222}\n"
        "h1{font-size:22px;margin-bottom:0}h2{font-size:15px;margin:0 0 .3em}\n"
        ".note{color:#555;font-size:12px}\n"
        ".parties{display:flex;gap:2em;margin:1.2em 0}.party{flex:1;border:1px solid #bbb;padding:.6em .9em}\n"
        "table{border-collapse:collapse}th{text-align:left;font-weight:normal;color:#555;padding:1px 1em 1px 0}\n"
        "table.lines{width:100%;margin:1em 0}table.lines th,table.lines td{border-bottom:1px solid #ccc;padding:4px 6px}\n"
        "table.lines th{background:#eee;color:#222}td.n{text-align:right;white-space:nowrap}\n"
        "table.totals{margin-left:auto}table.totals td{text-align:right;padding:2px 0 2px 2em}\n"
        "tr.due td,tr.due th{font-weight:bold;color:#000;border-top:2px solid #444}\n"
        "</style>\n</head>\n<body>\n");
    html += QStringLiteral("<h1>Račun br. %1</h1>\n").arg(esc(v.value(QStringLiteral("ID"))));
    html += QStringLiteral("<p class=\"note\">Pregled eRačuna za čitanje. eRačun je datoteka XML istog imena u mapi iznad "
                           "ove; informacijskom posredniku šalje se samo ona.</p>\n<table>\n");
    html += row(QStringLiteral("Datum i vrijeme izdavanja"),
                date(v.value(QStringLiteral("IssueDate"))) + u' ' + esc(v.value(QStringLiteral("IssueTime"))));
    html += row(QStringLiteral("Datum isporuke"), date(v.value(QStringLiteral("Delivery/ActualDeliveryDate"))));
    html += row(QStringLiteral("Datum dospijeća"), date(v.value(QStringLiteral("DueDate"))));
    html += row(QStringLiteral("Broj potvrde (narudžba)"), esc(v.value(QStringLiteral("OrderReference/ID"))));
    html += row(QStringLiteral("Ugovor"), esc(v.value(QStringLiteral("ContractDocumentReference/ID"))));
    html += row(QStringLiteral("IBAN za plaćanje"), esc(v.value(QStringLiteral("PaymentMeans/PayeeFinancialAccount/ID"))));
    html += row(QStringLiteral("Poslovni proces"), esc(v.value(QStringLiteral("ProfileID"))));
    html += QStringLiteral("</table>\n<div class=\"parties\">\n");
    html += party(v, QStringLiteral("AccountingSupplierParty/Party/"), QStringLiteral("AccountingSupplierParty/SellerContact/"),
                  QStringLiteral("Isporučitelj"));
    html += party(v, QStringLiteral("AccountingCustomerParty/Party/"), QString(), QStringLiteral("Kupac"));
    html += QStringLiteral("</div>\n");
    if (const QString note = v.value(QStringLiteral("Note")); !note.isEmpty()) {
        html += QStringLiteral("<p>");
        const QStringList parts = note.split(QStringLiteral("; "));
        for (qsizetype i = 0; i < parts.size(); ++i)
            html += (i ? QStringLiteral("<br>") : QString()) + esc(parts[i]);
        html += QStringLiteral("</p>\n");
    }

    html += QStringLiteral("<table class=\"lines\">\n<tr><th>#</th><th>Šifra</th><th>Naziv</th><th>KPD</th><th>Količina</th>"
                           "<th>Jed.</th><th>Cijena</th><th>PDV</th><th>Iznos bez PDV-a</th></tr>\n");
    for (const Values& l : r.lines)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td class=\"n\">%5</td><td>%6</td>"
                               "<td class=\"n\">%7</td><td class=\"n\">%8 %</td><td class=\"n\">%9</td></tr>\n")
                    .arg(esc(l.value(QStringLiteral("ID"))), esc(l.value(QStringLiteral("Item/SellersItemIdentification/ID"))),
                         esc(l.value(QStringLiteral("Item/Name"))),
                         esc(l.value(QStringLiteral("Item/CommodityClassification/ItemClassificationCode"))),
                         number(l.value(QStringLiteral("InvoicedQuantity"))), esc(unitName(l.value(QStringLiteral("InvoicedQuantity@unitCode")))),
                         number(l.value(QStringLiteral("Price/PriceAmount"))),
                         number(l.value(QStringLiteral("Item/ClassifiedTaxCategory/Percent"))),
                         money(l.value(QStringLiteral("LineExtensionAmount"))));
    html += QStringLiteral("</table>\n<table class=\"totals\">\n");
    for (const Values& t : r.rates)
        html += QStringLiteral("<tr><th>PDV %1 % na osnovicu %2</th><td>%3 %4</td></tr>\n")
                    .arg(number(t.value(QStringLiteral("TaxCategory/Percent"))), money(t.value(QStringLiteral("TaxableAmount"))),
                         money(t.value(QStringLiteral("TaxAmount"))), currency);
    const auto total = [&v, &currency](const QString& label, const char* key, const char* cls = "") {
        const QString value = v.value(QStringLiteral("LegalMonetaryTotal/") + QLatin1String(key));
        if (value.isEmpty())
            return QString();
        return QStringLiteral("<tr class=\"%1\"><th>%2</th><td>%3 %4</td></tr>\n")
            .arg(QLatin1String(cls), esc(label), money(value), currency);
    };
    html += total(QStringLiteral("Iznos bez PDV-a"), "TaxExclusiveAmount");
    html += QStringLiteral("<tr><th>PDV ukupno</th><td>%1 %2</td></tr>\n").arg(money(v.value(QStringLiteral("TaxTotal/TaxAmount"))), currency);
    html += total(QStringLiteral("Ukupno s PDV-om"), "TaxInclusiveAmount");
    html += total(QStringLiteral("Plaćeno ili na teret drugoga"), "PrepaidAmount");
    html += total(QStringLiteral("Za platiti"), "PayableAmount", "due");
    html += QStringLiteral("</table>\n</body>\n</html>\n");
    return html.toUtf8();
}

} // namespace eracun
