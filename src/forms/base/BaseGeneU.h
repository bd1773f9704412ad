#pragma once
// The condition form class the controller creates. The plug-in's start-up
// code sets it to the most derived report form it carries.

#include "forms/base/BaseGene.h"

namespace qv {

extern TfrmBaseGeneClass frmBaseGeneClass;

// A form class as a value for frmBaseGeneClass.
template <class FormClass>
TfrmBaseGene* MakeConditionForm(TComponent* owner) {
  return CreateForm<FormClass>(owner);
}

}  // namespace qv
