#include "qt_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString titleOr(const QString& title) { return title.isEmpty() ? kAppCaption : title; }

// Message texts carry CR LF line breaks; a message box wants plain LF.
QString shown(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

} // namespace

void QtDialogs::message(const QString& text, const QString& title)
{
    QMessageBox::information(m_parent, titleOr(title), shown(text));
}

bool QtDialogs::okCancel(const QString& text, const QString& title)
{
    return QMessageBox::question(m_parent, titleOr(title), shown(text),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

bool QtDialogs::yesNo(const QString& text, const QString& title)
{
    return QMessageBox::question(m_parent, titleOr(title), shown(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

QString QtDialogs::input(const QString& title, const QString& prompt, const QString& defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, titleOr(title), shown(prompt),
                                                 QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

int QtDialogs::chooseFromList(const QString& title, const QString& prompt, const QStringList& lines, int preselected)
{
    if (lines.isEmpty())
        return -1;
    QDialog dialog(m_parent);
    dialog.setWindowTitle(titleOr(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(shown(prompt), &dialog);
    auto* list = new QListWidget(&dialog);
    label->setBuddy(list);
    list->addItems(lines);
    list->setCurrentRow(preselected >= 0 && preselected < lines.size() ? preselected : 0);
    // Long enough for the lines without a scroll bar across.
    list->setMinimumWidth(list->sizeHintForColumn(0) + 4 * list->frameWidth() + 24);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    list->setFocus();
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}
