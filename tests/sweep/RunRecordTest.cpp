#include "sweep/RunManifest.h"
#include "sweep/RunRecord.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace quorrel;
using quorrel::test::TempFolder;

TEST(RunRecord, FieldsInOrderReadBackAndOutputsSortedWithoutTheRecord)
{
    TempFolder dir;
    std::ofstream(dir.File("b.dat")) << "abc";
    std::ofstream(dir.File("a.dat")) << "";
    std::ofstream(dir.File("run.json")) << "old";
    RunRecord r;
    r.Run = 17;
    r.Replicate = 2;
    r.Seed = 4711;
    r.Varied = {{"OverGRate", "50"}, {"DisturbProb", "0.02"}};
    r.Status = "failed";
    r.ExitStatus = 139;
    r.Messages = std::string("bad byte \xff");
    r.Outputs = FolderOutputs(dir.Path());
    ASSERT_EQ(r.Outputs.size(), 2u);
    EXPECT_EQ(r.Outputs[0].File, "a.dat");
    EXPECT_EQ(r.Outputs[0].Sha256, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(r.Outputs[1].Sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(r.Outputs[1].Bytes, 3u);

    const std::string json = RunRecordJson(r);
    const char* order[] = {"format", "program", "version", "commit", "command", "plan", "plan_sha256", "run",
                           "replicate", "seed", "mode", "varied", "parameters", "options", "host", "start",
                           "end", "seconds", "status", "exit_status", "messages", "outputs"};
    size_t at = 0;
    for (const char* field : order) {
        const size_t found = json.find("\"" + std::string(field) + "\":");
        ASSERT_NE(found, std::string::npos) << field;
        EXPECT_GT(found, at) << field;
        at = found;
    }
    EXPECT_NE(json.find("\"varied\": {\"OverGRate\":\"50\",\"DisturbProb\":\"0.02\"}"), std::string::npos) << json;
    std::ofstream(dir.File("run.json"), std::ios::binary) << json;
    const std::optional<RecordedRun> back = ReadRunRecord(dir.File("run.json"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Run, 17);
    EXPECT_EQ(back->Seed, 4711);
    EXPECT_EQ(back->ExitStatus, 139);
    EXPECT_EQ(back->Varied, r.Varied);
    EXPECT_EQ(back->Outputs, r.Outputs);
}

TEST(RunManifest, ColumnsAndQuoting)
{
    RunManifest m({"CoverFile", "OverGRate"});
    m.Add({1, 1, 42, {"a,b.txt", "50"}, RunStatus::Done, 0, 1.5});
    m.Add({2, 2, 43, {"c.txt", "50"}, RunStatus::Pending, std::nullopt, std::nullopt});
    EXPECT_EQ(m.Text(), "run,replicate,seed,CoverFile,OverGRate,status,exit_status,seconds,folder\n"
                        "1,1,42,\"a,b.txt\",50,done,0,1.500,run-00001\n"
                        "2,2,43,c.txt,50,pending,,,run-00002\n");
    EXPECT_EQ(RunFolderName(123456), "run-123456");
}
