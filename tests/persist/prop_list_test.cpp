#include "persist/prop_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "persist/prop_rect.h"
#include "persist/prop_values.h"

namespace {

TRPointerPropTyp Int(int value) { return std::make_shared<TPropInteger>(value); }

TEST(PropList, UniqueKeyCountsUpFromTheBase) {
  TPropTypList list;
  EXPECT_EQ(list.UniqueKey(""), "1");
  list.Add("1", Int(0));
  list.Add("2", Int(0));
  EXPECT_EQ(list.UniqueKey(""), "3");
  list.Add("Osc", Int(0));
  list.Add("Osc1", Int(0));
  EXPECT_EQ(list.UniqueKey("Osc"), "Osc2");
  EXPECT_EQ(list.UniqueKey("Noise"), "Noise");
}

TEST(PropList, ChildrenAreOrderedByteWise) {
  TPropTypList list;
  for (const char* key : {"b", "a", "B", "ab", "\xE4", "A"})
    list.Add(key, Int(0));
  std::vector<std::string> keys;
  for (const auto& [key, child] : list.Children())
    keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"A", "B", "a", "ab", "b", "\xE4"}));
}

TEST(PropList, ReplacingAChildReleasesItUnlessAnotherListSharesIt) {
  TPropTypList list;
  TPropTypList other;
  std::weak_ptr<TPropTyp> shared;
  std::weak_ptr<TPropTyp> alone;
  {
    TRPointerPropTyp first = Int(1);
    TRPointerPropTyp second = Int(2);
    shared = first;
    alone = second;
    list.Add("x", first);
    list.Add("y", second);
  }
  ASSERT_TRUE(ShareChild(list, other, "x"));
  EXPECT_FALSE(ShareChild(list, other, "missing"));
  EXPECT_FALSE(other.Has("missing"));

  list.Add("x", Int(3));
  list.Add("y", Int(4));
  EXPECT_FALSE(shared.expired());
  EXPECT_TRUE(alone.expired());
  EXPECT_EQ(other.KeyOf(shared.lock().get()), "x");
  EXPECT_EQ(list.KeyOf(shared.lock().get()), "");

  EXPECT_TRUE(other.Remove("x"));
  EXPECT_FALSE(other.Remove("x"));
  EXPECT_TRUE(shared.expired());
  EXPECT_EQ(other.Get("x"), nullptr);
}

class TRecordingList : public TPropTypListChild {
 public:
  explicit TRecordingList(bool passOn, std::vector<const TRecordingList*>& log)
      : passOn_(passOn), log_(log) {}
  bool Notify(int, int, void*) override {
    log_.push_back(this);
    return passOn_;
  }

 private:
  bool passOn_;
  std::vector<const TRecordingList*>& log_;
};

TEST(PropList, BroadcastStopsAtANodeThatDeclinesAndSkipsLeaves) {
  std::vector<const TRecordingList*> log;
  TRecordingList root(true, log);
  auto open = std::make_shared<TRecordingList>(true, log);
  auto closed = std::make_shared<TRecordingList>(false, log);
  auto deep = std::make_shared<TRecordingList>(true, log);
  auto hidden = std::make_shared<TRecordingList>(true, log);
  root.Add("a", open);
  root.Add("b", closed);
  root.Add("c", Int(5));
  open->Add("deep", deep);
  closed->Add("hidden", hidden);

  EXPECT_TRUE(root.Broadcast(8, 4, nullptr));
  EXPECT_EQ(log, (std::vector<const TRecordingList*>{&root, open.get(), deep.get(), closed.get()}));
  log.clear();
  EXPECT_FALSE(closed->Broadcast(8, 4, nullptr));
  EXPECT_EQ(log.size(), 1u);
}

TEST(PropList, FindAncestorWalksUpThePlainBackPointers) {
  struct TDocument : TPropTypListChild {};
  TDocument document;
  TPropTypListChild list;
  TPropTypListChild module;
  list.parent = &document;
  module.parent = &list;
  EXPECT_EQ(module.FindAncestor<TDocument>(), &document);
  EXPECT_EQ(document.FindAncestor<TDocument>(), nullptr);
}

TEST(PropRect, MoveToKeepsTheSizeAndMembersAreTheChildren) {
  TPropRect rect(0, 0, 75, 51);
  rect.MoveTo(10, 20);
  EXPECT_EQ(rect.GetRect(), (TRect{10, 20, 85, 71}));
  EXPECT_EQ(rect.Get("Right"), rect.right);
  rect.SetRect({1, 2, 3, 4});
  EXPECT_EQ(std::static_pointer_cast<TPropInteger>(rect.Get("Bottom"))->value, 4);
}

TEST(PropRect, NormalizeRectSwapsReversedCorners) {
  EXPECT_EQ(NormalizeRect({10, 20, 0, 5}), (TRect{0, 5, 10, 20}));
  EXPECT_EQ(NormalizeRect({0, 5, 10, 20}), (TRect{0, 5, 10, 20}));
}

TEST(Callbacks, AnEmptyHolderAnswersZero) {
  TAMsgAllCallback empty;
  EXPECT_EQ(empty.Call(1, 2, 3), 0);
  struct TTarget {
    int Sum(int a, int b, int c) { return a + b + c; }
  } target;
  const auto bound = TAMsgAllCallback::Bind(&target, &TTarget::Sum);
  EXPECT_EQ(bound.Call(1, 2, 3), 6);
}

}  // namespace
