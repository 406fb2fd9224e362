// JsonWriter: one JSON value to a stream.

#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace casavo::tool {

// Writes one JSON value to a stream. The two outer levels go one member per
// line; deeper containers are written on one line.
class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The member name of the next value in an object.
  JsonWriter& Key(std::string_view name);

  JsonWriter& Value(int64_t number);
  // A number that is not finite has no JSON form and is written null.
  JsonWriter& Value(double number);
  JsonWriter& Value(bool flag);
  JsonWriter& Value(std::string_view text);
  JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
  JsonWriter& Value(int32_t number) { return Value(static_cast<int64_t>(number)); }

 private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  // Separator and line break before an element of the current container.
  void BeforeValue();
  void NewLine(size_t indent);
  void WriteString(std::string_view text);

  std::ostream& out_;
  std::vector<bool> hasElements_;  // one per open container
  bool afterKey_ = false;
};

}  // namespace casavo::tool
