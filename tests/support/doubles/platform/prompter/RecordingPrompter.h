#pragma once

#include <deque>
#include <vector>

#include "platform/prompter/Prompter.h"

// Records every prompt and answers from queues; when a queue is empty it
// answers No, or cancels an input box.
class RecordingPrompter : public Prompter {
public:
    enum class Kind { Message, Question, Input };
    struct Prompt {
        Kind kind;
        QString text, title;
        PromptIcon icon = PromptIcon::None;
        QString defaultText;
    };

    void message(const QString& text, const QString& title, PromptIcon icon) override;
    bool ask(const QString& text, const QString& title, PromptIcon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override;

    std::vector<Prompt> prompts;
    std::deque<bool> answers;
    std::deque<std::optional<QString>> inputs;
};
