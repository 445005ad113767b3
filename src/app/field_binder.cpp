#include "field_binder.h"

#include "common/formats.h"
#include "common/fund_text.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sql_values.h"

#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

#include <memory>

namespace {

// Refuses what a text box must never hold: line breaks and NUL anywhere,
// and a colon in a field that goes into the fund's file.
class SafeTextValidator : public QValidator {
public:
    SafeTextValidator(bool fundField, QObject* parent) : QValidator(parent), m_fundField(fundField) {}
    State validate(QString& input, int&) const override
    {
        for (QChar c : input) {
            if (fundtext::isLineBreakOrNul(c) || (m_fundField && c == u':'))
                return Invalid;
        }
        return Acceptable;
    }

private:
    bool m_fundField;
};

void setTextKeepingCursor(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}


// Selects the whole text of a box when the cursor enters it, by keyboard or
// by a click, so that what is typed replaces the date.
class SelectOnEntry : public QObject {
public:
    explicit SelectOnEntry(QLineEdit* edit) : QObject(edit) { edit->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        return false;
    }
};

// Hangs on a date box: what putting its typed text into the row takes.
class PendingDate : public QObject {
public:
    PendingDate(QLineEdit* edit, std::function<void()> commit) : QObject(edit), commit(std::move(commit)) {}
    const std::function<void()> commit;
};

} // namespace

QList<QWidget*> FieldBinder::focusedBoxes()
{
    QList<QWidget*> focused;
    auto add = [&focused](QWidget* w) {
        if (w && !focused.contains(w))
            focused << w;
    };
    add(QApplication::focusWidget());
    for (QWidget* window : QApplication::topLevelWidgets())
        add(window->focusWidget());
    return focused;
}

void FieldBinder::commitFocusedDate()
{
    for (QWidget* box : focusedBoxes()) {
        for (QObject* child : box->children()) {
            if (auto* pending = dynamic_cast<PendingDate*>(child))
                pending->commit();
        }
    }
}

FieldBinder::FieldBinder(RecordSet& set, QObject* parent) : QObject(parent), m_set(set)
{
    m_widths = schema::textWidths(set.database(), set.query().table);
    connect(&set, &RecordSet::currentChanged, this, &FieldBinder::refresh);
    connect(&set, &RecordSet::reset, this, &FieldBinder::refresh);
    connect(&set, &RecordSet::rowChanged, this, [this](int row) {
        if (row == m_set.current())
            refresh();
    });
}

void FieldBinder::bind(const QString& field, QWidget* widget, std::function<void()> show)
{
    widget->setObjectName(field);
    m_bindings.push_back({widget, std::move(show)});
    m_bindings.back().show();
}

void FieldBinder::write(QWidget* source, const QString& field, const QVariant& value)
{
    // The widget that is being typed into already shows what it wrote; only
    // the others follow.
    m_writing = source;
    m_set.setField(field, value);
    m_writing = nullptr;
    Q_EMIT edited(field);
}

void FieldBinder::store()
{
    // A failed write stays pending in the row; the exit reports it.
    m_set.save(m_set.current());
}

void FieldBinder::refresh()
{
    for (const Binding& b : m_bindings) {
        if (b.widget != m_writing)
            b.show();
    }
}

QLineEdit* FieldBinder::text(const QString& field, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    if (const int width = m_widths.value(field.toLower()); width > 0)
        edit->setMaxLength(width);
    edit->setValidator(new SafeTextValidator(fundtext::goesIntoFundFile(field), edit));
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field](const QString& t) { write(edit, field, t); });
    connect(edit, &QLineEdit::editingFinished, this, &FieldBinder::store);
    bind(field, edit, [this, edit, field] { setTextKeepingCursor(edit, sqlvalue::toText(m_set.field(field))); });
    return edit;
}

QLineEdit* FieldBinder::number(const QString& field, const QString& pattern, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    auto show = [this, edit, field, pattern] {
        const QVariant v = m_set.field(field);
        setTextKeepingCursor(edit, v.isNull() ? QString() : format::number(v.toDouble(), pattern, QLocale()));
    };
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field](const QString& t) {
        bool ok = false;
        const double v = QLocale().toDouble(t.trimmed(), &ok);
        if (ok || t.trimmed().isEmpty())
            write(edit, field, ok ? QVariant(v) : QVariant());
    });
    connect(edit, &QLineEdit::editingFinished, this, show);
    connect(edit, &QLineEdit::editingFinished, this, &FieldBinder::store);
    bind(field, edit, show);
    return edit;
}

QLineEdit* FieldBinder::count(const QString& field, int max, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    new SelectOnEntry(edit);
    edit->setValidator(new QIntValidator(0, max, edit));
    edit->setMaxLength(QString::number(max).size());
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field](const QString& t) {
        if (t.isEmpty()) {
            edit->setText(QStringLiteral("0"));
            edit->selectAll();
        }
        write(edit, field, edit->text().toInt());
    });
    connect(edit, &QLineEdit::editingFinished, this, &FieldBinder::store);
    bind(field, edit, [this, edit, field] { setTextKeepingCursor(edit, QString::number(m_set.field(field).toInt())); });
    return edit;
}

QCheckBox* FieldBinder::check(const QString& field, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    connect(box, &QCheckBox::clicked, this, [this, box, field](bool on) {
        write(box, field, on);
        store();
    });
    bind(field, box, [this, box, field] {
        const QSignalBlocker block(box);
        box->setChecked(sqlvalue::toBool(m_set.field(field)));
    });
    return box;
}


QLineEdit* FieldBinder::date(const QString& field, QWidget* parent, DateReader read, std::function<void()> refused)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(10); // dd.mm.gggg
    edit->setPlaceholderText(QStringLiteral("dd.mm.gggg"));
    new SelectOnEntry(edit);
    auto show = [this, edit, field] {
        const QDate d = sqlvalue::toDate(m_set.field(field));
        setTextKeepingCursor(edit, d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    };
    // Puts a typed date (or an emptied box) into the row; false when the
    // text names no date and the row keeps what it had.
    auto take = [this, edit, field, read] {
        const QString typed = edit->text().trimmed();
        const QDate stored = sqlvalue::toDate(m_set.field(field));
        if (typed.isEmpty()) {
            if (stored.isValid())
                write(edit, field, QVariant());
        } else if (const std::optional<QDate> d = read(typed)) {
            if (*d != stored)
                write(edit, field, *d);
        } else {
            return false;
        }
        return true;
    };
    // At the end of the program a text that names no date gives way to the
    // stored date, so that nothing asks the user anything then.
    new PendingDate(edit, [take, show] {
        if (!take())
            show();
    });
    auto checking = std::make_shared<bool>(false);
    connect(edit, &QLineEdit::editingFinished, this, [=, this] {
        if (*checking)
            return;
        if (!take()) {
            // The message takes the focus; that is no second leaving.
            *checking = true;
            refused();
            *checking = false;
            show();
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            return;
        }
        show();
        store();
    });
    // Enter leaves the box like Tab.
    connect(edit, &QLineEdit::returnPressed, edit, [edit, read] {
        const QString typed = edit->text().trimmed();
        if (edit->hasFocus() && (typed.isEmpty() || read(typed))) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(edit, &tab);
        }
    });
    bind(field, edit, show);
    return edit;
}

QComboBox* FieldBinder::choice(const QString& field, const QStringList& entries, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    box->setMaxVisibleItems(entries.size());
    connect(box, &QComboBox::activated, this, [this, box, field](int index) {
        write(box, field, box->itemText(index));
        store();
    });
    bind(field, box, [this, box, field] {
        const QSignalBlocker block(box);
        box->setCurrentIndex(box->findText(sqlvalue::toText(m_set.field(field))));
    });
    return box;
}

QLabel* FieldBinder::display(const QString& field, QWidget* parent)
{
    auto* label = new QLabel(parent);
    bind(field, label, [this, label, field] { label->setText(sqlvalue::toText(m_set.field(field))); });
    return label;
}
