// Tests of HttpTransport against a local server.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "net/http_transport.h"
#include "tiny_page_server.h"

namespace casavo::testing {
namespace {

// Which HTTP answers carry a reply: authentication statuses still bring the
// service's message, other errors bring nothing.
TEST(HttpTransportTest, StatusesThatCarryAReply) {
  HttpTransport transport;
  const auto post = [&](const QByteArray& status) {
    TinyPageServer server("401 Refus\xE9", false, status);
    return transport.Post(server.Url(), "action=test_connexion");
  };
  EXPECT_EQ(post("200 OK"), QByteArray("401 Refus\xE9"));
  EXPECT_EQ(post("401 Unauthorized"), QByteArray("401 Refus\xE9"));
  EXPECT_EQ(post("407 Proxy Authentication Required"), QByteArray("401 Refus\xE9"));
  EXPECT_EQ(post("404 Not Found"), std::nullopt);
  EXPECT_EQ(post("500 Internal Server Error"), std::nullopt);
  EXPECT_EQ(transport.Post(QUrl("http://127.0.0.1:1/soft.php"), "x"), std::nullopt);
  // The busy cursor is gone after every exchange.
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace casavo::testing
