#include "accessible_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace accessiblenames {
namespace {

// A caption as it reads: without the mnemonic's "&" and without markup.
QString captionText(const QLabel& label)
{
    QString text = label.text();
    if (Qt::mightBeRichText(text))
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain.trimmed();
}

// The label whose buddy the widget is, if any.
const QLabel* captionOf(const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (label->buddy() == widget)
                return label;
        }
    }
    return nullptr;
}

// A combo box the toolkit would announce by the entry it shows: named by
// its own name or its caption, the entry is its value.
class CaptionedComboBox : public QAccessibleWidget {
public:
    explicit CaptionedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* box = static_cast<const QComboBox*>(widget());
        if (t == QAccessible::Value)
            return box->currentText();
        if (t == QAccessible::Name) {
            if (!box->accessibleName().isEmpty())
                return box->accessibleName();
            if (const QLabel* caption = captionOf(box))
                return captionText(*caption);
            return box->currentText();
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList{showMenuAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction())
            static_cast<QComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox")) {
        if (auto* box = qobject_cast<QComboBox*>(object))
            return new CaptionedComboBox(box);
        return nullptr;
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow() || widget->windowType() != Qt::Window)
        return nullptr;
    // Only the program's own plain widget made a window: the toolkit's own
    // widgets (a box not yet placed in its window is a window too), windows,
    // dialogs and popups keep their roles.
    if (qobject_cast<QMainWindow*>(widget) || qobject_cast<QDialog*>(widget))
        return nullptr;
    const QMetaObject* meta = widget->metaObject();
    if (className != QLatin1String(meta->className()) || className.startsWith(u'Q') || !meta->superClass()
        || meta->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void nameFromCaptions(QWidget* root)
{
    if (!root)
        return;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (!buddy || !buddy->accessibleName().isEmpty())
            continue;
        const QString name = captionText(*label);
        if (!name.isEmpty())
            buddy->setAccessibleName(name);
    }
}

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(factory);
}

} // namespace accessiblenames
