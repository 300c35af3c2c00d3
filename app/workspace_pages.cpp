#include "app/workspace_pages.h"

#include "app/file_browser_page.h"
#include "app/module_palette_page.h"
#include "app/sound_session.h"
#include "platform/paths.h"
#include "platform/settings_store.h"

namespace {

// The root's default value flags a start that should offer the examples: it is missing at the
// first start of a user, and an installer may set it again. It is cleared once they are added.
void SeedExamples(const SWorkspacePages& workspace) {
  if (SettingsReadString("", "", "first start").isEmpty()) return;
  SettingsWriteString("", "", "");
  const QString examples = ExamplesFolder();
  if (examples.isEmpty()) return;
  workspace.sounds->Browser().AddFolder(examples);
  workspace.groups->Browser().AddFolder(examples);
}

}  // namespace

SWorkspacePages BuildWorkspacePages(TSoundSession& session, QAction& saveGroup) {
  SWorkspacePages workspace;
  workspace.pages = new QTabWidget;
  workspace.sounds = new TFileBrowserPage(
      SoundBrowserKind(), [&session](const QString& path) { session.OpenFile(path); });
  workspace.groups = new TFileBrowserPage(GroupBrowserKind(), nullptr, &saveGroup);
  workspace.pages->addTab(workspace.sounds, " Sounds ");
  workspace.pages->addTab(new TModulePalettePage, " Modules ");
  workspace.pages->addTab(workspace.groups, " Groups ");
  workspace.pages->setCurrentIndex(1);
  SeedExamples(workspace);
  return workspace;
}
