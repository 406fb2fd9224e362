// Options: what casavo-service is started with.

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace casavo::service {

struct Options {
  std::string bind = "127.0.0.1";
  int port = 8642;
  std::string dataDir;  // empty: the default folder
  // The store (see Database); empty: $CASAVO_DATABASE, else the SQLite file
  // of the data folder.
  std::string database;
  std::string migrateFrom;
  std::string trustedProxy;  // see ServerLimits  // copy this store into `database`, then stop
  std::optional<std::vector<long>> minVersion;
  std::string downloadUrl;  // empty: the service's own download page
  bool help = false;
};

struct ParsedOptions {
  std::optional<Options> options;  // nullopt: `error` says what is wrong
  std::string error;
};

// Accepts "--name value" and "--name=value".
ParsedOptions ParseOptions(const std::vector<std::string>& args);

std::string Usage();

// $XDG_DATA_HOME/Casavo/service, or ~/.local/share/Casavo/service when
// XDG_DATA_HOME is unset or not absolute.
std::string DefaultDataDir();

}  // namespace casavo::service
