// HttpTransport: form POSTs over QtNetwork, waited for in a local loop.

#include "net/http_transport.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <memory>

namespace casavo {
namespace {

// A stalled service must not leave the user under a busy cursor for ever.
constexpr int kTransferTimeoutMs = 60000;

// Shows the busy cursor for as long as it lives.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Authentication statuses still carry the service's message; other errors do not.
bool HasUsableBody(const QNetworkReply& reply) {
  const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) return false;
  const int code = status.toInt();
  return code < 400 || code == 401 || code == 407;
}

}  // namespace

std::optional<QByteArray> HttpTransport::Post(const QUrl& address, const QByteArray& body) {
  const BusyCursor busy;
  QNetworkRequest request(address);
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/4.0"));
  request.setHeader(QNetworkRequest::ContentTypeHeader,
                    QStringLiteral("application/x-www-form-urlencoded"));
  request.setTransferTimeout(kTransferTimeoutMs);

  const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
      manager_.post(request, body), [](QNetworkReply* r) { r->deleteLater(); });
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  if (!reply->isFinished()) loop.exec();

  if (!HasUsableBody(*reply)) return std::nullopt;
  return reply->readAll();
}

}  // namespace casavo
