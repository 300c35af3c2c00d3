// The root of the property tree: every persistent object of a sound (documents, module lists,
// modules, ports, window descriptions, single parameter values) is a TPropTyp, shared through
// reference-counted pointers so that one node may hang in several lists at once.
#pragma once

#include <istream>
#include <memory>
#include <ostream>

class TPropTypList;

class TPropTyp {
 public:
  virtual ~TPropTyp() = default;
  // This node as a list, or null for a leaf. The tree walks ask it of every child, many times a
  // second while a sound plays, where a cast would search the class hierarchy each time.
  virtual const TPropTypList* AsList() const { return nullptr; }
  // Reads the node's text form (see text_format.h); false when the stream is malformed.
  virtual bool Read(std::istream& in) = 0;
  // Writes the node's text form; a leaf writes only its value text.
  virtual void Write(std::ostream& out) const = 0;
};

// Shared pointer: copies share the object, which is deleted with the last copy.
template <class T>
using TRPointer = std::shared_ptr<T>;
// Sole-owner pointer.
template <class T>
using TPointer = std::unique_ptr<T>;

using TRPointerPropTyp = TRPointer<TPropTyp>;
