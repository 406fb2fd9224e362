// casavo-service-load [CLIENTS] [--database URL | --url URL [--ca FILE] [--kill PID]]:
// drives a casavo-service with concurrent editors (8 by default) and checks
// that every plan comes back as its editor last saved it and that no stale
// save is taken. Prints the request count, the throughput and the latencies.
// By default it runs a service in-process on a SQLite file in a temporary
// folder (--database: on that store instead); --url drives a running one,
// e.g. several behind nginx, --ca trusting that certificate for https.
// --kill sends SIGKILL to that process halfway: requests it had in hand may
// go unanswered, every one sent after must be served.
#include <httplib.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
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
  int staleAccepted = 0;  // a save quoting an old stamp that was taken
  int interrupted = 0;    // requests in the killed instance's hands
};

// The instance to kill halfway, shared by the editors.
struct Killer {
  pid_t pid = 0;
  int at = 0;  // after this many iterations in all
  std::atomic<int> done = 0;
  std::atomic<bool> killed = false;
  std::mutex mutex;
  Clock::time_point when;

  void Step() {
    if (pid <= 0 || ++done != at) return;
    std::lock_guard lock(mutex);
    when = Clock::now();
    kill(pid, SIGKILL);
    killed = true;
    std::cout << "killed process " << pid << " at unix time " << std::fixed << std::setprecision(3)
              << std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                     .count()
              << std::defaultfloat << std::endl;
  }
  // Whether a request started at `start` may go unanswered: only one the
  // killed instance may have had in hand.
  bool MayBeLost(Clock::time_point start) {
    if (!killed) return false;
    std::lock_guard lock(mutex);
    return start <= when;
  }
};

// One editor: its own connection, account and plans.
class Editor {
 public:
  // `sharedTries`: how often a save of the shared plan may find it saved by
  // someone else first before this editor counts a failure.
  Editor(const std::string& url, const std::string& ca, int index, int sharedTries, Killer& killer)
      : client_(url), index_(index), sharedTries_(sharedTries), killer_(killer) {
    client_.set_keep_alive(true);
    client_.set_tcp_nodelay(true);
    if (!ca.empty()) client_.set_ca_cert_path(ca.c_str());
    client_.enable_server_certificate_verification(true);
    // Sign-ups queue for the few password workers: long waits are expected.
    client_.set_read_timeout(300, 0);
  }

  // The reply; empty when none came. `lost_` tells whether that was the
  // killed instance's doing.
  std::string Call(const Fields& fields) {
    const auto start = Clock::now();
    const auto response = client_.Post("/soft.php", casavo::service::FormBody(fields),
                                       "application/x-www-form-urlencoded");
    stats.latenciesMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    lost_ = false;
    lastStart_ = start;
    if (!response || response->status != 200) {
      if (killer_.MayBeLost(start)) {
        lost_ = true;
        ++stats.interrupted;
        return {};
      }
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
    const auto page = client_.Get(("/soft.php?action=voir_plan&planid=" + id).c_str(),
                                  {{"Cookie", "casavo_session=" + session_}});
    const size_t at = page ? page->body.find("casavo://open/") : std::string::npos;
    return at == std::string::npos ? std::string() : page->body.substr(at + 14, 32);
  }

  // After a save that got no answer: what the store holds decides whether it
  // was taken. It must hold either that text or the last acknowledged one.
  void Resync(int p, const std::string& attempted) {
    const std::string key = Key(ids_[p]);
    const std::string record =
        Expect200({{"action", "lister"}, {"userid", session_}, {"plancle", key}});
    const std::string stored = Load(ids_[p]);
    if (key.empty() || record.empty()) {
      ++stats.failures;
      return;
    }
    stamps_[p] = record.substr(record.rfind('|') + 1);
    if (stored == attempted)
      lastTexts_[p] = attempted;
    else if (stored != lastTexts_[p])
      ++stats.mixedUp;
  }

  // Reads the shared plan's current stamp as the editor does, then saves over
  // it; another editor may have saved in between, then it tries again.
  void EditShared(const std::string& key, std::string& lastText, std::mutex& sharedMutex,
                  long& lastRevision, std::set<std::string>& takenStamps) {
    for (int attempt = 0; attempt < sharedTries_; ++attempt) {
      const std::string record =
          Expect200({{"action", "lister"}, {"userid", session_}, {"plancle", key}});
      if (record.empty() && lost_) continue;
      std::string id = record.substr(0, record.find('|'));
      std::string stamp = record.substr(record.rfind('|') + 1);
      const std::string base = stamp;
      if (Load(id).empty()) {
        if (lost_) continue;
        return;
      }
      const std::string text = PlanText("partage par " + std::to_string(index_) + " essai " +
                                        std::to_string(attempt) + " " + stamp);
      const std::string status = Save(id, stamp, text, 2);
      if (status == "200") {
        const long revision = std::stol(stamp.substr(stamp.rfind('r') + 1));
        std::lock_guard lock(sharedMutex);
        // Two saves taken from one stamp: one of them was stale.
        if (!takenStamps.insert(base).second) ++stats.staleAccepted;
        if (revision > lastRevision) lastRevision = revision, lastText = text;
        return;
      }
      if (lost_ || (status == "409" && killer_.MayBeLost(lastStart_))) {
        // Taken or not, the next lister tells; a taken one is the newest text.
        const std::string now =
            Expect200({{"action", "lister"}, {"userid", session_}, {"plancle", key}});
        if (!now.empty() && Load(id) == text) {
          const std::string newStamp = now.substr(now.rfind('|') + 1);
          const long revision = std::stol(newStamp.substr(newStamp.rfind('r') + 1));
          std::lock_guard lock(sharedMutex);
          if (!takenStamps.insert(base).second) ++stats.staleAccepted;
          if (revision > lastRevision) lastRevision = revision, lastText = text;
          return;
        }
        continue;
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
           long& sharedRevision, std::set<std::string>& takenStamps) {
    for (int i = 0; i < kIterations; ++i) {
      const int p = i % kPlansPerClient;
      const std::string text =
          PlanText("client " + std::to_string(index_) + " tour " + std::to_string(i));
      const std::string before = stamps_[p];
      const std::string status = Save(ids_[p], stamps_[p], text, 0);
      if (status == "200") {
        lastTexts_[p] = text;
        const std::string loaded = Load(ids_[p]);
        if (loaded != text && !lost_) ++stats.mixedUp;
      } else if ((lost_ || (status == "409" && killer_.MayBeLost(lastStart_))) &&
                 !ids_[p].empty()) {
        // Unanswered, or refused by the instance that took over after the
        // killed one had taken it: the store tells.
        Resync(p, text);
      } else if (!lost_) {
        ++stats.failures;
      }
      killer_.Step();
      // The stamp this save replaced is stale now, for every instance.
      if (i % kPreviewEvery == 1 && !before.empty() && before != stamps_[p]) {
        std::string id = ids_[p], stale = before;
        const std::string refused = Save(id, stale, PlanText("périmé"), 0);
        if (refused == "200") ++stats.staleAccepted;
        if (refused == "200" || (!lost_ && refused != "409")) ++stats.failures;
      }
      if (i % kPreviewEvery == 0)
        Expect200({{"action", "sauver_png"},
                   {"userid", session_},
                   {"planid", ids_[p]},
                   {"data", kPreviewBase64},
                   {"large", "1"},
                   {"haut", "1"}});
      if (i % kSharedEvery == kSharedEvery / 2)
        EditShared(sharedKey, sharedText, sharedMutex, sharedRevision, takenStamps);
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
  Killer& killer_;
  bool lost_ = false;
  Clock::time_point lastStart_;
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
  int clients = 8;
  std::string url, ca, database;
  Killer killer;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--url" && hasValue)
      url = argv[++i];
    else if (arg == "--ca" && hasValue)
      ca = argv[++i];
    else if (arg == "--database" && hasValue)
      database = argv[++i];
    else if (arg == "--kill" && hasValue)
      killer.pid = std::atoi(argv[++i]);
    else
      clients = std::atoi(arg.c_str());
  }
  if (clients < 1 || (!url.empty() && !database.empty())) {
    std::cerr << "usage: casavo-service-load [CLIENTS] [--database URL | --url URL [--ca FILE] "
                 "[--kill PID]]\n";
    return 2;
  }
  killer.at = clients * kIterations / 2;
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
    std::unique_ptr<ServiceInstance> service;
    std::thread server;
    if (url.empty()) {
      service = std::make_unique<ServiceInstance>(folder, limits, database);
      url = "http://127.0.0.1:" + std::to_string(service->Bind("127.0.0.1", 0));
      server = std::thread([&] { service->Run({}); });
      while (!service->IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::vector<std::unique_ptr<Editor>> editors;
    for (int i = 0; i < clients; ++i)
      // Every other editor may win the shared plan ten times before one gives up.
      editors.push_back(std::make_unique<Editor>(url, ca, i, std::max(50, 10 * clients), killer));
    if (service) {
      // Accounts are slow to create on purpose (password hashing): not timed.
      std::vector<std::thread> signUps;
      for (auto& editor : editors) signUps.emplace_back([&] { editor->SignUp(); });
      for (auto& thread : signUps) thread.join();
    } else {
      // A running service holds back an address's password jobs beyond a few.
      for (auto& editor : editors) editor->SignUp();
    }
    std::string sharedId, sharedStamp;
    std::string sharedText = PlanText("partage initial");
    editors[0]->Save(sharedId, sharedStamp, sharedText, 2);
    const std::string sharedKey = editors[0]->Key(sharedId);
    long sharedRevision = 1;
    std::mutex sharedMutex;
    std::set<std::string> takenStamps;
    for (auto& editor : editors) editor->stats = {};

    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (auto& editor : editors)
      threads.emplace_back(
          [&] { editor->Run(sharedKey, sharedText, sharedMutex, sharedRevision, takenStamps); });
    for (auto& thread : threads) thread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    Stats total;
    for (auto& editor : editors) {
      total.latenciesMs.insert(total.latenciesMs.end(), editor->stats.latenciesMs.begin(),
                               editor->stats.latenciesMs.end());
      total.failures += editor->stats.failures;
      total.staleRetries += editor->stats.staleRetries;
      total.mixedUp += editor->stats.mixedUp;
      total.staleAccepted += editor->stats.staleAccepted;
      total.interrupted += editor->stats.interrupted;
    }
    int lost = 0;
    for (auto& editor : editors) lost += editor->CheckFinal();
    if (editors[0]->Load(sharedId) != sharedText) ++lost;
    // Closing the clients' kept-alive connections lets the server stop at once.
    editors.clear();
    if (service) {
      service->Stop();
      server.join();
    }

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
              << "stale accepted: " << total.staleAccepted << "\n"
              << "lost at end:    " << lost << "\n"
              << "unanswered:     " << total.interrupted << " (in the killed instance's hands)\n";
    status =
        total.failures == 0 && total.mixedUp == 0 && lost == 0 && total.staleAccepted == 0 ? 0 : 1;
  }
  std::filesystem::remove_all(folder);
  return status;
}
