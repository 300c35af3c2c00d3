#include "x_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>
#include <vector>

extern char** environ;

// The one function of the X test extension that is needed; its library comes without headers.
extern "C" int XTestFakeKeyEvent(Display* display, unsigned int keycode, int isPress,
                                 unsigned long delay);

namespace {

using namespace std::chrono_literals;

constexpr auto kServerStartLimit = 10s;
// Time for the program to take the keyboard focus before the keys arrive.
constexpr auto kFocusSettle = 300ms;

// The display number the server writes to `fd` once it accepts clients; empty when it does not.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  pollfd ready{fd, POLLIN, 0};
  const int limit = static_cast<int>(std::chrono::milliseconds(kServerStartLimit).count());
  char c = 0;
  while (poll(&ready, 1, limit) == 1 && read(fd, &c, 1) == 1 && c != '\n')
    number += c;
  return number;
}

}  // namespace

TXDisplay::TXDisplay() {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  std::vector<std::string> words{"Xvfb",      "-displayfd", std::to_string(pipeEnds[1]),
                                 "-screen",   "0",          "1280x1024x24",
                                 "-nolisten", "tcp"};
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  if (posix_spawnp(&server_, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) server_ = -1;
  close(pipeEnds[1]);
  const std::string number = server_ > 0 ? ReadDisplayNumber(pipeEnds[0]) : std::string();
  close(pipeEnds[0]);
  if (number.empty()) return;
  name_ = ':' + number;
  display_ = XOpenDisplay(name_.c_str());
}

TXDisplay::~TXDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (server_ <= 0) return;
  kill(server_, SIGTERM);
  waitpid(server_, nullptr, 0);
}

std::string TXDisplay::Title(unsigned long window) const {
  const Atom name = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display_, window, name, 0, 1024, False, utf8, &type, &format, &count,
                         &left, &data) == Success &&
      data != nullptr) {
    title.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return title;
}

unsigned long TXDisplay::WaitForWindow(const std::string& title, std::chrono::milliseconds limit) {
  if (display_ == nullptr) return 0;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  do {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
          attributes.map_state == IsViewable &&
          Title(children[i]).find(title) != std::string::npos) {
        found = children[i];
      }
    }
    if (children != nullptr) XFree(children);
    if (found != 0) return found;
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < deadline);
  return 0;
}

void TXDisplay::Type(unsigned long window, unsigned long keysym, bool control) {
  if (display_ == nullptr) return;
  XRaiseWindow(display_, window);
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
  XSync(display_, False);
  std::this_thread::sleep_for(kFocusSettle);
  const unsigned int controlKey = XKeysymToKeycode(display_, XK_Control_L);
  const unsigned int key = XKeysymToKeycode(display_, keysym);
  if (control) XTestFakeKeyEvent(display_, controlKey, True, CurrentTime);
  XTestFakeKeyEvent(display_, key, True, CurrentTime);
  XTestFakeKeyEvent(display_, key, False, CurrentTime);
  if (control) XTestFakeKeyEvent(display_, controlKey, False, CurrentTime);
  XSync(display_, False);
}
