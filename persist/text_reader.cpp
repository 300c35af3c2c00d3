#include "persist/text_reader.h"

#include <algorithm>
#include <cctype>

namespace text_format {
namespace {

bool IsSpace(int c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

bool ReadWord(std::istream& in, std::string& word) {
  word.clear();
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) return !word.empty() && !in.bad();
    if (IsSpace(c)) {
      in.unget();
      return true;
    }
    word.push_back(static_cast<char>(c));
  }
}

bool SkipLine(std::istream& in) {
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) return !in.bad();
    if (c == '\n') return true;
  }
}

void SkipWhiteSpace(std::istream& in) {
  while (IsSpace(in.peek()))
    in.get();
}

bool SkipBlock(std::istream& in) {
  int depth = 1;
  std::string word;
  for (;;) {
    if (!ReadWord(in, word)) return false;
    if (word == kBlockEnd) {
      if (--depth == 0) return SkipLine(in);
    } else if (word == kBlockStart) {
      ++depth;
    }
    if (!SkipLine(in)) return false;
  }
}

bool ReadQuoted(std::istream& in, std::string& value) {
  constexpr int kEnd = std::char_traits<char>::eof();
  value.clear();
  bool inside = false;
  for (;;) {
    const int c = in.get();
    if (c == kEnd || c == '\n') break;
    if (c == '"') {
      if (!inside) {
        inside = true;
        continue;
      }
      const int next = in.get();
      if (next == kEnd) break;
      if (next != '"') {
        in.unget();
        return true;
      }
      value.push_back('"');
      continue;
    }
    if (!inside) continue;
    if (c == kEncodedLineFeed) {
      value.push_back('\n');
    } else if (c == kEncodedCarriageReturn) {
      value.push_back('\r');
    } else {
      value.push_back(static_cast<char>(c));
    }
  }
  value.clear();
  return false;
}

std::string DescribeReadStop(std::istream& in, std::string_view text) {
  in.clear();
  const std::streamoff at = in.tellg();
  if (at < 0 || static_cast<std::size_t>(at) >= text.size()) {
    return "it ends before the END of a block";
  }
  // The line of the last character read: a step that fails at a line end has consumed it.
  const auto line =
      std::count(text.begin(), text.begin() + std::max<std::streamoff>(at - 1, 0), '\n') + 1;
  return "line " + std::to_string(line) + " cannot be read";
}

}  // namespace text_format
