// FormBody and ServiceReply: one "action=" request and its reply.

#pragma once

#include <QByteArray>
#include <string>
#include <string_view>

#include "net/transport.h"

namespace casavo {

// The body of one "action=" request. Every value is sent as its Windows-1252
// bytes, percent-encoded, so that "&", "+", "%" and "=" inside a password, a
// plan text or a Base64 picture arrive as they were.
class FormBody {
 public:
  explicit FormBody(std::string_view action);

  // A text value (UTF-8), converted to Windows-1252.
  FormBody& Text(std::string_view name, std::string_view utf8);
  // A value already in Windows-1252 bytes (the plan text).
  FormBody& Bytes(std::string_view name, std::string_view bytes);
  FormBody& Number(std::string_view name, int value);

  const QByteArray& Encoded() const { return encoded_; }

 private:
  QByteArray encoded_;
};

// One reply of the service: "<status> <data>" in Windows-1252 bytes, line
// breaks as CR LF, trimmed. A failed exchange gives the empty reply, which has
// no status and no data.
class ServiceReply {
 public:
  ServiceReply() = default;
  // Reads a response body: lines rejoined with CR LF, trimmed of white space
  // and control characters at both ends.
  static ServiceReply FromBody(const QByteArray& body);

  bool Empty() const { return bytes_.empty(); }
  // The first three characters.
  std::string Status() const;
  bool IsStatus(std::string_view status) const { return Status() == status; }
  // The status read as a number, 0 when it is not one.
  int StatusNumber() const;
  // The reply from its fifth character on, as UTF-8 text.
  std::string Data() const;
  // The same in the reply's own Windows-1252 bytes (a plan text).
  std::string DataBytes() const;

 private:
  std::string bytes_;
};

// Sends one request to the service's "/soft.php" and returns its reply. A
// failed exchange returns the empty reply, never the reply of an earlier call.
ServiceReply EnvoyerRequete(ServiceTransport& transport, const FormBody& body);

}  // namespace casavo
