#include "service/error_reports.h"

#include "service/timefmt.h"

namespace casavo::service {

void ErrorReports::Record(std::optional<int64_t> userId, std::string_view message) {
  auto db = database_.AcquireForWriting();
  auto insert =
      db->Prepare("INSERT INTO error_reports (user_id, received_at, message) VALUES (?, ?, ?)");
  if (userId)
    insert.Bind(1, *userId);
  else
    insert.BindNull(1);
  insert.Bind(2, UnixNow()).Bind(3, message).Run();
}

}  // namespace casavo::service
