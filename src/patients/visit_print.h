#pragma once

#include <QString>
#include <QVariantMap>

class Canvas;
class Dialogs;
class PrintTarget;

// "Ispis nalaza": one visit of the patient's card on an A4 page, laid out
// as an optician's prescription: the shop, the patient, the visit's date,
// the diagnoses, the right eye (OD) and the left eye (OS) in rows with
// acuity, sphere, cylinder, axis, corrected acuity and kind of correction
// in columns, the addition, the follow-up, the opinion and the therapy,
// and a line for the signature. Only what was filled is printed.
namespace patients {

struct VisitPrint {
    QString shopName, shopAddress, shopTown;
    qint64 patientNumber = -1;
    QString surname, name, born;
    QVariantMap visit; // the fields of the visit by name
};

// The document's name in the print dialog: "Nalaz SURNAME NAME".
QString visitDocumentName(const VisitPrint& print);

void drawVisit(Canvas& canvas, const VisitPrint& print);

// Draws the visit on a document of the target; a failed print is shown.
// False when nothing was printed (cancelled or failed).
bool printVisit(PrintTarget& target, Dialogs& dialogs, const VisitPrint& print);

} // namespace patients
