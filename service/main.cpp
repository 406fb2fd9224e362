// casavo-service: the plan service of the Casavo editor.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

#include "service/instance.h"
#include "service/options.h"

namespace {

using namespace casavo::service;

std::string UrlHost(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

// The address a browser on this machine reaches: a wildcard bind is reached
// through loopback.
std::string OwnDownloadUrl(const std::string& bind, int port) {
  const bool wildcard = bind == "0.0.0.0" || bind == "::";
  return "http://" + UrlHost(wildcard ? "127.0.0.1" : bind) + ":" + std::to_string(port) +
         "/fr/telecharger";
}

// Each connection takes a descriptor: allow as many as the system lets us.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

int Serve(const Options& options, const std::string& dataDir, const std::string& database,
          const sigset_t& stopSignals) {
  ServerLimits limits;
  limits.trustedProxy = options.trustedProxy;
  ServiceInstance service(dataDir, limits, database);
  const int port = service.Bind(options.bind, options.port);
  if (port < 0) {
    std::cerr << "casavo-service: cannot listen on " << options.bind << " port " << options.port
              << ": " << service.BindError() << "\n";
    return 1;
  }
  const ProtocolSettings settings{options.minVersion, options.downloadUrl.empty()
                                                          ? OwnDownloadUrl(options.bind, port)
                                                          : options.downloadUrl};
  std::cout << "casavo-service listening on http://" << UrlHost(options.bind) << ":" << port
            << std::endl;

  std::atomic<bool> stopping = false;
  std::atomic<bool> finished = false;
  bool served = true;
  std::thread server([&] {
    served = service.Run(settings);
    finished = true;
    // Wake the waiting main thread when the server ends on its own.
    if (!stopping) kill(getpid(), SIGTERM);
  });
  int received = 0;
  sigwait(&stopSignals, &received);
  stopping = true;
  // A stop asked before the server loop started would be lost.
  while (!finished && !service.IsRunning())
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  service.Stop();
  server.join();
  return served ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::cerr << "casavo-service: " << parsed.error << "\n" << Usage();
    return 2;
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::cout << Usage();
    return 0;
  }

  // The database holds password hashes: keep it to its owner.
  umask(077);
  // From the environment, a password in the address stays out of `ps`.
  const char* fromEnvironment = std::getenv("CASAVO_DATABASE");
  const std::string database = !options.database.empty() ? options.database
                               : fromEnvironment         ? fromEnvironment
                                                         : "";
  if (!options.migrateFrom.empty()) {
    if (database.empty()) {
      std::cerr << "casavo-service: --migrate-from needs --database\n";
      return 2;
    }
    const std::string oldFile = options.migrateFrom.starts_with("sqlite:")
                                    ? options.migrateFrom.substr(7)
                                    : options.migrateFrom;
    if (!IsPostgresLocation(options.migrateFrom) && !std::filesystem::exists(oldFile)) {
      std::cerr << "casavo-service: no store at " << oldFile << "\n";
      return 1;
    }
    try {
      Database from(options.migrateFrom);
      Database to(database);
      const CopyCounts copied = CopyStore(from, to);
      std::cout << "casavo-service: copied " << copied.users << " accounts, " << copied.plans
                << " plans, " << copied.previews << " previews, " << copied.errorReports
                << " error reports\n";
      return 0;
    } catch (const std::exception& e) {
      std::cerr << "casavo-service: " << e.what() << "\n";
      return 1;
    }
  }
  const std::string dataDir = options.dataDir.empty() ? DefaultDataDir() : options.dataDir;
  std::error_code error;
  // Only the default store lives in the data folder.
  if (database.empty()) std::filesystem::create_directories(dataDir, error);
  if (error) {
    std::cerr << "casavo-service: cannot create " << dataDir << ": " << error.message() << "\n";
    return 1;
  }

  // Block the stop signals in every thread; the main thread takes them with
  // sigwait and stops the server in an orderly way.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  RaiseDescriptorLimit();

  try {
    return Serve(options, dataDir, database, stopSignals);
  } catch (const std::exception& e) {
    std::cerr << "casavo-service: " << e.what() << "\n";
    return 1;
  }
}
