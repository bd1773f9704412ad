#include "services/AlertLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/core/NumberText.h"
#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"
#include "platform/system/Registry.h"
#include "platform/system/SystemInfo.h"

namespace qv {

namespace {

const char* const kLastResortFolder = "/tmp";

// The installation folder the registry names: ClientPath, else ServerPath.
// Raises what the registry raises; "" when the key cannot be opened.
std::string InstallationFolder() {
  TRegistry registry(RootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly("Software\\QVX\\Orvane")) return "";
  std::string folder = registry.ReadString("ClientPath");
  if (folder.empty()) folder = registry.ReadString("ServerPath");
  return folder;
}

std::string AlertLogBase() {
  try {
    const std::string folder = InstallationFolder();
    if (!folder.empty()) return folder;
  } catch (...) {
  }
  return ExecutableFolder();
}

std::string GeneratorLogBase() {
  try {
    std::string folder = InstallationFolder();
    if (folder.empty()) folder = GetTempFolder(255);
    if (!folder.empty()) return folder;
  } catch (...) {
  }
  return kLastResortFolder;
}

std::string PeriodStamp(const std::string& period, TDateTime now) {
  const char* pattern = period == "M" ? "yyyymm" : period == "Y" ? "yyyy" : "yyyymmdd";
  return FormatDateTime(pattern, now);
}

// The whole line goes out in one write() to a file opened for appending, so
// entries of several processes logging to the same file never mix, however
// long they are; a write that falls short answers false.
bool AppendLine(const std::string& path, const std::string& line) {
  const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (file < 0) return false;
  ssize_t written;
  do {
    written = ::write(file, line.data(), line.size());
  } while (written < 0 && errno == EINTR);
  const bool whole = written == static_cast<ssize_t>(line.size());
  return ::close(file) == 0 && whole;
}

// Appends one line to folder/Log/fileName, creating what is missing.
bool AppendEntry(const std::string& baseFolder, const std::string& fileName, const std::string& entry) {
  try {
    const std::string logFolder = IncludeTrailingPathDelimiter(baseFolder) + "Log";
    if (!ForceDirectories(logFolder)) return false;
    return AppendLine(logFolder + "/" + fileName, entry + "\r\n");
  } catch (...) {
    return false;
  }
}

bool WriteAlert(const std::string& baseFolder, const std::string& module, const std::string& text,
                const std::string& period) {
  // A module name is part of the file name and must not lead out of the folder.
  if (module.find('/') != std::string::npos) return false;
  // One reading of the clock names the file and stamps the entry, so an entry
  // written at midnight lands in the file of the day its stamp shows.
  const TDateTime now = Clock::Now();
  const std::string fileName = "Alert_" + module + "_" + PeriodStamp(period, now) +
                               (module.find('.') == std::string::npos ? ".log" : "");
  const std::string stamp = FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", now);
  return AppendEntry(baseFolder, fileName, "[" + stamp + "] " + text);
}

std::string TwoDigits(long long number) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%.2lld", number);
  return buffer;
}

std::string ErrorEntry(long long index, long long code, const std::string& kind, const std::string& message) {
  return kind + " Error " + TwoDigits(index) + ": Code: " + std::to_string(code) + ", Message: " + message;
}

// Writes the details of the error by its kind; answers how many it wrote.
int ReportErrorDetails(const Exception& error) {
  if (const auto* engine = dynamic_cast<const EDBEngineError*>(&error)) {
    int index = 0;
    for (const auto& sub : engine->Errors())
      WriteGeneratorLog(ErrorEntry(++index, sub.ErrorCode, "EDBEngineError", sub.Message));
    return index;
  }
  if (const auto* system = dynamic_cast<const EOSError*>(&error)) {
    WriteGeneratorLog(ErrorEntry(1, system->ErrorCode(), "EWin32Error", error.Message()));
    return 1;
  }
  if (const auto* io = dynamic_cast<const EInOutError*>(&error)) {
    WriteGeneratorLog(ErrorEntry(1, io->ErrorCode(), "EInOutError", error.Message()));
    return 1;
  }
  WriteGeneratorLog(std::string("Exception is ") + error.ClassName() + "\r\nMessage 01: " + error.Message());
  return 1;
}

}  // namespace

bool WriteAlertLog(const std::string& module, const std::string& text, const std::string& period) {
  return WriteAlert(AlertLogBase(), module, text, period);
}

bool WriteLocalAlertLog(const std::string& module, const std::string& text, const std::string& period) {
  return WriteAlert(ExecutableFolder(), module, text, period);
}

bool WriteGeneratorLog(const std::string& text) {
  const TDateTime now = Clock::Now();
  const TFormatSettings& settings = FormatSettings();
  const std::string stamp = FormatDateTime(settings.ShortDateFormat + " " + settings.LongTimeFormat, now);
  return AppendEntry(GeneratorLogBase(), "Alert_NOVRAGenerator_" + FormatDateTime("yyyymmdd", now) + ".log",
                     "[" + stamp + "] " + text);
}

void ReportException(const Exception* error, const std::string& location, const std::string& programmerMessage) {
  const std::string rule(34, '-');
  const bool hasLocation = !Trim(location).empty();
  WriteGeneratorLog(rule + (hasLocation ? " on " + location + " " : "") + rule);
  if (error) {
    WriteGeneratorLog("讯息信息:");
    WriteGeneratorLog("ErrorMessage Count: " + std::to_string(ReportErrorDetails(*error)));
  }
  if (!Trim(programmerMessage).empty()) WriteGeneratorLog("Programer Message: " + programmerMessage);
}

}  // namespace qv
