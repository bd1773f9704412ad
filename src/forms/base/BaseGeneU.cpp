#include "forms/base/BaseGeneU.h"

namespace qv {

TfrmBaseGeneClass frmBaseGeneClass = nullptr;

}  // namespace qv
