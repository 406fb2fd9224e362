// Plans: storage, listing, sharing and previews in SQLite.

#include "service/plans.h"

#include "service/secrets.h"
#include "service/timefmt.h"

namespace casavo::service {
namespace {

constexpr size_t kPlanKeyBytes = 16;

// Columns read by ReadSummary, in its order.
constexpr std::string_view kSummaryColumns =
    "SELECT plans.id, plans.plan_key, plans.owner_id, users.login, plans.title, plans.sharing, "
    "plans.created_at, plans.modified_at, plans.revision, plans.stamp, "
    "CASE WHEN EXISTS (SELECT 1 FROM previews WHERE previews.plan_id = plans.id) THEN 1 ELSE 0 "
    "END "
    "FROM plans JOIN users ON users.id = plans.owner_id ";

PlanSummary ReadSummary(const Query& row) {
  PlanSummary plan;
  plan.id = row.Int(0);
  plan.key = row.Text(1);
  plan.ownerId = row.Int(2);
  plan.owner = row.Text(3);
  plan.title = row.Text(4);
  plan.sharing = static_cast<int>(row.Int(5));
  plan.createdAt = row.Int(6);
  plan.modifiedAt = row.Int(7);
  plan.revision = row.Int(8);
  plan.stamp = row.Text(9);
  plan.hasPreview = row.Int(10) != 0;
  return plan;
}

std::optional<PlanSummary> FindOne(Db& db, std::string_view where, auto bindValue) {
  auto query = db.Prepare(std::string(kSummaryColumns) + std::string(where));
  query.Bind(1, bindValue);
  if (!query.Step()) return std::nullopt;
  return ReadSummary(query);
}

std::vector<PlanSummary> ReadAll(Query& query) {
  std::vector<PlanSummary> plans;
  while (query.Step()) plans.push_back(ReadSummary(query));
  return plans;
}

}  // namespace

SaveRight SaveRightOf(const PlanSummary& plan, const User& user) {
  if (plan.ownerId == user.id) return SaveRight::kOwner;
  switch (plan.sharing) {
    case 1:
      return SaveRight::kReadOnly;
    case 2:
      return SaveRight::kShared;
    case 3:
      return SaveRight::kUseAsNew;
    default:
      return SaveRight::kPrivate;
  }
}

bool MayView(const PlanSummary& plan, const User* visitor) {
  return plan.sharing >= 1 || (visitor && visitor->id == plan.ownerId);
}

std::string PreviewPath(const PlanSummary& plan) {
  return "/apercu/" + plan.key + ".png";
}

std::string MakeStamp(int64_t unixSeconds, int64_t revision) {
  return FormatLocalTime(unixSeconds, "%Y-%m-%d %H:%M:%S") + " r" + std::to_string(revision);
}

Plans::Plans(Database& database) : database_(database) {}

SaveResult Plans::Create(const User& owner, std::string_view title, int sharing,
                         std::string_view content) {
  const int64_t now = UnixNow();
  auto db = database_.AcquireForWriting();
  int64_t id = 0;
  {
    auto insert = db->Prepare(
        "INSERT INTO plans (plan_key, owner_id, title, sharing, created_at, modified_at, "
        "revision, stamp, content) VALUES (?, ?, ?, ?, ?, ?, 1, ?, ?) RETURNING id");
    insert.Bind(1, RandomHex(kPlanKeyBytes))
        .Bind(2, owner.id)
        .Bind(3, title)
        .Bind(4, int64_t{sharing})
        .Bind(5, now)
        .Bind(6, now)
        .Bind(7, MakeStamp(now, 1))
        .BindBlob(8, content);
    if (insert.Step()) id = insert.Int(0);
    insert.Run();
  }
  return {SaveOutcome::kSaved, FindOne(*db, "WHERE plans.id = ?", id), SaveRight::kOwner};
}

SaveResult Plans::Update(const User& user, int64_t planId, std::string_view title, int sharing,
                         std::string_view expectedStamp, std::string_view content) {
  auto db = database_.AcquireForWriting();
  DbTransaction transaction(*db);
  auto stored = FindOne(*db, "WHERE plans.id = ?", planId);
  if (!stored) return {SaveOutcome::kNotFound, std::nullopt};
  const SaveRight right = SaveRightOf(*stored, user);
  if (!MaySave(right)) return {SaveOutcome::kRefused, stored, right};
  if (expectedStamp != stored->stamp) return {SaveOutcome::kStale, stored, right};

  const bool owner = right == SaveRight::kOwner;
  const int64_t now = UnixNow();
  const int64_t next = stored->revision + 1;
  bool written = false;
  {
    // The stamp is checked again by the write itself, in the store: another
    // instance may have saved since the row above was read. Then the write
    // changes nothing and the save is stale. The sharing level is checked
    // there too, in case its creator lowered it meanwhile.
    auto update = db->Prepare(
        "UPDATE plans SET title = ?, sharing = ?, modified_at = ?, revision = ?, stamp = ?, "
        "content = ? WHERE id = ? AND stamp = ? AND (owner_id = ? OR sharing = 2) RETURNING id");
    update.Bind(1, owner ? title : std::string_view(stored->title))
        .Bind(2, int64_t{owner ? sharing : stored->sharing})
        .Bind(3, now)
        .Bind(4, next)
        .Bind(5, MakeStamp(now, next))
        .BindBlob(6, content)
        .Bind(7, planId)
        .Bind(8, stored->stamp)
        .Bind(9, user.id);
    written = update.Step();
    update.Run();
  }
  auto saved = FindOne(*db, "WHERE plans.id = ?", planId);
  if (!written) {
    transaction.Commit();
    if (saved && !MaySave(SaveRightOf(*saved, user)))
      return {SaveOutcome::kRefused, saved, SaveRightOf(*saved, user)};
    return {SaveOutcome::kStale, saved, right};
  }
  transaction.Commit();
  return {SaveOutcome::kSaved, saved, right};
}

std::optional<PlanSummary> Plans::FindById(int64_t planId) {
  auto db = database_.Acquire();
  return FindOne(*db, "WHERE plans.id = ?", planId);
}

std::optional<PlanSummary> Plans::FindByKey(std::string_view key) {
  // Keys are hexadecimal: anything else (a NUL byte, which PostgreSQL takes
  // in no text) names no plan.
  if (key.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
    return std::nullopt;
  auto db = database_.Acquire();
  return FindOne(*db, "WHERE plans.plan_key = ?", key);
}

std::string Plans::Content(int64_t planId) {
  auto db = database_.Acquire();
  auto query = db->Prepare("SELECT content FROM plans WHERE id = ?");
  query.Bind(1, planId);
  return query.Step() ? query.Blob(0) : std::string();
}

SaveResult Plans::StorePreview(const User& user, int64_t planId, const PreviewImage& image) {
  auto db = database_.AcquireForWriting();
  DbTransaction transaction(*db);
  auto plan = FindOne(*db, "WHERE plans.id = ?", planId);
  if (!plan) return {SaveOutcome::kNotFound, std::nullopt};
  const SaveRight right = SaveRightOf(*plan, user);
  if (!MaySave(right)) return {SaveOutcome::kRefused, plan, right};
  db->Prepare(
        "INSERT INTO previews (plan_id, png, width, height, stored_at) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT (plan_id) DO UPDATE SET png = excluded.png, width = excluded.width, "
        "height = excluded.height, stored_at = excluded.stored_at")
      .Bind(1, planId)
      .BindBlob(2, image.png)
      .Bind(3, int64_t{image.width})
      .Bind(4, int64_t{image.height})
      .Bind(5, UnixNow())
      .Run();
  transaction.Commit();
  plan->hasPreview = true;
  return {SaveOutcome::kSaved, plan, right};
}

std::optional<PreviewImage> Plans::Preview(int64_t planId) {
  auto db = database_.Acquire();
  auto query = db->Prepare("SELECT png, width, height FROM previews WHERE plan_id = ?");
  query.Bind(1, planId);
  if (!query.Step()) return std::nullopt;
  return PreviewImage{query.Blob(0), static_cast<int>(query.Int(1)),
                      static_cast<int>(query.Int(2))};
}

std::vector<PlanSummary> Plans::OwnedBy(int64_t userId) {
  auto db = database_.Acquire();
  auto query =
      db->Prepare(std::string(kSummaryColumns) +
                  "WHERE plans.owner_id = ? ORDER BY plans.modified_at DESC, plans.id DESC");
  query.Bind(1, userId);
  return ReadAll(query);
}

std::vector<PlanSummary> Plans::SharedByOthers(int64_t visitorId, int offset, int limit) {
  auto db = database_.Acquire();
  auto query = db->Prepare(std::string(kSummaryColumns) +
                           "WHERE plans.sharing >= 1 AND plans.owner_id <> ? "
                           "ORDER BY plans.modified_at DESC, plans.id DESC LIMIT ? OFFSET ?");
  query.Bind(1, visitorId).Bind(2, int64_t{limit}).Bind(3, int64_t{offset});
  return ReadAll(query);
}

}  // namespace casavo::service
