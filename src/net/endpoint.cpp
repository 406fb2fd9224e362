// The service's address from the settings.

#include "net/endpoint.h"

#include "files/settings.h"

namespace casavo {
namespace {

constexpr const char* kDefaultEndpoint = "http://127.0.0.1:8642";

int PortOf(const QUrl& url) {
  if (url.port() != -1) return url.port();
  return url.scheme() == QLatin1String("https") ? 443 : 80;
}

}  // namespace

QString ServiceEndpoint() {
  QString endpoint = QString::fromStdString(ReadSetting("Service")).trimmed();
  if (endpoint.isEmpty()) endpoint = QString::fromLatin1(kDefaultEndpoint);
  while (endpoint.endsWith(QLatin1Char('/'))) endpoint.chop(1);
  return endpoint;
}

QUrl ServiceUrl(const QString& pathAndQuery) {
  return QUrl(ServiceEndpoint() + pathAndQuery);
}

bool IsServicePage(const QUrl& page) {
  const QUrl service(ServiceEndpoint());
  return page.isValid() && service.isValid() && page.scheme() == service.scheme() &&
         page.host().compare(service.host(), Qt::CaseInsensitive) == 0 &&
         PortOf(page) == PortOf(service);
}

QString QueryValue(const std::string& utf8) {
  return QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(utf8)));
}

}  // namespace casavo
