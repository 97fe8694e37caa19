#include "ui/FileNamePrompt.h"

#include <QLineEdit>

namespace quorrel {

std::optional<std::string> PromptForFileName(Dialogs& dialogs, const std::string& title,
                                             const std::string& description, const std::string& extension,
                                             const std::filesystem::path& startDir, QLineEdit* field)
{
    FileDialogRequest request;
    request.save = true;
    request.title = title;
    request.filter = description + " files (*." + extension + ")|*." + extension + "|All files (*.*)|*.*";
    request.defaultExtension = extension;
    request.initialFolder = startDir.string();
    if (field != nullptr) {
        const std::filesystem::path shown(field->text().trimmed().toStdString());
        if (shown.has_parent_path())
            request.initialFolder = shown.parent_path().string();
        request.initialName = shown.filename().string();
    }
    std::optional<std::string> chosen = dialogs.ChooseFile(request);
    if (!chosen)
        return std::nullopt;
    const std::string trimmed = QString::fromStdString(*chosen).trimmed().toStdString();
    if (trimmed.empty())
        return std::nullopt;
    if (field != nullptr)
        field->setText(QString::fromStdString(trimmed));
    return trimmed;
}

} // namespace quorrel
