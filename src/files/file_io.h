// File reads and writes that raise FileError with a text for the user.

#pragma once

#include <sys/types.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace casavo {

// A file that cannot be read or written; the text names the file and the cause.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole content of a file. Raises FileError when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// The same, or nullopt when the file does not exist.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// Replaces the file with the bytes: they go to a temporary file in the same
// folder that is then renamed over the old one, so that a crash halfway leaves
// either the old or the new content, never a truncated file. Raises FileError.
void ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode);

// Creates the file with the bytes unless a file of that name exists (returns
// false then and leaves it untouched). Complete or absent, like ReplaceFile.
bool CreateFileOnce(const std::string& path, std::string_view bytes, mode_t mode);

}  // namespace casavo
