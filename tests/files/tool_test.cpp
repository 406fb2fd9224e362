// Tests of casavo-tool's subcommands, run as a process.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "files/plan_file.h"
#include "temp_folder.h"

namespace casavo {
namespace {

using testing::FileBytes;
using testing::PutFile;
using testing::TempFolder;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

class ToolTest : public ::testing::Test {
 protected:
  ToolRun Tool(const std::string& arguments) {
    const std::string out = folder_ / "stdout", err = folder_ / "stderr";
    const std::string command = std::string("'") + CASAVO_BINARY_DIR + "/tools/casavo-tool' " +
                                arguments + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileBytes(out), FileBytes(err)};
  }

  // A room with a door and an object whose name needs escaping.
  std::string SavedRoom(const std::string& name) {
    TCasaPlan plan;
    plan.DefaultThickness = 200;
    plan.AddWall({5000, 5000}, {9000, 5000});
    plan.AddWall({9000, 5000}, {9000, 8000});
    plan.AddWall({9000, 8000}, {5000, 8000});
    plan.AddWall({5000, 8000}, {5000, 5000});
    plan.AddOpening(1, 900, 2000, 1, 0, 0);
    plan.AddObjet(6000, 6000, 800, 2000, 90, -1, "Lit \"double\" \\ à\ndeux");
    plan.x0 = 3;
    plan.zx = plan.zy = 0.05;
    plan.ShowRooms = true;
    plan.RefreshGeometry();
    plan.RoomNames.SetValue(plan.Rooms[1].hash, "Séjour");
    plan.RoomColours.SetValue(plan.Rooms[1].hash, "FFE0C0");
    SavePlanFile(plan, folder_ / name);
    return folder_ / name;
  }

  static bool OneLine(const std::string& text) {
    return text.starts_with("casavo-tool: ") && std::count(text.begin(), text.end(), '\n') == 1 &&
           text.back() == '\n';
  }

  TempFolder folder_;
};

TEST_F(ToolTest, InfoDescribesThePlanInJson) {
  const std::string path = SavedRoom("salon.plan");
  const ToolRun run = Tool("info '" + path + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto has = [&](const std::string& part) {
    EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
  };
  has("{\n  \"view\": {\n    \"x0\": 3,\n    \"y0\": 0,\n    \"zx\": 0.05,\n    \"zy\": 0.05\n  "
      "},");
  has("\"corners\": [\n    [5000,5000],\n    [9000,5000],\n    [9000,8000],\n    [5000,8000]\n  ]");
  has("{\"c1\":1,\"c2\":2,\"epais\":200,\"outline\":[[4900,4900],[9100,4900],[8900,5100],"
      "[5100,5100]],\"joined\":[true,true]}");
  has("\"openings\": [\n    {\"imur\":1,\"large\":900,\"dcoin1\":2000,\"sorte\":1,\"volet\":0,"
      "\"cote\":0}\n  ]");
  has("{\"x\":6000,\"y\":6000,\"l\":800,\"h\":2000,\"a\":90,\"groupe\":-1,"
      "\"nom\":\"Lit \\\"double\\\" \\\\ à\\ndeux\"}");
  has("{\"surface\":10640000,\"centre\":[7000,6500],\"border\":\"(5),7,11,15,19,7\",\"hash\":\"");
  has("\"nom\":\"Séjour\",\"sorte\":\"\",\"couleur\":\"FFE0C0\"}");
  EXPECT_TRUE(run.out.ends_with("]\n}\n"));

  // The enciphered file describes the same plan.
  const std::string enciphered = folder_ / "salon.chiffre";
  PutFile(enciphered, EncipherPlanText(FileBytes(path)));
  EXPECT_EQ(Tool("info '" + enciphered + "'").out, run.out);
}

TEST_F(ToolTest, InfoCleanRunsTheWallCleanUp) {
  const std::string path = folder_ / "brut.plan";
  PutFile(path, "x0=0\r\ny0=0\r\nzx=0.05\r\nzy=0.05\r\nMur1=0,0,3000,0\r\nMur2=3000,0,3000,50\r\n");
  const ToolRun raw = Tool("info '" + path + "'");
  ASSERT_EQ(raw.status, 0) << raw.err;
  EXPECT_NE(raw.out.find("\"corners\": [\n    [0,0],\n    [3000,0],\n    [3000,50]\n  ]"),
            std::string::npos)
      << raw.out;

  const ToolRun clean = Tool("info --clean '" + path + "'");
  ASSERT_EQ(clean.status, 0) << clean.err;
  EXPECT_NE(clean.out.find("\"corners\": [\n    [5000,5000],\n    [8000,5000]\n  ]"),
            std::string::npos)
      << clean.out;
  EXPECT_EQ(clean.out.find("\"c1\":2,\"c2\":3"), std::string::npos);
}

TEST_F(ToolTest, XmlPrintsTheWriterOutput) {
  const std::string path = SavedRoom("salon.plan");
  TCasaPlan plan;
  LoadPlanFile(plan, path);
  const ToolRun run = Tool("xml '" + path + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, WritePlanXml(plan));
}

TEST_F(ToolTest, EncipherAndDecipherAreByteExact) {
  const std::string plain = FileBytes(SavedRoom("salon.plan")) + "xyz";  // a tail block
  PutFile(folder_ / "clair", plain);
  ASSERT_EQ(Tool("encipher '" + (folder_ / "clair") + "' '" + (folder_ / "chiffre") + "'").status,
            0);
  EXPECT_EQ(FileBytes(folder_ / "chiffre"), EncipherPlanText(plain));
  ASSERT_EQ(Tool("decipher '" + (folder_ / "chiffre") + "' '" + (folder_ / "retour") + "'").status,
            0);
  EXPECT_EQ(FileBytes(folder_ / "retour"), plain);
}

TEST_F(ToolTest, FailuresGiveOneLineAndStatusOne) {
  PutFile(folder_ / "casse.plan", "<?xml version=\"1.0\"?><Casavo><plan>");
  PutFile(folder_ / "bruit.plan", "ni XML ni chiffré");
  for (const std::string& args :
       {"info '" + (folder_ / "absent.plan") + "'", "info '" + (folder_ / "casse.plan") + "'",
        "xml '" + (folder_ / "bruit.plan") + "'",
        "encipher '" + (folder_ / "casse.plan") + "' '" + (folder_ / "non/la") + "'"}) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 1) << args;
    EXPECT_TRUE(OneLine(run.err)) << args << ": " << run.err;
    EXPECT_EQ(run.out, "") << args;
  }
}

TEST_F(ToolTest, RefusedItemsAreReportedButTheRestDescribed) {
  std::string walls;
  for (int i = 0; i < 2002; ++i)
    walls += "Mur" + std::to_string(i + 1) + "=0," + std::to_string(300 * i) + ",1000," +
             std::to_string(300 * i) + "\n";
  PutFile(folder_ / "grand.plan", "zx=1\nzy=1\n" + walls);
  const ToolRun run = Tool("xml '" + (folder_ / "grand.plan") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("<murs nbre=\"2000\">"), std::string::npos);
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_NE(run.err.find("2 élément(s) refusé(s)"), std::string::npos) << run.err;
}

TEST_F(ToolTest, UsageErrorsGiveStatusTwoAndTheUsage) {
  const std::string path = SavedRoom("salon.plan");
  for (const std::string& args :
       {std::string(), "info --vite '" + path + "'", std::string("info")}) {
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("usage : casavo-tool"), std::string::npos) << args;
    EXPECT_NE(run.err.find("  info FICHIER [--clean]"), std::string::npos) << args;
  }
  const ToolRun help = Tool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("encipher"), std::string::npos);
}

}  // namespace
}  // namespace casavo
