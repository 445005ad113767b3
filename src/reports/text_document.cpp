#include "text_document.h"

#include "common/cp1250.h"
#include "common/text_file.h"
#include "common/working_folder.h"
#include "print/print_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

bool TextDocument::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_text = cp1250::decode(file.readAll());
    return true;
}

QStringList TextDocument::lines() const
{
    QString text = m_text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool TextDocument::saveAs(const QString& target, QString* error) const
{
    // A copy must never take the place of the database or another data file.
    if (workdir::isDataFileName(target)) {
        if (error)
            *error = QStringLiteral("%1 je ime datoteke s podacima programa; kopija se ne smije tako zvati.")
                         .arg(QDir::toNativeSeparators(target));
        return false;
    }
    // Decoding and encoding Windows-1250 give back the same bytes.
    TextFileWriter writer;
    writer.write(m_text);
    return writer.save(target, error);
}

namespace {

// A heading as a file name: letters without diacritics, digits, dots and
// hyphens for every run of anything else.
QString asFileName(const QString& heading)
{
    QString name;
    bool gap = false;
    for (QChar c : heading.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c == u'đ' || c == u'Đ')
            c = c == u'đ' ? u'd' : u'D';
        if ((c.isLetterOrNumber() && c.unicode() < 128) || c == u'.') {
            if (gap && !name.isEmpty())
                name += u'-';
            name += c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return name.left(80);
}

} // namespace

QString TextDocument::documentName() const
{
    const QFileInfo file(m_path);
    if (file.fileName().compare(QStringLiteral("Temp.txt"), Qt::CaseInsensitive) == 0) {
        for (const QString& line : lines()) {
            const QString name = asFileName(line);
            if (!name.isEmpty())
                return name;
        }
    }
    return file.completeBaseName();
}

TextDocument::PrintOutcome TextDocument::print(PrintTarget& target, QString* failure) const
{
    const QStringList all = lines();
    std::unique_ptr<Canvas> canvas = target.open(documentName());
    if (!canvas)
        return PrintOutcome::Cancelled;
    Canvas::Font font{kFontFamily, kMaxPoints, false, false};
    canvas->setFont(font);
    const auto widest = std::max_element(all.begin(), all.end(),
                                         [](const QString& a, const QString& b) { return a.size() < b.size(); });
    const double width = widest == all.end() ? 0 : canvas->textWidth(*widest);
    if (width > kWidth) {
        // Tenths of a point, rounded down, so that the line surely fits.
        font.points = std::max(std::floor(kMaxPoints * kWidth / width * 10) / 10, 1.0);
        canvas->setFont(font);
    }
    const double step = canvas->lineHeight();
    const int perPage = std::max(1, int(kHeight / step));
    int onPage = 0;
    for (const QString& line : all) {
        if (onPage == perPage) {
            canvas->newPage();
            onPage = 0;
        }
        canvas->text(kLeft, kTop + onPage * step, line);
        ++onPage;
    }
    if (canvas->finish())
        return PrintOutcome::Printed;
    if (failure)
        *failure = canvas->failure();
    return PrintOutcome::Failed;
}
