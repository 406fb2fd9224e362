// Error reports sent by the editor: stored within limits.

#include "service/error_reports.h"

#include <cctype>

#include "service/timefmt.h"

namespace casavo::service {

std::string MaskSessionIds(std::string_view message) {
  constexpr size_t kShortestId = 32;
  std::string out;
  out.reserve(message.size());
  size_t at = 0;
  while (at < message.size()) {
    size_t end = at;
    while (end < message.size() && std::isxdigit(static_cast<unsigned char>(message[end]))) ++end;
    if (end - at >= kShortestId)
      out += "[masqué]";
    else
      out.append(message.substr(at, end - at));
    if (end < message.size()) out += message[end];
    at = end + 1;
  }
  return out;
}

bool ErrorReports::Record(std::optional<int64_t> userId, std::string_view message,
                          const std::string& address) {
  // A NUL byte is no text for PostgreSQL; it tells nothing in a report.
  std::string masked = MaskSessionIds(message);
  std::erase(masked, '\0');
  const int64_t now = UnixNow();
  auto db = database_.AcquireForWriting();
  auto recent =
      db->Prepare("SELECT COUNT(*) FROM error_reports WHERE address = ? AND received_at > ?");
  recent.Bind(1, address).Bind(2, now - 3600);
  if (recent.Step() && recent.Int(0) >= limits_.perAddressPerHour) return false;

  DbTransaction transaction(*db);
  auto insert = db->Prepare(
      "INSERT INTO error_reports (user_id, received_at, message, address, size) "
      "VALUES (?, ?, ?, ?, ?)");
  if (userId)
    insert.Bind(1, *userId);
  else
    insert.BindNull(1);
  insert.Bind(2, now).Bind(3, masked).Bind(4, address);
  insert.Bind(5, static_cast<int64_t>(masked.size())).Run();
  DropOldest(*db);
  transaction.Commit();
  return true;
}

void ErrorReports::DropOldest(Db& db) {
  // Keeps the newest reports whose sizes add up to the bound.
  db.Prepare(
        "DELETE FROM error_reports WHERE id IN (SELECT id FROM (SELECT id, SUM(size) OVER "
        "(ORDER BY id DESC) AS newer FROM error_reports) AS running WHERE newer > ?)")
      .Bind(1, limits_.totalBytes)
      .Run();
}

void ErrorReports::Tidy() {
  auto db = database_.AcquireForWriting();
  DbTransaction transaction(*db);
  DropOldest(*db);
  auto reports = db->Prepare("SELECT id, message FROM error_reports");
  while (reports.Step()) {
    const std::string masked = MaskSessionIds(reports.Text(1));
    if (masked == reports.Text(1)) continue;
    db->Prepare("UPDATE error_reports SET message = ?, size = ? WHERE id = ?")
        .Bind(1, masked)
        .Bind(2, static_cast<int64_t>(masked.size()))
        .Bind(3, reports.Int(0))
        .Run();
  }
  transaction.Commit();
}

}  // namespace casavo::service
