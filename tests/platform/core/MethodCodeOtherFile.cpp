// The other file of the method code test: a file-local class and member of
// the same names as there.
#include "platform/core/Method.h"
#include "platform/core/Object.h"

namespace qv {
namespace {

class Listener : public TObject {
 public:
  void Heard(TObject*) { ++calls; }
  int calls = 0;
};

}  // namespace

const MethodCode* OtherFileListenerCode() {
  const MethodCode* (*volatile codeOf)() = &MethodCodeOf<&Listener::Heard>;
  return codeOf();
}

}  // namespace qv
