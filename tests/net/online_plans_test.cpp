// Tests of Charger and Sauver from the main window.

#include <QSlider>

#include "online_window_support.h"

namespace casavo::testing {
namespace {

const QString kLoadFailed = QStringLiteral(
    "Une erreur s'est produite durant le chargement du plan. Veuillez recharger ce plan un peu "
    "plus tard.");

class OnlinePlansTest : public OnlineWindowTest {
 protected:
  // Opens the gallery link of a plan created by `creator` at a sharing level.
  void OpenPlanOf(const std::string& creator, int sharing) {
    Connect();
    transport.Reply("200 42|Maison|" + creator + "|d1|" + std::to_string(sharing) +
                    "|d2|2009-03-28 10:15");
    transport.ReplyBytes("200 " + TwoWallPlanText());
    plans_->OpenLink("K7");
  }
  void KeepTitle() {
    dialogs.saveAnswer = [](TPlanInfo&) {};
  }
};

TEST_F(OnlinePlansTest, OwnPlanOpensInTheEditorWithoutMessage) {
  window_->ShowWebView(false);
  OpenPlanOf("alice", 1);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Plan().WallCount, 2);
  EXPECT_EQ(Editor().PlanInfo.PlanId, "42");
  EXPECT_EQ(Editor().PlanInfo.Createur, "alice");
  // The received text, less the line break that ends every reply.
  EXPECT_EQ(Editor().PlanInfo.Fichier + "\r\n", TwoWallPlanText());
  EXPECT_DOUBLE_EQ(Plan().zx, 0.1);
  EXPECT_EQ(window_->tbZoom->value(), 100);
  EXPECT_EQ(Editor().UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_FALSE(window_->WebViewShown());
  EXPECT_EQ(window_->windowTitle(), "Casavo V2.2 - Maison");

  // The creator's own plan at "Lecture" still saves.
  KeepTitle();
  transport.Reply("200 OK:2009-03-29 08:00;42");
  transport.Reply("200 OK");
  plans_->SauverPlanClick();
  EXPECT_EQ(transport.Action(3), "sauver");
  EXPECT_EQ(transport.Fields(3).at("planid"), "42");
}

TEST_F(OnlinePlansTest, AGalleryPlanAsksBeforeUnsavedChangesAreLostAndASaveClearsThem) {
  Plan().AddWall({1000, 1000}, {5000, 1000});
  Editor().PushUndo("Déplacer un coin");
  answers_->saveChoice = SaveChoice::Cancel;
  OpenPlanOf("alice", 1);
  EXPECT_EQ(answers_->saveQuestions, std::vector<QString>{"Plan sans nom"});
  EXPECT_EQ(Plan().WallCount, 1) << "kept";
  EXPECT_EQ(transport.bodies.size(), 1u) << "only the connection: nothing was downloaded";

  answers_->saveChoice = SaveChoice::Discard;
  plans_->OpenLink("K7");
  EXPECT_EQ(Plan().WallCount, 2);
  EXPECT_FALSE(Editor().Modified());

  Plan().AddWall({1000, 9000}, {5000, 9000});
  Editor().PushUndo("Déplacer un coin");
  EXPECT_TRUE(Editor().Modified());
  KeepTitle();
  transport.Reply("200 OK:2009-03-29 08:00;42");
  transport.Reply("200 OK");
  plans_->SauverPlanClick();
  EXPECT_FALSE(Editor().Modified()) << "saved online is saved";
  EXPECT_EQ(window_->windowTitle(), "Casavo V2.2 - Maison");
}

TEST_F(OnlinePlansTest, AnotherUsersPlanInUseIsSavedAsANewPlan) {
  OpenPlanOf("bob", 3);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Ce plan créé par bob est partagé en Utilisation. Vous pouvez l'utiliser et "
            "l'enregistrer à votre nom.");
  EXPECT_TRUE(messages.shown[0].withBox);
  EXPECT_EQ(Editor().PlanInfo.PlanId, "");

  KeepTitle();
  transport.Reply("200 OK:2009-03-29 08:00;77");
  transport.Reply("200 OK");
  EXPECT_TRUE(plans_->SaveToService());
  EXPECT_EQ(transport.Fields(3).at("planid"), "");
  EXPECT_EQ(transport.Action(4), "sauver_png");
  EXPECT_EQ(transport.Fields(4).at("planid"), "77");
  EXPECT_EQ(Editor().PlanInfo.PlanId, "77");
  EXPECT_EQ(Editor().PlanInfo.Createur, "bob");
  EXPECT_EQ(Editor().PlanInfo.DateModification, "2009-03-29 08:00");
  EXPECT_EQ(messages.shown.back().text, "Le plan \"Maison\" est sauvegardé.");
  EXPECT_TRUE(messages.shown.back().withBox);
}

TEST_F(OnlinePlansTest, ReadOnlyPlanOfAnotherUserIsNeverSent) {
  OpenPlanOf("bob", 1);
  const QString lecture = QStringLiteral(
      "Ce plan créé par bob est partagé en Lecture. Vous ne pouvez pas l'enregistrer.");
  EXPECT_EQ(messages.Texts(), std::vector<QString>{lecture});
  const size_t sent = transport.bodies.size();
  plans_->SauverPlanClick();
  EXPECT_EQ(messages.Texts(), (std::vector<QString>{lecture, lecture}));
  EXPECT_TRUE(messages.shown.back().withBox);
  EXPECT_EQ(transport.bodies.size(), sent);
  EXPECT_TRUE(dialogs.saveShown.empty());
}

TEST_F(OnlinePlansTest, SharedForChangesKeepsTheCreatorsPlanId) {
  OpenPlanOf("bob", 2);
  EXPECT_EQ(messages.shown.at(0).text,
            "Ce plan créé par bob est partagé en Modification. Vous pouvez modifier son plan mais "
            "vous ne pouvez pas vous l'aproprier.");
  EXPECT_EQ(Editor().PlanInfo.PlanId, "42");
  // A private plan of someone else (the service would not list it) says nothing.
  messages.shown.clear();
  transport.Reply("200 43|Autre|bob||0||s");
  transport.ReplyBytes("200 " + TwoWallPlanText());
  plans_->OpenLink("K8");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Editor().PlanInfo.PlanId, "43");
}

TEST_F(OnlinePlansTest, EmptyPlanNeverOpensTheSaveDialog) {
  Connect();
  KeepTitle();
  EXPECT_FALSE(plans_->SaveToService());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Il n'y a rien à sauvegarder car votre plan est vide.");
  EXPECT_FALSE(messages.shown[0].withBox);
  EXPECT_TRUE(dialogs.saveShown.empty());
  EXPECT_EQ(transport.bodies.size(), 1u);
}

TEST_F(OnlinePlansTest, FailedPreviewStillCountsAsSaved) {
  Connect();
  Plan().AddWall({1000, 1000}, {5000, 1000});
  Plan().SetSelection(1, kSelWall);
  dialogs.saveAnswer = [](TPlanInfo& info) { info.Titre = "Garage"; };
  transport.Reply("200 OK:2009-03-29 08:00;5");
  transport.Reply("403 Aperçu refusé.");
  EXPECT_TRUE(plans_->SaveToService());
  EXPECT_EQ(Plan().Selected(kSelWall), 0) << "the preview shows no selection";
  EXPECT_EQ(messages.Texts(),
            (std::vector<QString>{"Aperçu refusé.",
                                  "Le plan \"Garage\" est sauvegardé mais pas son aperçu."}));
  EXPECT_EQ(Editor().PlanInfo.PlanId, "5");
  EXPECT_EQ(Editor().PlanInfo.Titre, "Garage");
  // The plan text went out as the plan writer makes it.
  EXPECT_EQ(Utf8ToCp1252(transport.Fields(1).at("fichier")), WritePlanXml(Plan()));
}

TEST_F(OnlinePlansTest, NewPlanSavedReadOnlyCanBeSavedAgainByItsCreator) {
  Connect();
  Plan().AddWall({1000, 1000}, {5000, 1000});
  dialogs.saveAnswer = [](TPlanInfo& info) {
    info.Titre = "Chalet";
    info.Partage = 1;
  };
  transport.Reply("200 OK:2009-03-29 08:00;9");
  transport.Reply("200 OK");
  plans_->SauverPlanClick();
  EXPECT_EQ(Editor().PlanInfo.Createur, "alice");

  transport.Reply("200 OK:2009-03-29 08:05;9");
  transport.Reply("200 OK");
  const size_t sent = transport.bodies.size();
  plans_->SauverPlanClick();
  ASSERT_EQ(transport.bodies.size(), sent + 2) << "the second save went out";
  EXPECT_EQ(transport.Fields(sent).at("planid"), "9");
  EXPECT_EQ(Editor().PlanInfo.DateModification, "2009-03-29 08:05");
}

TEST_F(OnlinePlansTest, CancelledSaveSaysNothingAndAFailedOneSaysSoOnce) {
  Connect();
  Plan().AddWall({1000, 1000}, {5000, 1000});
  Editor().PlanInfo.Titre = "Atelier";
  EXPECT_FALSE(plans_->SaveToService());
  EXPECT_TRUE(messages.shown.empty()) << "a cancelled dialog is no failure";
  EXPECT_EQ(Editor().PlanInfo.Fichier, "");

  dialogs.saveAnswer = [](TPlanInfo&) {};
  transport.Fail();
  EXPECT_FALSE(plans_->SaveToService());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Le plan \"Atelier\" n'a pas été sauvegardé correctement. Veuillez réessayer.");
  EXPECT_TRUE(messages.shown[0].withBox);
}

TEST_F(OnlinePlansTest, SaveShowsThePlanPage) {
  Connect();
  Plan().AddWall({1000, 1000}, {5000, 1000});
  dialogs.saveAnswer = [](TPlanInfo& info) { info.Titre = "Villa"; };
  transport.Reply("200 OK:2009-03-29 08:00;5&6");
  transport.Reply("200 OK");
  plans_->SauverPlanClick();
  EXPECT_TRUE(window_->WebViewShown());
  ASSERT_EQ(pages.visits.size(), 1u);
  EXPECT_EQ(pages.visits[0].address.toString(QUrl::FullyEncoded),
            "http://127.0.0.1:8642/soft.php?action=voir_plan&planid=5%266");
  EXPECT_FALSE(pages.visits[0].wait);
  EXPECT_EQ(window_->windowTitle(), "Casavo V2.2 - Villa");
}

TEST_F(OnlinePlansTest, LoadCommandShowsTheGalleryOnceConnected) {
  plans_->mlChargerPlanClick();  // account dialog cancelled
  EXPECT_EQ(messages.Texts(),
            std::vector<QString>{"Vous devez être connecté pour charger un plan."});
  EXPECT_TRUE(pages.visits.empty());
  EXPECT_FALSE(window_->WebViewShown());

  Connect();
  plans_->mlChargerPlanClick();
  ASSERT_EQ(pages.visits.size(), 1u);
  EXPECT_EQ(pages.visits[0].address.toString(), "http://127.0.0.1:8642/fr/mesplans");
  EXPECT_TRUE(pages.visits[0].wait);
  EXPECT_TRUE(window_->WebViewShown());
}

TEST_F(OnlinePlansTest, LoadErrorsAreReportedAndShown) {
  Connect();
  Plan().AddWall({1000, 1000}, {5000, 1000});
  // Refused by the service: its message, and the plan stays.
  transport.Reply("403 Vous n'avez pas le droit de charger ce plan.");
  plans_->OpenLink("K1");
  EXPECT_EQ(messages.shown.back().text, "Vous n'avez pas le droit de charger ce plan.");
  EXPECT_FALSE(messages.shown.back().withBox);
  EXPECT_EQ(Plan().WallCount, 1);

  // A text the reader rejects.
  transport.Reply("200 9|Cassé|alice||0||s");
  transport.ReplyBytes("200 <?xml version=\"1.0\"?><Casavo><broken");
  transport.Reply("200 OK");
  plans_->OpenLink("K2");
  EXPECT_EQ(transport.Action(4), "erreur");
  EXPECT_EQ(transport.Fields(4).at("msg"), "Erreur 2 de chargement du plan 9 par alice");
  EXPECT_EQ(messages.shown.back().text, kLoadFailed);
  EXPECT_EQ(Plan().WallCount, 0);
  EXPECT_EQ(Editor().PlanInfo.PlanId, "9");

  // An error raised while opening.
  transport.Reply("200 10|Vieux|alice||0||s");
  transport.ReplyBytes("200 Murs=1\r\nMur1=0 0 100 0 10");
  transport.Reply("200 OK");
  plans_->OpenLink("K3");
  EXPECT_EQ(transport.Fields(7).at("msg"), "Erreur 1 de chargement du plan 10 par alice");
  EXPECT_EQ(messages.shown.back().text, kLoadFailed);
  EXPECT_TRUE(transport.AllAnswered());
}

}  // namespace
}  // namespace casavo::testing
