#include "service/database.h"

#include <gtest/gtest.h>

#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

TEST(Database, SchemaIsVersionedAndDataSurvivesReopening) {
  TempDir dir;
  const std::string path = (dir.path() / "casavo.sqlite").string();
  {
    Database database(path);
    Accounts accounts(database, {1000, 3600});
    ASSERT_EQ(accounts.Register("Marc", "marc@exemple.fr", "abcd").outcome, Registration::kCreated);
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
  EXPECT_TRUE(accounts.Authenticate("Marc", "abcd"));
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
