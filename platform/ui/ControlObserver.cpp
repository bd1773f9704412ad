#include "platform/ui/ControlObserver.h"

namespace qv {

namespace {
ControlObserver* current = nullptr;
}

ControlObserver* ControlObserver::Current() { return current; }
void ControlObserver::Install(ControlObserver* observer) { current = observer; }

}  // namespace qv
