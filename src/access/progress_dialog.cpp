#include "progress_dialog.h"

#include "common/dialogs.h"

#include <QApplication>
#include <QProgressDialog>

#include <limits>

ConversionProgressDialog::ConversionProgressDialog(QWidget* parent) : m_parent(parent) {}

ConversionProgressDialog::~ConversionProgressDialog() = default;

void ConversionProgressDialog::begin(const QString& title, qint64 rows)
{
    m_total = rows;
    m_done = 0;
    m_dialog = std::make_unique<QProgressDialog>(m_parent);
    m_dialog->setWindowTitle(kAppCaption);
    m_dialog->setLabelText(title);
    m_dialog->setCancelButton(nullptr);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setMinimumWidth(420);
    m_title = title;
    // The widget's range is an int: past that the bar counts thousands.
    m_scale = rows > std::numeric_limits<int>::max() ? 1000 : 1;
    m_dialog->setRange(0, static_cast<int>(qMax<qint64>(1, rows / m_scale)));
    m_dialog->setValue(0);
    m_dialog->show();
    QApplication::processEvents();
}

void ConversionProgressDialog::update(const QString& table, qint64 rowsDone)
{
    if (!m_dialog)
        return;
    if (rowsDone >= 0)
        m_done = rowsDone;
    if (!table.isEmpty())
        m_dialog->setLabelText(QStringLiteral("%1\r\nTablica %2: %3 od %4 redaka")
                                   .arg(m_title, table)
                                   .arg(m_done)
                                   .arg(m_total));
    m_dialog->setValue(static_cast<int>(qMin(m_done, m_total) / m_scale));
    QApplication::processEvents();
}

void ConversionProgressDialog::end()
{
    if (m_dialog)
        m_dialog->hide();
    m_dialog.reset();
    QApplication::processEvents();
}
