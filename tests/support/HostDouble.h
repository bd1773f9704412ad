#pragma once
// The shell's service object and the services it hands out, for tests:
// message templates, a counter with system parameters, a validator with
// master records and a lookup window. Each records the calls it gets; a
// member named in Missing raises as an object without it would.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/automation/Automation.h"

namespace qv::test {

// Behaviour shared by the doubles: the call log and missing members.
class RecordingObject : public DispatchObject {
 public:
  struct Call {
    std::string Member;
    std::vector<Variant> Args;
  };
  Variant Invoke(std::string_view member, std::vector<Variant>& args) override;
  Variant GetProperty(std::string_view name, std::vector<Variant>& args) override;
  void PutProperty(std::string_view name, const Variant& value) override;

  // Calls of a member (any case), in order.
  std::vector<Call> CallsOf(std::string_view member) const;

  std::vector<Call> Calls;
  std::set<std::string> Missing;  // lower-case member names that raise "Unknown name"

 private:
  void Refuse(std::string_view member) const;
};

// GetSysInfo(companyID) answers the parameters as a [2 x n] array of
// names and values; GetCounter(name, data, [company, db]) answers Counters[name].
class CounterDouble : public RecordingObject {
 public:
  CounterDouble();
  std::map<std::string, std::string> SysParams;
  std::map<std::string, Variant> Counters;
};

// CheckValue and QueryData(table, kind, db, keys, result) find the record
// stored under (table, kind, first key) and answer true with it in result;
// unknown keys answer false. ProductID and BaseLimited are writable.
class ValidatorDouble : public RecordingObject {
 public:
  ValidatorDouble();
  void AddRecord(const std::string& table, const std::string& kind, const std::string& key, Variant record);
  // The program master record of a program: [name, ..., want log (index 4), ..., English name (index 7)].
  void AddProgram(const std::string& programID, const std::string& name, bool wantLog = false,
                  const std::string& englishName = "");

  std::map<std::string, Variant> Records;  // by "table|kind|key"
  Variant ProductID, BaseLimited;
};

// ShowInputDay answers DayAnswer, GetPhrase answers Phrase, F2GetData answers LookupReply.
class LookupWindowDouble : public RecordingObject {
 public:
  LookupWindowDouble();
  std::string DayAnswer;
  std::string Phrase;
  Variant LookupReply;
};

// The host's service object. GetMessage(type, id) answers Templates["T;NNNNNN"],
// or "<T><NNNNNN>" followed by " %s" for each of ten slots when no template was set.
class HostDouble : public RecordingObject {
 public:
  HostDouble();
  std::map<std::string, std::string> Templates;
  Variant ProductIDValue = 3;
  std::string FileList;
  std::shared_ptr<CounterDouble> Counter = std::make_shared<CounterDouble>();
  std::shared_ptr<ValidatorDouble> Validator = std::make_shared<ValidatorDouble>();
  std::shared_ptr<LookupWindowDouble> LookupWindow = std::make_shared<LookupWindowDouble>();
};

}  // namespace qv::test
