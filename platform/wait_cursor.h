// Shows the busy cursor around long operations.
#pragma once

// Shows the busy cursor for its lifetime. Nested wait cursors restore in reverse order, so the
// outermost restores the cursor that was shown before any of them. Until the program installs
// the way to show it (the desktop services do), it does nothing.
class TWaitCursor {
 public:
  TWaitCursor();
  ~TWaitCursor();
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  bool shown_;
};

// How the busy cursor is shown and the previous one restored; both null shows nothing.
struct SBusyCursor {
  void (*show)() = nullptr;
  void (*restore)() = nullptr;
};
void SetBusyCursor(SBusyCursor cursor);
