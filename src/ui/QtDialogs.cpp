#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTreeView>

#include <algorithm>
#include <utility>
#include <vector>

namespace quorrel {

namespace {

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, MessageAnswer>> buttons;
    MessageAnswer escape;
};

ButtonSet ButtonsOf(MessageButtons buttons)
{
    using B = QMessageBox;
    using A = MessageAnswer;
    switch (buttons) {
    case MessageButtons::Ok:
        return {{{B::Ok, A::Ok}}, A::Ok};
    case MessageButtons::Retry:
        return {{{B::Retry, A::Retry}}, A::Retry};
    case MessageButtons::OkCancel:
        return {{{B::Ok, A::Ok}, {B::Cancel, A::Cancel}}, A::Cancel};
    case MessageButtons::YesCancel:
        return {{{B::Yes, A::Yes}, {B::Cancel, A::Cancel}}, A::Cancel};
    case MessageButtons::YesNoCancel:
        return {{{B::Yes, A::Yes}, {B::No, A::No}, {B::Cancel, A::Cancel}}, A::Cancel};
    case MessageButtons::RetryCancel:
        return {{{B::Retry, A::Retry}, {B::Cancel, A::Cancel}}, A::Cancel};
    case MessageButtons::YesRetry:
        return {{{B::Yes, A::Yes}, {B::Retry, A::Retry}}, A::Retry};
    }
    return {{{B::Ok, A::Ok}}, A::Ok};
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return {};
}

} // namespace

QString QtDialogs::MessageText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString QtDialogs::NameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const qsizetype paren = description.lastIndexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << (pattern.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : pattern.trimmed());
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::FitFileColumns(QFileDialog& dialog)
{
    // The detail view of Qt's own dialog: the name takes the room the Size, Type and Date
    // columns leave, and those are as wide as what they show.
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr)
        return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // Room for the names beside them, as far as the screen allows.
    constexpr int Width = 820;
    const QScreen* screen = dialog.screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() - 40 : Width;
    dialog.resize(std::max(dialog.width(), std::min(Width, room)), dialog.height());
}

MessageAnswer QtDialogs::Message(MessageKind kind, const std::string& text, MessageButtons buttons)
{
    QMessageBox box(IconOf(kind), TitleOf(kind), MessageText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    const ButtonSet set = ButtonsOf(buttons);
    for (const auto& [button, answer] : set.buttons)
        box.addButton(button);
    box.setDefaultButton(set.buttons.front().first);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [button, answer] : set.buttons)
        if (button == clicked)
            return answer;
    return set.escape;
}

std::optional<std::string> QtDialogs::ChooseFile(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title),
                       QString::fromStdString(request.initialFolder));
    dialog.setNameFilter(NameFilters(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    FitFileColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst().trimmed();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toStdString();
}

} // namespace quorrel
