#pragma once
// A service the program reaches through one pointer: the system's own unless a test has put
// another in its place.

namespace quenda {

template <class Service, class System = Service>
class Replaceable {
 public:
  Service& Current() { return other_ ? *other_ : system_; }
  // Not owned; nullptr puts the system's back.
  void Replace(Service* other) { other_ = other; }

 private:
  System system_{};
  Service* other_ = nullptr;
};

}  // namespace quenda
