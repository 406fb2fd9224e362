// Whole-file reads and flushed, atomic writes, with causes for the user.

#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace casavo {
namespace {

// The causes a user meets, in the program's language; the system's text for
// the rare others.
std::string Cause(int cause) {
  switch (cause) {
    case EACCES:
    case EPERM:
      return "accès refusé";
    case ENOENT:
      return "fichier ou dossier introuvable";
    case ENOSPC:
    case EDQUOT:
      return "plus de place sur le disque";
    case EROFS:
      return "support en lecture seule";
    case EISDIR:
      return "c'est un dossier";
    case ENOTDIR:
      return "un élément du chemin n'est pas un dossier";
    case ENAMETOOLONG:
      return "nom trop long";
    default:
      return std::strerror(cause);
  }
}

[[noreturn]] void Raise(const std::string& what, const std::string& path, int cause) {
  throw FileError(what + " " + path + " : " + Cause(cause));
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes the bytes, flushed to disk, to a new temporary file beside path and
// returns its name.
std::string WriteTemporary(const std::string& path, std::string_view bytes, mode_t mode) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) Raise("Impossible de créer", path, errno);
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int cause = ok ? 0 : (errno ? errno : EIO);
  if (::close(fd) != 0 && ok) ok = false, cause = errno;
  if (!ok) {
    ::unlink(temp.c_str());
    Raise("Impossible d'écrire", path, cause);
  }
  return temp;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  auto bytes = ReadFileIfExists(path);
  if (!bytes) Raise("Impossible d'ouvrir", path, ENOENT);
  return *bytes;
}

std::optional<std::string> ReadFileIfExists(const std::string& path) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return std::nullopt;
    Raise("Impossible d'ouvrir", path, errno ? errno : EIO);
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A folder opens but cannot be read.
  if (in.bad()) Raise("Impossible de lire", path, errno ? errno : EISDIR);
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
  const std::string temp = WriteTemporary(path, bytes, mode);
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int cause = errno;
    ::unlink(temp.c_str());
    Raise("Impossible d'écrire", path, cause);
  }
}

bool CreateFileOnce(const std::string& path, std::string_view bytes, mode_t mode) {
  const std::string temp = WriteTemporary(path, bytes, mode);
  // link() never replaces an existing name, unlike rename().
  const int result = ::link(temp.c_str(), path.c_str());
  const int cause = errno;
  ::unlink(temp.c_str());
  if (result == 0) return true;
  if (cause == EEXIST) return false;
  Raise("Impossible de créer", path, cause);
}

}  // namespace casavo
