#pragma once
// A data set of three customers for the data tests: CUST_NO 1 … 3,
// CUST_NAME "Able", "Baker", "Charlie", BALANCE 10.5, none, 0.25; open on
// the first record.

#include "platform/data/DB.h"

namespace qv::test {

inline TDataSet* MakeCustomers(TComponent* owner) {
  auto* dataSet = new TDataSet(owner);
  dataSet->AddField("CUST_NO", ftInteger);
  dataSet->AddField("CUST_NAME", ftString);
  dataSet->AddField("BALANCE", ftFloat);
  dataSet->Open();
  dataSet->AppendRecord({1, "Able", 10.5});
  dataSet->AppendRecord({2, "Baker"});
  dataSet->AppendRecord({3, "Charlie", 0.25});
  dataSet->First();
  return dataSet;
}

}  // namespace qv::test
