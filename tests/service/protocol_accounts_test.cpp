// Tests of the protocol's account actions.

#include <gtest/gtest.h>

#include "common/text.h"
#include "service/secrets.h"
#include "service/version.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

class AccountsProtocol : public ServiceFixture {};

TEST_F(AccountsProtocol, RegistrationGivesAFreshSessionThatConnectAlsoGives) {
  const auto created = Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "s3cret&x"));
  ASSERT_EQ(created.status, "200");
  EXPECT_EQ(created.data.size(), 32u);
  EXPECT_EQ(created.data.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(accounts_.FindSession(created.data)->login, "Marc");

  const auto connected = Call(AccountFields("connect", "Marc", "MARC@exemple.fr", "s3cret&x"));
  ASSERT_EQ(connected.status, "200");
  EXPECT_NE(connected.data, created.data);
  EXPECT_EQ(accounts_.FindSession(connected.data)->login, "Marc");
}

TEST_F(AccountsProtocol, ConnectRefusesAnyWrongPart) {
  SignUp("Marc");
  const std::string refusal = "Identifiant, e-mail ou mot de passe incorrect.";
  for (const auto& fields :
       {AccountFields("connect", "Marc", "marc@exemple.fr", "wrong"),
        AccountFields("connect", "Marc", "autre@exemple.fr", "secret-Marc"),
        AccountFields("connect", "marc", "marc@exemple.fr", "secret-Marc"),
        AccountFields("connect", "Nobody", "marc@exemple.fr", "secret-Marc")}) {
    const auto reply = Call(fields);
    EXPECT_EQ(reply.status, "401");
    EXPECT_EQ(reply.data, refusal);
  }
}

TEST_F(AccountsProtocol, RegisteringAgainWithTheSameAccountSignsIn) {
  // The account dialog asks people who already have an account to type it in
  // again, and the editor then sends "enregistrement".
  SignUp("Marc");
  const auto again =
      Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc"));
  ASSERT_EQ(again.status, "200");
  EXPECT_EQ(accounts_.FindSession(again.data)->login, "Marc");

  // A taken login or e-mail gets one answer, whoever owns what.
  const auto rightEmailWrongPass =
      Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "other-pass"));
  EXPECT_EQ(rightEmailWrongPass.status, "409");
  EXPECT_NE(rightEmailWrongPass.data.find("e-mail"), std::string::npos);
  for (const auto& fields :
       {AccountFields("enregistrement", "Marc", "autre@exemple.fr", "other-pass"),
        AccountFields("enregistrement", "MARC", "x@exemple.fr", "secret-Marc"),
        AccountFields("enregistrement", "Julie", "Marc@Exemple.fr", "abcd1234")})
    EXPECT_EQ(Call(fields).Body(), rightEmailWrongPass.Body()) << fields[1].second;
  // A short password answers as short whether the login is taken or not.
  EXPECT_EQ(Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "court")).Body(),
            Call(AccountFields("enregistrement", "Libre", "libre@exemple.fr", "court")).Body());
}

TEST_F(AccountsProtocol, RegistrationChecksItsFields) {
  EXPECT_EQ(Call(AccountFields("enregistrement", "Abc", "a@exemple.fr", "abcd1234")).status, "400");
  EXPECT_EQ(Call(AccountFields("enregistrement", "Abcd", "a@exemple.fr", "abcd1234")).status,
            "200");
  EXPECT_EQ(Call(AccountFields("enregistrement", "Ab|cd", "b@exemple.fr", "abcd1234")).status,
            "400");
  EXPECT_EQ(Call(AccountFields("enregistrement", "Ab\ncd", "b@exemple.fr", "abcd1234")).status,
            "400");
  EXPECT_EQ(Call(AccountFields("enregistrement", " Abcde", "b@exemple.fr", "abcd1234")).status,
            "400");
  for (const char* email :
       {"pas-une-adresse", "a@b", "@exemple.fr", "a@@exemple.fr", "a b@exemple.fr", "a@exemple."})
    EXPECT_EQ(Call(AccountFields("enregistrement", "Valide", email, "abcd1234")).status, "400")
        << email;
  EXPECT_EQ(Call(AccountFields("enregistrement", "Valide", "v@exemple.fr", "abcdefg")).status,
            "400");
  // A Windows-1252 login arrives as its bytes and is kept as its characters.
  const auto accented =
      Call(AccountFields("enregistrement", "H\xE9l\xE8ne", "h@exemple.fr", "abcd1234"));
  ASSERT_EQ(accented.status, "200");
  EXPECT_EQ(accounts_.FindSession(accented.data)->login, "Hélène");
}

TEST_F(AccountsProtocol, PasswordsAreStoredOnlyAsSaltedHashes) {
  SignUp("Marc");
  SignUp("Lucie");
  auto db = database_.Acquire();
  auto query = db->Prepare("SELECT login, pass_salt, pass_hash, pass_iterations FROM users");
  std::vector<std::string> salts;
  while (query.Step()) {
    const std::string pass = "secret-" + query.Text(0);
    EXPECT_EQ(query.Blob(1).size(), 16u);
    EXPECT_EQ(query.Blob(2).size(), 32u);
    EXPECT_EQ(query.Blob(2).find(pass), std::string::npos);
    EXPECT_TRUE(VerifyPassword(pass, {query.Blob(1), query.Blob(2), int(query.Int(3))}));
    EXPECT_FALSE(VerifyPassword(pass + "x", {query.Blob(1), query.Blob(2), int(query.Int(3))}));
    salts.push_back(query.Blob(1));
  }
  ASSERT_EQ(salts.size(), 2u);
  EXPECT_NE(salts[0], salts[1]);
}

class VersionedProtocol : public ServiceFixture {
 protected:
  VersionedProtocol() : ServiceFixture({ParseVersion("2.10"), "http://exemple.fr/nouveau"}) {}
};

TEST_F(VersionedProtocol, OlderEditorsAreSentToTheDownloadAddress) {
  const auto old =
      Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "abcd1234", "2.9"));
  EXPECT_EQ(old.Body(), "402 http://exemple.fr/nouveau");
  EXPECT_EQ(Call(AccountFields("connect", "Marc", "marc@exemple.fr", "abcd1234", "2")).status,
            "402");
  EXPECT_EQ(Call(AccountFields("connect", "Marc", "marc@exemple.fr", "abcd1234", "deux")).status,
            "402");
  EXPECT_EQ(
      Call(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "abcd1234", "2.10")).status,
      "200");
  EXPECT_EQ(Call(AccountFields("connect", "Marc", "marc@exemple.fr", "abcd1234", "3.0.1")).status,
            "200");
}

TEST_F(AccountsProtocol, SessionsMustBeGivenAndKnown) {
  const std::string planAction[] = {"lister", "charger", "sauver", "sauver_png"};
  for (const auto& action : planAction) {
    const auto missing = Call({{"action", action}});
    EXPECT_EQ(missing.status, "401") << action;
    EXPECT_EQ(Cp1252ToUtf8(missing.data), "Vous devez être connecté pour effectuer cette action.");
    const auto unknown = Call({{"action", action}, {"userid", std::string(32, 'a')}});
    EXPECT_EQ(unknown.status, "401") << action;
    EXPECT_NE(unknown.data.find("relancez"), std::string::npos);
  }
  EXPECT_EQ(Call({{"action", "erreur"}, {"msg", "x"}, {"userid", "inconnu"}}).status, "401");
}

class ShortSessions : public ServiceFixture {
 protected:
  ShortSessions() : ServiceFixture({}, {1000, 0}) {}
};

TEST_F(ShortSessions, AnExpiredSessionIsRefused) {
  const std::string session = SignUp("Marc");
  EXPECT_FALSE(accounts_.FindSession(session));
  EXPECT_EQ(Call({{"action", "lister"}, {"userid", session}, {"plancle", "x"}}).status, "401");
}

TEST_F(AccountsProtocol, SimpleActionsAndBadRequests) {
  EXPECT_EQ(Call({{"action", "test_connexion"}}).Body(),
            "200 Connexion au service Casavo r\xE9ussie.");
  EXPECT_EQ(Call({}).status, "400");
  EXPECT_EQ(Call({{"action", "supprimer_tout"}}).Body(), "400 Action inconnue du service.");
  const auto missing = Call({{"action", "connect"}, {"login", "Marc"}, {"pass", "abcd"}});
  EXPECT_EQ(missing.Body(), "400 Requ\xEAte incompl\xE8te : le champ \xAB email \xBB manque.");
}

}  // namespace
}  // namespace casavo::service::testing
