#pragma once

#include "engine/Dialogs.h"

#include <filesystem>
#include <optional>
#include <string>

class QLineEdit;

namespace quorrel {

// The file dialog that the program's file-name prompts share: the filter
// description + " files (*." + extension + ")|*." + extension + "|All files (*.*)|*.*", the
// default extension, and as initial folder the folder of the name shown in field (when there
// is one) or else startDir. Returns the trimmed name chosen and puts it into field.
std::optional<std::string> PromptForFileName(Dialogs& dialogs, const std::string& title,
                                             const std::string& description, const std::string& extension,
                                             const std::filesystem::path& startDir, QLineEdit* field = nullptr);

} // namespace quorrel
