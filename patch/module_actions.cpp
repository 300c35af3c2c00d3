#include "patch/module_actions.h"

#include "patch/modul.h"
#include "patch/patch_host.h"

namespace {

TModul* ModuleOf(const TPatchHost* list, const std::string& key) { return list->ModuleAt(key); }

}  // namespace

TActionStreamModul::TActionStreamModul(TPatchHost* list, std::string key, std::string typeName)
    : list_(list), key_(std::move(key)), typeName_(std::move(typeName)) {
  if (typeName_.empty()) {
    if (const TModul* module = ModuleOf(list_, key_)) typeName_ = module->typeName;
  }
}

bool TActionStreamModul::SaveModule() {
  const TModul* module = ModuleOf(list_, key_);
  if (module == nullptr) return false;
  std::ostringstream text;
  module->Write(text);
  text_ = text.str();
  return true;
}

bool TActionStreamModul::RestoreModule() {
  TRPointer<TModul> module = list_->NewModule(typeName_);
  if (!module) return false;
  std::istringstream text(text_ + "END\n");
  module->Read(text);
  list_->InsertModule(key_, std::move(module));
  return true;
}

bool TActionStreamModul::RemoveModule() { return list_->TakeOutModule(key_); }

TActionCreateModul::TActionCreateModul(TPatchHost* list, std::string typeName, std::string key,
                                       int x, int y)
    : list_(list), typeName_(std::move(typeName)), key_(std::move(key)), x_(x), y_(y) {}

bool TActionCreateModul::Execute() {
  if (!key_.empty() && list_->ModuleAt(key_) != nullptr) return false;
  TRPointer<TModul> module = list_->NewModule(typeName_);
  if (!module) return true;
  module->Marked->value = 1;
  module->Rect->MoveTo(x_, y_);
  if (key_.empty()) key_ = list_->FreeModuleKey(typeName_);
  list_->InsertModule(key_, std::move(module));
  return true;
}

TRPointerAction TActionCreateModul::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionDeleteModul::TActionDeleteModul(TPatchHost* list, std::string key, std::string typeName)
    : TActionStreamModul(list, std::move(key), std::move(typeName)) {}

bool TActionDeleteModul::Execute() { return SaveModule() && RemoveModule(); }

TRPointerAction TActionDeleteModul::CreateInverse() const {
  return std::make_shared<TActionCreateModulFromStream>(list_, key_, typeName_, text_);
}

TActionCreateModulFromStream::TActionCreateModulFromStream(TPatchHost* list, std::string key,
                                                           std::string typeName, std::string text)
    : TActionStreamModul(list, std::move(key), std::move(typeName)) {
  text_ = std::move(text);
}

TRPointerAction TActionCreateModulFromStream::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionCreateExistModul::TActionCreateExistModul(TPatchHost* list, std::string key)
    : TActionStreamModul(list, std::move(key), {}) {
  SaveModule();
}

TRPointerAction TActionCreateExistModul::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionMoveModul::TActionMoveModul(TPatchHost* list, std::string key, int oldX, int oldY, int newX,
                                   int newY)
    : list_(list), key_(std::move(key)), oldX_(oldX), oldY_(oldY), newX_(newX), newY_(newY) {}

bool TActionMoveModul::Execute() {
  TModul* module = ModuleOf(list_, key_);
  if (module == nullptr) return false;
  module->Rect->MoveTo(newX_ - list_->HorizontalScroll(), newY_ - list_->VerticalScroll());
  module->PropertyChanged(module->Rect.get());
  return true;
}

TRPointerAction TActionMoveModul::CreateInverse() const {
  return std::make_shared<TActionMoveModul>(list_, key_, newX_, newY_, oldX_, oldY_);
}
