// The three leaf values of the property tree. A leaf reads and writes only its value text; the
// list that owns it writes the key and the line end around it.
#pragma once

#include <cstdint>
#include <string>

#include "persist/prop_typ.h"

class TPropInteger : public TPropTyp {
 public:
  explicit TPropInteger(std::int32_t initial = 0) : value(initial) {}
  // Reads a decimal word; a word that is not a number reads as 0, one beyond the 32-bit range
  // as the nearest limit. Never fails.
  bool Read(std::istream& in) override;
  void Write(std::ostream& out) const override;

  std::int32_t value;
};

class TPropDouble : public TPropTyp {
 public:
  explicit TPropDouble(double initial = 0.0) : value(initial) {}
  // Reads a number word; one that is not a number reads as 0. Never fails.
  bool Read(std::istream& in) override;
  // Writes 24 significant digits, so that the value reads back exactly.
  void Write(std::ostream& out) const override;

  double value;
};

// A byte string. In the file it stands in double quotes, with line feeds written as the byte
// 0xA2, carriage returns as 0xA5 and double quotes doubled; those two bytes are therefore
// reserved and cannot be stored themselves.
class TPropString : public TPropTyp {
 public:
  explicit TPropString(std::string initial = {}) : value(std::move(initial)) {}
  bool Read(std::istream& in) override;
  void Write(std::ostream& out) const override;

  std::string value;
};

using TRPointerPropInteger = TRPointer<TPropInteger>;
using TRPointerPropDouble = TRPointer<TPropDouble>;
using TRPointerPropString = TRPointer<TPropString>;
