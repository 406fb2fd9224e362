// Tests of the account and save dialogs.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "net/fm_net_enregistrement.h"
#include "net/fm_net_sauver_plan.h"
#include "net_test_support.h"

namespace casavo::testing {
namespace {

const QString kShortLogin =
    QStringLiteral("Votre pseudo est trop court et doit faire 4 caractères minimum.");
const QString kBadEmail =
    QStringLiteral("Votre e-mail n'est pas valide. Veuillez saisir un e-mail correct.");
const QString kShortPass =
    QStringLiteral("Votre mot de passe est trop court et doit faire 4 caractères minimum.");

class AccountDialogTest : public NetTest {
 protected:
  // Presses "&OK" with the given values: the message shown, or "" when the
  // dialog accepted.
  QString Press(const QString& login, const QString& email, const QString& pass) {
    TfmNetEnregistrement dialog(nullptr, transport, {});
    dialog.eLogin->setText(login);
    dialog.eEmail->setText(email);
    dialog.ePass->setText(pass);
    const size_t before = messages.shown.size();
    dialog.bOKClick();
    const bool accepted = dialog.result() == QDialog::Accepted;
    EXPECT_EQ(accepted, messages.shown.size() == before) << login.toStdString();
    if (accepted) return {};
    EXPECT_FALSE(messages.shown.back().withBox);
    return messages.shown.back().text;
  }

  ScriptedTransport transport;
};

TEST_F(AccountDialogTest, ChecksInOrder) {
  EXPECT_EQ(Press("abcd", "ab.c@def", "pass"), "");
  EXPECT_EQ(Press("abc", "not an e-mail", "x"), kShortLogin);
  EXPECT_EQ(Press("abcd", "a@b.c", "pass"), kBadEmail);     // both signs, but 5 characters
  EXPECT_EQ(Press("abcd", "abcdefgh", "pass"), kBadEmail);  // no "@"
  EXPECT_EQ(Press("abcd", "abcd@efg", "pass"), kBadEmail);  // no "."
  EXPECT_EQ(Press("abcd", "ab.c@def", "pas"), kShortPass);
  // Characters, not bytes: accented names count once per letter.
  EXPECT_EQ(Press("Zoé", "z@exemple.fr", "pass"), kShortLogin);
  EXPECT_EQ(Press("Éléa", "z@exemple.fr", "été1"), "");
}

TEST_F(AccountDialogTest, OpensFilledWithRememberUnticked) {
  TfmNetEnregistrement dialog(nullptr, transport, {"alice", "alice@example.org", "secret", true});
  EXPECT_EQ(dialog.windowTitle(), "Création d'un compte Casavo");
  EXPECT_EQ(dialog.eLogin->text(), "alice");
  EXPECT_EQ(dialog.eEmail->text(), "alice@example.org");
  EXPECT_EQ(dialog.ePass->text(), "secret");
  EXPECT_EQ(dialog.ePass->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(dialog.cbMemorise->isChecked());
  EXPECT_FALSE(dialog.Entry().remember);
  EXPECT_FALSE(dialog.Image1->pixmap().isNull());
  dialog.cbMemorise->setChecked(true);
  EXPECT_TRUE(dialog.Entry().remember);
  EXPECT_TRUE(dialog.cbMemorise->isEnabled());
  EXPECT_EQ(dialog.lMemorise->text(), "");
}

TEST_F(AccountDialogTest, WithoutAKeyringNothingCanBeRemembered) {
  keyring.available = false;
  TfmNetEnregistrement dialog(nullptr, transport, {"alice", "alice@example.org", "secret", true});
  EXPECT_FALSE(dialog.cbMemorise->isEnabled());
  EXPECT_TRUE(dialog.lMemorise->text().contains("trousseau"));
  EXPECT_FALSE(dialog.Entry().remember);
}

TEST_F(AccountDialogTest, ConnectionTestShowsTheServiceAnswer) {
  TfmNetEnregistrement dialog(nullptr, transport, {});
  transport.Reply("200 Connexion au service Casavo réussie.");
  dialog.Button1Click();
  transport.Fail();
  dialog.Button1Click();
  transport.Reply("500 Erreur.");
  dialog.Button1Click();
  EXPECT_EQ(transport.Action(0), "test_connexion");
  const QString failed = QStringLiteral(
      "Impossible de se connecter au serveur. Veuillez vérifier que vous avez autorisé Casavo à "
      "se connecter à Internet.");
  EXPECT_EQ(messages.Texts(),
            (std::vector<QString>{"Connexion au service Casavo réussie.", failed, failed}));
  EXPECT_EQ(dialog.result(), 0);  // still open
}

TEST_F(NetTest, SaveDialogTitleRulesForOwnPlan) {
  TPlanInfo info;
  info.Titre = "Abc";
  info.PlanId = "12";
  info.Createur = "alice";
  info.Partage = 2;
  TfmNetSauverPlan dialog(nullptr, "alice", info);
  EXPECT_TRUE(dialog.eTitre->isEnabled());
  EXPECT_EQ(dialog.cbPartage->count(), 4);
  EXPECT_EQ(dialog.cbPartage->currentText(), "Modification");
  EXPECT_TRUE(dialog.lExplication->text().startsWith("Votre plan peut etre vu et modifié"));
  EXPECT_FALSE(dialog.bSauver->isEnabled());  // 3 characters
  EXPECT_TRUE(dialog.cbNouveau->isHidden());

  dialog.eTitre->setText("Abcd");
  EXPECT_TRUE(dialog.bSauver->isEnabled());
  EXPECT_FALSE(dialog.cbNouveau->isHidden());
  dialog.eTitre->setText("Abc");
  EXPECT_FALSE(dialog.bSauver->isEnabled());
  EXPECT_TRUE(dialog.cbNouveau->isHidden());

  dialog.cbPartage->setCurrentIndex(0);
  EXPECT_EQ(dialog.lExplication->text(),
            "Personne ne peut voir ou utiliser votre plan. Il est privé.");
  dialog.eTitre->setText("Maison neuve");
  dialog.cbNouveau->setChecked(true);
  dialog.bSauverClick();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(info.Titre, "Maison neuve");
  EXPECT_EQ(info.Partage, 0);
  EXPECT_EQ(info.PlanId, "");  // kept beside the old plan
}

TEST_F(NetTest, SaveDialogKeepsPlanIdWithoutNewBoxAndCancelChangesNothing) {
  TPlanInfo info;
  info.PlanId = "12";
  TfmNetSauverPlan fresh(nullptr, "alice", info);
  EXPECT_EQ(fresh.cbPartage->currentText(), "Aucun");
  fresh.eTitre->setText("Cuisine");
  EXPECT_TRUE(fresh.cbNouveau->isHidden());  // no title before: nothing to keep
  fresh.cbNouveau->setChecked(true);
  fresh.bSauverClick();
  EXPECT_EQ(info.PlanId, "12");
  EXPECT_EQ(info.Titre, "Cuisine");

  TfmNetSauverPlan cancelled(nullptr, "alice", info);
  cancelled.eTitre->setText("Autre chose");
  cancelled.cbPartage->setCurrentIndex(3);
  cancelled.bAnnuler->click();
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
  EXPECT_EQ(info.Titre, "Cuisine");
  EXPECT_EQ(info.Partage, 0);
}

TEST_F(NetTest, SaveDialogOfAnotherCreatorLocksTitleAndSharing) {
  TPlanInfo info;
  info.Titre = "Mas";
  info.Createur = "bob";
  info.Partage = 2;
  TfmNetSauverPlan dialog(nullptr, "alice", info);
  EXPECT_FALSE(dialog.eTitre->isEnabled());
  EXPECT_FALSE(dialog.cbPartage->isEnabled());
  EXPECT_EQ(dialog.lExplication->text(),
            "Vous ne pouvez pas modifier le nom et le partage de ce plan car ce n'est pas vous "
            "qui l'avez créé.");
  // The title cannot be lengthened here, so a short one still saves.
  EXPECT_TRUE(dialog.bSauver->isEnabled());
  dialog.bSauverClick();
  EXPECT_EQ(info.Titre, "Mas");
  EXPECT_EQ(info.Partage, 2);
}

}  // namespace
}  // namespace casavo::testing
