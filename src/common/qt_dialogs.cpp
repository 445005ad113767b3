#include "qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

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
