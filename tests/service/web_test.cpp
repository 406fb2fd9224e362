// Tests of the web pages and the browser's login.

#include "service/web.h"

#include <gtest/gtest.h>

#include "common/digest.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

class WebPages : public ServiceFixture {
 protected:
  WebResponse Get(const std::string& path, const std::string& query = "",
                  const std::string& cookie = "") {
    return site_.Handle({"GET", path, FormFields(query), {}, cookie, "127.0.0.1"});
  }
  WebResponse Post(const std::string& path, const std::string& body) {
    return site_.Handle({"POST", path, {}, FormFields(body), "", "127.0.0.1"});
  }
  static bool Contains(const WebResponse& response, const std::string& text) {
    return response.body.find(text) != std::string::npos;
  }

  WebSite site_{accounts_, plans_};
};

TEST_F(WebPages, HomePageGreetsTheEscapedEmailAndTeachesTheFirstSteps) {
  const auto home = Get("/soft.php", "action=site_accueil&email=" + FormEncode("<i>l\xE9"
                                                                               "a</i>@exemple.fr"));
  EXPECT_EQ(home.status, 200);
  EXPECT_EQ(home.contentType, "text/html; charset=utf-8");
  // Windows-1252 bytes in the address are read as such.
  EXPECT_TRUE(Contains(home, "Bonjour &lt;i&gt;léa&lt;/i&gt;@exemple.fr !"));
  EXPECT_FALSE(Contains(home, "<i>"));
  for (const char* step : {"Tracer un mur", "Ajouter une ouverture", "Voir les pièces",
                           "Sauver ce plan", "href=\"/fr/mesplans\"", "href=\"/fr/aide\""})
    EXPECT_TRUE(Contains(home, step)) << step;
  EXPECT_TRUE(Contains(Get("/soft.php", "action=site_accueil&email=" + FormEncode("léa@x.fr")),
                       "Bonjour léa@x.fr"));
  EXPECT_TRUE(Contains(Get("/soft.php", "action=site_accueil"), "Bienvenue"));
}

TEST_F(WebPages, GalleryShowsSharedPlansAndTheVisitorsOwn) {
  const std::string marc = SignUp("Marc");
  const std::string julie = SignUp("Julie");
  const auto [privateId, s1] = SaveNew(marc, "Secret de Marc", 0);
  const auto [sharedId, s2] = SaveNew(marc, "<script>alert(1)</script> & \"Co\"", 1);
  const auto [julieId, s3] = SaveNew(julie, "Privé de Julie", 0);
  ASSERT_EQ(Call({{"action", "sauver_png"},
                  {"userid", marc},
                  {"planid", sharedId},
                  {"data", Base64Encode(MakePng(5, 5))},
                  {"large", "5"},
                  {"haut", "5"}})
                .status,
            "200");

  const auto anonymous = Get("/fr/mesplans");
  EXPECT_EQ(anonymous.status, 200);
  EXPECT_TRUE(Contains(anonymous, "&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;Co&quot;"));
  EXPECT_FALSE(Contains(anonymous, "<script>"));
  EXPECT_FALSE(Contains(anonymous, "Secret de Marc"));
  EXPECT_FALSE(Contains(anonymous, "Julie"));
  EXPECT_TRUE(Contains(anonymous, "casavo://open/" + Plan(sharedId).key));
  EXPECT_TRUE(Contains(anonymous, "src=\"/apercu/" + Plan(sharedId).key + ".png\""));
  EXPECT_TRUE(Contains(anonymous, "name=\"pass\""));

  const auto asMarc = Get("/fr/mesplans", "", marc);
  EXPECT_TRUE(Contains(asMarc, "Secret de Marc"));
  EXPECT_TRUE(Contains(asMarc, "casavo://open/" + Plan(privateId).key));
  EXPECT_TRUE(Contains(asMarc, "Pas encore d'aperçu"));
  EXPECT_FALSE(Contains(asMarc, "Privé de Julie"));
  EXPECT_FALSE(Contains(asMarc, "name=\"pass\""));

  const auto unknownCookie = Get("/fr/mesplans", "", "0123");
  EXPECT_FALSE(Contains(unknownCookie, "Secret de Marc"));
}

TEST_F(WebPages, SignInFormSetsTheSessionCookie) {
  SignUp("Marc");
  const auto wrong = Post("/fr/mesplans", "login=Marc&pass=faux");
  EXPECT_EQ(wrong.status, 200);
  EXPECT_TRUE(Contains(wrong, "Pseudo ou mot de passe incorrect."));
  EXPECT_TRUE(wrong.headers.empty());

  const auto right = Post("/fr/mesplans", "login=Marc&pass=secret-Marc");
  EXPECT_EQ(right.status, 303);
  ASSERT_EQ(right.headers.size(), 2u);
  EXPECT_EQ(right.headers[0].second, "/fr/mesplans");
  const std::string cookie = right.headers[1].second;
  ASSERT_TRUE(cookie.starts_with("casavo_session="));
  EXPECT_NE(cookie.find("; HttpOnly"), std::string::npos);
  EXPECT_NE(cookie.find("; SameSite=Lax"), std::string::npos);
  const std::string session = cookie.substr(15, cookie.find(';') - 15);
  EXPECT_EQ(accounts_.FindSession(session)->login, "Marc");
}

TEST_F(WebPages, PlanPagesAndPreviewsFollowVisibility) {
  const std::string marc = SignUp("Marc");
  const std::string julie = SignUp("Julie");
  const auto [privateId, s1] = SaveNew(marc, "Secret", 0);
  const auto [readId, s2] = SaveNew(marc, "Lecture <seule>", 1);
  for (const auto& id : {privateId, readId})
    ASSERT_EQ(Call({{"action", "sauver_png"},
                    {"userid", marc},
                    {"planid", id},
                    {"data", Base64Encode(MakePng(6, 4))},
                    {"large", "6"},
                    {"haut", "4"}})
                  .status,
              "200");

  const auto page = Get("/soft.php", "action=voir_plan&planid=" + readId, julie);
  EXPECT_EQ(page.status, 200);
  EXPECT_TRUE(Contains(page, "Lecture &lt;seule&gt;"));
  EXPECT_TRUE(Contains(page, "href=\"casavo://open/" + Plan(readId).key + "\""));
  EXPECT_TRUE(Contains(page, "href=\"casavo://editeur\""));
  const auto preview = Get("/apercu/" + Plan(readId).key + ".png");
  EXPECT_EQ(preview.status, 200);
  EXPECT_EQ(preview.contentType, "image/png");
  EXPECT_EQ(preview.body, MakePng(6, 4));

  const std::string hiddenPage = "action=voir_plan&planid=" + privateId;
  const std::string hiddenPreview = "/apercu/" + Plan(privateId).key + ".png";
  EXPECT_EQ(Get("/soft.php", hiddenPage).status, 404);
  EXPECT_EQ(Get("/soft.php", hiddenPage, julie).status, 404);
  EXPECT_EQ(Get(hiddenPreview, "", julie).status, 404);
  EXPECT_EQ(Get("/soft.php", hiddenPage, marc).status, 200);
  EXPECT_EQ(Get(hiddenPreview, "", marc).body, MakePng(6, 4));
  // Unknown plans look the same as hidden ones.
  const auto missing = Get("/soft.php", "action=voir_plan&planid=999");
  EXPECT_EQ(missing.status, 404);
  EXPECT_TRUE(Contains(missing, "Plan introuvable"));
  EXPECT_EQ(Get("/soft.php", "action=voir_plan&planid=abc").status, 404);
}

TEST_F(WebPages, OtherPages) {
  EXPECT_TRUE(Contains(Get("/fr/aide"), "Modification"));
  EXPECT_EQ(Get("/fr/telecharger").status, 200);
  EXPECT_EQ(Get("/nulle-part").status, 404);
  EXPECT_EQ(Get("/soft.php", "action=connect").status, 404);
  EXPECT_EQ(Post("/fr/aide", "").status, 404);
}

}  // namespace
}  // namespace casavo::service::testing
