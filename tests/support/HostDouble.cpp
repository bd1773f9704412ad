#include "support/HostDouble.h"

#include <algorithm>
#include <cctype>

#include "platform/core/Exception.h"

namespace qv::test {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

}  // namespace

void RecordingObject::Refuse(std::string_view member) const {
  if (Missing.count(Lower(member))) throw EOleError("Unknown name: " + std::string(member));
}

Variant RecordingObject::Invoke(std::string_view member, std::vector<Variant>& args) {
  Refuse(member);
  Calls.push_back({std::string(member), args});
  return DispatchObject::Invoke(member, args);
}

Variant RecordingObject::GetProperty(std::string_view name, std::vector<Variant>& args) {
  Refuse(name);
  Calls.push_back({std::string(name), args});
  return DispatchObject::GetProperty(name, args);
}

void RecordingObject::PutProperty(std::string_view name, const Variant& value) {
  Refuse(name);
  Calls.push_back({std::string(name), {value}});
  DispatchObject::PutProperty(name, value);
}

std::vector<RecordingObject::Call> RecordingObject::CallsOf(std::string_view member) const {
  std::vector<Call> found;
  for (const Call& call : Calls)
    if (Lower(call.Member) == Lower(member)) found.push_back(call);
  return found;
}

CounterDouble::CounterDouble() {
  Method("GetSysInfo", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    Variant table = Variant::Array2(0, 1, 0, static_cast<int>(SysParams.size()) - 1);
    int column = 0;
    for (const auto& [name, value] : SysParams) {
      table.At(0, column) = name;
      table.At(1, column) = value;
      ++column;
    }
    return table;
  });
  Method("GetCounter", [this](std::vector<Variant>& args) {
    RequireArgs(args, 3);
    auto found = Counters.find(args[0].ToString());
    return found == Counters.end() ? Variant() : found->second;
  });
}

ValidatorDouble::ValidatorDouble() {
  auto lookup = [this](std::vector<Variant>& args) {
    RequireArgs(args, 5);
    const Variant& keys = args[3];
    const std::string key = keys.IsArray() ? keys[keys.LowBound()].ToString() : keys.ToString();
    auto found = Records.find(args[0].ToString() + "|" + args[1].ToString() + "|" + key);
    if (found == Records.end()) return Variant(false);
    args[4] = found->second;
    return Variant(true);
  };
  Method("CheckValue", lookup);
  Method("QueryData", lookup);
  Property("ProductID", [this] { return ProductID; }, [this](const Variant& v) { ProductID = v; });
  Property("BaseLimited", [this] { return BaseLimited; }, [this](const Variant& v) { BaseLimited = v; });
}

void ValidatorDouble::AddRecord(const std::string& table, const std::string& kind, const std::string& key,
                                Variant record) {
  Records[table + "|" + kind + "|" + key] = std::move(record);
}

void ValidatorDouble::AddProgram(const std::string& programID, const std::string& name, bool wantLog,
                                 const std::string& englishName) {
  std::vector<Variant> record = {name, "", "", "", wantLog ? "Y" : "N", "", "", englishName};
  AddRecord("ADMMB", "01", programID, Variant::ArrayOf(record));
}

LookupWindowDouble::LookupWindowDouble() {
  Method("ShowInputDay", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return Variant(DayAnswer);
  });
  Method("GetPhrase", [this](std::vector<Variant>& args) {
    RequireArgs(args, 3);
    return Variant(Phrase);
  });
  Method("F2GetData", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return LookupReply;
  });
}

HostDouble::HostDouble() {
  Property("VersionType", [] { return Variant(1); });
  Property("ProductID", [this] { return ProductIDValue; });
  Method("GetMessage", [this](std::vector<Variant>& args) {
    RequireArgs(args, 2);
    const std::string key = args[0].ToString() + ";" + args[1].ToString();
    auto found = Templates.find(key);
    if (found != Templates.end()) return Variant(found->second);
    std::string text = args[0].ToString() + args[1].ToString();
    for (int slot = 0; slot < 10; ++slot) text += " %s";
    return Variant(text);
  });
  Method("Com_Counter", [this](std::vector<Variant>&) { return Variant(Counter); });
  Method("Com_Validator", [this](std::vector<Variant>&) { return Variant(Validator); });
  Method("Com_F2Window", [this](std::vector<Variant>&) { return Variant(LookupWindow); });
  Method("CallHelp", [](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return Variant();
  });
  Method("GetFileList", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return Variant(FileList);
  });
}

}  // namespace qv::test
