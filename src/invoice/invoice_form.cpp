#include "invoice_form.h"

#include "app/field_binder.h"
#include "app/session.h"
#include "common/dialogs.h"
#include "data/invoice_record.h"
#include "data/regional_offices.h"
#include "identifiers.h"
#include "invoice_commands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace invoiceform {
namespace {

const QString kConventionsOnly = QStringLiteral("Popuniti samo kod konvencija");

// Runs an action when the watched widget is double-clicked.
class DoubleClick : public QObject {
public:
    DoubleClick(QWidget* watched, std::function<void()> action) : QObject(watched), m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_action();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

// Enter in a field of the chain moves the cursor on; the key does nothing
// else.
void chain(const std::vector<QWidget*>& fields)
{
    for (size_t i = 0; i + 1 < fields.size(); ++i) {
        auto* edit = qobject_cast<QLineEdit*>(fields[i]);
        QWidget* next = fields[i + 1];
        QObject::connect(edit, &QLineEdit::returnPressed, next, [next] { next->setFocus(Qt::TabFocusReason); });
    }
}

// Room for a number of digits (codes and numbers are the widest entries).
QLineEdit* wide(QLineEdit* edit, int digits)
{
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(digits, u'0')) + 12);
    return edit;
}

QLabel* caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* box = new QHBoxLayout;
    for (QWidget* w : widgets)
        box->addWidget(w);
    return box;
}

// Lays out the three columns of the entry area. It lives only while the
// area is built: the widgets' actions capture the commands, never the builder.
struct Builder {
    QWidget* area;
    InvoiceCommands& commands;
    Dialogs& dialogs;
    FieldBinder& b;

    QLineEdit* text(const QString& field, const QString& hint = {})
    {
        QLineEdit* edit = b.text(field, area);
        edit->setToolTip(hint);
        return edit;
    }

    QLayout* patientColumn(const std::function<void()>& pickAid)
    {
        auto* g = new QGridLayout;
        QLabel* number = b.display(QStringLiteral("Rnbr"), area);
        QFont bold = number->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        number->setFont(bold);
        g->addWidget(caption(QStringLiteral("Račun broj:"), area), 0, 0);
        g->addWidget(number, 0, 1);

        QLineEdit* broj = wide(text(QStringLiteral("Broj"), QStringLiteral("14-znamenkasti broj ili 3 zn. / 8 ili 9 zn.")), 18);
        QLineEdit* prezime = text(QStringLiteral("Prezime"));
        QLineEdit* ime = text(QStringLiteral("Ime"));
        QLineEdit* brosig1 = text(QStringLiteral("Brosig1"));
        QLineEdit* brosig2 = wide(text(QStringLiteral("Brosig2")), 11);
        brosig1->setMaximumWidth(brosig1->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        auto* insuredCaption = caption(QStringLiteral("<a href=\"pomoc\">Br. os. os. ili MB</a>"), area);
        insuredCaption->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        QObject::connect(insuredCaption, &QLabel::linkActivated, area,
                         [&d = dialogs] { d.message(identifiers::kInsuredNumberHelp); });
        QLineEdit* sickList = text(QStringLiteral("Brbolesnlist"), kConventionsOnly);
        QLineEdit* country = text(QStringLiteral("Drz"), kConventionsOnly);
        QLineEdit* amount = b.number(QStringLiteral("Iznos"), QStringLiteral("0.00"), area);
        auto* picture = new QToolButton(area);
        picture->setObjectName(QStringLiteral("izborpomslika"));
        picture->setIcon(area->style()->standardIcon(QStyle::SP_ArrowDown));
        picture->setToolTip(QStringLiteral("IZBOR KELMORIN IZ TABL."));
        QObject::connect(picture, &QToolButton::clicked, area, pickAid);
        QCheckBox* supplementary = b.check(QStringLiteral("Dop"), QStringLiteral("Dopunsko  os. br.:"), area);
        QLineEdit* policy = text(QStringLiteral("Dopunsko"), QStringLiteral("Ovdje upišite broj dopunskog"));
        QLineEdit* maker = text(QStringLiteral("Proizv"));

        int r = 1;
        auto add = [&](QWidget* label, QLayout* fields) {
            g->addWidget(label, r, 0);
            g->addLayout(fields, r++, 1);
        };
        add(caption(QStringLiteral("Broj potvrde"), area), row({broj}));
        add(caption(QStringLiteral("Prezime"), area), row({prezime}));
        add(caption(QStringLiteral("Ime"), area), row({ime}));
        add(insuredCaption, row({brosig1, brosig2}));
        add(caption(QStringLiteral("Broj bol. lista"), area), row({sickList}));
        add(caption(QStringLiteral("Država"), area), row({country}));
        add(caption(QStringLiteral("Ukupan iznos:"), area), row({amount, picture}));
        add(supplementary, row({policy}));
        add(caption(QStringLiteral("Šifra proizvođača:"), area), row({maker}));

        m_orderDate = b.date(QStringLiteral("Datumnar"), area);
        chain({broj, prezime, ime, brosig1, brosig2, m_orderDate});
        chain({sickList, country, amount, policy});
        return g;
    }

    QLayout* datesColumn()
    {
        auto* g = new QGridLayout;
        QCheckBox* exempt = b.check(QStringLiteral("Osl"), QStringLiteral("Oslobođen sudj."), area);
        struct Row {
            QString caption;
            QWidget* field;
        };
        const std::vector<Row> rows = {
            {QStringLiteral("Datum obračuna"), b.date(QStringLiteral("Datum"), area)},
            {QStringLiteral("Datum narudžbe"), m_orderDate},
            {QStringLiteral("Datum izdav."), b.date(QStringLiteral("DatumIzdavanja"), area)},
            {QString(), exempt},
            {QStringLiteral("Područni ured"), b.choice(QStringLiteral("Pu"), offices::cities(), area)},
            {QStringLiteral("Račun plaćen dana:"), text(QStringLiteral("Plac"))},
            {QStringLiteral("Bilješka"), text(QStringLiteral("Opaska"))},
            {QStringLiteral("Br. maloprod. računa"), text(QStringLiteral("BrojMalopRn"))},
        };
        for (int r = 0; r < int(rows.size()); ++r) {
            if (!rows[r].caption.isEmpty())
                g->addWidget(caption(rows[r].caption, area), r, 0);
            g->addWidget(rows[r].field, r, 1);
        }
        g->setRowStretch(int(rows.size()), 1);
        return g;
    }

    QLayout* aidColumn()
    {
        auto* g = new QGridLayout;
        g->addWidget(caption(QStringLiteral("Kol."), area), 0, 2);
        for (int line = 1; line <= InvoiceCommands::kOfferedLines; ++line) {
            QLineEdit* code = wide(text(aidfields::code(line),
                                        QStringLiteral("Dvoklikom na ovo polje brišete šifru i količinu kelmorin")), 14);
            new DoubleClick(code, [&c = commands, line] { c.clearLine(line); });
            QLineEdit* quantity = b.count(aidfields::quantity(line), 9999, area);
            quantity->setMaximumWidth(quantity->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
            // Enter in a quantity box and leaving it price the invoice anew.
            QObject::connect(quantity, &QLineEdit::editingFinished, area, [&c = commands] { c.recompute(); });
            g->addWidget(caption(QStringLiteral("Pomagalo br. %1").arg(line), area), line, 0);
            g->addWidget(code, line, 1);
            g->addWidget(quantity, line, 2);
        }
        auto* back = new QPushButton(QStringLiteral("NATRAG"), area);
        back->setObjectName(QStringLiteral("natrag"));
        auto* forward = new QPushButton(QStringLiteral("NAPRIJED"), area);
        forward->setObjectName(QStringLiteral("naprijed"));
        QObject::connect(back, &QPushButton::clicked, area, [&c = commands] { c.step(-1); });
        QObject::connect(forward, &QPushButton::clicked, area, [&c = commands] { c.step(+1); });
        g->addLayout(row({back, forward}), InvoiceCommands::kOfferedLines + 1, 0, 1, 3);
        g->setRowStretch(InvoiceCommands::kOfferedLines + 2, 1);
        return g;
    }

    QDateEdit* m_orderDate = nullptr;
};

} // namespace

FieldBinder* build(QWidget* area, Session& session, InvoiceCommands& commands, Dialogs& dialogs,
                   const std::function<void()>& pickAid)
{
    auto* binder = new FieldBinder(session.invoices(), area);
    Builder builder{area, commands, dialogs, *binder};
    auto* columns = new QHBoxLayout(area);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addLayout(builder.patientColumn(pickAid), 3);
    columns->addSpacing(16);
    columns->addLayout(builder.datesColumn(), 2);
    columns->addSpacing(16);
    columns->addLayout(builder.aidColumn(), 3);
    QObject::connect(binder, &FieldBinder::edited, area,
                     [&commands](const QString& field) { commands.coPaymentFlagChanged(field); });
    return binder;
}

} // namespace invoiceform
