#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <QDate>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QWidget;
class RecordSet;

// Ties entry widgets to the current row of a live record set: each widget
// shows its field of the current row and is named after the field; what the
// user types goes into the row at once, and the row is written to the file
// when the user leaves a text box or changes a check box, a date or a pick
// list (and, as always, when the row is left, when a command saves, and at
// exit), so that a crash loses at most the box being typed in. Commands
// that change the row are shown in the widgets straight away.
class FieldBinder : public QObject {
    Q_OBJECT

public:
    FieldBinder(RecordSet& set, QObject* parent = nullptr);

    // Free text, no longer than the field holds.
    QLineEdit* text(const QString& field, QWidget* parent);
    // A number shown with a pattern such as "0.00"; typed text is read with
    // the locale's separators.
    QLineEdit* number(const QString& field, const QString& pattern, QWidget* parent);
    // A whole number from 0 to max; an emptied box shows "0" at once.
    QLineEdit* count(const QString& field, int max, QWidget* parent);
    QCheckBox* check(const QString& field, const QString& caption, QWidget* parent);
    // A date typed the way the date prompts take it: `read` gives the date
    // of a typed text, or nothing when it names no date, in which case
    // `refused` tells the user and the box shows the stored date again. An
    // empty box stores no date. The box selects its whole text when entered
    // (typing replaces it); Tab and Enter leave it.
    using DateReader = std::function<std::optional<QDate>(const QString&)>;
    QLineEdit* date(const QString& field, QWidget* parent, DateReader read, std::function<void()> refused);
    // One entry of a fixed list; a value outside the list shows nothing.
    QComboBox* choice(const QString& field, const QStringList& entries, QWidget* parent);

    // Shows a field without letting it be typed into.
    QLabel* display(const QString& field, QWidget* parent);

    // Shows the current row in every widget.
    void refresh();

    // Puts the date still being typed in the focused date box (of any
    // binder) into its row, as leaving the box would, without asking the
    // user anything: a text that names no date keeps the stored date. For
    // the end of the program, before the rows are saved.
    static void commitFocusedDate();
    // The boxes that hold the keyboard: the application's and each window's
    // own (the session may end while another program is active).
    static QList<QWidget*> focusedBoxes();

Q_SIGNALS:
    // The user changed a field (not emitted when a command or a row change
    // updates the widgets).
    void edited(const QString& field);

private:
    struct Binding {
        QWidget* widget;
        std::function<void()> show;
    };
    void bind(const QString& field, QWidget* widget, std::function<void()> show);
    void write(QWidget* source, const QString& field, const QVariant& value);
    void store();

    RecordSet& m_set;
    QHash<QString, int> m_widths;
    std::vector<Binding> m_bindings;
    QWidget* m_writing = nullptr;
};
