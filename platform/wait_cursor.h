// Shows the busy cursor around long operations.
#pragma once

// Shows the busy cursor for its lifetime. Nested wait cursors restore in reverse order, so the
// outermost restores the cursor that was shown before any of them. Without a graphical
// application it does nothing.
class TWaitCursor {
 public:
  TWaitCursor();
  ~TWaitCursor();
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  bool shown_;
};
