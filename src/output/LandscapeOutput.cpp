#include "output/LandscapeOutput.h"

#include "engine/LandscapeText.h"
#include "output/Cycle.h"
#include "output/FileNames.h"
#include "output/LandscapeBitmap.h"
#include "output/TextFormat.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace quorrel {

LandscapeOutput::LandscapeOutput(const ParameterSet& params, const OptionStruct& options,
                                 const LandscapeGrid& landscape, const ColorMap& colors, Dialogs& dialogs,
                                 LandscapeSink* sink)
    : params_(params), options_(options), landscape_(landscape), colors_(colors), dialogs_(dialogs), sink_(sink)
{
}

void LandscapeOutput::OutputLandscape(int g, int d)
{
    const OptionStruct& o = options_;
    const int maxgen = params_.GParamRec.Maxgen;
    const bool due = (o.ShowCALandscape && OnCycle(g, d)) || g == 0 || g == maxgen;
    // The first and last pictures are always shown.
    const bool declined = due && sink_ != nullptr && g != 0 && g != maxgen && !sink_->WantsPicture();
    const bool show = due && !declined;
    pending_ = declined || (pending_ && !show);
    const bool final = o.WriteLandscape && g == maxgen;
    const bool interval = o.WriteIntScape && o.WriteIntFrom <= g && g <= o.WriteIntUntil && OnCycle(g, o.WriteIntEvery);

    if (g == 0 && (o.WriteIntScape || o.WriteLandscape) && o.WriteConsolid &&
        (IncludesText(o.WriteLandTypes) || IncludesText(o.WriteIntTypes))) {
        const std::string name = ChangeExtension(o.CAFilename, ".txt");
        errno = 0;
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        if (!file)
            ReportFailure(name, ErrnoText());
    }
    // Without a display, a picture is drawn only for the files.
    if (!(show && sink_ != nullptr) && !final && !interval)
        return;

    QImage& bitmap = pictures_[nextPicture_];
    nextPicture_ = 1 - nextPicture_;
    DrawLandscapeBitmap(params_.GParamRec, landscape_, colors_, bitmap);
    WriteText(g, interval, final);
    WriteBitmap(bitmap, g, interval, final);
    if (show && sink_ != nullptr)
        sink_->ShowLandscape(bitmap);
}

void LandscapeOutput::ShowPending()
{
    if (!pending_ || sink_ == nullptr)
        return;
    pending_ = false;
    QImage& bitmap = pictures_[nextPicture_];
    nextPicture_ = 1 - nextPicture_;
    DrawLandscapeBitmap(params_.GParamRec, landscape_, colors_, bitmap);
    sink_->ShowLandscape(bitmap);
}

void LandscapeOutput::WriteText(int g, bool interval, bool final)
{
    const OptionStruct& o = options_;
    if (!(interval && IncludesText(o.WriteIntTypes)) && !(final && IncludesText(o.WriteLandTypes)))
        return;
    const std::string name = ChangeExtension(o.CAFilename, ".txt");
    if (o.WriteIntScape && IncludesText(o.WriteIntTypes)) {
        if (o.WriteConsolid) {
            // Generation 0 is appended like every other block, so that the file reads back.
            if (g == 0)
                AppendBlock(name, g);
            else
                WriteTXTLandscape(name, g, params_.GParamRec, landscape_, dialogs_);
        } else {
            const std::string numbered = InsertBeforeExtension(name, ZeroPadded(g, params_.GParamRec.Maxgen));
            WriteTXTLandscape(numbered, 0, params_.GParamRec, landscape_, dialogs_);
        }
    } else {
        WriteTXTLandscape(name, 0, params_.GParamRec, landscape_, dialogs_);
    }
}

void LandscapeOutput::WriteBitmap(const QImage& bitmap, int g, bool interval, bool final)
{
    const OptionStruct& o = options_;
    if (!(interval && IncludesBitmap(o.WriteIntTypes)) && !(final && IncludesBitmap(o.WriteLandTypes)))
        return;
    std::string name = ChangeExtension(o.CAFilename, ".bmp");
    if (o.WriteIntScape && IncludesBitmap(o.WriteIntTypes))
        name = InsertBeforeExtension(name, ZeroPadded(g, params_.GParamRec.Maxgen));
    std::string error;
    if (!SaveBitmap(bitmap, name, error))
        ReportFailure(name, error);
}

// A block of the consolidated file: the header with the generation, the rows, an empty line.
bool LandscapeOutput::AppendBlock(const std::string& fileName, int g)
{
    const GParamStruct& p = params_.GParamRec;
    errno = 0;
    std::ofstream file(fileName, std::ios::binary | std::ios::app);
    if (file) {
        file << "species\t" << p.Maxspec << '\t' << p.MaxX << '\t' << p.MaxY << '\t' << g << "\r\n";
        for (int y = 1; y <= p.MaxY; ++y) {
            const Cell* row = landscape_.Row(y);
            for (int x = 1; x <= p.MaxX; ++x) {
                if (x > 1)
                    file << '\t';
                file << row[x].Species;
            }
            file << "\r\n";
        }
        file << "\r\n";
        file.close();
    }
    if (!file) {
        ReportFailure(fileName, ErrnoText());
        return false;
    }
    return true;
}

void LandscapeOutput::ReportFailure(const std::string& fileName, const std::string& reason)
{
    dialogs_.Message(MessageKind::Error, "Unable to write the landscape file:\r  " + fileName + "\r" + reason,
                     MessageButtons::Ok);
}

} // namespace quorrel
