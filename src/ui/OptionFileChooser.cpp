#include "ui/OptionFileChooser.h"

#include "output/FileNames.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace quorrel {

namespace {

constexpr char DataFilter[] = "Data files (*.dat)|*.dat|All Files (*.*)|*.*";
constexpr char BitmapFilter[] = "Bitmap files (*.bmp)|*.bmp|All Files (*.*)|*.*";

struct FileBox {
    const char* title;
    const char* filter;
    const char* defaultExtension;
    bool proposesCurrent; // the dialog starts with the current name in its folder
    std::vector<std::string> extensions; // allowed extensions; empty: any
    const char* extensionMessage;
};

const FileBox& BoxOf(OptionFile file)
{
    static const FileBox CA{"Save Landscape to File",
                            "Bitmap files (*.bmp)|*.bmp|Text files (*.txt)|*.txt|All Files (*.*)|*.*",
                            "bmp",
                            true,
                            {".txt", ".bmp"},
                            "The file extension must be .txt or .bmp"};
    static const FileBox Cover{"Save Coverage to File", DataFilter, "", false, {}, ""};
    static const FileBox GRate{"Save Average Growth Rates to File", DataFilter, "", false, {}, ""};
    static const FileBox STPlot{"Save Space-Time Plot to File", BitmapFilter, "", false, {}, ""};
    static const FileBox FTPlot{"Save Freq-Time Plot of Growth Rates to File", BitmapFilter, "bmp", true, {}, ""};
    static const FileBox OTC{"Save Average Probability of Win/Loss/Standoff to File", DataFilter, "", false, {}, ""};
    static const FileBox GC{"Save Growth Rate-Competitive Data to File", DataFilter, "dat", true, {}, ""};
    static const FileBox FTPOTC{"Save Freq-Time Plot of Variable Outcome to File", BitmapFilter, "bmp", true, {}, ""};
    static const FileBox SW{"Save sliding windows results to File",
                            "Text files (*.txt)|*.txt|All Files (*.*)|*.*",
                            "txt",
                            true,
                            {".txt"},
                            "The file extension must be .txt"};
    switch (file) {
    case OptionFile::CAFilename: return CA;
    case OptionFile::CoverFilename: return Cover;
    case OptionFile::GRateFilename: return GRate;
    case OptionFile::STPlotFilename: return STPlot;
    case OptionFile::FTPlotFilename: return FTPlot;
    case OptionFile::OTCFilename: return OTC;
    case OptionFile::GCFilename: return GC;
    case OptionFile::FTPOTCFilename: return FTPOTC;
    case OptionFile::SWFilename: return SW;
    }
    return CA;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasExtension(const std::string& name)
{
    return ExtensionStart(name) < name.size();
}

} // namespace

std::string& OptionFileName(OptionStruct& o, OptionFile file)
{
    switch (file) {
    case OptionFile::CAFilename: return o.CAFilename;
    case OptionFile::CoverFilename: return o.CoverFilename;
    case OptionFile::GRateFilename: return o.GRateFilename;
    case OptionFile::STPlotFilename: return o.STPlotFilename;
    case OptionFile::FTPlotFilename: return o.FTPlotFilename;
    case OptionFile::OTCFilename: return o.OTCFilename;
    case OptionFile::GCFilename: return o.GCFilename;
    case OptionFile::FTPOTCFilename: return o.FTPOTCFilename;
    case OptionFile::SWFilename: return o.SWFilename;
    }
    return o.CAFilename;
}

std::optional<std::string> ChooseOptionFile(OptionFile file, const std::string& current,
                                            const std::filesystem::path& startDir, Dialogs& dialogs)
{
    const FileBox& box = BoxOf(file);
    FileDialogRequest request;
    request.save = true;
    request.title = box.title;
    request.filter = box.filter;
    request.defaultExtension = box.defaultExtension;
    request.overwritePrompt = true;
    request.initialFolder = startDir.string();
    if (box.proposesCurrent) {
        const std::filesystem::path name(current);
        if (name.has_parent_path())
            request.initialFolder = name.parent_path().string();
        request.initialName = name.filename().string();
    }

    for (;;) {
        const std::optional<std::string> chosen = dialogs.ChooseFile(request);
        if (!chosen)
            return std::nullopt;
        if (box.extensions.empty())
            return chosen;
        const std::string extension = Lower(chosen->substr(ExtensionStart(*chosen)));
        if (std::find(box.extensions.begin(), box.extensions.end(), extension) == box.extensions.end()) {
            if (dialogs.Message(MessageKind::Error, box.extensionMessage, MessageButtons::RetryCancel) !=
                MessageAnswer::Retry)
                return std::nullopt;
            continue;
        }
        // The allowed extensions are four characters long.
        if (HasExtension(chosen->substr(0, chosen->size() - 4)) &&
            dialogs.Message(MessageKind::Confirmation,
                            "You specified a filename with TWO extensions\r" + *chosen +
                                "\rIs this really what you want?",
                            MessageButtons::YesRetry) != MessageAnswer::Yes)
            continue;
        return chosen;
    }
}

} // namespace quorrel
