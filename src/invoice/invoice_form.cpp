#include "invoice_form.h"

#include "app/entry_width.h"
#include "app/field_binder.h"
#include "data/session.h"
#include "common/dialogs.h"
#include "data/invoice_record.h"
#include "data/regional_offices.h"
#include "identifiers.h"
#include "invoice_commands.h"

#include <QAction>
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
    fitCharacters(edit, digits);
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

    // A date box that reads what is typed as the date prompts do.
    QLineEdit* date(const QString& field)
    {
        auto read = [](const QString& typed) -> std::optional<QDate> {
            const identifiers::ShortDate d = identifiers::readShortDate(typed);
            if (d.status != identifiers::ShortDate::Valid)
                return std::nullopt;
            return d.date;
        };
        QLineEdit* edit = b.date(field, area, read, [&d = dialogs] { d.message(identifiers::kShortDateMessage); });
        fitCharacters(edit, 10);
        return edit;
    }

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

        QLineEdit* broj = wide(text(QStringLiteral("Broj"), QStringLiteral("14-znamenkasti broj ili 3 zn. / 8 ili 9 zn.")), 20);
        QLineEdit* prezime = text(QStringLiteral("Prezime"));
        QLineEdit* ime = text(QStringLiteral("Ime"));
        QLineEdit* brosig1 = text(QStringLiteral("Brosig1"));
        QLineEdit* brosig2 = wide(text(QStringLiteral("Brosig2")), 11);
        fitCharacters(brosig1, 5);
        brosig1->setMaximumWidth(brosig1->minimumWidth());
        // The two parts of the insured person's number share one caption.
        brosig1->setAccessibleName(QStringLiteral("Br. os. os. ili MB, prve tri znamenke"));
        brosig2->setAccessibleName(QStringLiteral("Br. os. os. ili MB"));
        auto* insuredCaption = caption(QStringLiteral("<a href=\"pomoc\">Br. os. os. ili MB</a>"), area);
        insuredCaption->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        QObject::connect(insuredCaption, &QLabel::linkActivated, area,
                         [&d = dialogs] { d.message(identifiers::kInsuredNumberHelp); });
        QLineEdit* sickList = wide(text(QStringLiteral("Brbolesnlist"), kConventionsOnly), 20);
        QLineEdit* country = text(QStringLiteral("Drz"), kConventionsOnly);
        QLineEdit* amount = wide(b.number(QStringLiteral("Iznos"), QStringLiteral("0.00"), area), 12);
        auto* picture = new QToolButton(area);
        picture->setObjectName(QStringLiteral("izborpomslika"));
        picture->setIcon(area->style()->standardIcon(QStyle::SP_ArrowDown));
        picture->setToolTip(QStringLiteral("IZBOR KELMORIN IZ TABL."));
        picture->setAccessibleName(picture->toolTip());
        QObject::connect(picture, &QToolButton::clicked, area, pickAid);
        QCheckBox* supplementary = b.check(QStringLiteral("Dop"), QStringLiteral("Dopunsko  os. br.:"), area);
        QLineEdit* policy = wide(text(QStringLiteral("Dopunsko"), QStringLiteral("Ovdje upišite broj dopunskog")), 20);
        policy->setAccessibleName(QStringLiteral("Dopunsko os. br."));
        QLineEdit* maker = wide(text(QStringLiteral("Proizv")), 15);

        int r = 1;
        // Each caption names its box (for screen readers, and Alt with the
        // underlined letter jumps to the box).
        auto add = [&](QWidget* label, QLayout* fields) {
            if (auto* l = qobject_cast<QLabel*>(label); l && fields->count() > 0)
                l->setBuddy(fields->itemAt(0)->widget());
            g->addWidget(label, r, 0);
            g->addLayout(fields, r++, 1);
        };
        add(caption(QStringLiteral("&Broj potvrde"), area), row({broj}));
        add(caption(QStringLiteral("Pre&zime"), area), row({prezime}));
        add(caption(QStringLiteral("I&me"), area), row({ime}));
        add(insuredCaption, row({brosig1, brosig2}));
        add(caption(QStringLiteral("Broj bo&l. lista"), area), row({sickList}));
        add(caption(QStringLiteral("Dr&žava"), area), row({country}));
        add(caption(QStringLiteral("&Ukupan iznos:"), area), row({amount, picture}));
        add(supplementary, row({policy}));
        add(caption(QStringLiteral("Šifra proizvođača:"), area), row({maker}));

        m_orderDate = date(QStringLiteral("Datumnar"));
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
            {QStringLiteral("Datum obr&ačuna"), date(QStringLiteral("Datum"))},
            {QStringLiteral("Datum narudžbe"), m_orderDate},
            {QStringLiteral("Datum izda&v."), date(QStringLiteral("DatumIzdavanja"))},
            {QString(), exempt},
            {QStringLiteral("Područni ur&ed"), b.choice(QStringLiteral("Pu"), offices::cities(), area)},
            {QStringLiteral("Račun plaćen dana:"), wide(text(QStringLiteral("Plac")), 12)},
            {QStringLiteral("Bilješka"), text(QStringLiteral("Opaska"))},
            {QStringLiteral("Br. maloprod. računa"), wide(text(QStringLiteral("BrojMalopRn")), 20)},
        };
        for (int r = 0; r < int(rows.size()); ++r) {
            if (!rows[r].caption.isEmpty()) {
                QLabel* label = caption(rows[r].caption, area);
                label->setBuddy(rows[r].field);
                g->addWidget(label, r, 0);
            }
            g->addWidget(rows[r].field, r, 1);
        }
        // Tab (and Enter, which leaves a date box like Tab) follows the
        // boxes top to bottom, whatever order they were made in.
        for (size_t r = 0; r + 1 < rows.size(); ++r)
            QWidget::setTabOrder(rows[r].field, rows[r + 1].field);
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
            quantity->setAccessibleName(QStringLiteral("Kol. %1").arg(line));
            // Aids priced per cm² take four digits.
            fitCharacters(quantity, 4);
            quantity->setMaximumWidth(quantity->minimumWidth() * 3 / 2);
            // Enter in a quantity box and leaving it price the invoice anew.
            QObject::connect(quantity, &QLineEdit::editingFinished, area, [&c = commands] { c.recompute(); });
            QLabel* label = caption(QStringLiteral("Pomagalo br. &%1").arg(line), area);
            label->setBuddy(code);
            g->addWidget(label, line, 0);
            g->addWidget(code, line, 1);
            g->addWidget(quantity, line, 2);
        }
        auto* back = new QPushButton(QStringLiteral("NA&TRAG"), area);
        back->setObjectName(QStringLiteral("natrag"));
        auto* forward = new QPushButton(QStringLiteral("NAP&RIJED"), area);
        forward->setObjectName(QStringLiteral("naprijed"));
        QObject::connect(back, &QPushButton::clicked, area, [&c = commands] { c.step(-1); });
        QObject::connect(forward, &QPushButton::clicked, area, [&c = commands] { c.step(+1); });
        // Page Up / Page Down (or Alt with the arrows) anywhere in the entry
        // fields do the same.
        for (auto [button, keys] : {std::pair{back, QList<QKeySequence>{Qt::Key_PageUp, Qt::ALT | Qt::Key_Left}},
                                    std::pair{forward, QList<QKeySequence>{Qt::Key_PageDown, Qt::ALT | Qt::Key_Right}}}) {
            auto* action = new QAction(button);
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            area->addAction(action);
            QObject::connect(action, &QAction::triggered, button, &QPushButton::click);
        }
        g->addLayout(row({back, forward}), InvoiceCommands::kOfferedLines + 1, 0, 1, 3);
        g->setRowStretch(InvoiceCommands::kOfferedLines + 2, 1);
        return g;
    }

    QLineEdit* m_orderDate = nullptr;
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
