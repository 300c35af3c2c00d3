// The message box that shows a message in the graphical program.
#pragma once

#include "platform/message_box.h"

// The presenter that shows a modal message box.
TMessagePresenter& DialogMessagePresenter();
