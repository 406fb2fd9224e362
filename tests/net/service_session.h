// A real casavo-service on a free loopback port for the net tests.

#pragma once

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "files/settings.h"
#include "net/http_transport.h"
#include "service/service_process.h"

namespace casavo::testing {

// The certificate of the deployment under test (CASAVO_TEST_CA), trusted by
// this process only; none when the test runs without one.
inline QList<QSslCertificate> TestCertificates() {
  const char* path = std::getenv("CASAVO_TEST_CA");
  return path && *path ? QSslCertificate::fromPath(QString::fromLocal8Bit(path))
                       : QList<QSslCertificate>();
}

// A real casavo-service on a free loopback port with a fresh data folder, made
// the editor's endpoint in the current settings. When CASAVO_TEST_SERVICE_URL
// is set (tests/deploy/behind_nginx.sh), the deployment there instead, its
// certificate added to the trusted ones.
class LiveService {
 public:
  LiveService() {
    const char* deployed = std::getenv("CASAVO_TEST_SERVICE_URL");
    if (deployed && *deployed) {
      endpoint_ = deployed;
      QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
      tls.addCaCertificates(TestCertificates());
      QSslConfiguration::setDefaultConfiguration(tls);
    } else {
      process_ = std::make_unique<service::testing::ServiceProcess>(
          std::vector<std::string>{"--port", "0", "--data", data_.path().toStdString()});
      endpoint_ = "http://" + process_->host() + ":" + std::to_string(process_->port());
    }
    WriteSetting("Service", endpoint_);
  }
  const std::string& Endpoint() const { return endpoint_; }

 private:
  std::string endpoint_;
  QTemporaryDir data_;
  std::unique_ptr<service::testing::ServiceProcess> process_;
};

// A GET as a browser with the user's session would make it.
inline QByteArray BrowserGet(const QUrl& address, const std::string& session) {
  QNetworkAccessManager manager;
  QNetworkRequest request(address);
  request.setRawHeader("Cookie", QByteArray("casavo_session=") + session.c_str());
  std::unique_ptr<QNetworkReply> reply(manager.get(request));
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  loop.exec();
  return reply->readAll();
}

// The gallery keys of the plans a page links to with casavo://open/.
inline QStringList OpenLinkKeys(const QByteArray& html) {
  QStringList keys;
  static const QRegularExpression link(QStringLiteral("casavo://open/([^\"/]+)\""));
  for (const auto& match : link.globalMatch(QString::fromUtf8(html))) keys << match.captured(1);
  return keys;
}

}  // namespace casavo::testing
