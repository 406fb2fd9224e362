// Tests of the message catalogue.

#include "editor/messages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace casavo {
namespace {

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { Messages::Init(); }
  void TearDown() override { Messages::Free(); }
};

TEST_F(MessagesTest, HoldsTheBuiltInTextsInRegistrationOrder) {
  const auto& entries = Messages::Entries();
  ASSERT_EQ(entries.size(), 33u);
  EXPECT_EQ(entries[0].first, "NET_NEW_VERSION");
  EXPECT_EQ(entries[6].first, "CASA_DEPLACER_COIN_MUR");
  EXPECT_EQ(entries[18].first, "CASA_UNDO_PIECE");
  EXPECT_EQ(entries[32].first, "CASA_CLIC_ADD_OBJET");
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Msg("CASA_SEL_MUR_POUR_TROU"), "S\xC3\xA9lectionnez un mur pour poser l'ouverture");
  EXPECT_EQ(Msg("NET_CONNECTER_SAUVE"),
            "Vous devez \xC3\xAAtre connect\xC3\xA9 pour sauvegarder un plan.");
  EXPECT_EQ(Msg("CASA_UNDO_PIECE"),
            "Edition pi\xC3\xA8"
            "ce");
}

TEST_F(MessagesTest, NewVersionTextKeepsItsLineBreaksAndOnePlaceholder) {
  const std::string text = Msg("NET_NEW_VERSION");
  EXPECT_EQ(text,
            "Vous ne pouvez pas vous connecter car une nouvelle version du logiciel\r\n"
            "est disponible \xC3\xA0 %s.\r\n"
            "Voulez vous la t\xC3\xA9l\xC3\xA9"
            "charger maintenant ?");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);
  EXPECT_EQ(std::count(text.begin(), text.end(), '%'), 1);
}

TEST_F(MessagesTest, LookupIgnoresLetterCaseAndGivesEmptyForUnknownKeys) {
  EXPECT_EQ(Msg("casa_dep_plan"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Msg("Casa_Dep_Plan"), Msg("CASA_DEP_PLAN"));
  EXPECT_EQ(Msg("CASA_NOT_THERE"), "");
}

TEST_F(MessagesTest, RegisterReplacesInPlaceAndFreeForgetsEverything) {
  Messages::Register("casa_dep_plan", "Autre texte");
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "Autre texte");
  ASSERT_EQ(Messages::Entries().size(), 33u);
  EXPECT_EQ(Messages::Entries()[11].second, "Autre texte");
  Messages::Register("NET_NOUVEAU", "Nouveau");
  EXPECT_EQ(Messages::Entries().back().second, "Nouveau");

  Messages::Free();
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "");
  Messages::Init();
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Messages::Entries().size(), 33u);
}

}  // namespace
}  // namespace casavo
