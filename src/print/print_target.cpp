#include "print_target.h"

#include "painter_canvas.h"

#include "common/text_file.h"
#include "common/working_folder.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>

namespace {

// A common office printer cannot print the outer 4 mm of the sheet; a PDF
// keeps the same printable area so that it looks like the printed page.
constexpr double kPdfMarginMm = 4;

// A PDF is drawn in memory and written whole with textfile::writeWhole
// when the document ends: a full disk or a missing folder is
// reported, and a file of the same name stays as it was. A name of one of
// the program's own data files is refused (a PDF must never take the place
// of the database).
struct PdfBuffer {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    PdfBuffer(const QString& documentName, const QPageLayout& layout)
    {
        buffer.open(QIODevice::WriteOnly);
        writer = std::make_unique<QPdfWriter>(&buffer);
        writer->setResolution(1200);
        writer->setTitle(documentName);
        writer->setCreator(QStringLiteral("Kelmorin"));
        writer->setPageLayout(layout);
    }
};

class BufferedPdfCanvas : private PdfBuffer, public PainterCanvas {
public:
    BufferedPdfCanvas(QString path, const QString& documentName, const QPageLayout& layout)
        : PdfBuffer(documentName, layout), PainterCanvas(PdfBuffer::writer.get()), m_path(std::move(path))
    {
    }
    bool finish() override
    {
        if (m_done)
            return m_failure.isEmpty();
        m_done = true;
        if (!PainterCanvas::finish())
            m_failure = QStringLiteral("PDF %1 nije moguće napraviti.").arg(QDir::toNativeSeparators(m_path));
        else if (workdir::isDataFileName(m_path))
            m_failure = QStringLiteral("%1 je ime datoteke s podacima programa; PDF se ne smije tako zvati.")
                            .arg(QDir::toNativeSeparators(m_path));
        else
            textfile::writeWhole(m_path, buffer.data(), &m_failure);
        return m_failure.isEmpty();
    }
    QString failure() const override { return m_failure; }

private:
    QString m_path;
    QString m_failure;
    bool m_done = false;
};

} // namespace

std::unique_ptr<Canvas> pdfFileCanvas(const QString& path, const QString& documentName, const QPageLayout& layout)
{
    auto canvas = std::make_unique<BufferedPdfCanvas>(path, documentName, layout);
    if (!canvas->isActive())
        return nullptr;
    return canvas;
}

std::unique_ptr<Canvas> PdfPrintTarget::open(const QString& documentName)
{
    QString path = m_path;
    if (m_batch >= 0 && ++m_batch > 1)
        path = (path.endsWith(u".pdf", Qt::CaseInsensitive) ? path.chopped(4) : path) + QStringLiteral("-%1.pdf").arg(m_batch);
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                         QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm), QPageLayout::Millimeter);
    return pdfFileCanvas(path, documentName, a4);
}

QString printFailedMessage(const Canvas& canvas)
{
    const QString message = QStringLiteral("Ispis nije uspio! Provjerite pisač ili datoteku u koju se ispisuje.");
    return canvas.failure().isEmpty() ? message : message + QStringLiteral("\r\n") + canvas.failure();
}
