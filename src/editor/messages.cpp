// The message catalogue's texts and their lookup.

#include "editor/messages.h"

#include <algorithm>

#include "common/text.h"

namespace casavo {
namespace {

// The texts the program ships with, in the order they are registered.
constexpr std::pair<const char*, const char*> kFrenchTexts[] = {
    {"NET_NEW_VERSION",
     "Vous ne pouvez pas vous connecter car une nouvelle version du logiciel\r\nest disponible à "
     "%s.\r\nVoulez vous la télécharger maintenant ?"},
    {"NET_CONNEXION_ERROR",
     "Impossible de se connecter au serveur. Veuillez vérifier que vous avez autorisé Casavo à se "
     "connecter à Internet. Vous pouvez tester votre connexion dans l'écran de Création de "
     "compte."},
    {"NET_PAS_LE_DROIT", "Vous n'avez pas le droit de charger ce plan."},
    {"NET_FICHIER_VIDE", "Impossible de charger ce plan. Le fichier est vide."},
    {"NET_CONNECTER_CHARGE", "Vous devez vous connecter ou créer un compte pour charger ce plan."},
    {"NET_CONNECTER_SAUVE", "Vous devez être connecté pour sauvegarder un plan."},
    {"CASA_DEPLACER_COIN_MUR", "Déplacez le coin du mur"},
    {"CASA_DEPLACER_MUR", "Déplacez le mur. Appuyez sur Shift pour le dupliquer"},
    {"CASA_DEPLACE_COIN", "Déplacement du coin du mur"},
    {"CASA_MUR_DUPLIQUE", "Le mur est dupliqué"},
    {"CASA_DEP_MUR", "Déplacement du mur"},
    {"CASA_DEP_PLAN", "Déplacement du plan"},
    {"CASA_DEP_OBJET", "Déplacement d'un objet"},
    {"CASA_CLIC_SEL_COIN", "Cliquez pour sélectionner le coin du mur"},
    {"CASA_CLIC_SEL_TROU", "Cliquez pour sélectionner l'ouverture"},
    {"CASA_CLIC_SEL_MUR", "Cliquez pour sélectionner le mur"},
    {"CASA_CLIC_SEL_OBJET", "Cliquez pour sélectionner cet objet"},
    {"CASA_CLIC_DEP_PLAN", "Cliquez pour déplacer le plan"},
    {"CASA_UNDO_PIECE", "Edition pièce"},
    {"CASA_UNDO_COIN", "Déplacer un coin"},
    {"CASA_UNDO_MUR", "Déplacer un mur"},
    {"CASA_UNDO_OBJET", "Déplacer un objet"},
    {"CASA_MSG_SUPP_MUR", "Etes vous sur de supprimer ce mur ?"},
    {"CASA_UNDO_SUPP_MUR", "Supprimer un mur"},
    {"CASA_MSG_SUPP_TROU", "Etes vous sur de supprimer cette ouverture ?"},
    {"CASA_UNDO_SUPP_TROU", "Supprimer une ouverture"},
    {"CASA_MSG_SUPP_OBJET", "Etes vous sur de supprimer cet objet ?"},
    {"CASA_UNDO_SUPP_OBJET", "Supprimer un objet"},
    {"CASA_UNDO_ADD_TROU", "Ajout d'une ouverture"},
    {"CASA_CLIC_ADD_TROU", "Cliquez pour poser l'ouverture"},
    {"CASA_SEL_MUR_POUR_TROU", "Sélectionnez un mur pour poser l'ouverture"},
    {"CASA_UNDO_ADD_OBJET", "Ajout d'un objet"},
    {"CASA_CLIC_ADD_OBJET", "Cliquez pour poser un objet ici"},
};

std::vector<Messages::Entry>& Catalogue() {
  static std::vector<Messages::Entry> entries;
  return entries;
}

std::vector<Messages::Entry>::iterator Find(std::string_view key) {
  const std::string wanted = AsciiUpper(key);
  auto& entries = Catalogue();
  return std::find_if(entries.begin(), entries.end(),
                      [&](const Messages::Entry& e) { return AsciiUpper(e.first) == wanted; });
}

}  // namespace

void Messages::Init() {
  Free();
  for (const auto& [key, text] : kFrenchTexts) Register(key, text);
}

void Messages::Free() {
  Catalogue().clear();
}

void Messages::Register(std::string_view key, std::string_view text) {
  auto it = Find(key);
  if (it != Catalogue().end()) {
    it->second = text;
  } else {
    Catalogue().emplace_back(key, text);
  }
}

std::string Messages::Lookup(std::string_view key) {
  auto it = Find(key);
  return it != Catalogue().end() ? it->second : std::string();
}

const std::vector<Messages::Entry>& Messages::Entries() {
  return Catalogue();
}

}  // namespace casavo
