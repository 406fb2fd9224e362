// Tests of the application folder and the settings file.

#include "files/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "files/file_io.h"
#include "temp_folder.h"

namespace casavo {
namespace {

using testing::FileBytes;
using testing::FileMode;
using testing::PutFile;
using testing::TempFolder;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetAppFolder(folder_.path().string()); }
  void TearDown() override {
    SetAppFolder("");
    SetSettingsReporter(nullptr);
  }
  std::string SettingsFile() const { return folder_ / "parametres.ini"; }

  TempFolder folder_;
};

TEST_F(SettingsTest, KeysIgnoreCaseAndMissingKeysReadEmpty) {
  EXPECT_EQ(ReadSetting("Login"), "");  // no file yet
  WriteSetting("Email", "marie@exemple.fr");
  EXPECT_EQ(ReadSetting("EMail"), "marie@exemple.fr");
  EXPECT_EQ(ReadSetting("Login"), "");

  // Writing under another spelling replaces the same entry.
  WriteSetting("EMAIL", "paul@exemple.fr");
  EXPECT_EQ(ReadSetting("email"), "paul@exemple.fr");
  const std::string bytes = FileBytes(SettingsFile());
  EXPECT_EQ(bytes.find("marie"), std::string::npos);
  EXPECT_EQ(bytes, "[Casavo]\nEMAIL=paul@exemple.fr\n");
}

TEST_F(SettingsTest, ValuesAreWindows1252BytesAndSurviveWhole) {
  WriteSetting("Pass", "Mot de passé 5€");
  EXPECT_NE(FileBytes(SettingsFile()).find("Pass=Mot de pass\xE9 5\x80"), std::string::npos);
  EXPECT_EQ(ReadSetting("Pass"), "Mot de passé 5€");

  // Outer blanks and quotes are part of a password.
  for (const std::string value : {" secret ", "\"cité\"", "", "a=b"}) {
    WriteSetting("Pass", value);
    EXPECT_EQ(ReadSetting("Pass"), value);
  }
}

TEST_F(SettingsTest, FileIsPrivateAndReplacedWhole) {
  WriteSetting("Login", "marie");
  EXPECT_EQ(FileMode(SettingsFile()), 0600u);
  // A file that came readable by others is made private at the next write.
  ::chmod(SettingsFile().c_str(), 0644);
  WriteSetting("Pass", "secret");
  EXPECT_EQ(FileMode(SettingsFile()), 0600u);
  EXPECT_EQ(ReadSetting("Login"), "marie");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(SettingsTest, OtherSectionsAndLinesAreKept) {
  PutFile(SettingsFile(),
          "; mes réglages\r\n[Autre]\r\nLogin=ailleurs\r\n\r\n[casavo]\r\nLogin=marie\r\n\r\n"
          "[Fin]\r\nA=1\r\n[CASAVO]\r\n Pass = x \r\nlogin=second\r\n");
  EXPECT_EQ(ReadSetting("login"), "marie");
  EXPECT_EQ(ReadSetting("Pass"), "x");
  WriteSetting("EMail", "m@exemple.fr");
  WriteSetting("Login", "paul");
  EXPECT_EQ(FileBytes(SettingsFile()),
            "; mes réglages\r\n[Autre]\r\nLogin=ailleurs\r\n\r\n[casavo]\r\nLogin=paul\r\n"
            "EMail=m@exemple.fr\r\n\r\n[Fin]\r\nA=1\r\n[CASAVO]\r\n Pass = x \r\nlogin=second\r\n");
}

TEST_F(SettingsTest, ValuesThatWouldBreakTheFileAreRefused) {
  WriteSetting("Login", "marie");
  const std::string before = FileBytes(SettingsFile());
  EXPECT_THROW(WriteSetting("Login", "marie\r\n[Casavo]\r\nPass=x"), std::invalid_argument);
  EXPECT_THROW(WriteSetting("Lo=gin", "x"), std::invalid_argument);
  EXPECT_THROW(WriteSetting("", "x"), std::invalid_argument);
  EXPECT_EQ(FileBytes(SettingsFile()), before);
}

TEST_F(SettingsTest, WriteIntoAMissingFolderRaisesAClearError) {
  SetAppFolder(folder_ / "absent");
  try {
    WriteSetting("Login", "marie");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("parametres.ini"), std::string::npos);
  }
}

TEST_F(SettingsTest, UnsetFolderIsReportedAndTheBareFileNameUsed) {
  std::vector<std::string> messages;
  SetSettingsReporter([&](const std::string& m) { messages.push_back(m); });
  SetAppFolder("");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(folder_.path());

  EXPECT_EQ(ReadSetting("Login"), "");
  WriteSetting("Login", "marie");
  std::filesystem::current_path(cwd);

  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(
      messages[0].rfind(
          "Chemin de sauvegarde non défini pour charger les données.\r\nMerci de signaler", 0),
      0u);
  EXPECT_EQ(
      messages[1].rfind("Chemin de sauvegarde non défini pour sauvegarder les données.\r\n", 0),
      0u);
  EXPECT_NE(messages[1].find("support@casavo.example"), std::string::npos);
  EXPECT_EQ(FileBytes(folder_ / "parametres.ini"), "[Casavo]\nLogin=marie\n");
}

TEST(AppFolder, CreatedUnderTheDataHomeWithTheOldSettingsCopiedOnce) {
  TempFolder home;
  const ScopedEnv xdg("XDG_DATA_HOME", home.path().c_str());
  const std::string old = home / "Brevquil/Casavo/parametres.ini";
  PutFile(old, "[Casavo]\r\nLogin=ancien\r\n");

  EXPECT_EQ(SetupAppFolder(), home / "Casavo/");
  EXPECT_EQ(AppFolder(), home / "Casavo/");
  EXPECT_EQ(ReadSetting("Login"), "ancien");
  EXPECT_EQ(FileMode(home / "Casavo/parametres.ini"), 0600u);

  // The new file, once there, is never overwritten; the old one stays.
  WriteSetting("Login", "nouveau");
  EXPECT_EQ(SetupAppFolder(), home / "Casavo/");
  EXPECT_EQ(ReadSetting("Login"), "nouveau");
  EXPECT_EQ(FileBytes(old), "[Casavo]\r\nLogin=ancien\r\n");
  SetAppFolder("");
}

TEST(AppFolder, FallsBackToTheHomeFolder) {
  TempFolder home;
  const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  const ScopedEnv homeEnv("HOME", home.path().c_str());
  EXPECT_EQ(SetupAppFolder(), home / ".local/share/Casavo/");
  EXPECT_TRUE(std::filesystem::is_directory(home / ".local/share/Casavo"));
  EXPECT_FALSE(std::filesystem::exists(home / ".local/share/Casavo/parametres.ini"));
  SetAppFolder("");
}

}  // namespace
}  // namespace casavo
