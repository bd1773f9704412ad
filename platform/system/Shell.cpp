#include "platform/system/Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>
#include <vector>

extern char** environ;

namespace qv {

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  std::vector<char> buffer(4096);
  if (!getcwd(buffer.data(), buffer.size())) return "/" + path;
  std::string folder(buffer.data());
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + path;
}

// Runs the program found on PATH with the arguments, its standard streams
// on /dev/null, and reaps it in the background. False when it cannot start.
bool SpawnDetached(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
  pid_t pid = 0;
  const int failure = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) return false;
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace

std::string FileUri(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : AbsolutePath(path)) {
    if (IsUnreserved(c) || c == '/') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 0x0F];
    }
  }
  return uri;
}

bool ShowItemProperties(const std::string& path) {
  return SpawnDetached({"dbus-send", "--session", "--dest=org.freedesktop.FileManager1", "--type=method_call",
                        "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItemProperties",
                        "array:string:" + FileUri(path), "string:"});
}

}  // namespace qv
