// Tests of TCasaNet against a scripted transport.

#include <QBuffer>
#include <QImage>

#include "common/digest.h"
#include "net/casa_net.h"
#include "net/request.h"
#include "net_test_support.h"

namespace casavo::testing {
namespace {

class CasaNetTest : public NetTest {
 protected:
  CasaNetTest() {
    net.OnConnect = [this] { ++connects; };
  }

  void StoreAccount(const std::string& login, const std::string& email, const std::string& pass) {
    WriteSetting("Login", login);
    WriteSetting("EMail", email);
    WriteSetting("Pass", pass);
  }
  void Connect() {
    StoreAccount("alice", "alice@example.org", "secret");
    transport.Reply("200 S1");
    ASSERT_TRUE(net.Connecter());
  }

  ScriptedTransport transport;
  ScriptedDialogs dialogs;
  TCasaNet net{transport, dialogs};
  int connects = 0;
};

TEST_F(CasaNetTest, StoredPasswordConnectsWithoutDialogAndIsKept) {
  StoreAccount("alice", "alice@example.org", "secret");
  transport.Reply("200 ABC123\r\n");
  EXPECT_TRUE(net.Connecter());
  EXPECT_TRUE(net.Connected);
  EXPECT_EQ(net.UserId, "ABC123");
  EXPECT_EQ(connects, 1);
  EXPECT_TRUE(dialogs.accountShown.empty());
  ASSERT_EQ(transport.bodies.size(), 1u);
  EXPECT_EQ(transport.addresses[0].toString(), "http://127.0.0.1:8642/soft.php");
  const auto fields = transport.Fields(0);
  EXPECT_EQ(fields.at("action"), "connect");
  EXPECT_EQ(fields.at("login"), "alice");
  EXPECT_EQ(fields.at("email"), "alice@example.org");
  EXPECT_EQ(fields.at("pass"), "secret");
  EXPECT_EQ(fields.at("version"), "2.2");
  // A password an older version kept in the settings file moved to the keyring.
  EXPECT_EQ(keyring.password, "secret");
  EXPECT_EQ(ReadSetting("Pass"), "");

  // Connected for the rest of the run: no second request.
  EXPECT_FALSE(net.Connecter());
  EXPECT_EQ(transport.bodies.size(), 1u);
}

TEST_F(CasaNetTest, WithoutAKeyringAPasswordInTheSettingsIsDropped) {
  keyring.available = false;
  StoreAccount("alice", "alice@example.org", "secret");
  TCasaNet atStart(transport, dialogs);
  EXPECT_EQ(ReadSetting("Pass"), "");
  EXPECT_EQ(keyring.password, "");
  EXPECT_EQ(ReadSetting("Login"), "alice");
}

TEST_F(CasaNetTest, NothingStoredCreatesAnAccountThroughTheDialog) {
  dialogs.accountAnswer = AccountEntry{"bob42", "bob@example.org", "pw&1", false};
  transport.Reply("200");
  EXPECT_TRUE(net.Connecter());
  ASSERT_EQ(dialogs.accountShown.size(), 1u);
  EXPECT_EQ(transport.Action(0), "enregistrement");
  EXPECT_EQ(transport.Fields(0).at("pass"), "pw&1");
  EXPECT_EQ(ReadSetting("Login"), "bob42");
  EXPECT_EQ(ReadSetting("EMail"), "bob@example.org");
  // Not ticked: the password is not remembered.
  EXPECT_EQ(keyring.password, "");
  // A reply of exactly "200" still connects, with an empty session.
  EXPECT_TRUE(net.Connected);
  EXPECT_EQ(net.UserId, "");
}

TEST_F(CasaNetTest, StoredNameWithoutPasswordAsksAtOnceAndConnects) {
  StoreAccount("alice", "alice@example.org", "");
  dialogs.accountAnswer = AccountEntry{"alice", "alice@example.org", "typed", true};
  transport.Reply("200 S2");
  EXPECT_TRUE(net.Connecter());
  ASSERT_EQ(dialogs.accountShown.size(), 1u);
  EXPECT_EQ(dialogs.accountShown[0].login, "alice");
  EXPECT_EQ(dialogs.accountShown[0].email, "alice@example.org");
  ASSERT_EQ(transport.bodies.size(), 1u);
  EXPECT_EQ(transport.Action(0), "connect");
  EXPECT_EQ(keyring.password, "typed");
}

TEST_F(CasaNetTest, RefusedStoredPasswordAsksAgainAndCancelStaysDisconnected) {
  StoreAccount("alice", "alice@example.org", "old");
  transport.Reply("401 Identifiant, e-mail ou mot de passe incorrect.");
  EXPECT_FALSE(net.Connecter());
  EXPECT_FALSE(net.Connected);
  EXPECT_EQ(dialogs.accountShown.size(), 1u);
  EXPECT_EQ(connects, 0);

  // The next attempt tries the stored credentials again, then the dialog.
  transport.Reply("401 Identifiant, e-mail ou mot de passe incorrect.");
  transport.Reply("401 Toujours incorrect.");
  dialogs.accountAnswer = AccountEntry{"alice", "alice@example.org", "wrong", false};
  EXPECT_FALSE(net.Connecter());
  EXPECT_EQ(transport.Action(2), "connect");
  EXPECT_EQ(transport.Fields(2).at("pass"), "wrong");
  // A refusal shows the service's own message and keeps the stored password.
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Toujours incorrect.");
  EXPECT_FALSE(messages.shown[0].withBox);
  EXPECT_EQ(keyring.password, "old");
}

TEST_F(CasaNetTest, NewVersionAsksAndOpensOnlyWebAddresses) {
  StoreAccount("alice", "alice@example.org", "secret");
  transport.Reply("402 http://example.org/telecharger");
  dialogs.yes = true;
  EXPECT_FALSE(net.Connecter());
  EXPECT_FALSE(net.Connected);
  ASSERT_EQ(dialogs.questions.size(), 1u);
  EXPECT_TRUE(dialogs.questions[0].contains("disponible à http://example.org/telecharger."));
  EXPECT_TRUE(dialogs.questions[0].startsWith("Vous ne pouvez pas vous connecter"));
  ASSERT_EQ(dialogs.opened.size(), 1u);
  EXPECT_EQ(dialogs.opened[0], QUrl("http://example.org/telecharger"));
  // A 402 is an answer: the dialog is not opened after it.
  EXPECT_TRUE(dialogs.accountShown.empty());

  transport.Reply("402 file:///etc/passwd");
  EXPECT_FALSE(net.Connecter());
  EXPECT_EQ(dialogs.opened.size(), 1u);

  dialogs.yes = false;
  transport.Reply("402 http://example.org/telecharger");
  EXPECT_FALSE(net.Connecter());
  EXPECT_EQ(dialogs.opened.size(), 1u);
}

TEST_F(CasaNetTest, NoReplyShowsConnectionErrorAndForgetsPassword) {
  StoreAccount("alice", "alice@example.org", "secret");
  transport.Fail();
  dialogs.accountAnswer = AccountEntry{"alice", "alice@example.org", "secret", true};
  transport.Fail();
  EXPECT_FALSE(net.Connecter());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, Q(Msg("NET_CONNEXION_ERROR")));
  EXPECT_FALSE(messages.shown[0].withBox);
  EXPECT_EQ(keyring.password, "");
  EXPECT_EQ(ReadSetting("Login"), "alice");

  // A reply without a numeric status is no answer either.
  transport.Reply("<html>proxy error</html>");
  EXPECT_FALSE(net.Connecter());
  EXPECT_EQ(messages.shown.back().text, Q(Msg("NET_CONNEXION_ERROR")));
}

TEST_F(CasaNetTest, FailedExchangeNeverReusesTheEarlierReply) {
  // The refusal of the stored password must not be taken as the answer to the
  // dialog's attempt, whose exchange failed.
  StoreAccount("alice", "alice@example.org", "old");
  transport.Reply("401 Mot de passe incorrect.");
  dialogs.accountAnswer = AccountEntry{"alice", "alice@example.org", "new", true};
  transport.Fail();
  EXPECT_FALSE(net.Connecter());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, Q(Msg("NET_CONNEXION_ERROR")));
}

TEST_F(CasaNetTest, BodyValuesArriveIntact) {
  const std::string pass = "a&b=c+d%2 é€";
  dialogs.accountAnswer = AccountEntry{"José", "j@example.org", pass, false};
  transport.Reply("200 X");
  ASSERT_TRUE(net.Connecter());
  const QByteArray body = transport.bodies[0];
  // One "&" per field separator, nothing raw inside the values.
  EXPECT_EQ(body.count('&'), 4);
  EXPECT_FALSE(body.contains(' '));
  EXPECT_FALSE(body.contains('+'));
  EXPECT_TRUE(body.contains("login=Jos%E9"));
  EXPECT_EQ(transport.Fields(0).at("pass"), pass);
}

TEST_F(CasaNetTest, ChargerPlanReadsTheRecordAndTheText) {
  Connect();
  transport.Reply("200 42|Maison|bob|2009-01-02|3|/apercu/k.png|2009-03-28 10:15");
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Casavo nom=\"\xE9t\xE9\"/>";
  transport.ReplyBytes("200 " + text + "\r\n");
  TPlanInfo info;
  EXPECT_EQ(net.ChargerPlan("K7", info), "");
  EXPECT_EQ(transport.Action(1), "lister");
  EXPECT_EQ(transport.Fields(1).at("userid"), "S1");
  EXPECT_EQ(transport.Fields(1).at("plancle"), "K7");
  EXPECT_EQ(transport.Action(2), "charger");
  EXPECT_EQ(transport.Fields(2).at("planid"), "42");
  EXPECT_EQ(info.PlanId, "42");
  EXPECT_EQ(info.Titre, "Maison");
  EXPECT_EQ(info.Createur, "bob");
  EXPECT_EQ(info.Divers1, "2009-01-02");
  EXPECT_EQ(info.Partage, 3);
  EXPECT_EQ(info.Divers2, "/apercu/k.png");
  EXPECT_EQ(info.DateModification, "2009-03-28 10:15");
  // The plan text keeps its own bytes.
  EXPECT_EQ(info.Fichier, text);
}

TEST_F(CasaNetTest, ChargerPlanErrors) {
  TPlanInfo info;
  // Not connected, and the account dialog cancelled.
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_CONNECTER_CHARGE"));
  EXPECT_EQ(dialogs.accountShown.size(), 1u);
  Connect();
  transport.Reply("200 |x");
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_PAS_LE_DROIT"));
  transport.Reply("200");
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_FICHIER_VIDE"));
  transport.Reply("403 Pas pour vous.");
  EXPECT_EQ(net.ChargerPlan("K", info), "Pas pour vous.");
  transport.Reply("200 5|t|bob||1||s");
  transport.Reply("200");
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_FICHIER_VIDE"));
  // A lost "charger" never hands the "lister" record over as the plan text.
  transport.Reply("200 5|t|bob||1||s");
  transport.Fail();
  info = TPlanInfo();
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_CONNEXION_ERROR"));
  EXPECT_EQ(info.Fichier, "");
  transport.Fail();
  EXPECT_EQ(net.ChargerPlan("K", info), Msg("NET_CONNEXION_ERROR"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(transport.AllAnswered());
}

TEST_F(CasaNetTest, SauverPlanSendsTheTextAndReadsTheStamp) {
  Connect();
  dialogs.saveAnswer = [](TPlanInfo& info) {
    info.Titre = "Été & co + 100%";
    info.Partage = 1;
  };
  TPlanInfo info;
  info.PlanId = "7";
  info.DateModification = "2009-01-01 00:00";
  info.Fichier = "<?xml?>\r\n  <Casavo a=\"1 & 2\" b=\"+\xE9\"/>\r\n";
  transport.Reply("200 OK:2009-03-28 10:15;42");
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Saved);
  EXPECT_EQ(dialogs.saveLogins, std::vector<std::string>{"alice"});
  const auto fields = transport.Fields(1);
  EXPECT_EQ(fields.at("action"), "sauver");
  EXPECT_EQ(fields.at("userid"), "S1");
  EXPECT_EQ(fields.at("titre"), "Été & co + 100%");
  EXPECT_EQ(fields.at("planid"), "7");
  EXPECT_EQ(fields.at("partage"), "1");
  EXPECT_EQ(fields.at("date_modification"), "2009-01-01 00:00");
  EXPECT_EQ(fields.at("fichier"), Cp1252ToUtf8(info.Fichier));
  EXPECT_EQ(info.DateModification, "2009-03-28 10:15");
  EXPECT_EQ(info.PlanId, "42");
}

TEST_F(CasaNetTest, SauverPlanRefusalsAndCancelsSayOneThingAtMost) {
  // Not connected and the account dialog cancelled.
  TPlanInfo info;
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Told);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, Q(Msg("NET_CONNECTER_SAUVE")));

  Connect();
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Cancelled);  // save dialog cancelled: silent
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(transport.bodies.size(), 1u);

  dialogs.saveAnswer = [](TPlanInfo&) {};
  transport.Reply("403 Ce plan est partagé en Lecture.");
  info.PlanId = "9";
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Told);
  EXPECT_EQ(messages.shown.back().text, "Ce plan est partagé en Lecture.");
  EXPECT_EQ(info.PlanId, "9");
  // No reply: the caller says that the plan was not saved.
  const size_t shown = messages.shown.size();
  transport.Fail();
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Failed);
  EXPECT_EQ(messages.shown.size(), shown);
}

TEST_F(CasaNetTest, SauverPlanWithTheServiceDownSaysOnlyThatItCannotBeReached) {
  StoreAccount("alice", "alice@example.org", "secret");
  dialogs.accountAnswer = AccountEntry{"alice", "alice@example.org", "secret", true};
  transport.Fail();
  transport.Fail();
  TPlanInfo info;
  EXPECT_EQ(net.SauverPlan(info), SaveOutcome::Told);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, Q(Msg("NET_CONNEXION_ERROR")));
}

TEST_F(CasaNetTest, SauverPngSendsTheSizeTheSessionAndIntactBase64) {
  Connect();
  QImage image(37, 21, QImage::Format_RGB32);
  // Enough varied pixels that the Base64 text holds "+" and "/".
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 7, y * 11, x * y));
  QByteArray png;
  QBuffer buffer(&png);
  image.save(&buffer, "PNG");
  const std::string base64 = Base64Encode(png.toStdString());
  ASSERT_NE(base64.find('+'), std::string::npos);

  transport.Reply("200 OK");
  EXPECT_TRUE(net.SauverPng("42", png));
  const auto fields = transport.Fields(1);
  EXPECT_EQ(fields.at("action"), "sauver_png");
  EXPECT_EQ(fields.at("planid"), "42");
  EXPECT_EQ(fields.at("userid"), "S1");
  EXPECT_EQ(fields.at("large"), "37");
  EXPECT_EQ(fields.at("haut"), "21");
  EXPECT_EQ(fields.at("data"), base64);

  transport.Reply("400 L'aperçu reçu n'est pas une image PNG valide.");
  EXPECT_FALSE(net.SauverPng("42", png));
  EXPECT_EQ(messages.shown.back().text, "L'aperçu reçu n'est pas une image PNG valide.");
}

TEST_F(CasaNetTest, EnvoyerErreurReportsQuietly) {
  transport.Reply("200 OK");
  EXPECT_TRUE(net.EnvoyerErreur("Erreur 1 de chargement du plan 5 par S1"));
  EXPECT_EQ(transport.Fields(0).at("msg"), "Erreur 1 de chargement du plan 5 par S1");
  transport.Reply("500 Non.");
  EXPECT_FALSE(net.EnvoyerErreur("x"));
  transport.Fail();
  EXPECT_FALSE(net.EnvoyerErreur("x"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST(ServiceReplyTest, StatusDataAndLineBreaks) {
  const ServiceReply reply = ServiceReply::FromBody(" \t200 a\nb\rc\r\nd \x01\r\n");
  EXPECT_EQ(reply.Status(), "200");
  EXPECT_EQ(reply.Data(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ServiceReply::FromBody("401").StatusNumber(), 401);
  EXPECT_EQ(ServiceReply::FromBody("40x oops").StatusNumber(), 0);
  EXPECT_EQ(ServiceReply::FromBody("200 caf\xE9").Data(), "café");
  EXPECT_TRUE(ServiceReply().Empty());
  EXPECT_EQ(ServiceReply().Status(), "");
}

}  // namespace
}  // namespace casavo::testing
