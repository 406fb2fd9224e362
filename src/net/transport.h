// ServiceTransport: carries one form POST to the service.

#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>

namespace casavo {

// Carries one form POST to the service. The program uses HttpTransport; tests
// script the replies.
class ServiceTransport {
 public:
  virtual ~ServiceTransport() = default;
  // The response body, or nothing when the exchange failed (no connection, a
  // transport error, or an HTTP status that carries no usable reply).
  virtual std::optional<QByteArray> Post(const QUrl& address, const QByteArray& body) = 0;
};

}  // namespace casavo
