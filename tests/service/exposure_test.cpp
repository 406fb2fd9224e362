// The real service under the abuse an open port draws: slow and flooding
// clients, guessers, a second instance. All traffic stays on loopback.
#include <httplib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "loopback_client.h"
#include "service/server.h"
#include "service_fixture.h"
#include "service_process.h"

namespace casavo::service::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kForm = "application/x-www-form-urlencoded";
constexpr const char* kAttacker = "127.0.0.2";
constexpr long kMemoryBound = 200L * 1024 * 1024;

class ExposedService : public ::testing::Test {
 protected:
  ExposedService()
      : service_({"--port", "0", "--data", store_.folder().string()}),
        client_(service_.host(), service_.port()) {
    client_.set_read_timeout(30, 0);
    client_.set_tcp_nodelay(true);
  }

  std::string Post(const Fields& fields) {
    const auto response = client_.Post("/soft.php", FormBody(fields), kForm);
    return response ? response->body : "no answer";
  }

  // What the store takes on disk.
  uintmax_t StoreBytes() {
    if (store_.postgres()) {
      Database database(store_.location());
      auto size = database.Acquire()->Prepare("SELECT pg_database_size(current_database())");
      return size.Step() ? static_cast<uintmax_t>(size.Int(0)) : 0;
    }
    uintmax_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(store_.folder()))
      if (entry.is_regular_file()) total += entry.file_size();
    return total;
  }

  TestStore store_;
  ServiceProcess service_;
  httplib::Client client_;
};

TEST_F(ExposedService, TricklingConnectionsNeitherBlockOthersNorLast) {
  std::vector<std::unique_ptr<LoopbackConnection>> slow;
  for (int i = 0; i < 200; ++i) {
    slow.push_back(std::make_unique<LoopbackConnection>(kAttacker, service_.port()));
    slow.back()->Send("POST /soft.php HTTP/1.1\r\n");
  }
  const auto start = Clock::now();
  std::thread trickle([&] {
    // One byte of a header every half second, for 14 s at most.
    for (int round = 0; round < 28; ++round) {
      for (auto& connection : slow) connection->Send("X");
      std::this_thread::sleep_for(milliseconds(500));
    }
  });
  for (int i = 0; i < 20; ++i) {
    const auto before = Clock::now();
    EXPECT_EQ(Post({{"action", "test_connexion"}}), "200 Connexion au service Casavo r\xE9ussie.");
    EXPECT_LT(Clock::now() - before, milliseconds(1000)) << "request " << i;
    std::this_thread::sleep_for(milliseconds(200));
  }
  // The header time is 10 s: by 13 s every trickler has been cut off.
  std::this_thread::sleep_until(start + milliseconds(13000));
  const auto open = std::count_if(slow.begin(), slow.end(),
                                  [](auto& connection) { return !connection->ClosedByPeer(); });
  trickle.join();
  EXPECT_EQ(open, 0);
}

TEST_F(ExposedService, FloodsAreRefusedBeforeTheyAreStored) {
  const std::string mebibyte(1024 * 1024, 'x');
  // 300 MiB of chunks: refused at the 32 MiB bound, whatever the framing.
  LoopbackConnection chunked(kAttacker, service_.port());
  const std::string refusedBody = chunked.SendUntilAnswered(
      "POST /fr/mesplans HTTP/1.1\r\nHost: a\r\nTransfer-Encoding: chunked\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\n\r\n",
      "100000\r\n" + mebibyte + "\r\n", 300);
  EXPECT_TRUE(refusedBody.starts_with("HTTP/1.1 413")) << refusedBody.substr(0, 80);
  EXPECT_TRUE(chunked.ClosedByPeer());

  LoopbackConnection soft(kAttacker, service_.port());
  const std::string refusedProtocol = soft.SendUntilAnswered(
      "POST /soft.php HTTP/1.1\r\nHost: a\r\nTransfer-Encoding: chunked\r\n\r\n",
      "100000\r\n" + mebibyte + "\r\n", 300);
  EXPECT_TRUE(refusedProtocol.starts_with("HTTP/1.1 413")) << refusedProtocol.substr(0, 80);

  // 10 000 headers of 8 KB.
  LoopbackConnection headers(kAttacker, service_.port());
  const std::string refusedHeaders = headers.SendUntilAnswered(
      "GET / HTTP/1.1\r\nHost: a\r\n", "X-Remplissage: " + std::string(8000, 'y') + "\r\n", 10000);
  EXPECT_TRUE(refusedHeaders.starts_with("HTTP/1.1 431") ||
              refusedHeaders.starts_with("HTTP/1.1 413"))
      << refusedHeaders.substr(0, 80);
  EXPECT_TRUE(headers.ClosedByPeer());

  // A declared length over the bound is refused before any byte of it.
  LoopbackConnection declared(kAttacker, service_.port());
  EXPECT_TRUE(declared
                  .SendUntilAnswered("POST /soft.php HTTP/1.1\r\nHost: a\r\nContent-Length: " +
                                         std::to_string(kMaxBodyBytes + 1) + "\r\n\r\n",
                                     "", 0)
                  .starts_with("HTTP/1.1 413"));

  EXPECT_LT(PeakResidentBytes(service_.pid()), kMemoryBound);
  EXPECT_EQ(Post({{"action", "test_connexion"}}), "200 Connexion au service Casavo r\xE9ussie.");
}

TEST_F(ExposedService, ErrorReportsAreBoundedAndKeepNoSession) {
  const std::string session =
      Post(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc")).substr(4);
  ASSERT_EQ(session.size(), 32u);
  EXPECT_EQ(Post({{"action", "erreur"},
                  {"msg", "Erreur 1 de chargement du plan 7 par " + session},
                  {"userid", session}}),
            "200 OK");
  const std::string report = "Erreur 2 de chargement du plan 7 par x " + std::string(60000, 'r');
  int stored = 0;
  int refused = 0;
  client_.set_keep_alive(true);
  for (int i = 0; i < 2000; ++i) {
    const std::string reply = Post({{"action", "erreur"}, {"msg", report}});
    stored += reply == "200 OK";
    refused += reply.starts_with("429 ");
  }
  EXPECT_EQ(stored, 99);  // the hour's 100, the first report included
  EXPECT_EQ(refused, 2000 - 99);
  EXPECT_LT(StoreBytes(), 60u * 1024 * 1024);
  // Another address still reports.
  EXPECT_NE(PostFrom(kAttacker, service_.port(), "action=erreur&msg=autre").find("200 OK"),
            std::string::npos);

  Database database(store_.location());
  auto db = database.Acquire();
  auto reports = db->Prepare("SELECT message FROM error_reports");
  int count = 0;
  while (reports.Step()) {
    EXPECT_EQ(reports.Text(0).find(session), std::string::npos);
    ++count;
  }
  EXPECT_EQ(count, 101);
}

TEST_F(ExposedService, GuessersAreHeldBackWhileTheOwnerSignsIn) {
  ASSERT_TRUE(Post(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc"))
                  .starts_with("200 "));
  int wrong = 0;
  int held = 0;
  for (int i = 0; i < 30; ++i) {
    const std::string reply = PostFrom(kAttacker, service_.port(),
                                       FormBody(AccountFields("connect", "Marc", "marc@exemple.fr",
                                                              "essai-" + std::to_string(i))));
    wrong += reply.find("\r\n\r\n401 ") != std::string::npos;
    held += reply.find("\r\n\r\n429 ") != std::string::npos;
  }
  EXPECT_EQ(wrong, 10);
  EXPECT_EQ(held, 20);
  EXPECT_TRUE(
      Post(AccountFields("connect", "Marc", "marc@exemple.fr", "secret-Marc")).starts_with("200 "));
  // The right password from the guessing address waits too.
  EXPECT_NE(PostFrom(kAttacker, service_.port(),
                     FormBody(AccountFields("connect", "Marc", "marc@exemple.fr", "secret-Marc")))
                .find("\r\n\r\n429 "),
            std::string::npos);
}

TEST_F(ExposedService, RegistrationTellsNotWhoseTheEmailIs) {
  ASSERT_TRUE(Post(AccountFields("enregistrement", "Marc", "marc@exemple.fr", "secret-Marc"))
                  .starts_with("200 "));
  // What each answer costs the service, on the processor: unlike the time on
  // the clock, other work sharing the machine does not blur it. The least of
  // a few runs, taken in turns, each from an address of its own so that none
  // is held back as a guesser.
  std::string rightEmail, wrongEmail;
  auto rightTime = std::chrono::nanoseconds::max();
  auto wrongTime = std::chrono::nanoseconds::max();
  int address = 10;
  const auto timed = [&](const std::string& email, std::string& reply,
                         std::chrono::nanoseconds& least) {
    const std::string from = "127.0.0." + std::to_string(address++);
    const auto before = ProcessorTime(service_.pid());
    reply = PostFrom(from, service_.port(),
                     FormBody(AccountFields("enregistrement", "Marc", email, "mauvais-mot")));
    least = std::min(least, ProcessorTime(service_.pid()) - before);
    reply = reply.substr(reply.find("\r\n\r\n") + 4);
  };
  for (int i = 0; i < 8; ++i) {
    timed("marc@exemple.fr", rightEmail, rightTime);
    timed("autre@exemple.fr", wrongEmail, wrongTime);
  }
  EXPECT_TRUE(rightEmail.starts_with("409 ")) << rightEmail;
  EXPECT_EQ(rightEmail, wrongEmail);
  // Both cost a password hash: neither answer is the quick one. An answer
  // that skipped the hash costs a few database reads, a hundredth of the
  // other or less; a host whose speed drifts has blurred even the least of
  // eight runs by 1,6 times, so the bound between the two is three times.
  const auto hash = std::min(rightTime, wrongTime);
  EXPECT_GT(hash, milliseconds(50));
  EXPECT_LT(std::max(rightTime, wrongTime), 3 * hash)
      << "least costs " << rightTime.count() << " and " << wrongTime.count() << " ns";
}

// A SQLite store is one service's; a PostgreSQL one is shared by design.
TEST(ServiceInstances, ASecondServiceOnThePortOrASqliteFolderIsRefused) {
  TestStore first;
  TempDir second;
  ServiceProcess running({"--port", "0", "--data", first.folder().string()});
  const RunResult samePort =
      RunService({"--port", std::to_string(running.port()), "--data", second.path().string()});
  EXPECT_EQ(samePort.status, 1);
  EXPECT_NE(samePort.err.find("in use"), std::string::npos) << samePort.err;
  if (first.postgres()) {
    ServiceProcess sibling({"--port", "0", "--data", first.folder().string()});
    httplib::Client other(sibling.host(), sibling.port());
    EXPECT_EQ(other.Post("/soft.php", "action=test_connexion", kForm)->status, 200);
  } else {
    const RunResult sameFolder = RunService({"--port", "0", "--data", first.folder().string()});
    EXPECT_EQ(sameFolder.status, 1);
    EXPECT_NE(sameFolder.err.find("already uses the data folder"), std::string::npos)
        << sameFolder.err;
  }
  httplib::Client client(running.host(), running.port());
  EXPECT_EQ(client.Post("/soft.php", "action=test_connexion", kForm)->status, 200);
}

// Behind nginx every client arrives from the proxy's address: only the proxy
// named by --behind-proxy may say who the client is, or a guesser would dodge
// its limits with a forged header.
TEST(ServiceInstances, OnlyTheNamedProxySaysWhoTheClientIs) {
  for (const bool trusted : {true, false}) {
    TestStore store;
    std::vector<std::string> args = {"--port", "0", "--data", store.folder().string()};
    if (trusted) args.insert(args.end(), {"--behind-proxy", kAttacker});
    ServiceProcess service(args);
    const auto connect = [&](const std::string& client, const std::string& pass) {
      return PostFrom(kAttacker, service.port(),
                      FormBody(AccountFields("connect", "Marc", "marc@exemple.fr", pass)),
                      "X-Real-IP: " + client + "\r\n");
    };
    ASSERT_NE(PostFrom("127.0.0.1", service.port(),
                       FormBody(AccountFields("enregistrement", "Marc", "marc@exemple.fr",
                                              "secret-Marc")))
                  .find("\r\n\r\n200 "),
              std::string::npos);
    for (int i = 0; i < 10; ++i) connect("10.0.0.1", "essai-" + std::to_string(i));
    EXPECT_NE(connect("10.0.0.1", "secret-Marc").find("\r\n\r\n429 "), std::string::npos)
        << trusted;
    EXPECT_EQ(connect("10.0.0.2", "secret-Marc").find("\r\n\r\n200 ") != std::string::npos,
              trusted);
  }
}

}  // namespace
}  // namespace casavo::service::testing
