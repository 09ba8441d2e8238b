// The crash report of DA3Zur.exe in each mode: a fault raised while the program's window is open
// brings up "Crash detected." with the report, No ends the process and opens nothing, Yes hands
// the mail address to the user's mail program (a stand-in registered for mailto:). Division by
// zero, stack overflow, a code outside the table and a second fault come through the test build.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/crash_report.h"
#include "base/file_system_win.h"
#include "base/position.h"
#include "configure/configuration_window.h"
#include "configure/shell_verbs.h"
#include "sorter/sorter_window.h"
#include "tests/support/crash_support.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/verb_call_support.h"

using namespace testing_win;

namespace {

// While a window sits in its event loop, the last step begun is the loop's own, recorded in the
// window's module.
unsigned EventLoopLine() {
  unsigned line = StepLineAfter("window_kit/window_kit_win.cpp", "void RunEventLoop(");
  EXPECT_NE(line, 0u) << "RunEventLoop records no step";
  return line;
}

class CrashReport : public ::testing::Test {
 protected:
  static constexpr DWORD kQuietMs = 300;

  void SetUp() override { ASSERT_TRUE(mail.registered()) << "mailto: stand-in not registered"; }

  // Waits until the window of the process with that title has its controls and its event loop.
  HWND WaitForIdleWindow(const Process& program, const char* title, size_t controls) {
    HWND window = WaitForWindow(program.id(), nullptr, title);
    EXPECT_NE(window, nullptr) << "no window \"" << title << "\" appeared";
    if (!window) return nullptr;
    EXPECT_GE(WaitForChildren(window, controls).size(), controls) << "controls of " << title;
    EXPECT_TRUE(WaitUntilAnswering(window)) << title << " never reached its event loop";
    // What the window does in its first idle rounds (the sorter's preview reads its files and
    // redraws the list) is over once it has answered with nothing left to paint for a while.
    DWORD quietSince = GetTickCount();
    WaitUntil([&] {
      if (!WaitUntilAnswering(window) || !NothingToPaint(window)) quietSince = GetTickCount();
      return GetTickCount() - quietSince >= kQuietMs;
    });
    return window;
  }

  static bool NothingToPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child : Children(window))
      if (GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
  }

  // Waits for the crash box of the process and returns its whole text.
  std::string CrashBox(const Process& program) {
    box = WaitForMessageBox(program.id(), kCrashTitle);
    EXPECT_NE(box, nullptr) << "no \"Crash detected.\" box appeared";
    return box ? MessageBoxText(box) : "";
  }

  TempDir appData, files;
  MailStandIn mail;
  HWND box = nullptr;
};
}  // namespace

TEST_F(CrashReport, NoArgumentsFaultFromOutsideAnsweredNoEndsWithNothingOpened) {
  Process program(ProgramCommand(""), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kConfigurationTitle, 4));
  ASSERT_TRUE(FaultFromOutside(program.id()));

  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("", EventLoopLine(), "Configure", "Invalid memory access"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_FALSE(mail.Started());
}

TEST_F(CrashReport, EditRunFaultAnsweredYesMailsThePathWithAmpersandPercentAndNumberSign) {
  // A name outside every code page: the box shows it as it is, the mail carries its UTF-8 bytes.
  const std::string song = files.CopyFixture(
      "tagged.mp3",
      "Rock & Roll 100% #1 \xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9 \xE2\x80\x93 \xE2\x80\x99"
      "99.mp3");
  Process program(ProgramCommand("-edit " + Quoted(song)), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForEditor(program.id()));
  ASSERT_TRUE(FaultFromOutside(program.id()));

  const std::string parameters = "\"-edit\" " + Quoted(song) + " ";
  const std::string text = CrashBox(program);
  EXPECT_EQ(text, CrashBoxTextFor(parameters, EventLoopLine(), "Editor", "Invalid memory access"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDYES));
  EXPECT_EQ(program.WaitForExit(5000), 0);

  const std::string address = mail.WaitForAddress();
  const std::string report = text.substr(0, text.find("\r\n\r\n") + 2);
  EXPECT_EQ(address, CrashMailAddress(report));
  EXPECT_EQ(address.rfind("mailto:bugreport@veltan.example?subject=Veltan%20-%20Bug%20report"
                          "&body=%0D%0A%0D%0A-----%0D%0AVersion:%201.0%0D%0AParameters:%20",
                          0),
            0u)
      << address;
  EXPECT_NE(address.find("Rock%20%26%20Roll%20100%25%20%231%20%D0%9C%D1%83%D0%BC%D0%B8%D0%B9%20"
                         "%E2%80%93%20%E2%80%9999.mp3%22%20%0D%0ALine:%20"),
            std::string::npos)
      << address;
  EXPECT_EQ(address.find('#'), std::string::npos) << "a # would end the body: " << address;
  EXPECT_EQ(ReadFileBytes(song), ReadFileBytes(FixturePath("tagged.mp3"))) << "file touched";
}

TEST_F(CrashReport, SortRunFaultAnsweredNo) {
  const std::string song = files.CopyFixture("tagged.ogg", "song.ogg");
  Process program(ProgramCommand("-sort " + Quoted(song)), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(FaultFromOutside(program.id()));

  EXPECT_EQ(CrashBox(program), CrashBoxTextFor("\"-sort\" " + Quoted(song) + " ", EventLoopLine(),
                                               "Sorter", "Invalid memory access"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_FALSE(mail.Started());
}

TEST_F(CrashReport, IntegerDivisionByZeroOnTheProgramsThread) {
  Process program(FaultingProgramCommand(""), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kConfigurationTitle, 4));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kDivideByZero));

  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("", EventLoopLine(), "Configure", "Division by zero "));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
}

TEST_F(CrashReport, StackOverflowOnTheProgramsThreadStillReportsAndMails) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kStackOverflow));

  const std::string text = CrashBox(program);
  EXPECT_EQ(text, CrashBoxTextFor("\"-sort\" ", EventLoopLine(), "Sorter", "Stack overflow"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDYES));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_EQ(mail.WaitForAddress(), CrashMailAddress(text.substr(0, text.find("\r\n\r\n") + 2)));
}

TEST_F(CrashReport, CodeOutsideTheTableIsAnUnknownErrorCode) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kUnknownCode));

  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("\"-sort\" ", EventLoopLine(), "Sorter", "Unknown error code"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
}

// A C++ exception that nothing catches reaches the report like a processor fault, with the code
// the fault table does not name, and ends with exit code 0 rather than the runtime's abort box.
TEST_F(CrashReport, UncaughtExceptionIsReportedAsAnUnknownErrorCode) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kUncaughtException));

  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("\"-sort\" ", EventLoopLine(), "Sorter", "Unknown error code"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
}

// A second fault while the box is open ends the process with exit code 0 at once: no second box,
// nothing opened, no hang.
TEST_F(CrashReport, SecondFaultWhileTheReportShowsEndsTheProcess) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(FaultFromOutside(program.id()));
  ASSERT_FALSE(CrashBox(program).empty());
  ASSERT_TRUE(FaultFromOutside(program.id()));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_FALSE(mail.Started());
}

// A fault on a worker thread (TagLib reading ahead during a sort) names the worker's own last
// step, not the one the program's thread began meanwhile; while the box shows, the program's
// thread does nothing more: a fault posted to it never runs, and No still ends the process.
TEST_F(CrashReport, AWorkersFaultNamesItsOwnStepAndTheProgramsThreadStops) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  const unsigned line = StepLineAfter("tags/taglib.h", "inline TagLib_File* FileNew(");
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kAccessViolationOnWorker,
                             std::uint32_t(Module::TagLib) << 24 | line));
  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("\"-sort\" ", line, "taglib", "Invalid memory access"));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kAccessViolation));
  Sleep(1000);
  EXPECT_TRUE(IsWindowVisible(box)) << "the program's thread went on and faulted again";
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
}

// While the box shows, a file going to another drive on the copy worker stops as Cancel stops
// it: the copy beside the target goes, and the file stays where it was.
TEST_F(CrashReport, ACopyGoingOnAWorkerStopsWhileTheBoxShows) {
  TestDiskDir other(TestDiskDir::kOtherDrive, "crash");
  if (other.path().empty()) GTEST_SKIP() << "no other drive mounted";
  constexpr LONGLONG kLarge = 2LL << 30;  // seconds to copy
  const std::string big = files.CopyFixture("tagged.flac", "big.flac");
  MakeSparseFile(big, kLarge);
  Process program(FaultingProgramCommand("-sort " + Quoted(big)), appData.path());
  SorterControls s = WaitForSorter(program.id(), 10000);
  ASSERT_TRUE(s) << "the sorter window never appeared";
  SetText(s.pattern, other.path() + "*.$");
  ASSERT_TRUE(StartSort(s, program.id(), true)) << "the delete question never appeared";
  ASSERT_TRUE(WaitUntil([&] { return FileCount(other.path()) == 1; }, 10000))
      << "the copy never began";
  ASSERT_TRUE(FaultFromOutside(program.id()));
  ASSERT_FALSE(CrashBox(program).empty());
  EXPECT_TRUE(WaitUntil([&] { return FileCount(other.path()) == 0; }, 60000))
      << "the copy went on behind the box";
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge)) << "the move went on after the box";
}

// A fault inside a call COM makes into the verb object (here while the object waits for the files
// it asked for) reaches the report. COM would catch it and answer the caller with an error, and the
// process would end after its wait without a word.
TEST_F(CrashReport, AFaultInsideACallOfTheVerbObjectIsReported) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  RemoveAllVerbs();
  RegisterVerbsForProgram(FaultingProgramExe());
  SetEnvironmentVariableA("APPDATA", appData.path().c_str());
  // The object's thread waits for the files in COM's loop, which runs the message sent to it; the
  // answer is kept back meanwhile. The drop then waits until the faulted process has ended, so the
  // box is answered from a thread of its own, once the answer has gone (COM here would trip over a
  // caller that went away in the middle of its call).
  std::atomic<DWORD> server{0};
  std::atomic<bool> answered{false};
  std::string text;
  std::thread answer([&] {
    if (!WaitUntil([&] { return answered.load(); })) return;
    Sleep(300);
    box = WaitForMessageBox(server, kCrashTitle);
    text = box ? MessageBoxText(box) : "(the fault inside the call was not reported)";
    if (box) AnswerMessageBox(box, IDNO);
  });
  DropWhile(kSortVerbKey, {files.CopyFixture("tagged.ogg", "song.ogg")}, [&] {
    server = SendTestFault(TestFault::kAccessViolation);
    Sleep(500);
    answered = true;
  });
  answer.join();
  RemoveAllVerbs();
  CoUninitialize();
  const unsigned line =
      StepLineAfter("app/verb_server_win.cpp", "std::vector<std::string> DroppedFiles(");
  EXPECT_EQ(text, CrashBoxTextFor("\"-Embedding\" ", line, "DA3Rudi", "Invalid memory access"));
}

// The box is modal over the program's windows: they are disabled while it shows, whether the fault
// came on another thread (whose window would otherwise take input) or on the window's own.
TEST_F(CrashReport, TheBoxDisablesTheProgramsWindows) {
  for (bool fromOutside : {true, false}) {
    SCOPED_TRACE(fromOutside ? "fault on another thread" : "fault on the window's thread");
    Process program(FaultingProgramCommand(""), appData.path());
    ASSERT_TRUE(program.started());
    HWND window = WaitForIdleWindow(program, kConfigurationTitle, 4);
    ASSERT_TRUE(window);
    ASSERT_TRUE(IsWindowEnabled(window));
    ASSERT_TRUE(fromOutside ? FaultFromOutside(program.id())
                            : RaiseTestFault(program.id(), TestFault::kAccessViolation));
    ASSERT_FALSE(CrashBox(program).empty());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(window); }))
        << "the configuration window still takes input under the crash box";
    ASSERT_TRUE(box && AnswerMessageBox(box, IDNO));
    EXPECT_EQ(program.WaitForExit(5000), 0);
  }
}

// A fault while the program's thread holds the heap its own code allocates from: the report is
// composed in memory set aside at start-up, so the box still comes.
TEST_F(CrashReport, FaultHoldingTheHeapLockStillShowsTheBox) {
  Process program(FaultingProgramCommand("-sort"), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kSorterTitle, 6));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kAccessViolationHoldingHeap));
  EXPECT_EQ(CrashBox(program),
            CrashBoxTextFor("\"-sort\" ", EventLoopLine(), "Sorter", "Invalid memory access"));
  ASSERT_TRUE(box && AnswerMessageBox(box, IDYES));
  EXPECT_EQ(program.WaitForExit(5000), 0);
  EXPECT_FALSE(mail.WaitForAddress().empty()) << "the mail address is composed without the heap";
}

// A fault while the lock that the box itself needs is held: no box can come, and the process
// ends with exit code 0 after the faulting thread's limit instead of freezing.
TEST_F(CrashReport, FaultHoldingTheLockTheBoxNeedsEndsTheProcessWithinItsLimit) {
  Process program(FaultingProgramCommand(""), appData.path());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(WaitForIdleWindow(program, kConfigurationTitle, 4));
  ASSERT_TRUE(RaiseTestFault(program.id(), TestFault::kAccessViolationHoldingProcessHeap));
  EXPECT_EQ(program.WaitForExit(90000), 0) << "the process froze past the 60 s limit";
  EXPECT_FALSE(mail.Started());
}
