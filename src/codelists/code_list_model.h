#pragma once

#include "app/record_set_model.h"

#include <vector>

// A code-list grid's view of its list. Locked, it shows the list as laid
// out; unlocked, the listed columns can be edited and an empty last row takes
// a new aid. Edits stay in the row until the user leaves it (the grid calls
// leaveRow), so that a row is written whole; what is typed into a number
// column must be a number, with a decimal comma or point.
class CodeListModel : public RecordSetModel {
    Q_OBJECT

public:
    explicit CodeListModel(RecordSet& set, QObject* parent = nullptr);

    // Columns 0..lastEditable become editable and the new-row line appears;
    // with -1 the grid is locked again (the layout's read-only columns).
    void unlock(int lastEditable);
    void lock();
    bool isUnlocked() const { return m_lastEditable >= 0; }
    // The empty row for a new aid (only while unlocked).
    bool isNewRow(int row) const;

    // The user moved to another row: the row left is written when it
    // changed. False (with the reason in error()) when it could not be.
    bool leaveRow(int newRow);
    // Writes every changed row (before a refresh, a load or the exit).
    bool writePending();
    QString error() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // A typed value was refused (not a number); the text says why.
    void refused(const QString& reason);
    // A new aid was added from the empty row.
    void rowAdded(int row);

private:
    bool isNumeric(int column) const;
    bool isWhole(int column) const;
    bool editable(int column) const;

    RecordSet& m_set;
    std::vector<QString> m_types; // declared types by column, upper case
    int m_lastEditable = -1;
    QString m_error;
};
