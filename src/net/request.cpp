// FormBody and the parsing of the service's replies.

#include "net/request.h"

#include <charconv>

#include "common/text.h"
#include "net/endpoint.h"

namespace casavo {
namespace {

bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7F;
}

std::string RejoinLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

FormBody::FormBody(std::string_view action) {
  Text("action", action);
}

FormBody& FormBody::Text(std::string_view name, std::string_view utf8) {
  return Bytes(name, Utf8ToCp1252(utf8));
}

FormBody& FormBody::Bytes(std::string_view name, std::string_view bytes) {
  if (!encoded_.isEmpty()) encoded_ += '&';
  encoded_ += QByteArray(name.data(), static_cast<qsizetype>(name.size()));
  encoded_ += '=';
  encoded_ += QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toPercentEncoding();
  return *this;
}

FormBody& FormBody::Number(std::string_view name, int value) {
  return Bytes(name, std::to_string(value));
}

ServiceReply ServiceReply::FromBody(const QByteArray& body) {
  ServiceReply reply;
  reply.bytes_ = std::string(Trim(RejoinLines(std::string_view(body.constData(), body.size()))));
  return reply;
}

std::string ServiceReply::Status() const {
  return bytes_.substr(0, 3);
}

int ServiceReply::StatusNumber() const {
  const std::string status = Status();
  int value = 0;
  const auto [end, error] = std::from_chars(status.data(), status.data() + status.size(), value);
  if (status.empty() || error != std::errc() || end != status.data() + status.size()) return 0;
  return value;
}

std::string ServiceReply::Data() const {
  return Cp1252ToUtf8(DataBytes());
}

std::string ServiceReply::DataBytes() const {
  return bytes_.size() > 4 ? bytes_.substr(4) : std::string();
}

ServiceReply EnvoyerRequete(ServiceTransport& transport, const FormBody& body) {
  const auto response = transport.Post(ServiceUrl(QStringLiteral("/soft.php")), body.Encoded());
  return response ? ServiceReply::FromBody(*response) : ServiceReply();
}

}  // namespace casavo
