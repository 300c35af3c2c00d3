// A main window over copies of the bundled examples (example_fixture.h).
#pragma once

#include <QCoreApplication>

#include "app/main_frame.h"
#include "example_fixture.h"
#include "patch/dokument_klang.h"
#include "patch/modul.h"

class MainFrameTest : public ExampleTest {
 protected:
  // The window has read the stored options; the test's own apply again.
  MainFrameTest() { UseTestOptions(); }

  TDokumentKlang& Document() { return *frame.Session().Document(); }
  // Runs what the program left for after the current event: windows that follow the sound's
  // changes, and deletions.
  static void FinishEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The first module of the sound's structure, in key order.
  TModul& FirstModule() {
    return *std::dynamic_pointer_cast<TModul>(Document().ModuleList->Children().begin()->second);
  }

  TMainFrame frame;
};
