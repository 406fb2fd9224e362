// A one-page HTTP server on a free loopback port.

#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace casavo::testing {

// Serves one fixed HTML page on a free loopback port: a site that is not the
// service. A silent server takes requests and never answers them.
class TinyPageServer {
 public:
  explicit TinyPageServer(const QByteArray& html, bool silent = false,
                          const QByteArray& status = "200 OK")
      : html_(html), silent_(silent), status_(status) {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Answer(); });
  }
  QUrl Url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/page.html").arg(server_.serverPort()));
  }

 private:
  void Answer() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
        if (!socket->readAll().contains("\r\n\r\n") || silent_) return;
        socket->write("HTTP/1.0 " + status_ +
                      "\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n"
                      "Content-Length: " +
                      QByteArray::number(html_.size()) + "\r\n\r\n" + html_);
        socket->disconnectFromHost();
      });
      QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  }

  QByteArray html_;
  bool silent_;
  QByteArray status_;
  QTcpServer server_;
};

}  // namespace casavo::testing
