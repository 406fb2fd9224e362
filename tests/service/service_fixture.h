// ServiceFixture and the helpers of the service tests.

#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "service/accounts.h"
#include "service/database.h"
#include "service/error_reports.h"
#include "service/form.h"
#include "service/plans.h"
#include "service/protocol.h"

namespace casavo::service::testing {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The store a test runs against. By default a SQLite file in a temporary
// folder. When CASAVO_TEST_POSTGRES names the state file of the test cluster
// (postgres_cluster.sh), a fresh PostgreSQL database of the test's own,
// dropped at the end; CASAVO_DATABASE then sends the services the test
// starts to it too.
class TestStore {
 public:
  TestStore();
  ~TestStore();
  TestStore(const TestStore&) = delete;
  TestStore& operator=(const TestStore&) = delete;
  // For Database and --database.
  const std::string& location() const { return location_; }
  bool postgres() const { return !database_.empty(); }
  const std::filesystem::path& folder() const { return dir_.path(); }
  // Another empty store of the same kind, for copies between stores.
  std::string Sibling(const std::string& name);

 private:
  TempDir dir_;
  std::string cluster_;  // the cluster's connection string
  std::string database_;
  std::vector<std::string> siblings_;
  std::string location_;
};

using Fields = std::vector<std::pair<std::string, std::string>>;

// Request fields as the editor sends them.
Fields AccountFields(const std::string& action, const std::string& login, const std::string& email,
                     const std::string& pass, const std::string& version = "2.2");
Fields SaveFields(const std::string& session, const std::string& planId, const std::string& stamp,
                  const std::string& title, int sharing, const std::string& text);
Fields PreviewFields(const std::string& session, const std::string& planId,
                     const std::string& base64, int width, int height);

// The signature and IHDR chunk of a PNG of the given size.
std::string MakePngHeader(int width, int height);
// A real, decodable PNG of the given size (grey pixels).
std::string MakePng(int width, int height);

// A small plan text as the editor writes it.
std::string PlanText(std::string_view roomName = "Salon");

// The service's stores and protocol over a TestStore,
// with a cheap password hash so that tests stay quick.
class ServiceFixture : public ::testing::Test {
 protected:
  explicit ServiceFixture(ProtocolSettings settings = {},
                          AccountSettings accounts = {1000, 30 * 24 * 3600});

  ProtocolReply Call(const Fields& fields);
  // Registers an account and returns its session id.
  std::string SignUp(const std::string& login);
  // Saves a new plan; returns its id and stamp.
  std::pair<std::string, std::string> SaveNew(const std::string& session, const std::string& title,
                                              int sharing, const std::string& text = PlanText());
  ProtocolReply Save(const std::string& session, const std::string& planId,
                     const std::string& stamp, const std::string& title, int sharing,
                     const std::string& text);
  // "OK:<stamp>;<id>" split the way the editor splits it.
  static std::pair<std::string, std::string> StampAndId(const ProtocolReply& reply);
  PlanSummary Plan(const std::string& planId);

  TestStore store_;
  Database database_;
  Accounts accounts_;
  Plans plans_;
  ErrorReports errors_;
  Protocol protocol_;
};

}  // namespace casavo::service::testing
