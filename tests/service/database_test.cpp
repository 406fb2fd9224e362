// Tests of the database schema and its upgrades.

#include "service/database.h"

#include <gtest/gtest.h>

#include "service/secrets.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

TEST(Database, SchemaIsVersionedAndDataSurvivesReopening) {
  TempDir dir;
  const std::string path = (dir.path() / "casavo.sqlite").string();
  {
    Database database(path);
    Accounts accounts(database, {1000, 3600});
    ASSERT_EQ(accounts.Register("Marc", "marc@exemple.fr", "abcd1234").outcome,
              Registration::kCreated);
    // An account from before passwords needed 8 characters.
    const PasswordHash shortPass = HashPassword("abcd", 1000);
    database.AcquireForWriting()
        ->Prepare(
            "INSERT INTO users (login, email, pass_salt, pass_hash, pass_iterations, created_at) "
            "VALUES ('Lucie', 'lucie@exemple.fr', ?, ?, 1000, 0)")
        .BindBlob(1, shortPass.salt)
        .BindBlob(2, shortPass.hash)
        .Run();
    auto db = database.Acquire();
    auto version = db->Prepare("PRAGMA user_version");
    ASSERT_TRUE(version.Step());
    EXPECT_EQ(version.Int(0), Database::SchemaVersion());
    auto mode = db->Prepare("PRAGMA journal_mode");
    ASSERT_TRUE(mode.Step());
    EXPECT_EQ(mode.Text(0), "wal");
  }
  Database reopened(path);
  Accounts accounts(reopened, {1000, 3600});
  EXPECT_TRUE(accounts.Authenticate("Marc", "abcd1234").user);
  EXPECT_TRUE(accounts.Authenticate("Lucie", "abcd").user);
  EXPECT_EQ(accounts.Register("Lucie", "lucie@exemple.fr", "abcd").outcome,
            Registration::kSignedIn);
}

TEST(Database, AFileFromANewerServiceIsNotTouched) {
  TempDir dir;
  const std::string path = (dir.path() / "casavo.sqlite").string();
  {
    Connection connection(path);
    connection.Exec("PRAGMA user_version = 99");
  }
  EXPECT_THROW(Database{path}, std::runtime_error);
  Connection connection(path);
  auto tables = connection.Prepare("SELECT count(*) FROM sqlite_master");
  ASSERT_TRUE(tables.Step());
  EXPECT_EQ(tables.Int(0), 0);
}

}  // namespace
}  // namespace casavo::service::testing
