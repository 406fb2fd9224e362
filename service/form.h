// FormFields and the form text codec.

#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace casavo::service {

// Decoded fields of an application/x-www-form-urlencoded text, as raw bytes.
// A name given twice keeps its first value.
class FormFields {
 public:
  FormFields() = default;
  explicit FormFields(std::string_view encoded);

  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // The value, or nullopt when the name is absent.
  std::optional<std::string> Get(const std::string& name) const;
  // The value, or empty text when the name is absent.
  std::string GetOr(const std::string& name) const;

 private:
  std::map<std::string, std::string> values_;
};

// "+" becomes a space and "%XX" its byte. A "%" not followed by two
// hexadecimal digits stays as it is, so that a stray percent sign in a
// client's text is kept rather than lost.
std::string FormDecode(std::string_view text);

// Percent-encodes every byte outside the unreserved set (letters, digits and
// "-_.~"), as the editor does: the inverse of FormDecode, for clients.
std::string FormEncode(std::string_view bytes);
// "a=1&b=2" from name/value pairs, each value encoded.
std::string FormBody(const std::vector<std::pair<std::string, std::string>>& fields);

// The value of one cookie in a Cookie header, or empty text.
std::string CookieValue(std::string_view header, std::string_view name);

}  // namespace casavo::service
