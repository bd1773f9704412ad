#pragma once
// The application server's job service ("ReportCounterS.dmReportCounter")
// for tests: condition schemes in memory behind the provider "pvdConSave",
// a rights record, and job registration that answers a job number or
// "ERROR" with a reason. Register it as an automation factory, or serve it
// from a ServerDaemon, to reach it as a form does.

#include <memory>
#include <string>
#include <vector>

#include "support/HostDouble.h"

namespace qv::test {

inline constexpr const char* JobServiceProgID = "ReportCounterS.dmReportCounter";

class JobServiceDouble : public RecordingObject {
 public:
  JobServiceDouble();

  // A stored scheme: [NCONDITION, CREATOR, PROGRAMME, SCONDITION, VCONDITION, CREATE_DATE].
  std::vector<std::vector<Variant>> Schemes;
  Variant Rights;               // answered by GetPower
  std::string RefuseReason;     // non-empty: Request answers "ERROR" and this is the ErrorDescript
  std::vector<Variant> Requests;  // every request received, as received
  int NextJob = 1;

 private:
  Variant Register(const Variant& request);
  // The user's schemes of the program named by the last LoadTable.
  Variant SchemeRecords() const;
  std::string loadedUser_, loadedProgram_;
  std::string lastError_;
};

// Registers a factory for JobServiceProgID that hands out service (one
// shared object) and unregisters it when it goes.
class ScopedJobService {
 public:
  explicit ScopedJobService(std::shared_ptr<JobServiceDouble> service = std::make_shared<JobServiceDouble>());
  ~ScopedJobService();
  ScopedJobService(const ScopedJobService&) = delete;
  ScopedJobService& operator=(const ScopedJobService&) = delete;
  JobServiceDouble& Service() { return *service_; }
  std::shared_ptr<JobServiceDouble> Shared() const { return service_; }

 private:
  std::shared_ptr<JobServiceDouble> service_;
};

}  // namespace qv::test
