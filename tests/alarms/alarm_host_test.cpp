#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "alarms/alarm_action.h"
#include "alarms/alarm_host_win.h"
#include "alarms/message_window_win.h"
#include "app/win_test_support.h"
#include "platform/codec.h"

namespace mirovane {
namespace {

namespace fs = std::filesystem;

fs::path BesideTests(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / name;
}

// The recorder's arguments after an alarm ran it, or "<none>" when it did not run in time.
std::string RecordedArguments(const fs::path& folder) {
  const fs::path file = folder / "args.txt";
  for (int i = 0; i < 200 && !fs::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!fs::exists(file)) return "<none>";
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  fs::remove(file);
  return text.str();
}

class AlarmHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / L"mirovane alarm host";
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    program_ = folder_ / L"c.exe";
    ASSERT_TRUE(fs::exists(BesideTests(L"alarm_arg_recorder.exe"))) << "build alarm_arg_recorder";
    fs::copy_file(BesideTests(L"alarm_arg_recorder.exe"), program_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  std::string ProgramCp932() const { return WideToCp932(program_.wstring()); }

  fs::path folder_;
  fs::path program_;
  WinAlarmHost host_;
};

TEST_F(AlarmHostTest, FileExistsOnlyForFiles) {
  EXPECT_TRUE(FileExistsCp932(ProgramCp932()));
  EXPECT_FALSE(FileExistsCp932(WideToCp932(folder_.wstring())));
  EXPECT_FALSE(FileExistsCp932(ProgramCp932() + ".gone"));
  EXPECT_FALSE(FileExistsCp932(""));
}

TEST_F(AlarmHostTest, ExeAlarmPassesTheCommandLineAsOneArgument) {
  // A path with a blank, and a command line with blanks and quotes-worthy text.
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe$" + ProgramCp932() + "::-x -y", host_));
  EXPECT_EQ(RecordedArguments(folder_), "-x -y\n");
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:" + ProgramCp932(), host_));
  EXPECT_EQ(RecordedArguments(folder_), "");
}

// A hostile command line stays one argument. The text tries to end the quotes and chain a second
// program; that program is the recorder itself under another name, so its record would show.
TEST_F(AlarmHostTest, QuotesInTheCommandLineStartNoSecondProgram) {
  const fs::path other = folder_ / L"other.exe";
  fs::copy_file(program_, other);
  const std::string hostile = "a\" & \"" + WideToCp932(other.wstring()) + "\" & \"b";

  EXPECT_FALSE(
      PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:" + ProgramCp932() + "::" + hostile, host_));
  EXPECT_EQ(RecordedArguments(folder_), Cp932ToUtf8(hostile) + "\n");

  // A batch file records what the command interpreter handed it as %1 and %2, and nothing may
  // run after it. (Its record is made by the interpreter, so it holds the quoted form.) The
  // second text also tries a variable that holds quotes.
  const fs::path batch = folder_ / L"run.bat";
  const fs::path record = folder_ / "batch.txt";
  {
    std::ofstream file(batch, std::ios::binary);
    file << "@echo [%1][%2]> \"" << WideToCp932(record.wstring()) << "\"\r\n";
  }
  const std::string percent = "%CMDCMDLINE% " + hostile;
  for (const std::string& text : {hostile, percent}) {
    SCOPED_TRACE(Cp932ToUtf8(text));
    EXPECT_FALSE(PerformAlarmLine(
        "*xxxx/xx/xx 07:30  Exe:" + WideToCp932(batch.wstring()) + "::" + text, host_));
    // The interpreter creates the file, then writes the line: wait for the whole line.
    std::string seen;
    for (int i = 0; i < 300; ++i) {
      std::ifstream in(record, std::ios::binary);
      seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      if (seen.find('\n') != std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::error_code ignored;
    for (int i = 0; i < 100 && !fs::remove(record, ignored) && fs::exists(record); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // One argument, the whole text, and no second one.
    EXPECT_EQ(seen.rfind("[\"", 0), 0u) << seen;
    EXPECT_NE(seen.find("\"\" & \"\""), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"\"b\"]"), std::string::npos) << seen;
    EXPECT_NE(seen.find("][]"), std::string::npos) << seen;
    // The batch has ended once its record exists; a chained program would have started by now.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(fs::exists(folder_ / "args.txt")) << "a second program ran";
    fs::remove(folder_ / "args.txt");
  }
}

// A folder whose literal name is "%USERNAME%" and the folder of the expanded name, each with
// the recorder: the alarm runs the one its line names, as the shell alone would not.
TEST_F(AlarmHostTest, AnExePathHoldingAVariableRunsExactlyThatFile) {
  wchar_t user[256] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERNAME", user, 256), 0u);
  const fs::path literal = folder_ / L"%USERNAME%";
  const fs::path expanded = folder_ / user;
  fs::create_directories(literal);
  fs::create_directories(expanded);
  fs::copy_file(program_, literal / L"prog.exe");
  fs::copy_file(program_, expanded / L"prog.exe");

  const std::string path = WideToCp932((literal / L"prog.exe").wstring());
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:" + path + "::hello", host_));
  EXPECT_EQ(RecordedArguments(literal), "hello\n");
  EXPECT_FALSE(fs::exists(expanded / "args.txt")) << "the expanded name ran";
}

std::wstring g_seen;  // text and caption of the message window the timer below closed

TEST_F(AlarmHostTest, MissingProgramIsReportedInAWarning) {
  bool prepared = false;
  host_.beforeMessage = [&] { prepared = true; };
  const std::string missing = ProgramCp932() + ".gone";
  UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND w = FindWindowW(kMessageWindowClass, nullptr);
    if (w && IsWindowVisible(w)) {
      g_seen = testing::WindowText(GetDlgItem(w, kMessageTextId)) + L"|" + testing::WindowText(w);
      PostMessageW(w, WM_CLOSE, 0, 0);
    }
  });
  g_seen.clear();
  EXPECT_FALSE(PerformAlarmLine("*xxxx/xx/xx 07:30  Exe:" + missing + "::x", host_));
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_seen, Cp932ToWide(missing) + Utf8ToWide("が見付かりません。|警告"));
  EXPECT_TRUE(prepared);
}

}  // namespace
}  // namespace mirovane
