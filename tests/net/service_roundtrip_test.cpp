// Talks to a real casavo-service: what the editor sends must arrive intact.
#ifdef CASAVO_SERVICE_EXE

#include "files/plan_xml.h"
#include "net/casa_net.h"
#include "net/endpoint.h"
#include "net_test_support.h"
#include "render/preview.h"
#include "service_session.h"

namespace casavo::testing {
namespace {

const std::string kPass = "p&ss+w%rd é=1";
const std::string kTitle = "Maison & jardin + 100% été";
const std::string kRoomName = "Salle & bain + 50% «neuve»";

TCasaPlan SquarePlan() {
  TCasaPlan plan;
  plan.AddWall({2000, 2000}, {6000, 2000});
  plan.AddWall({6000, 2000}, {6000, 5000});
  plan.AddWall({6000, 5000}, {2000, 5000});
  plan.AddWall({2000, 5000}, {2000, 2000});
  plan.RoomNames.SetValue("k1", kRoomName);
  return plan;
}

class ServiceRoundTripTest : public NetTest {
 protected:
  LiveService service;
  HttpTransport transport;
  ScriptedDialogs dialogs;
};

TEST_F(ServiceRoundTripTest, AccountPlanPreviewAndErrorReport) {
  TCasaNet first(transport, dialogs);
  dialogs.accountAnswer = AccountEntry{"Zoé&Co+1", "zoe+casa@example.org", kPass, true};
  ASSERT_TRUE(first.Connecter()) << (messages.shown.empty() ? ""
                                                            : messages.Texts()[0].toStdString());
  EXPECT_EQ(keyring.password, kPass);

  // The stored password, sent again on a new run, opens a session.
  TCasaNet net(transport, dialogs);
  ASSERT_TRUE(net.Connecter());
  EXPECT_EQ(dialogs.accountShown.size(), 1u);
  EXPECT_NE(net.UserId, "");

  TCasaPlan plan = SquarePlan();
  TPlanInfo info;
  info.Fichier = WritePlanXml(plan);
  ASSERT_NE(info.Fichier.find('&'), std::string::npos);
  dialogs.saveAnswer = [](TPlanInfo& saved) {
    saved.Titre = kTitle;
    saved.Partage = 1;
  };
  ASSERT_EQ(net.SauverPlan(info), SaveOutcome::Saved);
  EXPECT_NE(info.PlanId, "");
  EXPECT_NE(info.DateModification, "");
  const QByteArray png = CreatePreview(plan, 50);
  EXPECT_TRUE(net.SauverPng(info.PlanId, png));

  // The gallery, as the web view shows it with the session cookie.
  const QByteArray gallery = BrowserGet(ServiceUrl("/fr/mesplans"), net.UserId);
  const QStringList keys = OpenLinkKeys(gallery);
  ASSERT_EQ(keys.size(), 1) << gallery.toStdString();

  TPlanInfo loaded;
  EXPECT_EQ(net.ChargerPlan(keys[0].toStdString(), loaded), "");
  EXPECT_EQ(loaded.PlanId, info.PlanId);
  EXPECT_EQ(loaded.Titre, kTitle);
  EXPECT_EQ(loaded.Createur, "Zoé&Co+1");
  EXPECT_EQ(loaded.Partage, 1);
  EXPECT_EQ(loaded.DateModification, info.DateModification);
  EXPECT_EQ(loaded.Fichier + "\r\n", info.Fichier);
  TCasaPlan back;
  ASSERT_TRUE(ReadPlanXml(back, loaded.Fichier));
  EXPECT_EQ(back.RoomNames.Value("k1"), kRoomName);

  // The preview arrived byte for byte: no "+" of its Base64 text was lost.
  const QString previewPath = QString::fromStdString(loaded.Divers2);
  ASSERT_TRUE(previewPath.startsWith("/apercu/"));
  EXPECT_EQ(BrowserGet(ServiceUrl(previewPath), net.UserId), png);

  EXPECT_TRUE(net.EnvoyerErreur("Erreur 1 de chargement du plan " + info.PlanId + " par é&+"));
  EXPECT_TRUE(messages.shown.empty()) << messages.Texts()[0].toStdString();
}

TEST_F(ServiceRoundTripTest, WrongPasswordShowsTheServiceMessage) {
  WriteSetting("Login", "personne");
  WriteSetting("EMail", "personne@example.org");
  WriteSetting("Pass", "mauvais");
  TCasaNet net(transport, dialogs);
  EXPECT_FALSE(net.Connecter());  // then the dialog is cancelled
  EXPECT_EQ(dialogs.accountShown.size(), 1u);
  dialogs.accountAnswer = AccountEntry{"personne", "personne@example.org", "encore", false};
  WriteSetting("Pass", "");
  EXPECT_FALSE(net.Connecter());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Identifiant, e-mail ou mot de passe incorrect.");
}

TEST_F(ServiceRoundTripTest, UnreachableServiceIsAConnectionError) {
  WriteSetting("Service", "http://127.0.0.1:1");
  dialogs.accountAnswer = AccountEntry{"abcd", "abcd@example.org", "pass", true};
  TCasaNet net(transport, dialogs);
  EXPECT_FALSE(net.Connecter());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, Q(Msg("NET_CONNEXION_ERROR")));
}

}  // namespace
}  // namespace casavo::testing

#endif
