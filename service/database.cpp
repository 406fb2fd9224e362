// The SQLite schema and its upgrades, one version at a time.

#include "service/database.h"

#include <stdexcept>

namespace casavo::service {

bool IsPostgresLocation(const std::string& location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://") ||
         location.find('=') != std::string::npos;
}

std::unique_ptr<StoreKind> StoreFor(const std::string& location) {
  if (IsPostgresLocation(location)) return PostgresStore(location);
  if (location.starts_with("sqlite:")) return SqliteStore(location.substr(7));
  return SqliteStore(location);
}

Database::Lease::Lease(Database& owner, std::unique_ptr<Db> connection,
                       std::unique_lock<std::mutex> writing)
    : owner_(&owner), connection_(std::move(connection)), writing_(std::move(writing)) {}

Database::Lease::~Lease() {
  if (connection_) owner_->Release(std::move(connection_));
}

Database::Database(const std::string& location) : kind_(StoreFor(location)) {
  auto first = kind_->Open();
  kind_->Migrate(*first);
  idle_.push_back(std::move(first));
}

std::unique_ptr<Db> Database::Take() {
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      return connection;
    }
  }
  return kind_->Open();
}

Database::Lease Database::Acquire() {
  return Lease(*this, Take());
}

Database::Lease Database::AcquireForWriting() {
  std::unique_lock<std::mutex> writing;
  if (kind_->OneWriter()) writing = std::unique_lock(writeMutex_);
  return Lease(*this, Take(), std::move(writing));
}

void Database::Release(std::unique_ptr<Db> connection) {
  // A connection the server dropped is closed; the next request opens another.
  if (!connection->Reusable()) return;
  std::lock_guard lock(mutex_);
  idle_.push_back(std::move(connection));
}

namespace {

// Copies the rows of one table; `kinds` has one letter per column: I integer,
// N integer or NULL, T text, B bytes.
int64_t CopyTable(Db& from, Db& to, const std::string& table, const std::string& columns,
                  const std::string& kinds) {
  std::string marks;
  for (size_t i = 0; i < kinds.size(); ++i) marks += i ? ", ?" : "?";
  auto rows = from.Prepare("SELECT " + columns + " FROM " + table + " ORDER BY 1");
  int64_t count = 0;
  while (rows.Step()) {
    std::string sql = "INSERT INTO ";
    sql += table;
    sql += " (";
    sql += columns;
    sql += ") VALUES (";
    sql += marks;
    sql += ")";
    auto insert = to.Prepare(sql);
    for (int c = 0; c < static_cast<int>(kinds.size()); ++c) {
      switch (kinds[c]) {
        case 'N':
          if (rows.IsNull(c)) {
            insert.BindNull(c + 1);
            break;
          }
          [[fallthrough]];
        case 'I':
          insert.Bind(c + 1, rows.Int(c));
          break;
        case 'T':
          insert.Bind(c + 1, rows.Text(c));
          break;
        default:
          insert.BindBlob(c + 1, rows.Blob(c));
      }
    }
    insert.Run();
    ++count;
  }
  return count;
}

}  // namespace

CopyCounts CopyStore(Database& from, Database& to) {
  auto source = from.Acquire();
  auto target = to.AcquireForWriting();
  DbTransaction transaction(*target);
  {
    auto existing = target->Prepare("SELECT COUNT(*) FROM users");
    if (existing.Step() && existing.Int(0) > 0)
      throw std::runtime_error("the target store already holds accounts");
  }
  CopyCounts counts;
  counts.users =
      CopyTable(*source, *target, "users",
                "id, login, email, pass_salt, pass_hash, pass_iterations, created_at", "ITTBBII");
  counts.plans = CopyTable(*source, *target, "plans",
                           "id, plan_key, owner_id, title, sharing, created_at, modified_at, "
                           "revision, stamp, content",
                           "ITITIIIITB");
  counts.previews =
      CopyTable(*source, *target, "previews", "plan_id, png, width, height, stored_at", "IBIII");
  counts.errorReports = CopyTable(*source, *target, "error_reports",
                                  "id, user_id, received_at, message, address, size", "INITTI");
  to.Kind().AfterCopy(*target);
  transaction.Commit();
  return counts;
}

}  // namespace casavo::service
