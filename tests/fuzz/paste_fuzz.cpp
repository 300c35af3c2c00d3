// Feeds arbitrary bytes through the paste path that group files and the clipboard share: the
// text is read into a sound's module list next to modules already there, the patch is
// re-validated, and the pasted selection is written out again. Any crash or sanitizer report is
// a fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "modules/catalogue.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "platform/message_box.h"

namespace {

// Warnings about dropped wires are answers, not faults; they need not be shown.
class TQuietPresenter : public TMessagePresenter {
 public:
  TMessageAnswer Present(QWidget*, const SMessage&) override { return TMessageAnswer::Ok; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The whole catalogue, as the program has it.
  static TQuietPresenter quiet;
  static const TApplicationScope scope([] {
    SApplicationContext context;
    context.moduleTypes = ModuleCatalogue();
    context.messages = &quiet;
    return context;
  }());
  TDokumentKlang document;
  std::istringstream first(std::string(reinterpret_cast<const char*>(data), size));
  document.ModuleList->Paste(first, nullptr);
  // Pasting the same text again meets every key already taken.
  std::istringstream second(std::string(reinterpret_cast<const char*>(data), size));
  document.ModuleList->Paste(second, nullptr);
  document.RevalidatePatch();
  std::ostringstream copy;
  document.ModuleList->CopyToStream(copy);
  return 0;
}
