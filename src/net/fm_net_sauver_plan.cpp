// The online save dialog: title and sharing level (Partage).

#include "net/fm_net_sauver_plan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace casavo {
namespace {

struct SharingLevel {
  const char* item;
  const char* explanation;
};

constexpr std::array<SharingLevel, 4> kLevels = {{
    {"Aucun", "Personne ne peut voir ou utiliser votre plan. Il est privé."},
    {"Lecture",
     "Votre plan peut etre vu par tout le monde mais personne ne peut le modifier ou "
     "l'enregistrer."},
    {"Modification",
     "Votre plan peut etre vu et modifié par tout le monde mais personne ne peut se "
     "l'aproporier."},
    {"Utilisation",
     "Votre plan peut etre vu et utilisé par tout le monde mais personne ne peut modifier le "
     "votre."},
}};

bool LongEnough(const QString& title) {
  return title.length() > 3;
}

}  // namespace

TfmNetSauverPlan::TfmNetSauverPlan(QWidget* owner, const std::string& login, TPlanInfo& info)
    : QDialog(owner),
      eTitre(new QLineEdit(QString::fromStdString(info.Titre), this)),
      cbPartage(new QComboBox(this)),
      lExplication(new QLabel(this)),
      cbNouveau(
          new QCheckBox(QStringLiteral("Conserver l'ancien plan et ne pas le remplacer"), this)),
      bSauver(new QPushButton(QStringLiteral("&Sauver"), this)),
      bAnnuler(new QPushButton(QStringLiteral("&Annuler"), this)),
      info_(info),
      initialTitle_(eTitre->text()) {
  setWindowTitle(QStringLiteral("Sauver le plan"));
  for (const SharingLevel& level : kLevels) cbPartage->addItem(QString::fromUtf8(level.item));
  // A level the dialog does not know is shown as private rather than as nothing.
  cbPartage->setCurrentIndex(info.Partage < kLevels.size() ? info.Partage : 0);
  cbNouveau->hide();
  lExplication->setWordWrap(true);
  lExplication->setMinimumSize(320, 48);
  lExplication->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Nom du plan :"), eTitre);
  fields->addRow(QStringLiteral("Partage :"), cbPartage);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bSauver);
  buttons->addWidget(bAnnuler);
  auto* whole = new QVBoxLayout(this);
  whole->addLayout(fields);
  whole->addWidget(lExplication);
  whole->addWidget(cbNouveau);
  if (info.CalqueLocal) {
    auto* note = new QLabel(
        QStringLiteral(
            "Le plan à décalquer reste sur cet ordinateur : il n'est pas sauvé en ligne."),
        this);
    note->setWordWrap(true);
    whole->addWidget(note);
  }
  whole->addLayout(buttons);

  if (!info.Createur.empty() && info.Createur != login) {
    eTitre->setEnabled(false);
    cbPartage->setEnabled(false);
    lExplication->setText(
        QStringLiteral("Vous ne pouvez pas modifier le nom et le partage de ce plan car ce "
                       "n'est pas vous qui l'avez créé."));
  } else {
    cbPartageChange();
    bSauver->setEnabled(LongEnough(eTitre->text()));
  }
  bSauver->setDefault(true);
  connect(eTitre, &QLineEdit::textChanged, this, &TfmNetSauverPlan::eTitreChange);
  connect(cbPartage, &QComboBox::currentIndexChanged, this, &TfmNetSauverPlan::cbPartageChange);
  connect(bSauver, &QPushButton::clicked, this, &TfmNetSauverPlan::bSauverClick);
  connect(bAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmNetSauverPlan::eTitreChange() {
  bSauver->setEnabled(LongEnough(eTitre->text()));
  cbNouveau->setVisible(!initialTitle_.isEmpty() && eTitre->text() != initialTitle_);
}

void TfmNetSauverPlan::cbPartageChange() {
  const int index = cbPartage->currentIndex();
  if (index >= 0) lExplication->setText(QString::fromUtf8(kLevels[index].explanation));
}

void TfmNetSauverPlan::bSauverClick() {
  info_.Titre = eTitre->text().toStdString();
  info_.Partage = static_cast<uint8_t>(cbPartage->currentIndex());
  // Kept beside the old plan: the service then stores it as a new one.
  if (!cbNouveau->isHidden() && cbNouveau->isChecked()) info_.PlanId.clear();
  accept();
}

}  // namespace casavo
