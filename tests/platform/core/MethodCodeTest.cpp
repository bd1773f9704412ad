// Method codes: one per member function, also for same-named members of
// file-local classes in different files, whatever the optimisation.
#include <gtest/gtest.h>

#include "platform/core/Method.h"
#include "platform/core/Object.h"

namespace qv {

// The code of Listener::Heard of the other file's own Listener.
const MethodCode* OtherFileListenerCode();

namespace {

class Listener : public TObject {
 public:
  void Heard(TObject*) { ++heard; }
  int heard = 0;
};

TEST(MethodCode, SameNamedMembersOfFileLocalClassesInTwoFilesHaveTheirOwn) {
  // Called through its address, so that no inlining hides which definition
  // the program kept.
  const MethodCode* (*volatile codeOf)() = &MethodCodeOf<&Listener::Heard>;
  const MethodCode* code = codeOf();
  EXPECT_EQ(code, MethodOf<&Listener::Heard>(nullptr).Code);
  EXPECT_NE(code, OtherFileListenerCode());
}

}  // namespace
}  // namespace qv
