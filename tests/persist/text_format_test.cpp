#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"
#include "persist/text_reader.h"
#include "tests/support/worked_example.h"

namespace {

template <class T, class... Args>
TRPointer<T> Make(Args&&... args) {
  return std::make_shared<T>(std::forward<Args>(args)...);
}

std::string WriteStream(const TPropTypList& list) {
  std::ostringstream out;
  list.Write(out);
  out << "END\n";
  return out.str();
}

// A list that recreates children of the type "Node" while reading, like the module lists do.
class TNodeList : public TPropTypListChild {
 public:
  TNodeList() { childFactory = TAMsgPropTyp::Bind(this, &TNodeList::Create); }

 private:
  TRPointer<TPropTypList> Create(const std::string& type, bool& queryOnly) {
    const bool known = type == "Node";
    if (queryOnly) {
      queryOnly = known;
      return nullptr;
    }
    if (!known) return nullptr;
    auto node = Make<TNodeList>();
    node->parent = this;
    return node;
  }
};

const double kDoubles[] = {0.1, 1e-10, 1.234, -2.5e300, 0.0, 123456789.123456789};
const std::string kStrings[] = {"",     "\"",        "say \"hi\"\n", "a\r\nb",
                                "\"\"", "tab\there", "\xE4\xFF"};

// A tree of every property class, holding the test values or, like a freshly built document,
// only defaults.
void BuildTree(TPropTypList& root, bool withValues) {
  const auto pick = [withValues](auto value, auto fallback) {
    return withValues ? value : decltype(value)(fallback);
  };
  root.Add("Min", Make<TPropInteger>(pick(std::numeric_limits<std::int32_t>::min(), 0)));
  root.Add("Max", Make<TPropInteger>(pick(std::numeric_limits<std::int32_t>::max(), 0)));
  for (std::size_t i = 0; i < std::size(kDoubles); ++i) {
    root.Add("D" + std::to_string(i), Make<TPropDouble>(pick(kDoubles[i], 5.0)));
  }
  for (std::size_t i = 0; i < std::size(kStrings); ++i) {
    root.Add("S" + std::to_string(i), Make<TPropString>(pick(kStrings[i], "default")));
  }
  auto child = Make<TPropTypListChild>();
  child->Add("Inner", Make<TPropString>(pick(std::string("deep"), "")));
  child->Add("Rect", Make<TPropRect>(pick(-1, 0), pick(2, 0), pick(3, 0), pick(-4, 0)));
  root.Add("Child", child);
}

TEST(TextFormat, AnyTreeReadsBackWithEveryValue) {
  TPropTypList original;
  BuildTree(original, true);
  const std::string text = WriteStream(original);

  TPropTypList copy;
  BuildTree(copy, false);
  std::istringstream in(text);
  ASSERT_TRUE(copy.Read(in));
  EXPECT_EQ(WriteStream(copy), text);
  for (std::size_t i = 0; i < std::size(kDoubles); ++i) {
    EXPECT_EQ(std::static_pointer_cast<TPropDouble>(copy.Get("D" + std::to_string(i)))->value,
              kDoubles[i]);
  }
  for (std::size_t i = 0; i < std::size(kStrings); ++i) {
    EXPECT_EQ(std::static_pointer_cast<TPropString>(copy.Get("S" + std::to_string(i)))->value,
              kStrings[i]);
  }
}

TEST(TextFormat, WritesLeavesFirstThenBlocksAndOmitsEmptyLists) {
  TPropTypList list;
  list.Add("Zeta", Make<TPropInteger>(1));
  list.Add("Empty", Make<TPropTypList>());
  list.Add("Alpha", Make<TPropString>("x"));
  EXPECT_EQ(WriteStream(list), "Alpha \"x\"\nZeta 1\nEND\n");
}

// An empty sound with one text panel item, as a sound file holds it.
TEST(TextFormat, WritesTheSoundFileExampleByteForByte) {
  auto text = Make<TPropTypListChild>();
  text->typeName = "ViewText";
  text->Add("Marked", Make<TPropInteger>(0));
  text->Add("Text", Make<TPropString>(""));
  text->Add("Title", Make<TPropString>(" Text"));
  text->Add("Rect", Make<TPropRect>(16, 24, 104, 75));
  auto panelItems = Make<TPropTypListChild>();
  panelItems->Add("ViewText", text);
  auto view = Make<TPropTypListChild>();
  view->Add("ActiveWindow", Make<TPropInteger>(1));
  view->Add("Visible", Make<TPropInteger>(1));
  view->Add("WindowState", Make<TPropInteger>(0));
  view->Add("Title", Make<TPropString>("Sound1"));
  view->Add("Rect", Make<TPropRect>(0, 0, 600, 400));
  view->Add("ModuleList", panelItems);
  TPropTypListChild document;
  document.Add("CountVoices", Make<TPropInteger>(1));
  document.Add("ModuleList", Make<TPropTypListChild>());
  document.Add("ViewSound", view);

  EXPECT_EQ(WriteStream(document), kWorkedExampleSound);
}

// The fixture a reading case starts from: two values, a string and an inner list with defaults.
struct TTarget {
  TNodeList list;
  TRPointerPropInteger value = Make<TPropInteger>(7);
  TRPointerPropString name = Make<TPropString>("x");
  TRPointerPropInteger innerA = Make<TPropInteger>(1);

  TTarget() {
    list.Add("Value", value);
    list.Add("Name", name);
    auto inner = Make<TPropTypListChild>();
    inner->Add("A", innerA);
    list.Add("Inner", inner);
  }
  bool Read(const std::string& text) {
    std::istringstream in(text);
    return list.Read(in);
  }
};

TEST(TextFormat, ToleratedInputReadsOn) {
  const std::string longWord(100, 'k');
  const struct {
    const char* what;
    std::string text;
    int value;
    int innerA;
    std::string name;
  } cases[] = {
      {"unknown key", "Zzz 5\nValue 3\nEND\n", 3, 1, "x"},
      {"unregistered block", "BEGIN M Unknown\nA 9\nBEGIN N X\nEND\nEND\nValue 3\nEND\n", 3, 1,
       "x"},
      {"blank lines", "\n\nValue 3\n\nEND\n", 3, 1, "x"},
      {"indented line is skipped", " Value 9\nValue 3\nEND\n", 3, 1, "x"},
      {"extra text after a value", "Value 3 and more\nName \"y\" z\nEND\n", 3, 1, "y"},
      {"any order", "BEGIN Inner \nA 4\nEND\nName \"n\"\nValue 3\nEND\n", 3, 4, "n"},
      {"CR LF line ends", "Value 3\r\nName \"q\"\r\nBEGIN Inner \r\nA 4\r\nEND\r\nEND\r\n", 3, 4,
       "q"},
      {"not a number", "Value abc\nEND\n", 0, 1, "x"},
      {"beyond 32 bits", "Value 99999999999\nEND\n", 2147483647, 1, "x"},
      {"text after the final END", "Value 3\nEND\ngarbage\n", 3, 1, "x"},
      {"indented END closes nothing", "BEGIN Inner \nA 1\n END\nA 2\nEND\nEND\n", 7, 2, "x"},
      {"empty type name takes the next line's first word",
       "BEGIN Unknown \nZzz rest\nA 1\nEND\nValue 3\nEND\n", 3, 1, "x"},
      {"words longer than 59 characters",
       longWord + " 1\nValue " + std::string(80, '0') + "3\nEND\n", 3, 1, "x"},
      {"final END without a line end", "Value 3\nEND", 3, 1, "x"},
  };
  for (const auto& c : cases) {
    TTarget target;
    EXPECT_TRUE(target.Read(c.text)) << c.what;
    EXPECT_EQ(target.value->value, c.value) << c.what;
    EXPECT_EQ(target.innerA->value, c.innerA) << c.what;
    EXPECT_EQ(target.name->value, c.name) << c.what;
    EXPECT_FALSE(target.list.Has("M") || target.list.Has("Unknown")) << c.what;
  }
}

// A failed read also says where it stopped, for the readers' error messages.
TEST(TextFormat, FatalInputFailsTheRead) {
  const std::string early = "it ends before the END of a block";
  const struct {
    const char* what;
    std::string text;
    std::string stop;
  } cases[] = {
      {"empty stream", "", early},
      {"no final END", "Value 3\n", early},
      {"inner list closed, outer not", "BEGIN Inner \nA 1\nEND\n", early},
      {"end inside a skipped block", "BEGIN M Unknown\nA 1\n", early},
      {"end inside a created block", "BEGIN M Node\nA 1\n", early},
      {"string without opening quote", "Value 3\nName abc\nEND\n", "line 2 cannot be read"},
      {"string without closing quote", "Name \"abc\nEND\n", "line 1 cannot be read"},
      {"end right after a closing quote", "Name \"abc\"", early},
      {"nesting deeper than any sound",
       [] {
         std::string deep;
         for (int i = 0; i < 5000; ++i)
           deep += "BEGIN n Node\n";
         return deep;
       }(),
       "line 1000 cannot be read"},
  };
  for (const auto& c : cases) {
    TTarget target;
    std::istringstream in(c.text);
    EXPECT_FALSE(target.list.Read(in)) << c.what;
    EXPECT_EQ(text_format::DescribeReadStop(in, c.text), c.stop) << c.what;
  }
}

TEST(TextFormat, TheFactoryRecreatesNestedNodesWithTheirTypeNameAndParent) {
  TTarget target;
  ASSERT_TRUE(target.Read("BEGIN First Node\nBEGIN Second Node\nX 1\nEND\nEND\nEND\n"));
  auto first = std::dynamic_pointer_cast<TNodeList>(target.list.Get("First"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->typeName, "Node");
  EXPECT_EQ(first->parent, &target.list);
  auto second = std::dynamic_pointer_cast<TNodeList>(first->Get("Second"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->parent, first.get());
}

}  // namespace
