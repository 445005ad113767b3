#pragma once

#include "dialogs.h"

#include <QPointer>
#include <QWidget>

// Dialogs as the user sees them: modal message and input boxes over the
// main window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    QString input(const QString& title, const QString& prompt,
                  const QString& defaultAnswer) override;
    int chooseFromList(const QString& title, const QString& prompt, const QStringList& lines,
                       int preselected) override;

private:
    QPointer<QWidget> m_parent;
};
