// ServiceProcess: casavo-service started and stopped by a test.

#include "service_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace casavo::service::testing {
namespace {

struct Spawned {
  pid_t pid;
  int out;
  int err;
};

Spawned Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);

  std::vector<std::string> all = {CASAVO_SERVICE_EXE};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env(extraEnv);
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (rc != 0) throw std::runtime_error("cannot start casavo-service");
  return {pid, out[0], err[0]};
}

// Reads until `stop` is found or the deadline passes.
std::string ReadUntil(int fd, const std::string& stop, std::chrono::seconds timeout) {
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (text.find(stop) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, n);
  }
  return text;
}

int WaitFor(pid_t pid, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

}  // namespace

ServiceProcess::ServiceProcess(const std::vector<std::string>& args,
                               const std::vector<std::string>& extraEnv) {
  const Spawned spawned = Spawn(args, extraEnv);
  pid_ = spawned.pid;
  close(spawned.err);
  const std::string prefix = "casavo-service listening on http://";
  const std::string out = ReadUntil(spawned.out, "\n", std::chrono::seconds(20));
  close(spawned.out);
  const size_t at = out.find(prefix);
  const size_t colon = out.rfind(':');
  if (at == std::string::npos || colon == std::string::npos) {
    Stop(SIGKILL);
    throw std::runtime_error("casavo-service did not start: " + out);
  }
  host_ = out.substr(at + prefix.size(), colon - at - prefix.size());
  port_ = std::stoi(out.substr(colon + 1));
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) Stop(SIGTERM);
}

int ServiceProcess::Stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  const int status = WaitFor(pid_, std::chrono::seconds(10));
  pid_ = -1;
  return status;
}

RunResult RunService(const std::vector<std::string>& args) {
  const Spawned spawned = Spawn(args, {});
  RunResult result;
  result.out = ReadUntil(spawned.out, "\x04", std::chrono::seconds(5));
  result.err = ReadUntil(spawned.err, "\x04", std::chrono::seconds(5));
  close(spawned.out);
  close(spawned.err);
  result.status = WaitFor(spawned.pid, std::chrono::seconds(10));
  return result;
}

}  // namespace casavo::service::testing
