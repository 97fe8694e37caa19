#include "output/OptionsFile.h"

#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

using test::ReadAll;
using test::ScriptedDialogs;
using test::TempFolder;
using test::WriteAll;

// The options file of the defaults, for start folder d.
std::string DefaultFileText(const std::string& d)
{
    return d + "/Options.dat\r\n"
               " \r\n"
               "ShowCALandscape := 1\r\n"
               "DisplayCycle    := 1\r\n"
               "WriteLandscape  := 0\r\n"
               "CAFilename      := " + d + "/CALand.bmp\r\n"
               "ShowCoverage    := 1\r\n"
               "WriteCoverage   := 0\r\n"
               "CoverFilename   := " + d + "/Cover.dat\r\n"
               "ShowGRate1      := 1\r\n"
               "ShowGRate2      := 1\r\n"
               "WriteGRate      := 0\r\n"
               "GRateFilename   := " + d + "/GRate.dat\r\n"
               "ShowSTPlot      := 1\r\n"
               "STPlotCycle     := 1\r\n"
               "WriteSTP        := 0\r\n"
               "STPlotFilename  := " + d + "/STPlot.bmp\r\n"
               "ShowFTPlot      := 1\r\n"
               "FTPSpecies      := 1\r\n"
               "FTPlotCycle     := 1\r\n"
               "WriteFTP        := 0\r\n"
               "FTPlotFilename  := " + d + "/FTPlot.bmp\r\n"
               "ShowOTC         := 1\r\n"
               "WriteOTC        := 0\r\n"
               "OTCFilename     := " + d + "/Outcome.dat\r\n"
               "ShowGCGraph     := 1\r\n"
               "GCSpecies       := 1\r\n"
               "GCSpeciesA      := 0\r\n"
               "WriteGCGraph    := 0\r\n"
               "GCFilename      := " + d + "/GCData.dat\r\n"
               "ShowFTPOTC      := 1\r\n"
               "FTPOTCSpecies   := 1\r\n"
               "FTPOTCCycle     := 1\r\n"
               "WriteFTPOTC     := 0\r\n"
               "FTPOTCFilename  := " + d + "/FTPOTC.bmp\r\n"
               "WriteIntScape   := 0\r\n"
               "WriteIntEvery   := 1\r\n"
               "WriteIntFrom    := 1\r\n"
               "WriteIntUntil   := 65536\r\n"
               "WriteLandTypes  := 1\r\n"
               "WriteIntTypes   := 1\r\n"
               "WriteConsolid   := 1\r\n"
               "WriteSW         := 0\r\n"
               "GenSWEvery      := 1\r\n"
               "GenSWFrom       := 1\r\n"
               "GenSWUntil      := 65536\r\n"
               "DeltaSideSW     := 5\r\n"
               "SWFilename      := " + d + "/.txt\r\n"
               "SWSpeciesMask   := 2199023255550\r\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

class OptionsFileTest : public ::testing::Test {
protected:
    TempFolder dir;
    ScriptedDialogs dialogs;
    std::string d = dir.Path().string();
    std::string path = dir.File("Options.dat");
};

TEST_F(OptionsFileTest, DefaultsAreWrittenByteForByteAndReadBack)
{
    ASSERT_TRUE(WriteOptionsFile(SetDefaultOptions(dir.Path()), dir.Path(), dialogs));
    EXPECT_EQ(ReadAll(path), DefaultFileText(d));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "temporary file left";

    OptionStruct changed = SetDefaultOptions(dir.Path());
    changed.DisplayCycle = 12;
    changed.GCSpeciesA = 3;
    changed.CAFilename = "/data/run 1/land.txt";
    changed.SWSpeciesMask.reset().set(0).set(40);
    ASSERT_TRUE(WriteOptionsFile(changed, dir.Path(), dialogs));
    OptionStruct read;
    EXPECT_TRUE(ReadOptionsFile(read, dir.Path(), dialogs));
    EXPECT_EQ(read, changed);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OptionsFileTest, OlderFilesWithoutLaterGroupsAreAccepted)
{
    std::string full = Replace(DefaultFileText(d), "DisplayCycle    := 1", "DisplayCycle    := 7");
    full = Replace(full, "GenSWEvery      := 1", "GenSWEvery      := 9");
    const std::string withoutWindows = full.substr(0, full.find("WriteSW "));
    const std::string withoutTypes = full.substr(0, full.find("WriteLandTypes "));

    for (const std::string& text : {withoutWindows, withoutTypes}) {
        WriteAll(path, text);
        OptionStruct read;
        EXPECT_TRUE(ReadOptionsFile(read, dir.Path(), dialogs));
        EXPECT_EQ(read.DisplayCycle, 7);
        EXPECT_EQ(read.GenSWEvery, 1);
        EXPECT_EQ(read.SWFilename, d + "/.txt");
        EXPECT_EQ(read.SWSpeciesMask, OptionStruct::DefaultSpeciesMask());
    }
    // Line feeds alone end lines as well.
    std::string lf = full;
    std::erase(lf, '\r');
    WriteAll(path, lf);
    OptionStruct read;
    EXPECT_TRUE(ReadOptionsFile(read, dir.Path(), dialogs));
    EXPECT_EQ(read.GenSWEvery, 9);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OptionsFileTest, BooleansAreTrueOnlyForOneAndSmallIntegersKeepLowBits)
{
    std::string text = Replace(DefaultFileText(d), "ShowCALandscape := 1", "ShowCALandscape := 2");
    text = Replace(text, "WriteSTP        := 0", "WriteSTP        :=    1");
    text = Replace(text, "FTPSpecies      := 1", "FTPSpecies      := 258");
    text = Replace(text, "SWSpeciesMask   := 2199023255550", "SWSpeciesMask   := 2199023255553");
    WriteAll(path, text);
    OptionStruct read;
    EXPECT_TRUE(ReadOptionsFile(read, dir.Path(), dialogs));
    EXPECT_FALSE(read.ShowCALandscape);
    EXPECT_TRUE(read.WriteSTP);
    EXPECT_EQ(read.FTPSpecies, 2);
    EXPECT_EQ(read.SWSpeciesMask, std::bitset<41>(1)); // bit 41 dropped
}

TEST_F(OptionsFileTest, BadValuesGiveTheWarningAndAllDefaults)
{
    const std::string good = Replace(DefaultFileText(d), "DisplayCycle    := 1", "DisplayCycle    := 4");
    const std::string cases[] = {
        good + "\r\n",
        Replace(good, "FTPSpecies      := 1", "FTPSpecies      := 41"),
        Replace(good, "FTPOTCSpecies   := 1", "FTPOTCSpecies   := 0"),
        Replace(good, "GCSpeciesA      := 0", "GCSpeciesA      := -1"),
        Replace(good, "STPlotCycle     := 1", "STPlotCycle     := 0"),
        Replace(good, "WriteIntEvery   := 1", "WriteIntEvery   := -5"),
        Replace(good, "DeltaSideSW     := 5", "DeltaSideSW     := 701"),
        good.substr(0, good.find("WriteIntFrom ")),  // ends inside a group
        good.substr(0, good.find("ShowFTPOTC ")),    // a required field missing
        Replace(good, "WriteIntUntil   := 65536", "WriteIntUntil"),                // line cut short
    };
    const std::string warning = "Bad values in the options file:\r" + path + "\rUsing the program defaults instead";
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(text.size() - 40));
        dialogs.messages.clear();
        WriteAll(path, text);
        OptionStruct read;
        EXPECT_FALSE(ReadOptionsFile(read, dir.Path(), dialogs));
        EXPECT_EQ(read, SetDefaultOptions(dir.Path()));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(dialogs.messages[0].text, warning);
    }
}

TEST_F(OptionsFileTest, UnreadableNumbersAndMissingFiles)
{
    OptionStruct read;
    read.DisplayCycle = 99;
    EXPECT_FALSE(ReadOptionsFile(read, dir.Path(), dialogs));
    EXPECT_EQ(read, SetDefaultOptions(dir.Path()));
    EXPECT_TRUE(dialogs.messages.empty()) << "a missing file is silent";

    WriteAll(path, Replace(DefaultFileText(d), "DisplayCycle    := 1", "DisplayCycle    := x1"));
    EXPECT_FALSE(ReadOptionsFile(read, dir.Path(), dialogs));
    EXPECT_EQ(read, SetDefaultOptions(dir.Path()));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.LastText(), "Unable to read the options file:\r" + path +
                                      "\rInvalid numeric format\rUsing the program defaults instead");
}

TEST_F(OptionsFileTest, UnwritableFolderShowsTheErrorAndLeavesNothing)
{
    const std::filesystem::path missing = dir.Path() / "missing";
    EXPECT_FALSE(WriteOptionsFile(SetDefaultOptions(missing), missing, dialogs));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.LastText(),
              "Unable to write to the options file:\r" + (missing / "Options.dat").string() + "\rNo such file or directory");

    // A failed write keeps the old file whole.
    WriteAll(path, "old");
    std::filesystem::create_directory(dir.File("Options.dat.tmp"));
    EXPECT_FALSE(WriteOptionsFile(SetDefaultOptions(dir.Path()), dir.Path(), dialogs));
    EXPECT_EQ(ReadAll(path), "old");
}

} // namespace
} // namespace quorrel
