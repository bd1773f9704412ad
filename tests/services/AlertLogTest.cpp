// The background logs: where they go, how files are named, what a line
// looks like, and the error report of the generator log.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/system/SystemInfo.h"
#include "services/AlertLog.h"
#include "support/Installation.h"

namespace qv {
namespace {

using test::Installation;
using test::PathExists;
using test::ReadFile;

const TDateTime kMoment = EncodeDate(2024, 1, 31) + EncodeTime(13, 5, 9, 7);

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines of a file without their "[…] " time stamps.
std::vector<std::string> Entries(const std::string& path) {
  std::vector<std::string> entries;
  for (const std::string& line : Lines(ReadFile(path)))
    entries.push_back(line.rfind('[', 0) == 0 ? line.substr(line.find("] ") + 2) : line);
  return entries;
}

class AlertLogTest : public ::testing::Test {
 protected:
  Installation install;
  ScopedClock clock{kMoment};
};

TEST_F(AlertLogTest, AppendsStampedLinesToTheModulesDailyFile) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  ASSERT_TRUE(WriteAlertLog("libstrs", "LINE[115] first", "D"));
  ASSERT_TRUE(WriteAlertLog("libstrs", "second", "D"));
  EXPECT_EQ(ReadFile(install.Folder("client") + "/Log/Alert_libstrs_20240131.log"),
            "[2024/01/31 13:05:09:007] LINE[115] first\r\n[2024/01/31 13:05:09:007] second\r\n");
}

TEST_F(AlertLogTest, TheLinesSeparatorsAreTheLocales) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  FormatSettings().DateSeparator = '-';
  FormatSettings().TimeSeparator = '.';
  ASSERT_TRUE(WriteAlertLog("libstrs", "text", "D"));
  EXPECT_EQ(ReadFile(install.Folder("client") + "/Log/Alert_libstrs_20240131.log"),
            "[2024-01-31 13.05.09.007] text\r\n");
}

TEST_F(AlertLogTest, FileNamesByPeriodAndModule) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  const struct {
    const char* module;
    const char* period;
    const char* file;
  } cases[] = {
      {"libstrs", "D", "Alert_libstrs_20240131.log"}, {"libstrs", "d", "Alert_libstrs_20240131.log"},
      {"libstrs", "", "Alert_libstrs_20240131.log"},  {"libstrs", "X", "Alert_libstrs_20240131.log"},
      {"libstrs", "M", "Alert_libstrs_202401.log"},   {"libstrs", "m", "Alert_libstrs_20240131.log"},
      {"libstrs", "Y", "Alert_libstrs_2024.log"},     {"trace.txt", "D", "Alert_trace.txt_20240131"},
  };
  for (const auto& c : cases) {
    const std::string path = install.Folder("client") + "/Log/" + c.file;
    std::remove(path.c_str());
    EXPECT_TRUE(WriteAlertLog(c.module, "x", c.period));
    EXPECT_TRUE(PathExists(path)) << c.module << " " << c.period << " -> " << c.file;
  }
}

TEST_F(AlertLogTest, BaseFolderFallbacks) {
  const std::string local = ExecutableFolder() + "Log/Alert_fallbacktest_20240131.log";
  std::remove(local.c_str());

  install.SetRegistry("ClientPath=\nServerPath=" + install.Folder("server") + "\n");
  EXPECT_TRUE(WriteAlertLog("fallbacktest", "to server", "D"));
  EXPECT_TRUE(WriteGeneratorLog("to server"));
  EXPECT_TRUE(WriteLocalAlertLog("fallbacktest", "local", "D"));
  EXPECT_EQ(Entries(install.Folder("server") + "/Log/Alert_fallbacktest_20240131.log"),
            std::vector<std::string>{"to server"});
  EXPECT_TRUE(PathExists(install.Folder("server") + "/Log/Alert_NOVRAGenerator_20240131.log"));
  EXPECT_EQ(Entries(local), std::vector<std::string>{"local"});

  install.SetRegistry("");  // neither value: executable folder and temporary folder
  EXPECT_TRUE(WriteAlertLog("fallbacktest", "to exe", "D"));
  EXPECT_TRUE(WriteGeneratorLog("to temp"));
  EXPECT_EQ(Entries(local), (std::vector<std::string>{"local", "to exe"}));
  EXPECT_EQ(Entries(install.Folder("tmp") + "/Log/Alert_NOVRAGenerator_20240131.log"),
            std::vector<std::string>{"to temp"});
  std::remove(local.c_str());
}

TEST_F(AlertLogTest, GeneratorLineUsesShortDateAndLongTime) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  ASSERT_TRUE(WriteGeneratorLog("hello"));
  EXPECT_EQ(ReadFile(install.Folder("client") + "/Log/Alert_NOVRAGenerator_20240131.log"),
            "[2024/01/31 13:05:09] hello\r\n");
}

TEST_F(AlertLogTest, UnwritableFolderAnswersFalse) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  test::WriteFile(install.Folder("client") + "/Log", "a file where the folder should be");
  EXPECT_FALSE(WriteAlertLog("libstrs", "lost", "D"));
  EXPECT_FALSE(WriteGeneratorLog("lost"));
  EXPECT_EQ(ReadFile(install.Folder("client") + "/Log"), "a file where the folder should be");
}

TEST_F(AlertLogTest, FileAndStampOfAnEntryShowTheSameMoment) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  // The clock turns over to a new year right after it is first read.
  bool clockRead = false;
  Clock::SetSource([&clockRead] {
    const TDateTime now = clockRead ? EncodeDate(2024, 1, 1) : EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 59, 999);
    clockRead = true;
    return now;
  });
  const struct {
    std::function<bool()> write;
    const char* file;
    const char* content;
  } cases[] = {
      {[] { return WriteAlertLog("midnight", "entry", "D"); }, "Alert_midnight_20231231.log",
       "[2023/12/31 23:59:59:999] entry\r\n"},
      {[] { return WriteAlertLog("midnight", "entry", "M"); }, "Alert_midnight_202312.log",
       "[2023/12/31 23:59:59:999] entry\r\n"},
      {[] { return WriteAlertLog("midnight", "entry", "Y"); }, "Alert_midnight_2023.log",
       "[2023/12/31 23:59:59:999] entry\r\n"},
      {[] { return WriteGeneratorLog("entry"); }, "Alert_NOVRAGenerator_20231231.log",
       "[2023/12/31 23:59:59] entry\r\n"},
  };
  for (const auto& c : cases) {
    clockRead = false;
    ASSERT_TRUE(c.write()) << c.file;
    EXPECT_EQ(ReadFile(install.Folder("client") + "/Log/" + c.file), c.content) << c.file;
  }
  Clock::SetFixed(kMoment);
}

// Two processes log long entries to the same file at once: each entry stays
// one whole line, and both writers report success.
TEST_F(AlertLogTest, EntriesOfConcurrentWritersNeverMix) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  const int entriesPerWriter = 200;
  const std::string lineOfA = "[2024/01/31 13:05:09:007] " + std::string(20000, 'a');
  const std::string lineOfB = "[2024/01/31 13:05:09:007] " + std::string(20000, 'b');

  std::vector<pid_t> writers;
  for (char letter : {'a', 'b'}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool allWritten = true;
      for (int i = 0; i < entriesPerWriter; ++i)
        allWritten = WriteAlertLog("shared", std::string(20000, letter), "D") && allWritten;
      _exit(allWritten ? 0 : 1);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer answered false";
  }

  const std::vector<std::string> lines = Lines(ReadFile(install.Folder("client") + "/Log/Alert_shared_20240131.log"));
  int wholeA = 0, wholeB = 0;
  for (const std::string& line : lines) {
    wholeA += line == lineOfA;
    wholeB += line == lineOfB;
  }
  EXPECT_EQ(lines.size(), 400u);
  EXPECT_EQ(wholeA, 200);
  EXPECT_EQ(wholeB, 200);
}

TEST_F(AlertLogTest, ModuleNamesCannotLeaveTheLogFolder) {
  install.SetRegistry("ClientPath=" + install.Folder("client") + "\n");
  EXPECT_FALSE(WriteAlertLog("../escape", "x", "D"));
  EXPECT_FALSE(PathExists(install.Folder("client") + "/Alert_.._escape_20240131.log"));
  EXPECT_FALSE(PathExists(install.Folder("client") + "/escape_20240131.log"));
}

class ReportExceptionTest : public AlertLogTest {
 protected:
  void SetUp() override { install.SetRegistry("ClientPath=" + install.Folder("client") + "\n"); }
  std::vector<std::string> Report() {
    return Entries(install.Folder("client") + "/Log/Alert_NOVRAGenerator_20240131.log");
  }
  const std::string rule = std::string(34, '-');
};

TEST_F(ReportExceptionTest, DatabaseEngineErrorWithSubErrors) {
  const EDBEngineError error("engine", {{10024, "Key violation"}, {65535, "Table busy"}, {7, "Lost"}});
  ReportException(&error, "OpenTable", "打开表失败");
  EXPECT_EQ(Report(), (std::vector<std::string>{
                          rule + " on OpenTable " + rule,
                          "讯息信息:",
                          "EDBEngineError Error 01: Code: 10024, Message: Key violation",
                          "EDBEngineError Error 02: Code: 65535, Message: Table busy",
                          "EDBEngineError Error 03: Code: 7, Message: Lost",
                          "ErrorMessage Count: 3",
                          "Programer Message: 打开表失败",
                      }));
}

TEST_F(ReportExceptionTest, ErrorKinds) {
  const EDBEngineError noSubErrors("engine", {});
  const EOSError system("Access is denied", 5);
  const EInOutError io("Disk full", 112);
  const struct {
    const Exception* error;
    std::vector<std::string> details;
  } cases[] = {
      {&noSubErrors, {"ErrorMessage Count: 0"}},
      {&system, {"EWin32Error Error 01: Code: 5, Message: Access is denied", "ErrorMessage Count: 1"}},
      {&io, {"EInOutError Error 01: Code: 112, Message: Disk full", "ErrorMessage Count: 1"}},
  };
  for (const auto& c : cases) {
    std::remove((install.Folder("client") + "/Log/Alert_NOVRAGenerator_20240131.log").c_str());
    ReportException(c.error, "", "  ");
    std::vector<std::string> expected{std::string(68, '-'), "讯息信息:"};
    expected.insert(expected.end(), c.details.begin(), c.details.end());
    EXPECT_EQ(Report(), expected) << c.error->ClassName();
  }
}

TEST_F(ReportExceptionTest, OtherErrorsSpanTwoLines) {
  const EConvertError error("'$zz' is not a valid integer value");
  ReportException(&error, " Decode ", "");
  EXPECT_EQ(Report(), (std::vector<std::string>{rule + " on  Decode  " + rule, "讯息信息:",
                                                "Exception is EConvertError",
                                                "Message 01: '$zz' is not a valid integer value",
                                                "ErrorMessage Count: 1"}));
}

TEST_F(ReportExceptionTest, WithoutAnError) {
  ReportException(nullptr, "Somewhere", "note");
  EXPECT_EQ(Report(), (std::vector<std::string>{rule + " on Somewhere " + rule, "Programer Message: note"}));
}

}  // namespace
}  // namespace qv
