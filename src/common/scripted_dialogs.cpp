#include "scripted_dialogs.h"

void ScriptedDialogs::record(Shown::Kind kind, const QString& title, const QString& text)
{
    m_shown.push_back({kind, title.isEmpty() ? kAppCaption : title, text});
    if (m_sink)
        m_sink(m_shown.back());
}

void ScriptedDialogs::message(const QString& text, const QString& title)
{
    record(Shown::Message, title, text);
}

bool ScriptedDialogs::nextChoice()
{
    if (m_choices.empty())
        return m_fallbackChoice;
    const bool choice = m_choices.front();
    m_choices.pop_front();
    return choice;
}

bool ScriptedDialogs::okCancel(const QString& text, const QString& title)
{
    record(Shown::OkCancel, title, text);
    return nextChoice();
}

bool ScriptedDialogs::yesNo(const QString& text, const QString& title)
{
    record(Shown::YesNo, title, text);
    return nextChoice();
}

QString ScriptedDialogs::input(const QString& title, const QString& prompt,
                               const QString& defaultAnswer)
{
    record(Shown::Input, title, prompt);
    if (m_inputs.empty())
        return QString();
    const std::optional<QString> next = m_inputs.front();
    m_inputs.pop_front();
    return next.value_or(defaultAnswer);
}

int ScriptedDialogs::chooseFromList(const QString& title, const QString& prompt, const QStringList& lines,
                                    int preselected)
{
    record(Shown::List, title, prompt + QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")));
    if (m_lines.empty())
        return -1;
    const int chosen = m_lines.front().value_or(preselected);
    m_lines.pop_front();
    return chosen >= 0 && chosen < lines.size() ? chosen : -1;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown& s : m_shown) {
        if (s.kind == Shown::Message)
            texts << s.text;
    }
    return texts;
}
