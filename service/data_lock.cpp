// DataLock: the lock file of a data folder.

#include "service/data_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace casavo::service {

DataFolderLock::DataFolderLock(const std::string& dataDir) {
  const std::string path = (std::filesystem::path(dataDir) / "casavo-service.lock").string();
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  // The kernel drops the lock with the process, even after kill -9.
  if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    close(fd_);
    throw std::runtime_error("another casavo-service already uses the data folder " + dataDir);
  }
}

DataFolderLock::~DataFolderLock() {
  close(fd_);
}

}  // namespace casavo::service
