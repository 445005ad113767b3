#include "report_window.h"
#include "app/accessible_names.h"

#include "common/dialogs.h"
#include "common/platform.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QFont fixedFont()
{
    QFont font(TextDocument::kFontFamily);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(10);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

} // namespace

ReportWindow::ReportWindow(PrintTarget& printer, Dialogs& dialogs, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), m_printer(printer), m_dialogs(dialogs), m_platform(platform)
{
    setObjectName(QStringLiteral("ReportWindow"));
    accessiblenames::install();
    setWindowModality(Qt::NonModal);
    m_view = new QPlainTextEdit(this);
    m_view->setAccessibleName(QStringLiteral("Tekst izvješća"));
    m_view->setObjectName(QStringLiteral("reportText"));
    m_view->setReadOnly(true);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(fixedFont());
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* printButton = new QPushButton(QStringLiteral("Ispis..."), this);
    printButton->setObjectName(QStringLiteral("ispis"));
    auto* saveButton = new QPushButton(QStringLiteral("Spremi kao..."), this);
    saveButton->setObjectName(QStringLiteral("spremikao"));
    auto* editorButton = new QPushButton(QStringLiteral("Otvori u uređivaču"), this);
    editorButton->setObjectName(QStringLiteral("uredivac"));
    auto* closeButton = new QPushButton(QStringLiteral("Zatvori"), this);
    closeButton->setObjectName(QStringLiteral("zatvori"));
    connect(printButton, &QPushButton::clicked, this, &ReportWindow::print);
    connect(saveButton, &QPushButton::clicked, this, &ReportWindow::saveAs);
    connect(editorButton, &QPushButton::clicked, this, &ReportWindow::openInEditor);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(printButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(editorButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);

    // Wide enough for a report's 100 columns where the screen allows.
    const QFontMetrics metrics(m_view->font());
    QSize size(metrics.horizontalAdvance(QString(104, u'0')) + 40, metrics.lineSpacing() * 40 + 80);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);

    chooseSavePath = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Spremi kao"), suggested,
                                            QStringLiteral("Tekst (*.txt);;Sve datoteke (*)"));
    };
}

bool ReportWindow::showTextFile(const QString& path)
{
    TextDocument document;
    QString error;
    if (!document.load(path, &error)) {
        m_dialogs.message(QStringLiteral("Datoteku ") + path + QStringLiteral(" nije moguće pročitati:\r\n") + error);
        return false;
    }
    m_document = document;
    m_view->setPlainText(m_document.lines().join(u'\n'));
    setWindowTitle(QFileInfo(m_document.path()).fileName() + QStringLiteral(" - ") + kAppCaption);
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return true;
}

void ReportWindow::print()
{
    if (m_document.path().isEmpty())
        return;
    QString failure;
    if (m_document.print(m_printer, &failure) == TextDocument::PrintOutcome::Failed)
        m_dialogs.message(QStringLiteral("Ispis izvješća ") + m_document.documentName() + QStringLiteral(" nije uspio.")
                          + (failure.isEmpty() ? QString() : QStringLiteral("\r\n") + failure));
}

void ReportWindow::saveAs()
{
    if (m_document.path().isEmpty())
        return;
    // A report is offered under its heading, beside the report file (which
    // the next report overwrites), as printing names it; another file
    // under its own name.
    const QFileInfo shown(m_document.path());
    const QString suggested = shown.dir().filePath(m_document.documentName() + u'.' + shown.suffix());
    const QString target = chooseSavePath ? chooseSavePath(suggested) : QString();
    if (target.isEmpty())
        return;
    QString error;
    if (!m_document.saveAs(target, &error))
        m_dialogs.message(QStringLiteral("Datoteku ") + target + QStringLiteral(" nije moguće snimiti:\r\n") + error);
}

void ReportWindow::openInEditor()
{
    if (m_document.path().isEmpty())
        return;
    if (!m_platform.openDocument(m_document.path()))
        m_dialogs.message(QStringLiteral("Datoteku ") + m_document.path()
                          + QStringLiteral(" nije moguće otvoriti u uređivaču."));
}
