// A registry held in memory, for the native build and its tests. It keeps the rules the
// settings store relies on: a tree of keys below one root, names compared without regard to
// (ASCII) case but kept as first written, typed values, "" as the default value, opening a
// missing key fails unless it is created together with its parents.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/RegistryBackend.h"

namespace vt {

class MemoryRegistry : public RegistryBackend {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

  Key Open(const std::string& path, bool create) override;
  void Close(Key key) override;
  bool Query(Key key, const std::string& name, RegType* type, std::vector<std::uint8_t>* data) override;
  bool Set(Key key, const std::string& name, RegType type, const void* data, std::size_t size) override;

  // For tests: handles handed out and not closed yet.
  std::size_t OpenKeys() const { return open_.size(); }

 private:
  struct Value {
    RegType type = RegType::Binary;
    std::vector<std::uint8_t> data;
  };
  struct Node {
    std::map<std::string, std::unique_ptr<Node>> children;  // by folded name
    std::map<std::string, Value> values;                     // by folded name
  };
  Node* Find(Key key) const;

  Node root_;
  std::map<Key, Node*> open_;
  Key next_ = 1;
};

}  // namespace vt
