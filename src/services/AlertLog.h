#pragma once
// The background logs. Shared services never show or raise their failures:
// they write a line to an "Alert_" file in a "Log" folder and carry on.
// Every writer answers false when it could not write, and never raises.

#include <string>

namespace qv {

class Exception;

// "Alert_<module>_<stamp>[.log]" below the installation's "Log" folder (the
// registry's ClientPath, else ServerPath, else the executable's folder). The
// period "D", "M" or "Y" (exact case) gives a file per day, month or year;
// anything else a file per day.
bool WriteAlertLog(const std::string& module, const std::string& text, const std::string& period);

// The same, always below the folder of the running executable.
bool WriteLocalAlertLog(const std::string& module, const std::string& text, const std::string& period);

// "Alert_NOVRAGenerator_<yyyymmdd>.log" below the installation's "Log"
// folder, else the temporary folder, else "/tmp".
bool WriteGeneratorLog(const std::string& text);

// A readable account of an error in the generator log: a location line, the
// error's details by its kind, and the programmer's message. error may be null.
void ReportException(const Exception* error, const std::string& location, const std::string& programmerMessage);

}  // namespace qv
