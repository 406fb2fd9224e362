// Tests of casavo-service run as a process: options, signals, lock.

#include <httplib.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "common/digest.h"
#include "service/server.h"
#include "service_fixture.h"
#include "service_process.h"

namespace casavo::service::testing {
namespace {

constexpr const char* kForm = "application/x-www-form-urlencoded";

class RunningService : public ::testing::Test {
 protected:
  RunningService()
      : service_({"--port", "0", "--data", store_.folder().string()}),
        client_(service_.host(), service_.port()) {
    client_.set_read_timeout(30, 0);
  }

  std::string Post(const Fields& fields) {
    const auto response = client_.Post("/soft.php", FormBody(fields), kForm);
    if (!response) return "no answer";
    EXPECT_EQ(response->status, 200);
    EXPECT_EQ(response->get_header_value("Content-Type"), "text/plain; charset=windows-1252");
    return response->body;
  }

  TestStore store_;
  ServiceProcess service_;
  httplib::Client client_;
};

TEST_F(RunningService, EscapedBodiesArriveIntact) {
  const std::string pass = "p&ss+w%rd \xE9t\xE9";
  const std::string created =
      Post(AccountFields("enregistrement", "Ren\xE9", "rene@exemple.fr", pass));
  ASSERT_TRUE(created.starts_with("200 ")) << created;
  const std::string session = created.substr(4);
  EXPECT_TRUE(
      Post(AccountFields("connect", "Ren\xE9", "rene@exemple.fr", pass)).starts_with("200 "));
  EXPECT_EQ(Post(AccountFields("connect", "Ren\xE9", "rene@exemple.fr", "p")),
            "401 Identifiant, e-mail ou mot de passe incorrect.");

  const std::string title = "Cuisine & salle + 100% \xE9t\xE9 \x80";
  const std::string text = PlanText("A&amp;B + 50% = \xE9t\xE9 &#20013;");
  const std::string saved = Post(SaveFields(session, "", "", title, 2, text));
  ASSERT_TRUE(saved.starts_with("200 OK:")) << saved;
  const std::string planId = saved.substr(saved.find(';') + 1);

  // The plan key comes from the gallery link, as the editor gets it.
  const auto gallery = client_.Get("/fr/mesplans");
  ASSERT_TRUE(gallery);
  const size_t link = gallery->body.find("casavo://open/");
  ASSERT_NE(link, std::string::npos);
  const std::string key = gallery->body.substr(link + 14, 32);
  EXPECT_NE(gallery->body.find("Cuisine &amp; salle + 100% été €"), std::string::npos);

  const std::string listed = Post({{"action", "lister"}, {"userid", session}, {"plancle", key}});
  EXPECT_TRUE(listed.starts_with("200 " + planId + "|" + title + "|Ren\xE9|")) << listed;
  EXPECT_EQ(Post({{"action", "charger"}, {"userid", session}, {"planid", planId}}), "200 " + text);
}

TEST_F(RunningService, MisdirectedRequestsGetHttpErrors) {
  EXPECT_EQ(client_.Put("/soft.php", "action=test_connexion", kForm)->status, 404);
  EXPECT_EQ(client_.Post("/ailleurs.php", "action=test_connexion", kForm)->status, 404);
  const auto page = client_.Get("/soft.php?action=test_connexion");
  EXPECT_EQ(page->status, 404);
  EXPECT_NE(page->body.find("Page introuvable"), std::string::npos);
  // A protocol refusal is still HTTP 200: the editor reads only those bodies.
  EXPECT_EQ(Post({{"action", "lister"}, {"plancle", "x"}}).substr(0, 4), "401 ");
}

TEST_F(RunningService, SignInFromThePageShowsPrivatePlans) {
  const std::string session =
      Post(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc")).substr(4);
  const std::string saved = Post(SaveFields(session, "", "", "Mon plan priv\xE9", 0, PlanText()));
  const std::string planId = saved.substr(saved.find(';') + 1);
  EXPECT_EQ(Post(PreviewFields(session, planId, Base64Encode(MakePng(8, 6)), 8, 6)), "200 OK");

  const auto anonymous = client_.Get("/fr/mesplans");
  EXPECT_EQ(anonymous->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(anonymous->get_header_value("Content-Security-Policy"), "");
  EXPECT_EQ(anonymous->body.find("Mon plan privé"), std::string::npos);

  const auto signedIn = client_.Post("/fr/mesplans", "login=Marc&pass=secret-Marc", kForm);
  ASSERT_EQ(signedIn->status, 303);
  const std::string cookie = signedIn->get_header_value("Set-Cookie");
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  const httplib::Headers withCookie = {{"Cookie", cookie.substr(0, cookie.find(';'))}};
  EXPECT_NE(client_.Get("/fr/mesplans", withCookie)->body.find("Mon plan privé"),
            std::string::npos);
  // The editor's own session id works as the cookie too.
  const httplib::Headers editorCookie = {{"Cookie", "casavo_session=" + session}};
  const auto page =
      client_.Get(("/soft.php?action=voir_plan&planid=" + planId).c_str(), editorCookie);
  EXPECT_EQ(page->status, 200);
  const size_t src = page->body.find("/apercu/");
  ASSERT_NE(src, std::string::npos);
  const std::string previewPath = page->body.substr(src, page->body.find('"', src) - src);
  const auto preview = client_.Get(previewPath.c_str(), editorCookie);
  EXPECT_EQ(preview->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(preview->body, MakePng(8, 6));
  EXPECT_EQ(client_.Get(previewPath.c_str())->status, 404);
}

TEST(ServiceCommand, StopsCleanlyOnSignalsAndKeepsItsData) {
  TestStore store;
  const std::vector<std::string> args = {"--port", "0", "--data", store.folder().string()};
  {
    ServiceProcess service(args);
    httplib::Client client(service.host(), service.port());
    const auto created = client.Post(
        "/soft.php",
        FormBody(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc")), kForm);
    ASSERT_TRUE(created && created->body.starts_with("200 "));
    EXPECT_EQ(service.Stop(SIGTERM), 0);
  }
  ServiceProcess again(args);
  httplib::Client client(again.host(), again.port());
  const auto connected = client.Post(
      "/soft.php", FormBody(AccountFields("connect", "Marc", "marc@exemple.fr", "secret-Marc")),
      kForm);
  ASSERT_TRUE(connected);
  EXPECT_TRUE(connected->body.starts_with("200 ")) << connected->body;
  EXPECT_EQ(again.Stop(SIGINT), 0);
}

TEST(ServiceCommand, DefaultFolderAndOwnDownloadPage) {
  TempDir home;
  ServiceProcess service({"--port", "0", "--min-version", "3"},
                         {"XDG_DATA_HOME=" + home.path().string()});
  EXPECT_TRUE(std::filesystem::exists(home.path() / "Casavo" / "service" / "casavo.sqlite"));
  httplib::Client client(service.host(), service.port());
  const auto old = client.Post(
      "/soft.php", FormBody(AccountFields("connect", "Marc", "marc@exemple.fr", "secret-Marc")),
      kForm);
  ASSERT_TRUE(old);
  const std::string url = "http://127.0.0.1:" + std::to_string(service.port()) + "/fr/telecharger";
  EXPECT_EQ(old->body, "402 " + url);
  EXPECT_EQ(client.Get("/fr/telecharger")->status, 200);
}

TEST(ServiceCommand, BadOptionsPrintUsageAndExitWith2) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--port", "huit"}, {"--verbose"}, {"--min-version", "x"}, {"--data"}}) {
    const RunResult run = RunService(args);
    EXPECT_EQ(run.status, 2) << args[0];
    EXPECT_NE(run.err.find("usage: casavo-service"), std::string::npos) << args[0];
    EXPECT_EQ(run.out, "");
  }
  const RunResult help = RunService({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--min-version"), std::string::npos);
}

}  // namespace
}  // namespace casavo::service::testing
