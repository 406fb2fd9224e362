// DataLock: one service per data folder.

#pragma once

#include <string>

namespace casavo::service {

// Holds the lock file of a data folder for as long as it lives, so that two
// services never write one database. Throws std::runtime_error when another
// process holds it.
class DataFolderLock {
 public:
  explicit DataFolderLock(const std::string& dataDir);
  ~DataFolderLock();
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace casavo::service
