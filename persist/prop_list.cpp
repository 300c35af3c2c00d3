#include "persist/prop_list.h"

#include <vector>

#include "persist/text_reader.h"

using text_format::kBlockEnd;
using text_format::kBlockStart;

namespace {

const TPropTypList* ListOf(const TRPointerPropTyp& node) { return node ? node->AsList() : nullptr; }

// Real files nest a few levels deep (groups inside groups); a hostile file must not be able to
// exhaust the stack, so reading gives up beyond this depth.
constexpr int kMaxNesting = 1000;

class TNestingGuard {
 public:
  TNestingGuard() { ++depth_; }
  ~TNestingGuard() { --depth_; }
  bool TooDeep() const { return depth_ > kMaxNesting; }

 private:
  static thread_local int depth_;
};

thread_local int TNestingGuard::depth_ = 0;

}  // namespace

bool TPropTypList::Notify(int, int, void*) { return true; }

void TPropTypList::Add(const std::string& key, TRPointerPropTyp child) {
  children_[key] = std::move(child);
}

TRPointerPropTyp TPropTypList::Get(const std::string& key) const {
  const auto found = children_.find(key);
  return found == children_.end() ? nullptr : found->second;
}

bool TPropTypList::Has(const std::string& key) const { return children_.contains(key); }

bool TPropTypList::Remove(const std::string& key) { return children_.erase(key) > 0; }

std::string TPropTypList::KeyOf(const TPropTyp* node) const {
  for (const auto& [key, child] : children_) {
    if (child.get() == node) return key;
  }
  return {};
}

std::string TPropTypList::UniqueKey(const std::string& base) const {
  std::string candidate = base.empty() ? "1" : base;
  for (int n = 1; Has(candidate); ++n)
    candidate = base + std::to_string(n);
  return candidate;
}

bool TPropTypList::Broadcast(int code, int arg, void* data) {
  const bool passOn = Notify(code, arg, data);
  if (!passOn) return false;
  // A handler may change this list, so the children are fixed before the message goes down.
  std::vector<TRPointerPropTyp> lists;
  for (const auto& [key, child] : children_) {
    if (ListOf(child)) lists.push_back(child);
  }
  for (const auto& child : lists)
    static_cast<TPropTypList&>(*child).Broadcast(code, arg, data);
  return true;
}

bool ShareChild(const TPropTypList& source, TPropTypList& destination, const std::string& key) {
  TRPointerPropTyp child = source.Get(key);
  if (!child) return false;
  destination.Add(key, std::move(child));
  return true;
}

void TPropTypList::Write(std::ostream& out) const {
  for (const auto& [key, child] : children_) {
    if (ListOf(child)) continue;
    out << key << ' ';
    child->Write(out);
    out << '\n';
  }
  for (const auto& [key, child] : children_) {
    const TPropTypList* list = ListOf(child);
    if (!list || list->children_.empty()) continue;
    out << kBlockStart << ' ' << key << ' ' << list->typeName << '\n';
    list->Write(out);
    out << kBlockEnd << '\n';
  }
}

bool TPropTypList::Read(std::istream& in) {
  const TNestingGuard guard;
  if (guard.TooDeep()) return false;
  std::string word;
  for (;;) {
    if (!text_format::ReadWord(in, word)) return false;
    if (word == kBlockEnd) return text_format::SkipLine(in);
    const bool ok = word == kBlockStart ? ReadBlock(in) : ReadValueLine(in, word);
    if (!ok) return false;
  }
}

// After "BEGIN": reads into an existing child, creates one through the factory, or skips the
// block when neither is possible.
bool TPropTypList::ReadBlock(std::istream& in) {
  std::string key;
  text_format::SkipWhiteSpace(in);
  if (!text_format::ReadWord(in, key)) return false;
  if (TRPointerPropTyp existing = Get(key)) {
    return text_format::SkipLine(in) && existing->Read(in);
  }
  std::string type;
  text_format::SkipWhiteSpace(in);
  if (!text_format::ReadWord(in, type) || !text_format::SkipLine(in)) return false;
  if (childFactory.IsBound() && !type.empty()) {
    bool queryOnly = false;
    if (TRPointer<TPropTypList> created = childFactory.Call(type, queryOnly)) {
      Add(key, created);
      created->typeName = type;
      return created->Read(in);
    }
  }
  return text_format::SkipBlock(in);
}

// A line "Key value": the value is read into an existing child, anything else on the line is
// ignored, and lines of unknown keys are skipped whole.
bool TPropTypList::ReadValueLine(std::istream& in, const std::string& key) {
  if (TRPointerPropTyp existing = Get(key)) {
    text_format::SkipWhiteSpace(in);
    if (!existing->Read(in)) return false;
  }
  return text_format::SkipLine(in);
}
