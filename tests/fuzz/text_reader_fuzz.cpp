// Feeds arbitrary bytes to the text reader of a list whose factory recreates nested nodes of
// every property class, then writes what was read. Any crash or sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"

namespace {

class TFuzzNode : public TPropTypListChild {
 public:
  TFuzzNode() {
    childFactory = TAMsgPropTyp::Bind(this, &TFuzzNode::Create);
    Add("Int", std::make_shared<TPropInteger>(1));
    Add("Real", std::make_shared<TPropDouble>(0.5));
    Add("Text", std::make_shared<TPropString>("x"));
    Add("Rect", std::make_shared<TPropRect>());
    Add("Inner", std::make_shared<TPropTypListChild>());
  }

 private:
  TRPointer<TPropTypList> Create(const std::string& type, bool& queryOnly) {
    const bool known = type == "Node" || type == "Rect";
    if (queryOnly) {
      queryOnly = known;
      return nullptr;
    }
    if (type == "Rect") return std::make_shared<TPropRect>();
    if (type != "Node") return nullptr;
    auto node = std::make_shared<TFuzzNode>();
    node->parent = this;
    return node;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  TFuzzNode root;
  root.Read(in);
  std::ostringstream out;
  root.Write(out);
  return 0;
}
