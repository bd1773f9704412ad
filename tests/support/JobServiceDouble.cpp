#include "support/JobServiceDouble.h"

#include <cstdio>

namespace qv::test {

namespace {

const std::vector<std::string> kSchemeFields = {"NCONDITION", "CREATOR",    "PROGRAMME",
                                                "SCONDITION", "VCONDITION", "CREATE_DATE"};

// [name, user, program] of a key array.
std::vector<std::string> KeyTexts(const Variant& key) {
  std::vector<std::string> texts;
  if (!key.IsArray()) return texts;
  for (int i = key.LowBound(); i <= key.HighBound(); ++i) texts.push_back(key[i].ToString());
  return texts;
}

bool SameKey(const std::vector<Variant>& scheme, const std::vector<std::string>& key) {
  return key.size() == 3 && scheme[0].ToString() == key[0] && scheme[1].ToString() == key[1] &&
         scheme[2].ToString() == key[2];
}

}  // namespace

JobServiceDouble::JobServiceDouble() {
  Method("LoadTable", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    const std::vector<std::string> key = KeyTexts(args[0]);
    loadedUser_ = key.size() > 0 ? key[0] : "";
    loadedProgram_ = key.size() > 1 ? key[1] : "";
    return Variant();
  });
  Method("AS_GetRecords", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return SchemeRecords();
  });
  Method("InsertConTable", [this](std::vector<Variant>& args) {
    if (args.empty()) return Variant("no scheme record");
    const Variant& record = args[0];
    std::vector<Variant> scheme;
    for (int i = record.LowBound(); i <= record.HighBound() && scheme.size() < kSchemeFields.size(); ++i)
      scheme.push_back(record[i]);
    scheme.resize(kSchemeFields.size());
    const bool overwrite = args.size() > 1 && args.back().ToBool();
    for (auto& stored : Schemes) {
      if (!SameKey(stored, {scheme[0].ToString(), scheme[1].ToString(), scheme[2].ToString()})) continue;
      if (!overwrite) return Variant("scheme exists");
      stored = scheme;
      return Variant("");
    }
    Schemes.push_back(scheme);
    return Variant("");
  });
  Method("DeleteConTable", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    const std::vector<std::string> key = KeyTexts(args[0]);
    for (auto it = Schemes.begin(); it != Schemes.end(); ++it)
      if (SameKey(*it, key)) {
        Schemes.erase(it);
        return Variant("");
      }
    return Variant("scheme not found");
  });
  Method("ChangeConName", [this](std::vector<Variant>& args) {
    RequireArgs(args, 2);
    const std::vector<std::string> from = KeyTexts(args[0]), to = KeyTexts(args[1]);
    for (auto& scheme : Schemes)
      if (SameKey(scheme, from)) {
        scheme[0] = to.empty() ? "" : to[0];
        return Variant("");
      }
    return Variant("scheme not found");
  });
  Method("GetPower", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return Rights;
  });
  Method("Request", [this](std::vector<Variant>& args) {
    RequireArgs(args, 1);
    return Register(args[0]);
  });
  Method("Request1", [this](std::vector<Variant>& args) {
    RequireArgs(args, 2);
    return Register(args[0]);
  });
  Method("ErrorDescript", [this](std::vector<Variant>&) { return Variant(lastError_); });
  Method("UpdateStatus1", [](std::vector<Variant>& args) {
    RequireArgs(args, 3);
    return Variant();
  });
}

Variant JobServiceDouble::Register(const Variant& request) {
  Requests.push_back(request);
  if (!RefuseReason.empty()) {
    lastError_ = RefuseReason;
    return Variant("ERROR");
  }
  char number[32];
  std::snprintf(number, sizeof number, "J%07d", NextJob++);
  return Variant(std::string(number));
}

Variant JobServiceDouble::SchemeRecords() const {
  std::vector<Variant> fields(kSchemeFields.begin(), kSchemeFields.end());
  std::vector<const std::vector<Variant>*> mine;
  for (const auto& scheme : Schemes)
    if (scheme[1].ToString() == loadedUser_ && scheme[2].ToString() == loadedProgram_) mine.push_back(&scheme);
  Variant rows;
  if (!mine.empty()) {
    rows = Variant::Array2(0, static_cast<int>(mine.size()) - 1, 0, static_cast<int>(fields.size()) - 1);
    for (std::size_t row = 0; row < mine.size(); ++row)
      for (std::size_t column = 0; column < fields.size(); ++column)
        rows.At(static_cast<int>(row), static_cast<int>(column)) = (*mine[row])[column];
  }
  return Variant::ArrayOf({Variant::ArrayOf(fields), rows});
}

ScopedJobService::ScopedJobService(std::shared_ptr<JobServiceDouble> service) : service_(std::move(service)) {
  RegisterAutomationFactory(JobServiceProgID, [shared = service_] { return shared; });
}

ScopedJobService::~ScopedJobService() { UnregisterAutomationFactory(JobServiceProgID); }

}  // namespace qv::test
