#pragma once

#include "engine/Dialogs.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace quorrel {

// The dialog seam shown on the screen: QMessageBox for messages, QFileDialog for files.
class QtDialogs : public Dialogs {
public:
    MessageAnswer Message(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;

    // "Desc (*.ext)|*.ext|All files (*.*)|*.*" as a Qt name filter list:
    // "Desc (*.ext);;All files (*)".
    static QString NameFilters(const std::string& filter);
    // Message text with every "\r" (alone or before "\n") as one line break.
    static QString MessageText(const std::string& text);
    // Qt's file dialog with the columns of its detail view as wide as their contents.
    static void FitFileColumns(QFileDialog& dialog);
};

} // namespace quorrel
