#include "editor/messages.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(entries.front().first, "NET_NEW_VERSION");
  EXPECT_EQ(entries[5].first, "NET_CONNECTER_SAUVE");
  EXPECT_EQ(entries[6].first, "CASA_DEPLACER_COIN_MUR");
  EXPECT_EQ(entries[18].first, "CASA_UNDO_PIECE");
  EXPECT_EQ(entries.back().first, "CASA_CLIC_ADD_OBJET");
  for (const auto& [key, text] : entries) {
    EXPECT_FALSE(text.empty()) << key;
    EXPECT_TRUE(key.rfind("NET_", 0) == 0 || key.rfind("CASA_", 0) == 0) << key;
  }
}

TEST_F(MessagesTest, KeepsAccentsAndPunctuationExactly) {
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Msg("CASA_SEL_MUR_POUR_TROU"), "S\xC3\xA9lectionnez un mur pour poser l'ouverture");
  EXPECT_EQ(Msg("NET_CONNECTER_SAUVE"),
            "Vous devez \xC3\xAAtre connect\xC3\xA9 pour sauvegarder un plan.");
  EXPECT_EQ(Msg("CASA_UNDO_PIECE"),
            "Edition pi\xC3\xA8"
            "ce");
  EXPECT_EQ(Msg("CASA_MSG_SUPP_MUR"), "Etes vous sur de supprimer ce mur ?");
}

TEST_F(MessagesTest, NewVersionTextKeepsItsLineBreaksAndOnePlaceholder) {
  const std::string text = Msg("NET_NEW_VERSION");
  EXPECT_EQ(text,
            "Vous ne pouvez pas vous connecter car une nouvelle version du logiciel\r\n"
            "est disponible \xC3\xA0 %s.\r\n"
            "Voulez vous la t\xC3\xA9l\xC3\xA9"
            "charger maintenant ?");
  auto count = [&](const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\r\n"), 2u);
  EXPECT_EQ(count("\n"), 2u);
  EXPECT_EQ(count("%"), 1u);
  EXPECT_EQ(count("%s"), 1u);
}

TEST_F(MessagesTest, LookupIgnoresLetterCaseAndGivesEmptyForUnknownKeys) {
  EXPECT_EQ(Msg("casa_dep_plan"), Msg("CASA_DEP_PLAN"));
  EXPECT_EQ(Msg("Casa_Dep_Plan"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Msg("CASA_NOT_THERE"), "");
  EXPECT_EQ(Msg(""), "");
}

TEST_F(MessagesTest, RegisterReplacesWithoutDuplicatingAndAppendsNewKeys) {
  Messages::Register("casa_dep_plan", "Autre texte");
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "Autre texte");
  EXPECT_EQ(Messages::Entries().size(), 33u);
  EXPECT_EQ(Messages::Entries()[11].first, "CASA_DEP_PLAN");

  Messages::Register("NET_NOUVEAU", "Nouveau");
  EXPECT_EQ(Messages::Entries().size(), 34u);
  EXPECT_EQ(Messages::Entries().back().second, "Nouveau");
}

TEST_F(MessagesTest, FreeForgetsEverythingAndInitRestores) {
  Messages::Register("CASA_DEP_PLAN", "Autre texte");
  Messages::Free();
  EXPECT_TRUE(Messages::Entries().empty());
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "");
  Messages::Init();
  EXPECT_EQ(Msg("CASA_DEP_PLAN"), "D\xC3\xA9placement du plan");
  EXPECT_EQ(Messages::Entries().size(), 33u);
}

}  // namespace
}  // namespace casavo
