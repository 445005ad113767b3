#pragma once

#include <QAbstractTableModel>

#include <vector>

class RecordSet;

// How a grid shows one column of its record set.
struct ColumnLayout {
    int widthTwips = 0; // 0: the grid's default width
    bool hidden = false;
    bool centred = false;
    QString format;     // a number pattern such as "0.00"; empty: as stored
    bool date = false;  // stored ISO date shown as dd.MM.yyyy
    bool readOnly = false;
    int digits = 0;     // the column is at least wide enough for this many digits
};

// Columns by position; positions past the end keep the defaults.
using GridLayout = std::vector<ColumnLayout>;

// A grid's view of a live record set. Edits in the grid go into the row and
// are written at once.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The most characters a text column holds (0: no limit); editors read
    // it so that nothing longer than the field can be typed.
    static constexpr int MaxLengthRole = Qt::UserRole + 1;

    explicit RecordSetModel(RecordSet& set, QObject* parent = nullptr);

    void setLayout(GridLayout layout);
    const GridLayout& layout() const { return m_layout; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    ColumnLayout columnLayout(int column) const;
    QVariant displayValue(int row, int column) const;

    RecordSet& m_set;
    GridLayout m_layout;
    std::vector<int> m_widths;
};
