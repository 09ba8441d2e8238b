#include "tests/support/crash_support.h"

#include <tlhelp32.h>

#include <fstream>

#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"

namespace testing_win {
namespace {
constexpr UINT kRaiseFault = WM_APP + 0x46;  // as the test build's trigger reads it
constexpr char kMailtoKey[] = "Software\\Classes\\mailto";
constexpr char kClassesCommand[] = "mailto\\shell\\open\\command";

// Sets the default value of the key (made when missing) to the text.
bool SetDefaultValue(HKEY root, const char* subKey, const std::string& text) {
  const std::wstring wide = Wide(text);
  return RegSetKeyValueW(root, Wide(subKey).c_str(), nullptr, REG_SZ, wide.c_str(),
                         DWORD((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::string StandInExe() { return std::string(DA3_TEST_BINARY_DIR) + "\\mail_stand_in.exe"; }
}  // namespace

std::string FaultingProgramExe() { return std::string(DA3_TEST_BINARY_DIR) + "\\DA3ZurFaults.exe"; }

std::string FaultingProgramCommand(const std::string& arguments) {
  return "\"" + FaultingProgramExe() + "\" " + arguments;
}

bool FaultFromOutside(DWORD processId) {
  KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
  if (!process) return false;
  KernelHandle thread(CreateRemoteThread(process.get(), nullptr, 0, nullptr, nullptr, 0, nullptr));
  return bool(thread);
}

bool RaiseTestFault(DWORD processId, TestFault fault, std::uint32_t position) {
  std::string title = "fault trigger " + std::to_string(processId);
  HWND trigger = FindWindowExW(HWND_MESSAGE, nullptr, L"DA3ZurFaultTrigger", Wide(title).c_str());
  return trigger && PostMessageW(trigger, kRaiseFault, WPARAM(fault), LPARAM(position));
}

DWORD SendTestFault(TestFault fault) {
  HWND trigger = FindWindowExW(HWND_MESSAGE, nullptr, L"DA3ZurFaultTrigger", nullptr);
  DWORD processId = 0;
  if (trigger && GetWindowThreadProcessId(trigger, &processId) &&
      SendNotifyMessageW(trigger, kRaiseFault, WPARAM(fault), 0))
    return processId;
  return 0;
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
  wchar_t previous[1024] = {};
  LONG size = sizeof previous;
  if (RegQueryValueW(HKEY_CLASSES_ROOT, Wide(kClassesCommand).c_str(), previous, &size) ==
      ERROR_SUCCESS)
    previousCommand_ = Utf8Shown(previous);
  const std::string command = "\"" + exe_ + "\" \"" + record_ + "\" %1";
  auto setCommand = [&](HKEY root, const char* subKey) {
    return SetDefaultValue(root, subKey, command);
  };
  registered_ =
      RegSetValueExW(mailto.get(), L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                     sizeof(wchar_t)) == ERROR_SUCCESS &&
      setCommand(mailto.get(), "shell\\open\\command") &&
      setCommand(HKEY_CLASSES_ROOT, kClassesCommand);
}

MailStandIn::~MailStandIn() {
  RegDeleteTreeW(HKEY_CURRENT_USER, Wide(kMailtoKey).c_str());
  if (previousCommand_.empty())
    RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(kClassesCommand).c_str());
  else
    SetDefaultValue(HKEY_CLASSES_ROOT, kClassesCommand, previousCommand_);
}

std::string MailStandIn::WaitForAddress(int timeoutMs) const {
  // The record appears whole (renamed into place), but a read at that moment may still find it
  // held: the line is what a read that gives one gives.
  std::string line;
  if (!WaitUntil([&] { return !(line = ReadFileBytes(record_)).empty(); }, timeoutMs)) return {};
  const std::string start = "\"" + exe_ + "\" \"" + record_ + "\" ";
  // A command line of another shape comes back whole, marked, so the failure shows it.
  return line.compare(0, start.size(), start) == 0 ? line.substr(start.size()) : "?" + line;
}

bool MailStandIn::Started() const {
  if (FileExists(record_)) return true;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (lstrcmpiW(entry.szExeFile, L"mail_stand_in.exe") == 0) return true;
  return FileExists(record_);  // it may have finished while the list was taken
}

}  // namespace testing_win
