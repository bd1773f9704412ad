// The plug-in library's main block: the condition form the controllers make
// is the most derived report form the library carries.
#include "forms/base/BaseGeneU.h"

namespace {

[[maybe_unused]] const bool FormClassSet =
    (qv::frmBaseGeneClass = &qv::MakeConditionForm<qv::TfrmBaseGene>, true);

}  // namespace
