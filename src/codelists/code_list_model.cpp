#include "code_list_model.h"

#include "price_file.h"

#include "common/formats.h"
#include "data/database.h"
#include "data/pricing.h"
#include "data/record_set.h"
#include "data/sql_values.h"

#include <QLocale>
#include <QSqlQuery>

#include <cmath>

namespace {

// A number as typed: a decimal comma or point, no grouping.
std::optional<double> typedNumber(QString text)
{
    text = text.trimmed().replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The price and the VAT rate take what a price list may bring (the same
// rules as loading one): the value to store, or the reason it is refused.
std::optional<QVariant> priceOrRate(int column, const QString& text, QString* refusal)
{
    const std::optional<double> number = pricefile::plainDecimal(text);
    if (column == pricing::kPriceColumn) {
        if (!number) {
            *refusal = QStringLiteral("Cijena se upisuje kao decimalni broj, npr. 12,50 (\"%1\" to nije).").arg(text);
            return std::nullopt;
        }
        const pricing::AcceptedPrice accepted = pricing::acceptedPrice(*number, text.trimmed());
        if (!accepted.price) {
            *refusal = QStringLiteral("Cijena nije upisana: %1.").arg(accepted.reason);
            return std::nullopt;
        }
        return QVariant(*accepted.price);
    }
    if (!number || !pricing::isFundVatRate(*number)) {
        *refusal = QStringLiteral("Stopa PDV-a je jedna od stopa HZZO-a: %1 (\"%2\" nije).").arg(pricing::kFundVatRates, text);
        return std::nullopt;
    }
    return QVariant(*number);
}

} // namespace

CodeListModel::CodeListModel(RecordSet& set, QObject* parent) : RecordSetModel(set, parent), m_set(set)
{
    QHash<QString, QString> declared;
    QSqlQuery info(set.database().handle());
    info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlvalue::quotedName(set.query().table)));
    while (info.next())
        declared.insert(info.value(1).toString().toLower(), info.value(2).toString().toUpper());
    for (const QString& field : set.fieldNames())
        m_types.push_back(declared.value(field.toLower()));
}

bool CodeListModel::isNumeric(int column) const
{
    if (column < 0 || column >= int(m_types.size()))
        return false;
    const QString& t = m_types[column];
    return t.contains(u"INT") || t.contains(u"REAL") || t.contains(u"DOUB") || t.contains(u"FLOA")
        || t.contains(u"NUM") || t.contains(u"DEC");
}

bool CodeListModel::isWhole(int column) const { return m_types[column].contains(u"INT"); }

bool CodeListModel::editable(int column) const
{
    if (column >= 0 && column <= m_lastEditable)
        return true;
    return column >= 0 && !(column < int(layout().size()) && layout()[column].readOnly);
}

void CodeListModel::unlock(int lastEditable)
{
    // The line for a new aid comes or goes; the grid keeps its place.
    const int end = m_set.rowCount();
    if (lastEditable >= 0 && !isUnlocked()) {
        beginInsertRows({}, end, end);
        m_lastEditable = lastEditable;
        endInsertRows();
    } else if (lastEditable < 0 && isUnlocked()) {
        beginRemoveRows({}, end, end);
        m_lastEditable = lastEditable;
        endRemoveRows();
    } else {
        m_lastEditable = lastEditable;
    }
    if (end > 0)
        Q_EMIT dataChanged(index(0, 0), index(end - 1, columnCount() - 1));
}

void CodeListModel::lock() { unlock(-1); }

bool CodeListModel::isNewRow(int row) const { return isUnlocked() && row == m_set.rowCount(); }

int CodeListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_set.rowCount() + (isUnlocked() ? 1 : 0);
}

QVariant CodeListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (isNewRow(index.row())) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return QString();
        if (role == MaxLengthRole || role == Qt::TextAlignmentRole)
            return RecordSetModel::data(this->index(0, index.column()), role);
        return {};
    }
    if (role == Qt::EditRole && isNumeric(index.column())) {
        // Numbers are edited as text with every decimal kept (a spin box
        // would cut a price to two decimals).
        const QVariant stored = m_set.value(index.row(), index.column());
        return stored.isNull() ? QString() : format::general(stored.toDouble());
    }
    return RecordSetModel::data(index, role);
}

Qt::ItemFlags CodeListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool CodeListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !editable(index.column()))
        return false;
    RecordSet& set = m_set;
    QVariant stored = value;
    const QString text = value.toString();
    const bool priceOrVat = index.column() == pricing::kPriceColumn || index.column() == pricing::kVatColumn;
    if (text.trimmed().isEmpty()) {
        stored = QVariant();
    } else if (priceOrVat) {
        QString refusal;
        const std::optional<QVariant> value = priceOrRate(index.column(), text, &refusal);
        if (!value) {
            Q_EMIT refused(refusal);
            return false;
        }
        stored = *value;
    } else if (isNumeric(index.column())) {
        const std::optional<double> number = typedNumber(text);
        if (!number || (isWhole(index.column()) && *number != qint64(*number))) {
            Q_EMIT refused(QStringLiteral("U stupac %1 upisuje se %2 (\"%3\" to nije).")
                               .arg(set.fieldNames().at(index.column()),
                                    isWhole(index.column()) ? QStringLiteral("cijeli broj") : QStringLiteral("broj"),
                                    text));
            return false;
        }
        stored = isWhole(index.column()) ? QVariant(qint64(*number)) : QVariant(*number);
    } else {
        const int width = RecordSetModel::data(this->index(0, index.column()), MaxLengthRole).toInt();
        if (width > 0)
            stored = text.left(width);
    }
    if (isNewRow(index.row())) {
        if (stored.isNull())
            return false;
        // The new aid is stored at once with what was typed; the rest of
        // its row is written when the user leaves it.
        const int row = set.append({{set.fieldNames().at(index.column()), stored}});
        if (row < 0) {
            m_error = set.error();
            Q_EMIT refused(m_error);
            return false;
        }
        Q_EMIT rowAdded(row);
        return true;
    }
    return set.setValue(index.row(), index.column(), stored);
}

bool CodeListModel::leaveRow(int newRow)
{
    RecordSet& set = m_set;
    const int left = set.current();
    if (left >= 0 && set.isDirty(left) && !set.save(left)) {
        m_error = set.error();
        return false;
    }
    set.setCurrent(newRow >= 0 && newRow < set.rowCount() ? newRow : -1);
    return true;
}

bool CodeListModel::writePending()
{
    if (!m_set.saveAll()) {
        m_error = m_set.error();
        return false;
    }
    return true;
}

QString CodeListModel::error() const { return m_error; }
