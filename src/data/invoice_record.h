#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <span>
#include <vector>

class RecordSet;
class Statement;

// The names of the aid fields of an invoice: line n (1 to 7) holds the code
// "Pom"n and the quantity "Kol"n.
namespace aidfields {

inline constexpr int kLines = 7;        // lines stored with every invoice
inline constexpr int kOfferedLines = 4; // lines the entry tab offers and the fund is billed for

QString code(int line);
QString quantity(int line);
// The code and quantity columns of lines 1 to `lines`, in that order.
QStringList columns(int lines = kLines);

} // namespace aidfields

// One aid line as stored.
struct AidLine {
    QString code;         // Pom n; empty when the line is empty
    QString quantityText; // Kol n as stored; empty when nothing is stored

    bool isEmpty() const { return code.isEmpty(); }
    // The stored quantity is a number.
    bool hasQuantity() const;
    // Its numeric value; 0 when empty or not a number.
    double quantity() const;
    // A quantity the fund can be billed for: a whole number of pieces from 1
    // to 9999, the range of the entry box.
    bool hasBillableQuantity() const;
};

// One invoice (a row of Rn) with the fields the program uses, read once.
struct InvoiceRecord {
    int year = 0;                         // God, two digits
    int number = 0;                       // Rnbr
    QDate billed, ordered, issued;        // Datum, Datumnar, DatumIzdavanja
    // The first of those columns that holds something that is no date
    // ("2026-02-30", "10.03.2026" from an older file or a hand edit), and
    // what it holds; empty when every stored date is a date or empty.
    QString unreadableDate, unreadableDateText;
    QString confirmation;                 // Broj
    QString surname, firstName;           // Prezime, Ime
    QString insuredFirst, insuredSecond;  // Brosig1, Brosig2
    QString sickList, country;            // Brbolesnlist, Drz
    QString policy;                       // Dopunsko
    QString office;                       // Pu
    QString mark;                         // Izbor
    QString paid;                         // Plac
    QString note;                         // Opaska
    QString manufacturer;                 // Proizv
    QString retailNumber;                 // BrojMalopRn
    QString einvoiceTime;                 // EVrijeme: when its e-invoice was first made, "hh:mm:ss"
    bool exempt = false;                  // Osl
    bool supplementary = false;           // Dop
    double amount = 0;                    // Iznos
    std::array<AidLine, aidfields::kLines> aids;

    // Nothing the fund or a print needs has been typed: no confirmation
    // number, no patient (name or insured numbers) and no aid. What an
    // accidental new invoice leaves behind.
    bool isBlank() const;
    // The columns isBlank() looks at.
    static const QStringList& blankColumns();

    // Lines 1 to 4, the ones the entry tab offers and the fund is billed for.
    std::span<const AidLine> offered() const { return std::span(aids).first(aidfields::kOfferedLines); }
    std::span<AidLine> offered() { return std::span(aids).first(aidfields::kOfferedLines); }

    // The columns of Rn the record is read from, in the order read() takes.
    static const QStringList& columns();
    // Reads rows of some or all of columns() in any order (a column not
    // read leaves its field empty).
    class Reader {
    public:
        explicit Reader(const QStringList& columns);
        InvoiceRecord read(const QVariantList& values) const;
        // The current row of a statement that selected `columns`.
        InvoiceRecord read(const Statement& row) const;

    private:
        std::vector<int> m_from; // for each of columns(), its place in the row, or -1
    };
    // `values` holds the values of columns() in that order.
    static InvoiceRecord read(const QVariantList& values);
    // A row of a set of Rn.
    static InvoiceRecord fromRow(const RecordSet& set, int row);

    // Puts every field that differs from the stored row into the row of the
    // set (the set writes it back as it writes every edit). The entry tab's
    // commands still set single fields by name.
    void writeTo(RecordSet& set, int row) const;
};
