// The account dialog (connect or create an account).

#include "net/fm_net_enregistrement.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "net/keyring.h"
#include "net/request.h"
#include "ui/aide.h"

// The picture lives in this static library: register it before the first use.
static void InitNetResources() {
  Q_INIT_RESOURCE(net);
}

namespace casavo {
namespace {

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

QLineEdit* Edit(const std::string& text, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setMinimumWidth(220);
  return edit;
}

}  // namespace

TfmNetEnregistrement::TfmNetEnregistrement(QWidget* owner, ServiceTransport& transport,
                                           const AccountEntry& entry)
    : QDialog(owner),
      Image1(new QLabel(this)),
      eLogin(Edit(entry.login, this)),
      eEmail(Edit(entry.email, this)),
      ePass(Edit(entry.pass, this)),
      cbMemorise(new QCheckBox(QStringLiteral("Mémoriser le mot de passe"), this)),
      lMemorise(new QLabel(this)),
      bOK(new QPushButton(QStringLiteral("&OK"), this)),
      bAnnuler(new QPushButton(QStringLiteral("&Annuler"), this)),
      Button1(new QPushButton(QStringLiteral("Tester la connexion"), this)),
      transport_(transport) {
  setWindowTitle(QStringLiteral("Création d'un compte Casavo"));
  ePass->setEchoMode(QLineEdit::Password);
  cbMemorise->setChecked(false);
  // Remembered only in the desktop's keyring: without one, say so.
  if (!Keyring().Available()) {
    cbMemorise->setEnabled(false);
    lMemorise->setText(QStringLiteral("(aucun trousseau de clés : non disponible)"));
  }
  InitNetResources();
  Image1->setPixmap(QPixmap(QStringLiteral(":/net/enregistrement.jpg")));
  Image1->setAlignment(Qt::AlignTop);

  auto* heading =
      WrappedLabel(QStringLiteral("Vous devez créer un compte pour effectuer cette action."), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  auto* explanation = WrappedLabel(
      QStringLiteral("Ce compte vous donnera accès à la galerie des plans et au forum de "
                     "discussion. Votre E-Mail est confidentiel et ne sera pas diffusé.\n"
                     " Si vous avez déjà un compte, veuillez resaisir vos informations."),
      this);

  auto* fields = new QFormLayout;
  fields->addRow(
      WrappedLabel(QStringLiteral("Choisissez un nom   d'utilisateur ou un pseudo :"), this),
      eLogin);
  fields->addRow(QStringLiteral("Votre E-Mail :"), eEmail);
  fields->addRow(QStringLiteral("Mot de passe :"), ePass);
  auto* remember = new QHBoxLayout;
  remember->addWidget(cbMemorise);
  remember->addWidget(lMemorise);
  remember->addStretch();
  fields->addRow(QString(), remember);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button1);
  buttons->addStretch();
  buttons->addWidget(bOK);
  buttons->addWidget(bAnnuler);

  auto* form = new QVBoxLayout;
  form->addWidget(heading);
  form->addWidget(explanation);
  form->addSpacing(6);
  form->addLayout(fields);
  form->addStretch();
  form->addLayout(buttons);

  auto* whole = new QHBoxLayout(this);
  whole->addWidget(Image1);
  whole->addLayout(form, 1);
  explanation->setMinimumWidth(360);

  bOK->setDefault(true);
  connect(bOK, &QPushButton::clicked, this, &TfmNetEnregistrement::bOKClick);
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button1, &QPushButton::clicked, this, &TfmNetEnregistrement::Button1Click);

  setFixedSize(sizeHint());
  if (const QScreen* where = screen()) move(where->availableGeometry().center() - rect().center());
}

AccountEntry TfmNetEnregistrement::Entry() const {
  return {eLogin->text().toStdString(), eEmail->text().toStdString(), ePass->text().toStdString(),
          cbMemorise->isChecked()};
}

QString TfmNetEnregistrement::FirstProblem() const {
  if (eLogin->text().length() <= 3)
    return QStringLiteral("Votre pseudo est trop court et doit faire 4 caractères minimum.");
  const QString email = eEmail->text();
  if (email.length() < 8 || !email.contains(QLatin1Char('@')) || !email.contains(QLatin1Char('.')))
    return QStringLiteral("Votre e-mail n'est pas valide. Veuillez saisir un e-mail correct.");
  if (ePass->text().length() <= 3)
    return QStringLiteral("Votre mot de passe est trop court et doit faire 4 caractères minimum.");
  return {};
}

void TfmNetEnregistrement::bOKClick() {
  const QString problem = FirstProblem();
  if (problem.isEmpty())
    accept();
  else
    ShowMessageDialog(false, problem);
}

void TfmNetEnregistrement::Button1Click() {
  const ServiceReply reply = EnvoyerRequete(transport_, FormBody("test_connexion"));
  if (reply.IsStatus("200"))
    ShowMessageDialog(false, QString::fromStdString(reply.Data()));
  else
    ShowMessageDialog(false,
                      QStringLiteral("Impossible de se connecter au serveur. Veuillez vérifier "
                                     "que vous avez autorisé Casavo à se connecter à Internet."));
}

}  // namespace casavo
