#pragma once

#include "dialogs.h"

#include <QStringList>

#include <deque>
#include <functional>

// Dialogs answered from a script: the tests and the command-line tool use it.
// Every text shown is kept in order; questions take the next scripted
// answer, or the fallback when the script has run out.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        enum Kind { Message, OkCancel, YesNo, Input, List } kind;
        QString title;
        QString text;
    };

    void message(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    QString input(const QString& title, const QString& prompt,
                  const QString& defaultAnswer) override;
    // Shown as the prompt followed by the lines, one a line.
    int chooseFromList(const QString& title, const QString& prompt, const QStringList& lines,
                       int preselected) override;

    void answer(bool yes) { m_choices.push_back(yes); }
    // An input answer; use acceptDefault() to take the box's default.
    void answer(const QString& text) { m_inputs.push_back(text); }
    void acceptDefault() { m_inputs.push_back(std::nullopt); }
    // The index a list choice answers (-1: Cancel); acceptPreselected()
    // takes the line marked at first. Without a scripted answer a list is
    // cancelled.
    void answerLine(int index) { m_lines.push_back(index); }
    void acceptPreselected() { m_lines.push_back(std::nullopt); }
    void setFallback(bool choice) { m_fallbackChoice = choice; }

    // Called with every text shown (the tool prints them).
    void onShown(std::function<void(const Shown&)> sink) { m_sink = std::move(sink); }

    const std::vector<Shown>& shown() const { return m_shown; }
    // The texts of the information boxes, in order.
    QStringList messages() const;
    void clear() { m_shown.clear(); }

private:
    void record(Shown::Kind kind, const QString& title, const QString& text);
    bool nextChoice();

    std::deque<bool> m_choices;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<std::optional<int>> m_lines;
    bool m_fallbackChoice = false;
    std::vector<Shown> m_shown;
    std::function<void(const Shown&)> m_sink;
};
