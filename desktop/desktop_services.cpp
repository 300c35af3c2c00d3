#include "desktop/desktop_services.h"

#include <QCursor>
#include <QGuiApplication>

#include "desktop/message_box_dialog.h"
#include "desktop/system_clipboard.h"
#include "platform/wait_cursor.h"

void InstallDesktopServices() {
  static TSystemClipboard clipboard;
  SetDefaultMessagePresenter(&DialogMessagePresenter());
  SetDefaultClipboardBackend(&clipboard);
  // Without a graphical application (yet, or any more) there is no cursor to change.
  SetBusyCursor({[] {
                   if (qGuiApp != nullptr) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
                 },
                 [] {
                   if (qGuiApp != nullptr) QGuiApplication::restoreOverrideCursor();
                 }});
}
