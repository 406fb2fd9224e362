// HttpTransport: the service transport over QtNetwork.

#pragma once

#include <QNetworkAccessManager>

#include "net/transport.h"

namespace casavo {

// The service transport over QtNetwork. A post waits for its reply in a local
// event loop, so the window keeps repainting and responding meanwhile, and
// shows the busy cursor while it waits.
class HttpTransport : public ServiceTransport {
 public:
  std::optional<QByteArray> Post(const QUrl& address, const QByteArray& body) override;

 private:
  QNetworkAccessManager manager_;
};

}  // namespace casavo
