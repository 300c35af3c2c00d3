#include "patch/module_actions.h"

#include "patch/module_list.h"

namespace {

TModul* ModuleOf(const TModuleListe* list, const std::string& key) {
  return dynamic_cast<TModul*>(list->Get(key).get());
}

}  // namespace

TActionStreamModul::TActionStreamModul(TModuleListe* list, std::string key, std::string typeName)
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
  bool queryOnly = false;
  auto module = std::dynamic_pointer_cast<TModul>(list_->CreateModule(typeName_, queryOnly));
  if (!module) return false;
  std::istringstream text(text_ + "END\n");
  module->Read(text);
  list_->Add(key_, module);
  module->parent = list_;
  list_->ShowModule(*module);
  return true;
}

bool TActionStreamModul::RemoveModule() {
  TModul* module = ModuleOf(list_, key_);
  if (module == nullptr) return false;
  module->CreatePanel(nullptr, kPanelEditable);
  list_->Remove(key_);
  return true;
}

TActionCreateModul::TActionCreateModul(TModuleListe* list, std::string typeName, std::string key,
                                       int x, int y)
    : list_(list), typeName_(std::move(typeName)), key_(std::move(key)), x_(x), y_(y) {}

bool TActionCreateModul::Execute() {
  if (!key_.empty() && list_->Has(key_)) return false;
  bool queryOnly = false;
  auto module = std::dynamic_pointer_cast<TModul>(list_->childFactory.Call(typeName_, queryOnly));
  if (!module) return true;
  module->Marked->value = 1;
  module->Rect->MoveTo(x_, y_);
  if (key_.empty()) key_ = list_->UniqueKey(typeName_);
  list_->Add(key_, module);
  module->parent = list_;
  list_->ShowModule(*module);
  return true;
}

TRPointerAction TActionCreateModul::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionDeleteModul::TActionDeleteModul(TModuleListe* list, std::string key, std::string typeName)
    : TActionStreamModul(list, std::move(key), std::move(typeName)) {}

bool TActionDeleteModul::Execute() { return SaveModule() && RemoveModule(); }

TRPointerAction TActionDeleteModul::CreateInverse() const {
  return std::make_shared<TActionCreateModulFromStream>(list_, key_, typeName_, text_);
}

TActionCreateModulFromStream::TActionCreateModulFromStream(TModuleListe* list, std::string key,
                                                           std::string typeName, std::string text)
    : TActionStreamModul(list, std::move(key), std::move(typeName)) {
  text_ = std::move(text);
}

TRPointerAction TActionCreateModulFromStream::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionCreateExistModul::TActionCreateExistModul(TModuleListe* list, std::string key)
    : TActionStreamModul(list, std::move(key), {}) {
  SaveModule();
}

TRPointerAction TActionCreateExistModul::CreateInverse() const {
  return std::make_shared<TActionDeleteModul>(list_, key_, typeName_);
}

TActionMoveModul::TActionMoveModul(TModuleListe* list, std::string key, int oldX, int oldY,
                                   int newX, int newY)
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
