// Tests of the web view and the casavo:// links.

#include <QSignalSpy>
#include <QTest>

#include "net/casavo_scheme.h"
#include "net/web_view.h"
#include "net_test_support.h"
#include "tiny_page_server.h"

namespace casavo::testing {
namespace {

constexpr int kPageTimeoutMs = 20000;

TEST(CasavoLinkTest, CommandAndArgument) {
  const auto read = [](const char* address) { return ParseCasavoLink(QUrl(address)); };
  ASSERT_TRUE(read("casavo://open/K7"));
  EXPECT_EQ(read("casavo://open/K7")->command, "open");
  EXPECT_EQ(read("casavo://open/K7")->argument, "K7");
  EXPECT_EQ(read("casavo://open/K7/extra")->argument, "K7");
  EXPECT_EQ(read("casavo://open/")->argument, "");
  EXPECT_EQ(read("casavo://open")->argument, "");
  EXPECT_EQ(read("casavo://editeur")->command, "editeur");
  EXPECT_TRUE(IsCasavoLink(QUrl("CASAVO://editeur")));
  EXPECT_FALSE(IsCasavoLink(QUrl("http://casavo/open/K7")));
  // Twenty parts at most, counting the empty one after the last "/".
  EXPECT_TRUE(read("casavo://open/K7/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19"));
  EXPECT_FALSE(read("casavo://open/K7/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19/20"));
}

class WebViewTest : public NetTest {
 protected:
  WebViewTest() {
    web.View()->resize(800, 600);
    web.View()->show();
  }
  // Clicks the page's first link whose address starts with prefix, the way a
  // user would, so that the navigation goes through the page's filter.
  void ClickLink(const QString& prefix) {
    QSignalSpy finished(web.Page(), &QWebEnginePage::loadFinished);
    web.Page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href^=\"%1\"]').click();").arg(prefix));
    // The cancelled navigation reports an unfinished load.
    ASSERT_TRUE(finished.wait(kPageTimeoutMs));
    QCoreApplication::processEvents();
  }
  void Load(const QUrl& address) {
    QSignalSpy finished(web.Page(), &QWebEnginePage::loadFinished);
    web.NavigateTo(address, false);
    ASSERT_TRUE(finished.wait(kPageTimeoutMs));
    ASSERT_TRUE(finished.last().at(0).toBool()) << address.toString().toStdString();
  }

  std::vector<QString> links;
  TWebView web{[this](const CasavoLink& link) {
    links.push_back(link.command + QLatin1Char('|') + link.argument);
  }};
};

TEST_F(WebViewTest, FiltersNavigations) {
  WriteSetting("Service", "http://127.0.0.1:8642");
  const QUrl service("http://127.0.0.1:8642/fr/mesplans");
  EXPECT_TRUE(web.BeforeNavigate(QUrl("http://127.0.0.1:8642/fr/aide"), service, true));
  EXPECT_FALSE(web.PageComplete());
  EXPECT_FALSE(web.BeforeNavigate(QUrl("casavo://open/K7"), service, true));
  EXPECT_FALSE(web.BeforeNavigate(QUrl("casavo://open/K8"), QUrl("http://127.0.0.1:8643/"), true));
  EXPECT_FALSE(web.BeforeNavigate(QUrl("casavo://open/K9"), QUrl("https://127.0.0.1:8642/"), true));
  EXPECT_FALSE(web.BeforeNavigate(QUrl("casavo://open/KA"), QUrl("data:text/html,x"), true));
  EXPECT_TRUE(links.empty()) << "commands run after the navigation is cancelled";
  QCoreApplication::processEvents();
  EXPECT_EQ(links, std::vector<QString>{"open|K7"});
}

TEST_F(WebViewTest, LinksOfTheServicePageRunAndOthersDoNot) {
  const QByteArray html =
      "<html><body><a href=\"casavo://open/K7/extra\">ouvrir</a> "
      "<a href=\"casavo://editeur\">retour</a> <a href=\"/other.html\">autre</a></body></html>";
  TinyPageServer site(html);
  // The tiny site is the service here...
  WriteSetting("Service", site.Url().adjusted(QUrl::RemovePath).toString().toStdString());
  Load(site.Url());
  EXPECT_TRUE(web.PageComplete());
  ClickLink("casavo://open");
  ClickLink("casavo://editeur");
  EXPECT_EQ(links, (std::vector<QString>{"open|K7", "editeur|"}));
  EXPECT_EQ(web.Page()->url(), site.Url()) << "the page stays";

  // ... and here it is some other site.
  WriteSetting("Service", "http://127.0.0.1:1");
  ClickLink("casavo://open");
  EXPECT_EQ(links.size(), 2u);
}

TEST_F(WebViewTest, AServiceThatCannotBeReachedShowsOurOwnPageWhoseLinkLeadsBack) {
  quint16 closedPort = 0;
  {
    TinyPageServer gone("");
    closedPort = static_cast<quint16>(gone.Url().port());
  }
  const QString service = QStringLiteral("http://127.0.0.1:%1").arg(closedPort);
  WriteSetting("Service", service.toStdString());
  QSignalSpy finished(web.Page(), &QWebEnginePage::loadFinished);
  web.NavigateTo(QUrl(service + "/fr/"), false);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return web.Page()->url().scheme() == "qrc" && finished.count() >= 2; },
                      kPageTimeoutMs));
  QString text;
  web.Page()->toPlainText([&](const QString& t) { text = t; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }, kPageTimeoutMs));
  EXPECT_TRUE(text.contains(QString::fromUtf8("Le service des plans n'est pas joignable")));
  ClickLink("casavo://editeur");
  EXPECT_EQ(links, std::vector<QString>{"editeur|"});
}

TEST_F(WebViewTest, WaitingEndsWhenThePageIsCompleteOrGivesUp) {
  TinyPageServer site("<html><body>ok</body></html>");
  web.NavigateTo(site.Url(), true);
  EXPECT_TRUE(web.PageComplete());
  EXPECT_EQ(web.Page()->url(), site.Url());

  // A page that never comes: the wait gives up and nothing completes.
  TinyPageServer stalled("", true);
  web.NavigateTo(stalled.Url(), true);
  EXPECT_FALSE(web.PageComplete());
}

}  // namespace
}  // namespace casavo::testing
