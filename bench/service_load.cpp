// casavo-service-load [CLIENTS]: drives a casavo-service with concurrent
// editors (8 by default) and checks that every plan comes back as its editor
// last saved it. Prints the request count, the throughput and the latencies.
// Not a test: it is run by hand when the service changes.
#include <httplib.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <thread>
#include <vector>

#include "service/form.h"
#include "service/instance.h"

namespace {

using casavo::service::ServiceInstance;
using Clock = std::chrono::steady_clock;
using Fields = std::vector<std::pair<std::string, std::string>>;

constexpr int kIterations = 200;
constexpr int kPlansPerClient = 2;
constexpr int kSharedEvery = 20;   // iterations between edits of the shared plan
constexpr int kPreviewEvery = 10;  // iterations between preview uploads

// A plan of a few dozen walls, as an editor writes it, marked with its author.
std::string PlanText(const std::string& mark) {
  std::string walls;
  for (int i = 0; i < 40; ++i)
    walls += "      <mur id=\"" + std::to_string(i + 1) + "\" x1=\"" + std::to_string(i * 500) +
             "\" y1=\"0\" x2=\"" + std::to_string(i * 500 + 500) +
             "\" y2=\"3000\" epais=\"200\"/>\r\n";
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Casavo version=\"2.2\" "
         "decimal=\".\">\r\n  <affichage>\r\n    <x0>0</x0>\r\n    <y0>0</y0>\r\n"
         "    <zx>0.05</zx>\r\n    <zy>0.05</zy>\r\n  </affichage>\r\n  <plan>\r\n"
         "    <murs nbre=\"40\">\r\n" +
         walls +
         "    </murs>\r\n    <pieces nbre=\"1\">\r\n      <piece id=\"1\" hash=\"K\" nom=\"" +
         mark + " \xE9t\xE9 &amp; 100%\"/>\r\n    </pieces>\r\n  </plan>\r\n</Casavo>\r\n";
}

// A 1 x 1 grey PNG, as Base64.
constexpr const char* kPreviewBase64 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAAAAAA6fptVAAAACklEQVR4nGNoAAAAggCBd81ytgAAAABJRU5ErkJggg==";

struct Stats {
  std::vector<double> latenciesMs;
  int failures = 0;
  int staleRetries = 0;
  int mixedUp = 0;
};

// One editor: its own connection, account and plans.
class Editor {
 public:
  // `sharedTries`: how often a save of the shared plan may find it saved by
  // someone else first before this editor counts a failure.
  Editor(const std::string& host, int port, int index, int sharedTries)
      : client_(host, port), index_(index), sharedTries_(sharedTries) {
    client_.set_keep_alive(true);
    client_.set_tcp_nodelay(true);
    // Sign-ups queue for the few password workers: long waits are expected.
    client_.set_read_timeout(300, 0);
  }

  std::string Call(const Fields& fields) {
    const auto start = Clock::now();
    const auto response = client_.Post("/soft.php", casavo::service::FormBody(fields),
                                       "application/x-www-form-urlencoded");
    stats.latenciesMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (!response || response->status != 200) {
      ++stats.failures;
      std::cerr << "client " << index_ << ": " << fields[0].second << ": "
                << (response ? "HTTP " + std::to_string(response->status)
                             : httplib::to_string(response.error()))
                << "\n";
      return {};
    }
    return response->body;
  }

  // A reply that must be "200 ..."; anything else counts as a failure.
  std::string Expect200(const Fields& fields) {
    std::string reply = Call(fields);
    if (!reply.starts_with("200")) {
      if (!reply.empty()) ++stats.failures;
      std::cerr << "client " << index_ << ": " << fields[0].second << ": " << reply.substr(0, 120)
                << "\n";
      return {};
    }
    return reply.size() > 4 ? reply.substr(4) : std::string();
  }

  void SignUp() {
    const std::string login = "charge" + std::to_string(index_);
    session_ = Expect200({{"action", "enregistrement"},
                          {"login", login},
                          {"email", login + "@exemple.fr"},
                          {"pass", "mot de passe " + login},
                          {"version", "2.2"}});
  }

  // Saves; fills id and stamp from the reply. Returns the reply status.
  std::string Save(std::string& id, std::string& stamp, const std::string& text, int sharing) {
    const std::string reply = Call({{"action", "sauver"},
                                    {"userid", session_},
                                    {"titre", "Plan de charge " + std::to_string(index_)},
                                    {"planid", id},
                                    {"partage", std::to_string(sharing)},
                                    {"date_modification", stamp},
                                    {"fichier", text}});
    if (reply.starts_with("200 OK:")) {
      const std::string after = reply.substr(7);
      stamp = after.substr(0, after.find(';'));
      id = after.substr(after.find(';') + 1);
    }
    return reply.substr(0, 3);
  }

  std::string Load(const std::string& id) {
    return Expect200({{"action", "charger"}, {"userid", session_}, {"planid", id}});
  }

  std::string Key(const std::string& id) {
    const std::string page = client_
                                 .Get(("/soft.php?action=voir_plan&planid=" + id).c_str(),
                                      {{"Cookie", "casavo_session=" + session_}})
                                 ->body;
    const size_t at = page.find("casavo://open/") + 14;
    return page.substr(at, 32);
  }

  // Reads the shared plan's current stamp as the editor does, then saves over
  // it; another editor may have saved in between, then it tries again.
  void EditShared(const std::string& key, std::string& lastText, std::mutex& sharedMutex,
                  long& lastRevision) {
    for (int attempt = 0; attempt < sharedTries_; ++attempt) {
      const std::string record =
          Expect200({{"action", "lister"}, {"userid", session_}, {"plancle", key}});
      std::string id = record.substr(0, record.find('|'));
      std::string stamp = record.substr(record.rfind('|') + 1);
      if (Load(id).empty()) return;
      const std::string text = PlanText("partage par " + std::to_string(index_) + " essai " +
                                        std::to_string(attempt) + " " + stamp);
      const std::string status = Save(id, stamp, text, 2);
      if (status == "200") {
        const long revision = std::stol(stamp.substr(stamp.rfind('r') + 1));
        std::lock_guard lock(sharedMutex);
        if (revision > lastRevision) lastRevision = revision, lastText = text;
        return;
      }
      if (status != "409") {
        ++stats.failures;
        return;
      }
      ++stats.staleRetries;
    }
    std::cerr << "client " << index_ << ": the shared plan was still stale after " << sharedTries_
              << " tries\n";
    ++stats.failures;
  }

  void Run(const std::string& sharedKey, std::string& sharedText, std::mutex& sharedMutex,
           long& sharedRevision) {
    for (int i = 0; i < kIterations; ++i) {
      const int p = i % kPlansPerClient;
      const std::string text =
          PlanText("client " + std::to_string(index_) + " tour " + std::to_string(i));
      if (Save(ids_[p], stamps_[p], text, 0) != "200") ++stats.failures;
      lastTexts_[p] = text;
      if (Load(ids_[p]) != text) ++stats.mixedUp;
      if (i % kPreviewEvery == 0)
        Expect200({{"action", "sauver_png"},
                   {"userid", session_},
                   {"planid", ids_[p]},
                   {"data", kPreviewBase64},
                   {"large", "1"},
                   {"haut", "1"}});
      if (i % kSharedEvery == kSharedEvery / 2)
        EditShared(sharedKey, sharedText, sharedMutex, sharedRevision);
    }
  }

  // Every plan of this editor holds what it saved last.
  int CheckFinal() {
    int wrong = 0;
    for (int p = 0; p < kPlansPerClient; ++p)
      if (Load(ids_[p]) != lastTexts_[p]) ++wrong;
    return wrong;
  }

  const std::string& session() const { return session_; }
  Stats stats;

 private:
  httplib::Client client_;
  int index_;
  int sharedTries_;
  std::string session_;
  std::string ids_[kPlansPerClient];
  std::string stamps_[kPlansPerClient];
  std::string lastTexts_[kPlansPerClient];
};

double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  return sorted[std::min(sorted.size() - 1, static_cast<size_t>(fraction * sorted.size()))];
}

}  // namespace

int main(int argc, char** argv) {
  const int clients = argc > 1 ? std::atoi(argv[1]) : 8;
  if (clients < 1) {
    std::cerr << "usage: casavo-service-load [CLIENTS]\n";
    return 2;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "casavo-load-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    std::cerr << "casavo-service-load: cannot create a temporary folder\n";
    return 1;
  }
  int status = 1;
  {
    // Every editor comes from this one address: lift the per-address caps
    // that an open service keeps.
    casavo::service::ServerLimits limits;
    limits.connectionsPerAddress = 0;
    limits.passwordJobsPerAddress = clients;
    ServiceInstance service(folder, limits);
    const int port = service.Bind("127.0.0.1", 0);
    std::thread server([&] { service.Run({}); });
    while (!service.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    std::vector<std::unique_ptr<Editor>> editors;
    for (int i = 0; i < clients; ++i)
      // Every other editor may win the shared plan ten times before one gives up.
      editors.push_back(std::make_unique<Editor>("127.0.0.1", port, i, std::max(50, 10 * clients)));
    {
      // Accounts are slow to create on purpose (password hashing): not timed.
      std::vector<std::thread> signUps;
      for (auto& editor : editors) signUps.emplace_back([&] { editor->SignUp(); });
      for (auto& thread : signUps) thread.join();
    }
    std::string sharedId, sharedStamp;
    std::string sharedText = PlanText("partage initial");
    editors[0]->Save(sharedId, sharedStamp, sharedText, 2);
    const std::string sharedKey = editors[0]->Key(sharedId);
    long sharedRevision = 1;
    std::mutex sharedMutex;
    for (auto& editor : editors) editor->stats = {};

    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (auto& editor : editors)
      threads.emplace_back(
          [&] { editor->Run(sharedKey, sharedText, sharedMutex, sharedRevision); });
    for (auto& thread : threads) thread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    Stats total;
    for (auto& editor : editors) {
      total.latenciesMs.insert(total.latenciesMs.end(), editor->stats.latenciesMs.begin(),
                               editor->stats.latenciesMs.end());
      total.failures += editor->stats.failures;
      total.staleRetries += editor->stats.staleRetries;
      total.mixedUp += editor->stats.mixedUp;
    }
    int lost = 0;
    for (auto& editor : editors) lost += editor->CheckFinal();
    if (editors[0]->Load(sharedId) != sharedText) ++lost;
    // Closing the clients' kept-alive connections lets the server stop at once.
    editors.clear();
    service.Stop();
    server.join();

    std::sort(total.latenciesMs.begin(), total.latenciesMs.end());
    const size_t requests = total.latenciesMs.size();
    std::cout << "casavo-service load: " << clients << " clients x " << kIterations
              << " saves and loads, " << kPlansPerClient << " plans each, one shared level-2 plan\n"
              << "requests:       " << requests << "\n"
              << "total time:     " << seconds << " s\n"
              << "requests/s:     " << requests / seconds << "\n"
              << "latency ms:     median " << Percentile(total.latenciesMs, 0.5) << ", p95 "
              << Percentile(total.latenciesMs, 0.95) << ", max "
              << (requests ? total.latenciesMs.back() : 0) << "\n"
              << "failed:         " << total.failures << "\n"
              << "stale retries:  " << total.staleRetries
              << " (shared-plan saves refused because another client saved first)\n"
              << "wrong loads:    " << total.mixedUp << "\n"
              << "lost at end:    " << lost << "\n";
    status = total.failures == 0 && total.mixedUp == 0 && lost == 0 ? 0 : 1;
  }
  std::filesystem::remove_all(folder);
  return status;
}
