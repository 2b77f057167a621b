#include "platform/prompter/RecordingPrompter.h"

void RecordingPrompter::message(const QString& text, const QString& title, PromptIcon icon)
{
    prompts.push_back({Kind::Message, text, title, icon, {}});
}

bool RecordingPrompter::ask(const QString& text, const QString& title, PromptIcon icon)
{
    prompts.push_back({Kind::Question, text, title, icon, {}});
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> RecordingPrompter::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    prompts.push_back({Kind::Input, prompt, title, PromptIcon::None, defaultText});
    if (inputs.empty() || !inputs.front()) {
        if (!inputs.empty())
            inputs.pop_front();
        return std::nullopt;
    }
    const QString answer = *inputs.front();
    inputs.pop_front();
    return answer;
}
