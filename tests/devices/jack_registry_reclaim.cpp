// Frees the entries of JACK servers that died without unregistering (killed, crashed) from JACK's
// shared registry, which has room for eight servers and frees an entry only when a server of the
// same name starts again: left alone, such entries make every further server fail with "Too many
// servers already active". The entries are cleared under JACK's own registry semaphore, by the rule
// JACK applies to an entry of its own name: the process that registered it no longer exists. The
// sockets and semaphores such a server left in /dev/shm go with its entry. Servers that run are
// never touched. A registry of another layout than jackd2's is left alone.
//   jack_registry_reclaim      (prints one line per entry it freed)
#include <fcntl.h>
#include <glob.h>
#include <sys/mman.h>
#include <sys/sem.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// jackd2's registry: a header of six 32-bit fields (magic, protocol and type, size, header
// length, entry length), then eight server entries of a process id and a 257-byte name.
constexpr char kRegistryName[] = "/jack-shm-registry";
constexpr key_t kRegistrySemaphore = 0x282929;
constexpr std::uint32_t kMagic = 0x4a41434b;  // "JACK"
constexpr std::size_t kServersAt = 24;
constexpr std::size_t kServerEntry = 264;
constexpr std::size_t kServers = 8;
constexpr std::size_t kNameAt = 4;
constexpr std::size_t kNameBytes = 257;

std::uint32_t Field(const unsigned char* at) {
  std::uint32_t value = 0;
  std::memcpy(&value, at, sizeof value);
  return value;
}

bool Gone(pid_t pid) { return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH; }

// Removes the files matching `pattern`.
void RemoveFiles(const std::string& pattern) {
  glob_t found{};
  if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
    for (std::size_t i = 0; i < found.gl_pathc; ++i)
      unlink(found.gl_pathv[i]);
  }
  globfree(&found);
}

// An entry is named "jack-<user id>:<server>:"; the server's request sockets are
// "jack_<server>_<user id>_*" and its semaphores "jack_sem.<user id>_<server>_*".
void RemoveServerFiles(const std::string& entry) {
  const std::size_t colon = entry.find(':');
  const std::size_t end = entry.rfind(':');
  if (!entry.starts_with("jack-") || colon == std::string::npos || end <= colon + 1) return;
  const std::string user = entry.substr(5, colon - 5);
  const std::string server = entry.substr(colon + 1, end - colon - 1);
  if (server.find_first_of("/*?[") != std::string::npos) return;
  RemoveFiles("/dev/shm/jack_" + server + "_" + user + "_*");
  RemoveFiles("/dev/shm/jack_sem." + user + "_" + server + "_*");
}

// Holds JACK's registry semaphore; SEM_UNDO gives it back should this process die.
class TRegistryLock {
 public:
  TRegistryLock() : id_(semget(kRegistrySemaphore, 1, 0)) {
    sembuf take{0, -1, SEM_UNDO};
    locked_ = id_ >= 0 && semop(id_, &take, 1) == 0;
  }
  ~TRegistryLock() {
    sembuf give{0, 1, SEM_UNDO};
    if (locked_) semop(id_, &give, 1);
  }
  TRegistryLock(const TRegistryLock&) = delete;
  TRegistryLock& operator=(const TRegistryLock&) = delete;
  bool Locked() const { return locked_; }

 private:
  int id_;
  bool locked_ = false;
};

void Reclaim(unsigned char* registry, std::size_t size) {
  if (size < kServersAt + kServers * kServerEntry || Field(registry) != kMagic ||
      Field(registry + 16) != kServersAt + kServers * kServerEntry) {
    std::printf("jack_registry_reclaim: the registry's layout is unknown; left alone\n");
    return;
  }
  for (std::size_t server = 0; server < kServers; ++server) {
    unsigned char* entry = registry + kServersAt + server * kServerEntry;
    const auto pid = static_cast<pid_t>(Field(entry));
    if (!Gone(pid)) continue;
    char name[kNameBytes + 1] = {};
    std::memcpy(name, entry + kNameAt, kNameBytes);
    // The name first: a server registering meanwhile takes only an entry whose process id is 0.
    std::memset(entry + kNameAt, 0, kNameBytes);
    std::memset(entry, 0, sizeof(std::uint32_t));
    RemoveServerFiles(name);
    std::printf("jack_registry_reclaim: freed the entry of %s (process %d is gone)\n", name,
                static_cast<int>(pid));
  }
}

}  // namespace

int main() {
  const int file = shm_open(kRegistryName, O_RDWR, 0);
  if (file < 0) return 0;  // no registry: no server ever ran
  struct stat status {};
  if (fstat(file, &status) != 0 || status.st_size <= 0) {
    close(file);
    return 0;
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
  close(file);
  if (mapped == MAP_FAILED) return 0;
  {
    const TRegistryLock lock;
    if (lock.Locked()) Reclaim(static_cast<unsigned char*>(mapped), size);
  }
  munmap(mapped, size);
  return 0;
}
