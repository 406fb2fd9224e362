// Tests of the example plans: read, painted, rooms found again.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "files/plan_file.h"
#include "plan/furniture_fit.h"
#include "render/furniture_symbols.h"
#include "render/preview.h"
#include "render/render_test_util.h"

namespace casavo {
namespace {

using namespace casavo::testing;

std::unique_ptr<TCasaPlan> LoadExample(const std::string& name) {
  auto plan = std::make_unique<TCasaPlan>();
  const PlanReadResult read =
      LoadPlanFile(*plan, std::string(CASAVO_SOURCE_DIR) + "/examples/" + name);
  EXPECT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.refused, 0) << read.refusal;
  plan->ShowRooms = true;
  plan->RefreshGeometry();
  return plan;
}

// Every detected room finds its name, kind and colour again after the file
// round trip: the walls come back with the indices that keyed them.
void ExpectEveryRoomNamed(const TCasaPlan& plan) {
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    EXPECT_FALSE(plan.RoomName(r).empty()) << "room " << r;
    EXPECT_FALSE(plan.RoomKind(r).empty()) << "room " << r;
    EXPECT_EQ(plan.RoomColour(r).size(), 6u) << "room " << r;
  }
}

// Every piece of the furnished flat is a catalogue model, and none runs into
// a wall.
TEST(Examples, FurnishedFlatFitsItsRooms) {
  auto flat = LoadExample("appartement_meuble.plan");
  EXPECT_EQ(flat->RoomCount, 3);
  ExpectEveryRoomNamed(*flat);
  ASSERT_GT(flat->ObjectCount, 20);
  for (int32_t k = 1; k <= flat->ObjectCount; ++k) {
    EXPECT_NE(FindFurnitureModel(flat->Objects[k].modele), nullptr) << flat->Objects[k].nom;
    EXPECT_FALSE(ObjetCrossesWall(*flat, k)) << flat->Objects[k].nom;
  }
}

TEST(Examples, StudioAndFamilyHouseReadBackWithTheirRooms) {
  auto studio = LoadExample("studio.plan");
  EXPECT_EQ(studio->RoomCount, 2);
  ExpectEveryRoomNamed(*studio);

  auto house = LoadExample("maison_familiale.plan");
  EXPECT_EQ(house->RoomCount, 9);
  ExpectEveryRoomNamed(*house);
  std::set<int32_t> kinds, shutters;
  for (int32_t n = 1; n <= house->OpeningCount; ++n) {
    kinds.insert(house->Openings[n].sorte);
    shutters.insert(house->Openings[n].volet);
  }
  EXPECT_EQ(kinds, (std::set<int32_t>{0, 1001, 1002, 1011, 2001, 2002}));
  EXPECT_EQ(shutters, (std::set<int32_t>{0, 1, 2, 3}));
}

TEST(Examples, BlockOfFlatsStaysWithinRoomDetection) {
  auto flats = LoadExample("immeuble.plan");
  EXPECT_GE(flats->WallCount, 200);
  EXPECT_LE(flats->WallCount, 249);
  EXPECT_EQ(flats->RoomCount, 81);
  ExpectEveryRoomNamed(*flats);

  flats->ShowDimensions = flats->ShowProblems = true;
  const QImage image = PaintPreview(*flats, 50);
  const TRect b = flats->GetBounds();
  EXPECT_EQ(image.width(), (b.right - b.left + 2000) / 20);
  EXPECT_EQ(image.height(), (b.bottom - b.top + 2000) / 20);
  // A clean plan has nothing to mark in red.
  int red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) red += image.pixel(x, y) == qRgb(255, 0, 0);
  EXPECT_EQ(red, 0);
}

}  // namespace
}  // namespace casavo
