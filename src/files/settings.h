// The per-user application folder and its settings file.

#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace casavo {

// The per-user application folder and its settings file "parametres.ini"
// (section "Casavo", keys without regard to case, values stored as
// Windows-1252 bytes, file mode 0600 because it may hold a password). Each read
// and write opens and closes the file; nothing is cached.

// Creates $XDG_DATA_HOME/Casavo/ (default ~/.local/share/Casavo/) with its
// parents, copies .../Brevquil/Casavo/parametres.ini there once when no settings
// file exists yet, and makes the folder the application folder. Returns it.
// Raises FileError when the folder cannot be created or the old file copied.
std::string SetupAppFolder();

// The application folder with a trailing '/', or empty before SetupAppFolder
// (or SetAppFolder) ran.
const std::string& AppFolder();
// Sets the application folder directly (tests; an empty text unsets it).
void SetAppFolder(const std::string& folder);

// Reads a setting (UTF-8); empty when the key or the file does not exist.
std::string ReadSetting(std::string_view key);
// Writes a setting, creating the file and the section as needed. The file is
// replaced whole, never left half written. Raises FileError.
void WriteSetting(std::string_view key, std::string_view value);

// Where the "folder not set" message goes; standard error until the main
// window sets its own. An empty function restores standard error.
void SetSettingsReporter(std::function<void(const std::string& message)> reporter);

}  // namespace casavo
