#include "print_commands.h"

#include "bookkeeping_print.h"
#include "common/canvas.h"
#include "common/clock.h"
#include "common/dialogs.h"
#include "data/business_year.h"
#include "data/session.h"
#include "invoice/identifiers.h"
#include "data/pricing.h"
#include "invoice/invoice_commands.h"
#include "invoice/print_checks.h"
#include "document_names.h"
#include "layout_renderer.h"
#include "prescription_slots.h"
#include "print_target.h"

namespace {

using Kind = invoiceslots::Kind;

const QString kConfirmationFormPrompt = QStringLiteral(
    "Molim ubacite potvrdu o ortopedskom pomagalu (recept) sa stražnje strane (obrazac HZZO-a).\r\n"
    "Ako je potvrda zgužvana ispišite je ručno jer se može dogoditi da je pisač zgužva.\r\n"
    "\r\n"
    "Ispis je prilagođen obrascu V8 09/12/2022.\r\n"
    "Prije ispisa provjerite odgovara li ispis poljima na obrascu te po potrebi prilagodite ispis: "
    "Opcije-Prilagodba ispisa");

const QString kFiscalLabelsMessage = QStringLiteral(
    "Molim kliknite na Opći podaci i upišite oznaku poslovnog prostora i blagajne (zakon o fiskalizaciji - "
    "u skladu s internim aktom o poslovnom prostoru)!\r\n"
    "Ne zaboravite promjeniti poslovnu godinu u 2013 kako bi računi krenuli od broja 1!");

using layout::kInvoiceShift;

// Where an invoice's title and the mark of the supplementary insurance
// stand, in mm in the layout tables' coordinates (before the invoices'
// shift to the right).
constexpr double kTitleLeft = 128;
constexpr double kTitleTop = 86;
constexpr double kTitlePoints = 12;
constexpr double kSupplementaryMarkLeft = 135;
constexpr double kSupplementaryMarkTop = 216;
constexpr double kSupplementaryMarkPoints = 7;

} // namespace

invoiceslots::Sources PrintCommands::sources() const
{
    const RecordSet& invoices = m_session.invoices();
    const RecordSet& general = m_session.generalData();
    return {InvoiceRecord::fromRow(invoices, invoices.current()), GeneralRecord::fromRow(general, general.current())};
}

PrintCommands::Outcome PrintCommands::render(const QString& table, const QString& documentName, const PrintValues& values,
                                             bool invoiceLayout,
                                             const std::function<void(Canvas&)>& after)
{
    const layout::Renderer renderer = invoiceLayout ? layout::Renderer::Invoice : layout::Renderer::Prescription;
    QString error;
    const auto rows = layout::readRows(m_session.database(), table, &error);
    if (rows)
        error = layout::checkSlots(*rows, renderer, table);
    if (!rows || !error.isEmpty()) {
        m_services.dialogs.message(error);
        return Outcome::Failed;
    }
    std::unique_ptr<Canvas> canvas = m_target.open(documentName);
    if (!canvas)
        return Outcome::Cancelled;
    layout::draw(*rows, values, renderer, *canvas);
    if (after)
        after(*canvas);
    if (!canvas->finish()) {
        m_services.dialogs.message(printFailedMessage(*canvas));
        return Outcome::Failed;
    }
    return Outcome::Printed;
}

bool PrintCommands::pricingWentThrough(const QString& unknownCode, const QString& error)
{
    if (!error.isEmpty())
        m_services.dialogs.message(pricing::failedLookupMessage(error));
    else if (!unknownCode.isEmpty())
        m_services.dialogs.message(pricing::unknownCodeMessage(unknownCode));
    return error.isEmpty() && unknownCode.isEmpty();
}

PrintCommands::Outcome PrintCommands::printConfirmationForm()
{
    if (!m_invoice.recompute())
        return Outcome::Stopped;
    const invoiceslots::Sources s = sources();
    if (!printchecks::run(printchecks::confirmationFormSequence(), s.invoice, printchecks::Print::ConfirmationForm,
                          m_services.dialogs))
        return Outcome::Stopped;
    pricing::Catalogue catalogue(m_session.database());
    const prescriptionslots::Result slots = prescriptionslots::fill(catalogue, s, m_services.clock.now().time());
    if (!pricingWentThrough(slots.unknownCode, slots.error))
        return Outcome::Stopped;
    if (!m_services.dialogs.okCancel(kConfirmationFormPrompt))
        return Outcome::Cancelled;
    return render(QStringLiteral("OrtopedskoPomagalo2"),
                  documentname::of(documentname::Document::ConfirmationForm, sources().invoice), slots.values, false, {});
}

PrintCommands::Outcome PrintCommands::printInvoice(Kind kind)
{
    const RecordSet& general = m_session.generalData();
    const GeneralRecord supplier = GeneralRecord::fromRow(general, general.current());
    if (supplier.premises.isEmpty() || supplier.registerMark.isEmpty()) {
        m_services.dialogs.message(kFiscalLabelsMessage);
        return Outcome::Stopped;
    }
    if (!m_invoice.recompute())
        return Outcome::Stopped;
    RecordSet& invoices = m_session.invoices();
    InvoiceRecord invoice = InvoiceRecord::fromRow(invoices, invoices.current());
    if (!printchecks::run(printchecks::invoiceSequence(), invoice, printchecks::Print::Invoice, m_services.dialogs))
        return Outcome::Stopped;
    invoice.confirmation = identifiers::normalizedConfirmationNumber(invoice.confirmation);
    invoice.writeTo(invoices, invoices.current());

    const invoiceslots::Sources s{invoice, supplier};
    pricing::Catalogue catalogue(m_session.database());
    const invoiceslots::Result slots = invoiceslots::fill(catalogue, s, kind, m_services.clock.now().time());
    if (!pricingWentThrough(slots.unknownCode, slots.error))
        return Outcome::Stopped;
    const bool supplementary = s.invoice.supplementary;
    bool ok = false;
    if (kind == Kind::Basic) {
        ok = m_services.dialogs.okCancel(QStringLiteral("Molim ubacite čisti A4 papir za ispis računa za osnovno osiguranje!"),
                                         QStringLiteral("Ispis računa za osnovno osiguranje"));
    } else {
        const QString what = supplementary ? QStringLiteral("dopunsko osiguranje!") : QStringLiteral("sudjelovanje!");
        ok = m_services.dialogs.okCancel(QStringLiteral("Molim ubacite čisti A4 papir za ispis računa za ") + what,
                                         QStringLiteral("Ispis računa za ") + what);
    }
    if (!ok)
        return Outcome::Cancelled;

    const QString table = kind == Kind::Basic ? QStringLiteral("Osnovno") : QStringLiteral("Dopunsko");
    const QString title = invoiceslots::title(s, kind);
    const QString name = documentname::of(kind == Kind::Basic ? documentname::Document::BasicInvoice
                                                              : documentname::Document::SupplementaryInvoice,
                                          s.invoice);
    return render(table, name, slots.values, true, [&](Canvas& canvas) {
        Canvas::Font font = canvas.font();
        font.points = kTitlePoints;
        canvas.setFont(font);
        canvas.text(kTitleLeft + kInvoiceShift, kTitleTop, title);
        if (kind == Kind::Basic && supplementary) {
            font.points = kSupplementaryMarkPoints;
            canvas.setFont(font);
            canvas.text(kSupplementaryMarkLeft + kInvoiceShift, kSupplementaryMarkTop, QStringLiteral("Dop. os.:"));
        }
    });
}

void PrintCommands::printRange()
{
    Dialogs& dialogs = m_services.dialogs;
    const int first = invoices::leadingNumber(
        dialogs.input(QStringLiteral("Početni račun"), QStringLiteral("Molim upišite broj početnog računa!"), {}));
    if (first == 0)
        return;
    const int last = invoices::leadingNumber(
        dialogs.input(QStringLiteral("Završni račun"), QStringLiteral("Molim upišite broj završnog računa!"), {}));
    if (last == 0)
        return;
    if (last - first > 20) {
        dialogs.message(QStringLiteral("Možete izabrati maksimalni interval od 20 računa!"));
        return;
    }
    if (last <= first) {
        dialogs.message(QStringLiteral("Broj završnog računa mora biti veći od broja početnog računa!"));
        return;
    }
    const int choice = invoices::leadingNumber(dialogs.input(
        QStringLiteral("Izbor vrste računa"),
        QStringLiteral("Želite ispis:\r\n1. Računa za osnovno osiguranje\r\n2. Računa za dopunsko osiguranje/sudjelovanje\r\n"
                       "3. Računa i za osnovno i za dopunsko/sudjelovanje"),
        {}));
    if (choice < 1 || choice > 3) {
        dialogs.message(QStringLiteral("Neispravan izbor!"));
        return;
    }
    RecordSet& invoices = m_session.invoices();
    m_target.beginBatch();
    for (int number = first; number <= last; ++number) {
        const int row = invoices.findFirst(u"Rnbr", number);
        if (row < 0 || !invoices.setCurrent(row))
            continue;
        if (choice != 2)
            printInvoice(Kind::Basic);
        if (choice != 1)
            printInvoice(Kind::Supplementary);
    }
    m_target.endBatch();
}

PrintCommands::Outcome PrintCommands::printBookkeeping()
{
    return bookkeeping::print(m_session.database(), sources(), m_services, m_target);
}
