#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter/Prompter.h"

// Application-modal QMessageBox and QInputDialog over a parent window.
class DialogPrompter : public Prompter {
public:
    explicit DialogPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text, const QString& title, PromptIcon icon) override;
    bool ask(const QString& text, const QString& title, PromptIcon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override;

private:
    QPointer<QWidget> parent_;
};
