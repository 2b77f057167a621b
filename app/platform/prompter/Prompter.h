#pragma once

#include <QString>
#include <optional>

enum class PromptIcon { None, Information, Question, Exclamation, Critical };

// Message boxes, yes/no questions and input boxes. The windows use a real one;
// the core and tests get a recording fake, so nothing blocks without a user.
class Prompter {
public:
    virtual ~Prompter() = default;

    // An empty title stands for the program's own title.
    virtual void message(const QString& text, const QString& title, PromptIcon icon) = 0;
    // True for Yes.
    virtual bool ask(const QString& text, const QString& title, PromptIcon icon = PromptIcon::Question) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) = 0;

    static QString programTitle() { return QStringLiteral("Vimo"); }
};
