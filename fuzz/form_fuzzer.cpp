// Feeds arbitrary bytes to the service's form decoder, then checks that every
// decoded value survives the encoder and the decoder again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/form.h"

using namespace casavo::service;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const FormFields fields(bytes);
  const std::string decoded = FormDecode(bytes);
  if (FormDecode(FormEncode(decoded)) != decoded) std::abort();
  if (FormFields(FormBody({{"k", decoded}, {"action", "x"}})).GetOr("k") != decoded) std::abort();
  // The first field's value, read both ways, agrees.
  const size_t amp = bytes.find('&');
  const std::string_view first = bytes.substr(0, amp);
  const size_t equals = first.find('=');
  if (equals != std::string_view::npos &&
      fields.GetOr(FormDecode(first.substr(0, equals))) != FormDecode(first.substr(equals + 1)))
    std::abort();
  CookieValue(bytes, "casavo_session");
  return 0;
}
