#include "record_set_model.h"

#include "common/formats.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "data/sql_values.h"

RecordSetModel::RecordSetModel(RecordSet& set, QObject* parent) : QAbstractTableModel(parent), m_set(set)
{
    const QHash<QString, int> widths = schema::textWidths(set.database(), set.query().table);
    for (const QString& field : set.fieldNames())
        m_widths.push_back(widths.value(field.toLower()));
    connect(&set, &RecordSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(&set, &RecordSet::reset, this, [this] { endResetModel(); });
    connect(&set, &RecordSet::aboutToAppend, this, [this](int row) { beginInsertRows({}, row, row); });
    connect(&set, &RecordSet::rowAppended, this, [this](int) { endInsertRows(); });
    connect(&set, &RecordSet::rowChanged, this,
            [this](int row) { Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1)); });
}

void RecordSetModel::setLayout(GridLayout layout)
{
    m_layout = std::move(layout);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

ColumnLayout RecordSetModel::columnLayout(int column) const
{
    return column >= 0 && column < int(m_layout.size()) ? m_layout[column] : ColumnLayout{};
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_set.rowCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_set.columnCount();
}

QVariant RecordSetModel::displayValue(int row, int column) const
{
    const QVariant stored = m_set.value(row, column);
    const ColumnLayout layout = columnLayout(column);
    if (stored.isNull())
        return {};
    if (layout.date)
        return format::date(sqlvalue::toDate(stored), u"dd.MM.yyyy");
    if (!layout.format.isEmpty()) {
        bool numeric = false;
        const double value = stored.toDouble(&numeric);
        if (numeric)
            return format::number(value, layout.format);
    }
    return stored;
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayValue(index.row(), index.column());
    case Qt::EditRole: {
        const QVariant stored = m_set.value(index.row(), index.column());
        return columnLayout(index.column()).date ? QVariant(sqlvalue::toDate(stored)) : stored;
    }
    case MaxLengthRole:
        return index.column() < int(m_widths.size()) ? m_widths[index.column()] : 0;
    case Qt::TextAlignmentRole: {
        const ColumnLayout layout = columnLayout(index.column());
        if (layout.centred)
            return int(Qt::AlignCenter);
        if (!layout.format.isEmpty())
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_set.columnCount() ? QVariant(m_set.fieldNames().at(section)) : QVariant();
    return {};
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !columnLayout(index.column()).readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || columnLayout(index.column()).readOnly)
        return false;
    QVariant stored = value;
    if (value.typeId() == QMetaType::QString) {
        const int width = data(index, MaxLengthRole).toInt();
        if (value.toString().isEmpty())
            stored = QVariant();
        else if (width > 0)
            stored = value.toString().left(width);
    }
    return m_set.setValue(index.row(), index.column(), stored) && m_set.save(index.row());
}
