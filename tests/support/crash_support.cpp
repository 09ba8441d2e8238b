#include "tests/support/crash_support.h"

#include <tlhelp32.h>

#include <fstream>

#include "base/position.h"
#include "base/win_handles.h"

namespace testing_win {
namespace {
constexpr UINT kRaiseFault = WM_APP + 0x46;  // as the test build's trigger reads it
constexpr char kMailtoKey[] = "Software\\Classes\\mailto";
constexpr char kClassesCommand[] = "mailto\\shell\\open\\command";

std::string StandInExe() { return std::string(DA3_TEST_BINARY_DIR) + "\\mail_stand_in.exe"; }
}  // namespace

std::string FaultingProgramCommand(const std::string& arguments) {
  return "\"" + std::string(DA3_TEST_BINARY_DIR) + "\\DA3ZurFaults.exe\" " + arguments;
}

bool FaultFromOutside(DWORD processId) {
  KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
  if (!process) return false;
  KernelHandle thread(CreateRemoteThread(process.get(), nullptr, 0, nullptr, nullptr, 0, nullptr));
  return bool(thread);
}

bool RaiseTestFault(DWORD processId, TestFault fault) {
  std::string title = "fault trigger " + std::to_string(processId);
  HWND trigger = FindWindowExA(HWND_MESSAGE, nullptr, "DA3ZurFaultTrigger", title.c_str());
  return trigger && PostMessageA(trigger, kRaiseFault, WPARAM(fault), 0);
}

unsigned StepLineAfter(const std::string& sourceFile, const std::string& anchor) {
  std::ifstream source(SourcePath(sourceFile));
  std::string text;
  bool anchored = false;
  for (unsigned line = 1; std::getline(source, text); ++line) {
    if (!anchored)
      anchored = text.find(anchor) != std::string::npos;
    else if (text.find("STEP") != std::string::npos)
      return StepLineOf(sourceFile, line);
  }
  return 0;
}

std::string CrashBoxTextFor(const std::string& parameters, unsigned line, const std::string& module,
                            const std::string& description) {
  return "Version: 1.0\r\nParameters: " + parameters + "\r\nLine: " + std::to_string(line) +
         "\r\nModule: " + module + "\r\nDescription: " + description +
         "\r\n\r\n\r\nWould you like to send this message to the author of this program via "
         "email?";
}

MailStandIn::MailStandIn() : exe_(StandInExe()), record_(dir_ / "mail address.txt") {
  const KeyHandle mailto = CreatedKey(HKEY_CURRENT_USER, kMailtoKey, KEY_ALL_ACCESS);
  if (!mailto) return;
  char previous[1024] = {};
  LONG size = sizeof previous;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, kClassesCommand, previous, &size) == ERROR_SUCCESS)
    previousCommand_ = previous;
  const std::string command = "\"" + exe_ + "\" \"" + record_ + "\" %1";
  auto setCommand = [&](HKEY root, const char* subKey) {
    return RegSetValueA(root, subKey, REG_SZ, command.c_str(), DWORD(command.size())) ==
           ERROR_SUCCESS;
  };
  registered_ = RegSetValueExA(mailto.get(), "URL Protocol", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(""), 1) == ERROR_SUCCESS &&
                setCommand(mailto.get(), "shell\\open\\command") &&
                setCommand(HKEY_CLASSES_ROOT, kClassesCommand);
}

MailStandIn::~MailStandIn() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kMailtoKey);
  if (previousCommand_.empty())
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassesCommand);
  else
    RegSetValueA(HKEY_CLASSES_ROOT, kClassesCommand, REG_SZ, previousCommand_.c_str(),
                 DWORD(previousCommand_.size()));
}

std::string MailStandIn::WaitForAddress(int timeoutMs) const {
  if (!WaitUntil([&] { return FileExists(record_); }, timeoutMs)) return {};
  const std::string line = ReadFileBytes(record_);
  const std::string start = "\"" + exe_ + "\" \"" + record_ + "\" ";
  // A command line of another shape comes back whole, marked, so the failure shows it.
  return line.compare(0, start.size(), start) == 0 ? line.substr(start.size()) : "?" + line;
}

bool MailStandIn::Started() const {
  if (FileExists(record_)) return true;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry))
    if (lstrcmpiA(entry.szExeFile, "mail_stand_in.exe") == 0) return true;
  return FileExists(record_);  // it may have finished while the list was taken
}

}  // namespace testing_win
