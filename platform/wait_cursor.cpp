#include "platform/wait_cursor.h"

namespace {

SBusyCursor busyCursor;

}  // namespace

TWaitCursor::TWaitCursor() : shown_(busyCursor.show != nullptr) {
  if (shown_) busyCursor.show();
}

TWaitCursor::~TWaitCursor() {
  if (shown_ && busyCursor.restore != nullptr) busyCursor.restore();
}

void SetBusyCursor(SBusyCursor cursor) { busyCursor = cursor; }
