// List nodes of the property tree: named children in byte-wise key order, an optional child
// factory that recreates children by type name while reading, and tree messages that travel
// down the tree with Broadcast.
#pragma once

#include <map>
#include <string>

#include "persist/callbacks.h"
#include "persist/prop_typ.h"

using TMapRPointerPropTyp = std::map<std::string, TRPointerPropTyp>;

class TPropTypList;
// Child factory of a list: with `queryOnly` true on entry it creates nothing, returns null and
// sets `queryOnly` to whether the type name is known; otherwise it returns a new node of that
// type, or null when the name is unknown or not allowed in that list.
using TAMsgPropTyp =
    TCallback<TRPointer<TPropTypList>(const std::string& typeName, bool& queryOnly)>;

class TPropTypList : public TPropTyp {
 public:
  // Reads lines up to the "END" that closes this list; false when the stream is malformed or
  // ends early. Unknown keys and blocks of unknown types are skipped.
  bool Read(std::istream& in) override;
  const TPropTypList* AsList() const override { return this; }
  // Writes the value lines of the leaf children, then a block for every list child that has
  // children; neither a block start nor an end for the list itself.
  void Write(std::ostream& out) const override;
  // Handles a tree message; false keeps the message from this node's subtree.
  virtual bool Notify(int code, int arg, void* data);

  // Stores `child` under `key`, replacing (and releasing) a child stored there before.
  void Add(const std::string& key, TRPointerPropTyp child);
  // The child stored under `key`, or null.
  TRPointerPropTyp Get(const std::string& key) const;
  bool Has(const std::string& key) const;
  bool Remove(const std::string& key);
  // The key under which exactly this object is stored; empty when it is not a child.
  std::string KeyOf(const TPropTyp* node) const;
  // `base` when it is free, else base1, base2, ...; an empty base counts from 1.
  std::string UniqueKey(const std::string& base) const;
  // Sends a tree message to this node and, when it returns true, on to every list child.
  bool Broadcast(int code, int arg, void* data);

  const TMapRPointerPropTyp& Children() const { return children_; }

  std::string typeName;
  TAMsgPropTyp childFactory;

 private:
  bool ReadBlock(std::istream& in);
  bool ReadValueLine(std::istream& in, const std::string& key);

  TMapRPointerPropTyp children_;
};

// Hangs the node stored under `key` in `source` into `destination` too; false when `source` has
// no such child.
bool ShareChild(const TPropTypList& source, TPropTypList& destination, const std::string& key);

// A list node that knows the list that owns it; every persistent class of a sound derives from
// it, so that walking up the parents from any node reaches its document.
class TPropTypListChild : public TPropTypList {
 public:
  // Plain back pointer, set by the owner; it keeps nothing alive.
  TPropTypList* parent = nullptr;

  // The nearest node of type T above this one, or null.
  template <class T>
  T* FindAncestor() const {
    for (TPropTypList* node = parent; node != nullptr;) {
      if (auto* found = dynamic_cast<T*>(node)) return found;
      auto* child = dynamic_cast<TPropTypListChild*>(node);
      node = child ? child->parent : nullptr;
    }
    return nullptr;
  }
};
