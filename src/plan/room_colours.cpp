// The palette of soft room colours, and a colour for a new room that its neighbours do not have.
#include "plan/room_colours.h"

#include <algorithm>
#include <set>

namespace casavo {
namespace {

// The walls whose faces make room r's border (outline entry 4w+k is wall w's).
std::set<int32_t> BorderWalls(const TCasaPlan& plan, int32_t r) {
  std::set<int32_t> walls;
  const TIntList& border = plan.Rooms[r].Border;
  for (int32_t i = 1; i <= border.Count; ++i) walls.insert((border[i] - 1) / 4);
  return walls;
}

}  // namespace

const std::array<const char*, 12>& RoomPalette() {
  static const std::array<const char*, 12> palette{
      "FFE4C4", "FFF1B8", "DCEFC8", "C8E8DE", "CFE2F3", "DAD4F0",
      "F4D3E1", "F8D5C2", "EDE3CF", "D6E2E9", "E3ECC1", "E4E4E4",
  };
  return palette;
}

std::vector<std::string> RoomHashes(const TCasaPlan& plan) {
  std::vector<std::string> hashes;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) hashes.push_back(plan.Rooms[r].hash);
  return hashes;
}

void ColourNewRooms(TCasaPlan& plan, const std::vector<std::string>& known) {
  std::vector<std::set<int32_t>> walls;
  for (int32_t r = 1; r <= plan.RoomCount; ++r) walls.push_back(BorderWalls(plan, r));
  for (int32_t r = 1; r <= plan.RoomCount; ++r) {
    const std::string& hash = plan.Rooms[r].hash;
    if (!plan.RoomColour(r).empty() || std::find(known.begin(), known.end(), hash) != known.end())
      continue;
    std::set<std::string> nextDoor;
    std::vector<std::string> inUse;
    for (int32_t other = 1; other <= plan.RoomCount; ++other) {
      if (other == r) continue;
      const std::string colour = plan.RoomColour(other);
      inUse.push_back(colour);
      const auto& mine = walls[static_cast<size_t>(r - 1)];
      const auto& theirs = walls[static_cast<size_t>(other - 1)];
      if (std::any_of(mine.begin(), mine.end(), [&](int32_t w) { return theirs.count(w) > 0; }))
        nextDoor.insert(colour);
    }
    const char* chosen = nullptr;
    long fewest = 0;
    for (const char* colour : RoomPalette()) {
      if (nextDoor.count(colour)) continue;
      const long uses = std::count(inUse.begin(), inUse.end(), colour);
      if (!chosen || uses < fewest) {
        chosen = colour;
        fewest = uses;
      }
    }
    if (chosen) plan.RoomColours.SetValue(hash, chosen);
  }
}

}  // namespace casavo
