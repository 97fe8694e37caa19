#include "runs/OutputNameCheck.h"

#include "output/FileNames.h"

namespace quorrel {

namespace fs = std::filesystem;

std::vector<NamedFile> OptionOutputFiles(const OptionStruct& o, int maxspec)
{
    std::vector<NamedFile> files;
    const auto add = [&](bool written, const char* what, const std::string& name) {
        if (written && !name.empty())
            files.push_back({what, name});
    };
    // The pair of files a statistic or plot writes for its name: ...1 and ...2.
    const auto addPair = [&](bool written, const char* what, const std::string& name) {
        for (const char* digit : {"1", "2"})
            add(written, what, InsertBeforeExtension(name, digit));
    };
    const bool landscape = o.WriteLandscape || o.WriteIntScape;
    add(landscape, "the landscape text file (CAFilename)", ChangeExtension(o.CAFilename, ".txt"));
    add(landscape, "the landscape bitmap (CAFilename)", ChangeExtension(o.CAFilename, ".bmp"));
    add(o.WriteCoverage, "the coverage file (CoverFilename)", o.CoverFilename);
    addPair(o.WriteGRate, "a growth-rate file (GRateFilename)", o.GRateFilename);
    add(o.WriteSTP, "the space-time plot (STPlotFilename)", o.STPlotFilename);
    addPair(o.WriteFTP, "a frequency-time plot (FTPlotFilename)", o.FTPlotFilename);
    addPair(o.WriteOTC, "an outcome statistics file (OTCFilename)", o.OTCFilename);
    add(o.WriteGCGraph, "the growth rate-competitive graph (GCFilename)", o.GCFilename);
    addPair(o.WriteFTPOTC, "an outcome frequency-time plot (FTPOTCFilename)", o.FTPOTCFilename);
    for (int s = 0; s <= maxspec && s < static_cast<int>(o.SWSpeciesMask.size()); ++s)
        add(o.WriteSW && o.SWSpeciesMask.test(s), "a sliding-window file (SWFilename)",
            InsertBeforeExtension(o.SWFilename, ZeroPadded(s, maxspec)));
    return files;
}

std::vector<NamedFile> StartFolderFiles(const fs::path& startDir)
{
    std::vector<NamedFile> files;
    for (const char* name : {"PLast.prm", "PDefault.prm", "Options.dat", "ERR-INIT.prm"})
        files.push_back({std::string(name) + " of the start folder", startDir / name});
    return files;
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    const fs::path left = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, ec), ec);
    if (left == right)
        return true;
    std::error_code missing;
    return fs::equivalent(a, b, missing) && !missing;
}

std::string OutputNameClash(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& kept)
{
    for (size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile& out = outputs[i];
        const std::string named = out.What + " \"" + out.Path.string() + "\"";
        for (const NamedFile& k : kept)
            if (!k.Path.empty() && SameFile(out.Path, k.Path))
                return named + " is " + k.What + "; it is never written by a run";
        for (size_t j = 0; j < i; ++j)
            if (SameFile(out.Path, outputs[j].Path))
                return named + " is also " + outputs[j].What + "; every output needs a file of its own";
    }
    return {};
}

} // namespace quorrel
