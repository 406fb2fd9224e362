// The application folder and the settings file parametres.ini.

#include "files/settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "common/text.h"
#include "files/file_io.h"
#include "files/ini_text.h"

namespace casavo {
namespace {

namespace fs = std::filesystem;

constexpr char kSettingsFile[] = "parametres.ini";
constexpr char kSection[] = "Casavo";
constexpr mode_t kPrivate = 0600;
constexpr char kPleaseReport[] =
    "Merci de signaler ce message par e-mail à support@casavo.example en indiquant la "
    "version de votre système et celle du logiciel.";

std::string& Folder() {
  static std::string folder;
  return folder;
}

std::function<void(const std::string&)>& Reporter() {
  static std::function<void(const std::string&)> reporter;
  return reporter;
}

void Report(const std::string& message) {
  if (Reporter()) {
    Reporter()(message);
  } else {
    std::cerr << message << '\n';
  }
}

// The settings file; an unset folder is reported and the bare file name used.
std::string SettingsPath(const char* unsetMessage) {
  if (Folder().empty()) Report(std::string(unsetMessage) + "\r\n" + kPleaseReport);
  return Folder() + kSettingsFile;
}

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The user's data folder: $XDG_DATA_HOME when absolute, else ~/.local/share,
// else the current folder when the user has no home at all.
fs::path DataHome() {
  fs::path xdg = EnvOrEmpty("XDG_DATA_HOME");
  if (xdg.is_absolute()) return xdg;
  std::string home = EnvOrEmpty("HOME");
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  }
  if (home.empty()) return fs::current_path();
  return fs::path(home) / ".local" / "share";
}

void MigrateOldSettings(const fs::path& base, const fs::path& folder) {
  const fs::path old = base / "Brevquil" / "Casavo" / kSettingsFile;
  const auto bytes = ReadFileIfExists(old.string());
  if (bytes) CreateFileOnce((folder / kSettingsFile).string(), *bytes, kPrivate);
}

}  // namespace

std::string SetupAppFolder() {
  const fs::path base = DataHome();
  const fs::path folder = base / "Casavo";
  std::error_code error;
  fs::create_directories(folder, error);
  if (error)
    throw FileError("Impossible de créer le dossier " + folder.string() + " : " + error.message());
  MigrateOldSettings(base, folder);
  SetAppFolder(folder.string());
  return AppFolder();
}

const std::string& AppFolder() {
  return Folder();
}

void SetAppFolder(const std::string& folder) {
  Folder() = folder;
  if (!folder.empty() && folder.back() != '/') Folder() += '/';
}

std::string ReadSetting(std::string_view key) {
  const std::string path =
      SettingsPath("Chemin de sauvegarde non défini pour charger les données.");
  std::optional<std::string> content;
  try {
    content = ReadFileIfExists(path);
  } catch (const FileError&) {
    return {};  // an unreadable file holds no setting we could use
  }
  if (!content) return {};
  return Cp1252ToUtf8(IniValue(*content, kSection, Utf8ToCp1252(key)).value_or(""));
}

void WriteSetting(std::string_view key, std::string_view value) {
  const std::string path =
      SettingsPath("Chemin de sauvegarde non défini pour sauvegarder les données.");
  // An unreadable file raises here rather than being replaced without its other keys.
  const std::string content = ReadFileIfExists(path).value_or("");
  ReplaceFile(path, IniWithValue(content, kSection, Utf8ToCp1252(key), Utf8ToCp1252(value)),
              kPrivate);
}

void SetSettingsReporter(std::function<void(const std::string& message)> reporter) {
  Reporter() = std::move(reporter);
}

}  // namespace casavo
