#include "platform/prompter/DialogPrompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Critical: return QMessageBox::Critical;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString titleOrProgram(const QString& title)
{
    return title.isEmpty() ? Prompter::programTitle() : title;
}

} // namespace

void DialogPrompter::message(const QString& text, const QString& title, PromptIcon icon)
{
    QMessageBox box(boxIcon(icon), titleOrProgram(title), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool DialogPrompter::ask(const QString& text, const QString& title, PromptIcon icon)
{
    QMessageBox box(boxIcon(icon), titleOrProgram(title), text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> DialogPrompter::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, titleOrProgram(title), prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}
