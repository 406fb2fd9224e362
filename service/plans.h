// Plans: what the service stores of a plan and how it is found.

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/accounts.h"
#include "service/database.h"

namespace casavo::service {

// What is known of a plan without its text. Texts are UTF-8.
struct PlanSummary {
  int64_t id = 0;
  std::string key;  // random, for casavo://open/<key> and the preview address
  int64_t ownerId = 0;
  std::string owner;  // the creator's login
  std::string title;
  int sharing = 0;  // 0 private, 1 read, 2 modify, 3 use
  int64_t createdAt = 0;
  int64_t modifiedAt = 0;
  int64_t revision = 0;  // 1 for a new plan, one more on every save
  std::string stamp;     // changes on every save; a save must quote the current one
  bool hasPreview = false;
};

// What a user may do with a plan when saving it.
enum class SaveRight {
  kOwner,     // everything, title and sharing included
  kShared,    // level 2: the text only
  kReadOnly,  // level 1
  kUseAsNew,  // level 3: only as a new plan of one's own
  kPrivate,   // level 0 of someone else
};

SaveRight SaveRightOf(const PlanSummary& plan, const User& user);
inline bool MaySave(SaveRight right) {
  return right == SaveRight::kOwner || right == SaveRight::kShared;
}
// Opening, loading and seeing a plan: its creator, or anyone at level 1 to 3.
bool MayView(const PlanSummary& plan, const User* visitor);

// Address of the plan's preview picture on the service.
std::string PreviewPath(const PlanSummary& plan);

enum class SaveOutcome { kSaved, kNotFound, kRefused, kStale };

struct SaveResult {
  SaveOutcome outcome;
  std::optional<PlanSummary> plan;  // after the save; the stored one when refused
  SaveRight right = SaveRight::kOwner;
};

struct PreviewImage {
  std::string png;
  int width = 0;
  int height = 0;
};

// Plan storage: texts byte for byte, with their previews.
class Plans {
 public:
  explicit Plans(Database& database);

  SaveResult Create(const User& owner, std::string_view title, int sharing,
                    std::string_view content);
  // Updates the text, and the title and sharing when the user is the creator.
  // Refused unless MaySave; kStale when `expectedStamp` is not the stored stamp.
  SaveResult Update(const User& user, int64_t planId, std::string_view title, int sharing,
                    std::string_view expectedStamp, std::string_view content);

  std::optional<PlanSummary> FindById(int64_t planId);
  std::optional<PlanSummary> FindByKey(std::string_view key);
  std::string Content(int64_t planId);

  // Stores the preview when the user may save the plan; the outcome says why not.
  SaveResult StorePreview(const User& user, int64_t planId, const PreviewImage& image);
  std::optional<PreviewImage> Preview(int64_t planId);

  // Newest first.
  std::vector<PlanSummary> OwnedBy(int64_t userId);
  std::vector<PlanSummary> SharedByOthers(int64_t visitorId, int offset, int limit);

 private:
  Database& database_;
};

// The modification stamp of a plan: the save time and the revision number.
// Never holds ";" (the editor splits the save reply there).
std::string MakeStamp(int64_t unixSeconds, int64_t revision);

}  // namespace casavo::service
