#pragma once

#include "access/startup_conversion.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress of a conversion in a small window: the table being copied
// and the rows done. It has no Cancel: a conversion that is stopped half
// way has nothing to keep.
class ConversionProgressDialog : public accessdb::ProgressView {
public:
    explicit ConversionProgressDialog(QWidget* parent = nullptr);
    ~ConversionProgressDialog() override;

    void begin(const QString& title, qint64 rows) override;
    void update(const QString& table, qint64 rowsDone) override;
    void end() override;

private:
    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
    qint64 m_total = 0;
    qint64 m_done = 0;
    qint64 m_scale = 1;
    QString m_title;
};
