// Tests of the database schema and its upgrades.

#include "service/database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "service/secrets.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

// Every case runs on the store TestStore picks: SQLite, and PostgreSQL in the
// "postgres." run of the suite.

TEST(Database, SchemaIsVersionedAndDataSurvivesReopening) {
  TestStore store;
  {
    Database database(store.location());
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
    EXPECT_EQ(database.Kind().StoredSchemaVersion(*database.Acquire()), database.SchemaVersion());
  }
  Database reopened(store.location());
  Accounts accounts(reopened, {1000, 3600});
  EXPECT_TRUE(accounts.Authenticate("Marc", "abcd1234").user);
  EXPECT_TRUE(accounts.Authenticate("Lucie", "abcd").user);
  EXPECT_EQ(accounts.Register("Lucie", "lucie@exemple.fr", "abcd").outcome,
            Registration::kSignedIn);
  EXPECT_EQ(accounts.Register("LUCIE", "autre@exemple.fr", "abcd1234").outcome,
            Registration::kTaken);
}

TEST(Database, AStoreFromANewerServiceIsNotTouched) {
  TestStore store;
  {
    Database database(store.location());
    database.AcquireForWriting()->Exec(store.postgres() ? "UPDATE casavo_schema SET version = 99"
                                                        : "PRAGMA user_version = 99");
  }
  EXPECT_THROW(Database{store.location()}, std::runtime_error);
}

TEST(Database, InstancesStartingTogetherMigrateOnce) {
  TestStore store;
  const std::string fresh = store.Sibling("ensemble");
  std::vector<std::thread> starts;
  std::atomic<int> failed = 0;
  for (int i = 0; i < 4; ++i)
    starts.emplace_back([&] {
      try {
        Database database(fresh);
      } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
        ++failed;
      }
    });
  for (auto& thread : starts) thread.join();
  EXPECT_EQ(failed, 0);
  Database database(fresh);
  EXPECT_EQ(database.Kind().StoredSchemaVersion(*database.Acquire()), database.SchemaVersion());
}

// Two pools on one store stand for two instances of the service: what one
// writes, the other must respect.
TEST(Database, TwoInstancesShareStampsAndWrongPasswords) {
  TestStore store;
  Database first(store.location());
  Database second(store.location());
  Accounts accountsA(first, {1000, 3600, {3, 20, 600}});
  Accounts accountsB(second, {1000, 3600, {3, 20, 600}});
  const User marc = *accountsA.Register("Marc", "marc@exemple.fr", "abcd1234").user;
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(accountsA.Authenticate("Marc", "faux", "10.0.0.1").user);
  EXPECT_GT(accountsB.Authenticate("Marc", "abcd1234", "10.0.0.1").waitSeconds, 0);
  EXPECT_TRUE(accountsB.Authenticate("Marc", "abcd1234", "10.0.0.2").user);

  Plans plansA(first);
  Plans plansB(second);
  const PlanSummary plan = *plansA.Create(marc, "Maison", 2, PlanText("Un")).plan;
  std::vector<SaveOutcome> outcomes(8);
  std::vector<std::thread> savers;
  for (size_t i = 0; i < outcomes.size(); ++i)
    savers.emplace_back([&, i] {
      Plans& plans = i % 2 ? plansA : plansB;
      outcomes[i] =
          plans.Update(marc, plan.id, "Maison", 2, plan.stamp, PlanText(std::to_string(i))).outcome;
    });
  for (auto& thread : savers) thread.join();
  EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), SaveOutcome::kSaved), 1);
  EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), SaveOutcome::kStale), 7);
  EXPECT_EQ(plansB.FindById(plan.id)->revision, 2);
}

TEST(Database, ASqliteStoreIsCopiedWithItsIdsAndStamps) {
  TestStore store;
  TempDir old;
  const std::string oldLocation = "sqlite:" + (old.path() / "ancien.sqlite").string();
  PlanSummary saved;
  {
    Database source(oldLocation);
    Accounts accounts(source, {1000, 3600});
    Plans plans(source);
    accounts.Register("Lucie", "lucie@exemple.fr", "abcd1234");
    const User marc = *accounts.Register("Marc", "marc@exemple.fr", "abcd1234").user;
    plans.Create(marc, "Brouillon", 0, PlanText("Brouillon"));
    saved = *plans.Create(marc, "Maison \xC3\xA9t\xC3\xA9", 3, PlanText("Un")).plan;
    saved = *plans.Update(marc, saved.id, saved.title, 3, saved.stamp, PlanText("Deux")).plan;
    plans.StorePreview(marc, saved.id, {MakePng(3, 2), 3, 2});
    ErrorReports(source).Record(marc.id, "plan illisible", "10.0.0.1");
  }
  Database source(oldLocation);
  Database target(store.Sibling("copie"));
  const CopyCounts copied = CopyStore(source, target);
  EXPECT_EQ(copied.users, 2);
  EXPECT_EQ(copied.plans, 2);
  EXPECT_EQ(copied.previews, 1);
  EXPECT_EQ(copied.errorReports, 1);
  EXPECT_THROW(CopyStore(source, target), std::runtime_error) << "never into a store in use";

  Accounts accounts(target, {1000, 3600});
  Plans plans(target);
  const auto marc = accounts.Authenticate("Marc", "abcd1234").user;
  ASSERT_TRUE(marc);
  const auto copy = plans.FindById(saved.id);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->key, saved.key);
  EXPECT_EQ(copy->title, saved.title);
  EXPECT_EQ(copy->stamp, saved.stamp);
  EXPECT_EQ(copy->revision, 2);
  EXPECT_EQ(plans.Content(saved.id), PlanText("Deux"));
  EXPECT_EQ(plans.Preview(saved.id)->png, MakePng(3, 2));
  // The copied stamp is the one a save must quote; new rows get new ids.
  EXPECT_EQ(plans.Update(*marc, saved.id, "Maison", 3, saved.stamp, PlanText("Trois")).outcome,
            SaveOutcome::kSaved);
  EXPECT_GT(plans.Create(*marc, "Nouveau", 0, PlanText()).plan->id, saved.id);
  EXPECT_EQ(accounts.Register("Julie", "julie@exemple.fr", "abcd1234").outcome,
            Registration::kCreated);
}

}  // namespace
}  // namespace casavo::service::testing
