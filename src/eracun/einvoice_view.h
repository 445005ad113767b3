#pragma once

#include <QByteArray>
#include <QString>

// A page a person reads beside an e-invoice: what the document says, read
// back from its XML (the seller, the buyer, the lines with their KPD codes,
// the VAT by rate, the totals), as HTML that any browser opens. It is not
// the e-invoice: the XML alone goes to the intermediary.
namespace eracun {

// The page of this UBL invoice (UTF-8); empty when the XML cannot be read.
QByteArray htmlView(const QByteArray& xml);

// The page's name beside the document's: "eRacun-1-1-1-261.html".
QString viewFileName(const QString& documentFileName);

// The folder of the pages inside the folder of the e-invoices, so that
// the folder the intermediary picks the documents up from holds documents
// only.
inline const QString kViewFolder = QStringLiteral("Pregled");

} // namespace eracun
