#include "general_data_form.h"

#include "common/dialogs.h"
#include "data/business_year.h"
#include "data/line_thickness.h"
#include "data/regional_offices.h"
#include "data/sql_values.h"
#include "entry_width.h"
#include "field_binder.h"
#include "data/session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace generaldata {
namespace {

const QString kDigitRange = QStringLiteral("min=0   max=9");
const QString kNumberPrefixHint = QStringLiteral("Oznaka ispred rednog broja računa");

QLineEdit* narrow(QLineEdit* edit, int characters)
{
    fitCharacters(edit, characters + 1);
    edit->setMaximumWidth(edit->minimumWidth());
    return edit;
}

QLineEdit* hinted(QLineEdit* edit, const QString& hint)
{
    edit->setToolTip(hint);
    return edit;
}

QFormLayout* supplierFields(FieldBinder& b, QWidget* area)
{
    auto* form = new QFormLayout;
    auto row = [&](const char16_t* caption, QWidget* field) { form->addRow(QString::fromUtf16(caption), field); };
    row(u"Naziv ugovornog isporučitelja:", b.text(QStringLiteral("Naziv"), area));
    row(u"Šifra ugov. isporučitelja", b.text(QStringLiteral("Sifra"), area));
    row(u"Matični broj isporučitelja", b.text(QStringLiteral("Matbr"), area));
    row(u"Mjesto isporučitelja", b.text(QStringLiteral("Mjesto"), area));
    row(u"Adresa isporučitelja", b.text(QStringLiteral("Adresa"), area));
    row(u"OIB:", b.text(QStringLiteral("OIB"), area));
    row(u"Adresa maloprodajne lokacije isporučitelja", b.text(QStringLiteral("AdresaMalopr"), area));
    row(u"Šifra maloprodajne lokacije", b.text(QStringLiteral("SifraMalopr"), area));
    row(u"IBAN ili broj žiro računa", b.text(QStringLiteral("Ziro"), area));
    row(u"Model poziva na broj", narrow(b.text(QStringLiteral("Model"), area), 4));
    row(u"Odgovorna osoba", b.text(QStringLiteral("Odgovosoba"), area));
    row(u"Vrsta kelmorin (šifra)",
        hinted(narrow(b.text(QStringLiteral("Vrsta"), area), 1),
               QStringLiteral("1-ortopedsko 2-slušno 3-stomatološko 4-očno 5-popravak")));
    return form;
}

QFormLayout* officeAndInvoiceFields(FieldBinder& b, QWidget* area)
{
    auto* form = new QFormLayout;
    auto row = [&](const char16_t* caption, QWidget* field) { form->addRow(QString::fromUtf16(caption), field); };
    row(u"Glavni područni ured", b.choice(QStringLiteral("Podrured"), offices::cities(), area));
    row(u"Mjesto područnog ureda", b.text(QStringLiteral("Mjestopodrur"), area));
    row(u"Ulica i broj područnog ureda", b.text(QStringLiteral("Ulicapodrur"), area));
    row(u"Debljina crta na računima", hinted(narrow(b.text(QStringLiteral("Crte"), area), 1), kDigitRange));
    row(u"Posljednji redni broj diskete", narrow(b.count(QStringLiteral("Brd"), 32767, area), 5));
    row(u"Predbroj računa", b.text(QStringLiteral("Predbroj"), area));
    row(u"Broj (tekst) iza računa", b.text(QStringLiteral("Izabroj"), area));
    row(u"Naslov računa:   Račun R-",
        hinted(narrow(b.text(QStringLiteral("RacunR"), area), 1), QStringLiteral("Upišite 1 ili 2")));
    row(u"Oznaka osnovnog osig.", hinted(narrow(b.text(QStringLiteral("Oznosn"), area), 5), kNumberPrefixHint));
    row(u"Oznaka dopunskog osig.", hinted(narrow(b.text(QStringLiteral("Ozndop"), area), 5), kNumberPrefixHint));
    QLineEdit* year = narrow(b.text(QStringLiteral("God"), area), 4);
    year->setReadOnly(true);
    year->setFocusPolicy(Qt::NoFocus);
    year->setToolTip(QStringLiteral("Za promjenu poslovne godine kliknite na Opcije-Promjena poslovne godine"));
    row(u"Poslovna godina", year);
    return form;
}

QGroupBox* premisesFields(FieldBinder& b, QWidget* area)
{
    auto* frame = new QGroupBox(QStringLiteral("Podaci o prostoru i operateru"), area);
    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Oznaka poslovnog prostora"), hinted(b.text(QStringLiteral("Prostor"), frame), kDigitRange));
    form->addRow(QStringLiteral("Oznaka blagajne"), hinted(b.text(QStringLiteral("Operater"), frame), kDigitRange));
    return frame;
}

QGroupBox* einvoiceFields(FieldBinder& b, QWidget* area)
{
    auto* frame = new QGroupBox(QStringLiteral("eRačun"), area);
    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Oznaka operatera"), b.text(QStringLiteral("EOperater"), frame));
    form->addRow(QStringLiteral("OIB operatera"), narrow(b.text(QStringLiteral("EOIBOperatera"), frame), 11));
    form->addRow(QStringLiteral("Rok plaćanja (dana)"), narrow(b.count(QStringLiteral("ERokPlacanja"), 999, frame), 3));
    form->addRow(QStringLiteral("KPD stare šifre (12)"),
                 hinted(narrow(b.text(QStringLiteral("EKpd12"), frame), 8), QStringLiteral("npr. 47.74.10")));
    form->addRow(QStringLiteral("KPD nove šifre (13)"),
                 hinted(narrow(b.text(QStringLiteral("EKpd13"), frame), 8), QStringLiteral("npr. 47.74.10")));
    form->addRow(QStringLiteral("Mapa za eRačune"), b.text(QStringLiteral("EMapa"), frame));
    return frame;
}

QGroupBox* backupFields(FieldBinder& b, QWidget* area)
{
    auto* frame = new QGroupBox(QStringLiteral("Arhiva"), area);
    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Drugo mjesto za arhive"),
                 hinted(b.text(QStringLiteral("ArhivaMapa"), frame),
                        QStringLiteral("Mapa (npr. USB stick ili mapa koja se sinkronizira) u koju se kopira svaka "
                                       "provjerena arhiva kad je dostupna. Prazno: arhive su samo u mapi Arhiva.")));
    return frame;
}

} // namespace

void chooseMainOffice(Session& session, const QString& city)
{
    const int index = offices::indexOf(city);
    if (index < 0)
        return;
    RecordSet& general = session.generalData();
    general.setField(u"Mjestopodrur", city);
    general.setField(u"Ulicapodrur", QString::fromUtf16(offices::all()[index].street));
}

void lineThicknessChanged(Session& session, Dialogs& dialogs)
{
    const int thickness = invoices::leadingNumber(sqlvalue::toText(session.generalData().field(u"Crte")));
    QString error;
    if (!layouts::setLineThickness(session.database(), thickness, &error))
        dialogs.message(QStringLiteral("Debljina crta na računima nije promijenjena:\r\n") + error);
}

FieldBinder* build(QWidget* area, Session& session, Dialogs& dialogs)
{
    auto* binder = new FieldBinder(session.generalData(), area);
    auto* columns = new QHBoxLayout;
    columns->addLayout(supplierFields(*binder, area), 3);
    auto* right = new QVBoxLayout;
    right->addLayout(officeAndInvoiceFields(*binder, area));
    right->addWidget(premisesFields(*binder, area));
    right->addWidget(einvoiceFields(*binder, area));
    right->addWidget(backupFields(*binder, area));
    right->addStretch(1);
    columns->addLayout(right, 2);
    auto* outer = new QVBoxLayout(area);
    outer->addLayout(columns);
    outer->addStretch(1);

    QObject::connect(binder, &FieldBinder::edited, area, [&session, &dialogs](const QString& field) {
        if (field == u"Podrured")
            chooseMainOffice(session, sqlvalue::toText(session.generalData().field(u"Podrured")));
        else if (field == u"Crte")
            lineThicknessChanged(session, dialogs);
    });
    return binder;
}

} // namespace generaldata
