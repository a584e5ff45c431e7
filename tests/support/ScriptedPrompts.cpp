#include "support/ScriptedPrompts.h"

#include <QFileInfo>
#include <QTest>

namespace papyrant::test {

QString describe(const AskedPrompt& asked)
{
    static const char* const buttons[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel"};
    static const char* const icons[] = {"None", "Question", "Critical", "Exclamation", "Information"};
    static const char* const answers[] = {"Ok", "Yes", "No", "Cancel"};
    static const char* const kinds[] = {"", "input:", "open:", "save:"};
    if (asked.kind == AskedPrompt::Kind::Message)
        return QStringLiteral("%1|%2|%3/%4/%5")
            .arg(asked.title, asked.text, QLatin1String(buttons[int(asked.buttons)]),
                QLatin1String(icons[int(asked.icon)]), QLatin1String(answers[int(asked.defaultButton)]));
    const QString& shown = asked.kind == AskedPrompt::Kind::Input ? asked.text : asked.filter;
    return asked.title + u'|' + shown + u'|' + QLatin1String(kinds[int(asked.kind)]) + asked.preset;
}

ScriptedPrompts::ScriptedPrompts()
{
    setPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    setPrompts(nullptr);
}

QStringList ScriptedPrompts::messages() const
{
    QStringList texts;
    for (const auto& prompt : m_asked) {
        if (prompt.kind == AskedPrompt::Kind::Message)
            texts << prompt.text;
    }
    return texts;
}

QStringList ScriptedPrompts::described() const
{
    QStringList boxes;
    for (const auto& prompt : m_asked)
        boxes << describe(prompt);
    return boxes;
}

bool ScriptedPrompts::allAnswersUsed() const
{
    return m_messageAnswers.empty() && m_inputAnswers.empty() && m_fileAnswers.empty();
}

void ScriptedPrompts::clear()
{
    m_asked.clear();
    m_unexpected.clear();
}

void ScriptedPrompts::fail(const QString& what)
{
    m_unexpected << what;
    QTest::qFail(qPrintable(QStringLiteral("unexpected prompt: ") + what), __FILE__, __LINE__);
}

PromptButton ScriptedPrompts::message(
    const QString& text, const QString& title, PromptButtons buttons, PromptIcon icon, PromptButton defaultButton)
{
    m_asked.push_back({AskedPrompt::Kind::Message, text, title, buttons, icon, defaultButton, {}, {}});
    if (buttons == PromptButtons::Ok) // a notice needs no scripted answer
        return PromptButton::Ok;
    if (m_messageAnswers.empty()) {
        fail(QStringLiteral("question \"%1\"").arg(text));
        return defaultButton;
    }
    const PromptButton answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::input(const QString& prompt, const QString& title, const QString& proposed)
{
    m_asked.push_back({AskedPrompt::Kind::Input, prompt, title, PromptButtons::OkCancel, PromptIcon::None,
        PromptButton::Ok, {}, proposed});
    if (m_inputAnswers.empty()) {
        fail(QStringLiteral("input box \"%1\"").arg(prompt));
        return QString();
    }
    const QString answer = m_inputAnswers.front();
    m_inputAnswers.pop_front();
    return answer;
}

std::optional<ChosenFile> ScriptedPrompts::nextFile(
    AskedPrompt::Kind kind, const QString& title, const QString& filter, const QString& presetName)
{
    m_asked.push_back(
        {kind, {}, title, PromptButtons::OkCancel, PromptIcon::None, PromptButton::Ok, filter, presetName});
    if (m_fileAnswers.empty()) {
        fail(QStringLiteral("file dialog \"%1\"").arg(title));
        return std::nullopt;
    }
    const std::optional<FileAnswer> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!answer)
        return std::nullopt;
    const QFileInfo info(answer->fullPath);
    ChosenFile file;
    file.fullPath = answer->fullPath;
    file.fileTitle = info.fileName();
    file.folder = info.absolutePath();
    file.filterIndex = answer->filterIndex;
    return file;
}

std::optional<ChosenFile> ScriptedPrompts::openFile(
    const QString& title, const QString& filter, const QString& presetName)
{
    return nextFile(AskedPrompt::Kind::OpenFile, title, filter, presetName);
}

std::optional<ChosenFile> ScriptedPrompts::saveFile(
    const QString& title, const QString& filter, const QString& presetName)
{
    return nextFile(AskedPrompt::Kind::SaveFile, title, filter, presetName);
}

} // namespace papyrant::test
