// Figures for the sorter, printed, not judged:
//   sorter_bench sort N R    the sort run over N small tagged files, copy and move, against a plain
//                            loop that only reads the tags with tag_c, builds the path, creates
//                            the folders and copies or moves; R rounds (default 1) that take
//                            turns at going first, and the median ratio
//   sorter_bench handover N  N sorter processes started at once until all N rows are in the
//                            window, against N trivial GUI processes started at once until all end
//   sorter_bench handfiles N one later process hands N files to a window: time per file
//   sorter_bench verbcall N  the sort verb called as Explorer calls it, N files dropped at once:
//                            time from the call until all N rows are in the window
//   sorter_bench preview N   the preview of N tagged files: first screen, keystrokes, all marks
//   sorter_bench rows N      the window with N rows of its own, then 1,000 more handed over: time
//                            and peak working set
//   sorter_bench steps N     where a run's time goes: each step of the run over N files on its
//                            own, beside the plain loop's way of doing the same
//   sorter_bench program N R the program as a user starts it: DA3Zur.exe -sort with N files of
//                            three formats, in albums, named in several scripts, from the process
//                            start and from the answer to its exit, beside the plain loop in the
//                            same R rounds; with the sources under the target's drive letter and
//                            under a letter of their own on the same volume; then the undo of the
//                            move, from Yes to its box
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <taglib/tag_c.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "file_steps/last_sort_undo_win.h"
#include "sorter/sort_files_win.h"
#include "file_steps/stepwise_copy_win.h"
#include "sorter/sorter_window.h"
#include "sorter/target_path.h"
#include "tags/tag_bridge.h"
#include "tags/taglib.h"
#include "bench/bench_support.h"
#include "configure/shell_verbs.h"
#include "tests/support/configure_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/verb_call_support.h"
#include "tests/support/win_test_support.h"
#include "base/file_system_win.h"
#include "base/wide_text_win.h"
#include "window_kit/window_kit_win.h"

using namespace testing_win;
using bench::Seconds;

namespace {
const char kTail[] = "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$";
constexpr int kTemplates = 50;        // tag sets, so the files spread over 50 album folders
constexpr size_t kHandedRows = 1000;  // rows handed over to a window that already holds N

TextTable Texts() {
  TextTable texts;
  FillDefaultTexts(texts);
  return texts;
}

// Names in several scripts: none, é, Ж, 夜.
const char* const kScripts[] = {"", "\xC3\xA9", "\xD0\x96", "\xE5\xA4\x9C"};

// Tagged files with tags that spread them over kTemplates folders: MP3 files, or, mixed, MP3,
// FLAC and Ogg files whose artists are named in several scripts.
std::vector<std::string> MakeTemplates(const TempDir& dir, bool mixed = false) {
  static const char* const kFormats[] = {"mp3", "flac", "ogg"};
  std::vector<std::string> templates;
  for (int i = 0; i < kTemplates; ++i) {
    const std::string extension = kFormats[mixed ? i % 3 : 0];
    std::string path =
        dir.CopyFixture("tagged." + extension, "t" + std::to_string(i) + "." + extension);
    TagInfo tags;
    tags.genre = "Genre " + std::to_string(i % 5);
    tags.artist = "Artist " + std::string(kScripts[mixed ? i % 4 : 0]) + std::to_string(i % 10);
    tags.album = "Album " + std::to_string(i);
    WriteTags(path, &tags);
    templates.push_back(path);
  }
  return templates;
}

// Copies of the templates in a new folder: "file<n>", or, mixed, named in several scripts.
std::vector<std::string> MakeSources(const std::string& folder,
                                     const std::vector<std::string>& templates, int count,
                                     bool mixed = false) {
  RemoveTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) {
    const std::string& from = templates[size_t(i) % templates.size()];
    files.push_back(folder + "\\" + (mixed ? kScripts[i % 4] : "file") + std::to_string(i) +
                    from.substr(from.rfind('.')));
    CopyFileW(Wide(from).c_str(), Wide(files.back()).c_str(), FALSE);
  }
  return files;
}

// The sorter window run in this process, driven as a user would; seconds from the answer to the
// delete question until the window has closed.
double SorterRun(const std::vector<std::string>& files, const std::string& target, bool move) {
  TextTable texts = Texts();
  double seconds = -1;
  DriveSorter(texts, files, [&] {
    SorterControls s = WaitForSorter(GetCurrentProcessId(), 60000);
    SetText(s.pattern, target + "\\" + kTail);
    Click(s.sort);
    HWND question = WaitForMessageBox(GetCurrentProcessId(), "Question", 60000);
    auto start = std::chrono::steady_clock::now();
    PostMessageA(question, WM_COMMAND, move ? IDYES : IDNO, 0);
    WaitUntil([&] { return !IsWindow(s.window); }, 3600000);
    seconds = Seconds(start);
  });
  return seconds;
}

std::string TagText(char* text) {
  std::string copy = text ? text : "";
  return copy;
}

// The texts a sort reads, as the plain loop reads them: through tag_c alone. False when TagLib
// cannot open the file.
bool ReadPlainTags(const std::string& file, TagInfo& tags) {
  const taglib::File opened(taglib_file_new(file.c_str()));
  if (!opened) return false;
  TagLib_Tag* tag = taglib_file_tag(opened.get());
  tags.genre = TagText(taglib_tag_genre(tag));
  tags.artist = TagText(taglib_tag_artist(tag));
  tags.album = TagText(taglib_tag_album(tag));
  taglib_tag_free_strings();
  return true;
}

// What the run must do and nothing more; the tags read through tag_c alone, or, for names in any
// script, as the program reads them.
double PlainLoop(const std::vector<std::string>& files, const std::string& target, bool move,
                 bool programTags = false) {
  CreateDirectoryW(Wide(target).c_str(), nullptr);
  auto start = std::chrono::steady_clock::now();
  for (const std::string& file : files) {
    TagInfo tags;
    if (programTags ? !ReadTags(file, &tags) : !ReadPlainTags(file, tags)) continue;
    std::string folder = target;
    for (const std::string* level : {&tags.genre, &tags.artist, &tags.album})
      CreateDirectoryW(Wide(folder += "\\" + *level).c_str(), nullptr);
    const std::wstring from = Wide(file), to = Wide(folder + file.substr(file.rfind('\\')));
    if (move)
      MoveFileW(from.c_str(), to.c_str());
    else
      CopyFileW(from.c_str(), to.c_str(), FALSE);
  }
  return Seconds(start);
}

void Sort(int count, int rounds) {
  TempDir dir;
  std::vector<std::string> templates = MakeTemplates(dir);
  for (bool move : {false, true}) {
    const std::string mode = move ? "move" : "copy";
    // What a run costs besides its files: the question box closing and the window closing.
    const double fixed = SorterRun({}, dir / "empty", move);
    std::vector<double> sorterTimes, plainTimes, ratios, fileRatios, undoRatios;
    for (int round = 0; round < rounds; ++round) {
      double sorter = 0, plain = 0;
      // Every round sorts fresh sources into fresh targets; the two take turns at going first.
      for (bool sorterNow : {round % 2 == 0, round % 2 != 0}) {
        auto files = MakeSources(dir / "src", templates, count);
        std::string target = dir / (sorterNow ? "sorter" : "plain");
        RemoveTree(target);
        if (sorterNow) {
          sorter = SorterRun(files, target, move);
          // Taking the move back, from its record, as the configuration window's button does.
          if (move) {
            const TextTable texts = Texts();
            auto start = std::chrono::steady_clock::now();
            UndoSort(texts, OfferUndo(texts).record);
            undoRatios.push_back(Seconds(start) / sorter);
            std::printf("undo of the move of %d files: %.2f s, ratio to the run %.2f\n", count,
                        Seconds(start), undoRatios.back());
          }
        } else {
          plain = PlainLoop(files, target, move);
        }
      }
      std::printf(
          "sort %s %d files, round %d: sorter %.2f s (%.2f ms/file), plain loop %.2f s "
          "(%.2f ms/file), ratio %.2f, without the run's fixed %.2f s %.2f\n",
          mode.c_str(), count, round + 1, sorter, sorter * 1000 / count, plain,
          plain * 1000 / count, sorter / plain, fixed, (sorter - fixed) / plain);
      std::fflush(stdout);
      sorterTimes.push_back(sorter);
      plainTimes.push_back(plain);
      ratios.push_back(sorter / plain);
      fileRatios.push_back((sorter - fixed) / plain);
    }
    std::printf(
        "sort %s %d files over %d rounds: sorter median %.2f s, plain loop median %.2f s, "
        "median ratio %.2f, without the run's fixed %.2f s %.2f\n",
        mode.c_str(), count, rounds, bench::Median(sorterTimes), bench::Median(plainTimes),
        bench::Median(ratios), fixed, bench::Median(fileRatios));
    if (move)
      std::printf("undo of the move of %d files over %d rounds: median ratio to the run %.2f\n",
                  count, rounds, bench::Median(undoRatios));
  }
}

// Milliseconds per file that step takes over all files.
double PerFile(const std::vector<std::string>& files,
               const std::function<void(const std::string&)>& step) {
  auto start = std::chrono::steady_clock::now();
  for (const std::string& file : files) step(file);
  return Seconds(start) * 1000 / double(files.size());
}

void Steps(int count) {
  TempDir dir;
  std::vector<std::string> files = MakeSources(dir / "src", MakeTemplates(dir), count);
  const std::string pattern = dir / "out\\" + kTail;
  std::vector<TagInfo> tags(files.size());
  std::vector<std::string> folders;
  size_t i = 0;
  auto next = [&i] { return i++; };  // the index of the file a step is at
  double read = PerFile(files, [&](const std::string& file) { ReadTags(file, &tags[next()]); });
  double plainRead = PerFile(files, [](const std::string& file) {
    TagInfo tags;
    ReadPlainTags(file, tags);
  });
  i = 0;
  double build = PerFile(files, [&](const std::string& file) {
    folders.push_back(FolderPart(BuildTargetPath(pattern, file, tags[next()])));
  });
  i = 0;
  double first = PerFile(files, [&](const std::string&) { CreateFolderChain(folders[next()]); });
  i = 0;
  double again = PerFile(files, [&](const std::string&) { CreateFolderChain(folders[next()]); });
  i = 0;
  double plainFolders = PerFile(files, [&](const std::string&) {  // genre, artist, album
    const std::string& folder = folders[next()];
    for (size_t end = folder.find('\\', pattern.find("out\\") + 4); end != std::string::npos;
         end = folder.find('\\', end + 1))
      CreateDirectoryA(folder.substr(0, end).c_str(), nullptr);
  });
  double dispatch = PerFile(files, [](const std::string&) { DispatchPendingMessages(nullptr); });
  i = 0;
  double copy = PerFile(files, [&](const std::string& file) {
    std::string to = folders[next()] + file.substr(file.rfind('\\') + 1);
    CopyFileA(file.c_str(), to.c_str(), FALSE);
  });
  i = 0;
  double stepwise = PerFile(files, [&](const std::string& file) {
    std::string to = folders[next()] + "steps " + file.substr(file.rfind('\\') + 1);
    CopyInSteps(file, to, [](bool, std::uint64_t, std::uint64_t) { return true; });
  });
  // What the record reads of each file: its mark, its identity and mark, its whole path.
  double mark = PerFile(files, [](const std::string& file) { MarkOf(file); });
  double state = PerFile(files, [](const std::string& file) { FileStateOf(file); });
  double whole = PerFile(files, [](const std::string& file) { WholePath(file); });
  std::printf(
      "steps over %d files, ms per file: ReadTags %.3f (tag_c open, three getters, free "
      "%.3f); BuildTargetPath and FolderPart %.3f; CreateFolderChain %.3f making the "
      "folders, %.3f when they are there (three CreateDirectoryA %.3f); "
      "DispatchPendingMessages with nothing waiting %.3f; CopyFileA %.3f; CopyInSteps %.3f; "
      "MarkOf %.3f; FileStateOf %.3f; WholePath %.3f\n",
      count, read, plainRead, build, first, again, plainFolders, dispatch, copy, stepwise, mark,
      state, whole);
}

std::set<DWORD> Ids(const std::vector<std::unique_ptr<Process>>& processes) {
  std::set<DWORD> ids;
  for (auto& process : processes) ids.insert(process->id());
  return ids;
}

void HandOver(int count) {
  TempDir dir, appData;
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i)
    files.push_back(dir.CopyFixture("tagged.mp3", "f" + std::to_string(i) + ".mp3"));

  auto start = std::chrono::steady_clock::now();
  std::vector<std::unique_ptr<Process>> sorters;
  for (const std::string& file : files)
    sorters.push_back(
        std::make_unique<Process>(ProgramCommand("-sort \"" + file + "\""), appData.path()));
  std::set<DWORD> ids = Ids(sorters);
  SorterControls window;
  WaitUntil(
      [&] {
        for (DWORD id : ids)
          if (WaitForWindow(id, nullptr, kSorterTitle, 0)) {
            window = WaitForSorter(id, 1000);
            return window && RowCount(window.files) == size_t(count);
          }
        return false;
      },
      300000);
  double handOver = Seconds(start);
  Click(window.cancel);
  for (auto& process : sorters) process->WaitForExit(30000);

  start = std::chrono::steady_clock::now();
  std::vector<std::unique_ptr<Process>> trivial;
  for (int i = 0; i < count; ++i)
    trivial.push_back(std::make_unique<Process>(bench::TrivialGuiCommand(), appData.path()));
  for (auto& process : trivial) process->WaitForExit(300000);
  double plain = Seconds(start);
  std::printf(
      "handover %d processes: all rows in after %.2f s; %d trivial GUI processes ended "
      "after %.2f s; ratio %.2f\n",
      count, handOver, count, plain, handOver / plain);
}

// One later process hands count files to a first sorter window that holds none: the time from its
// start to its end, per file, beside a process that hands over nothing.
void HandFiles(int count) {
  TempDir appData;
  // Short paths, so a thousand of them fit on one command line.
  const std::string folder = "C:\\h" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string args = "-sort";
  for (int i = 0; i < count; ++i) {
    std::string file = folder + std::to_string(i) + ".mp3";
    WriteFileBytes(file, "");
    args += " " + file;
  }
  Process first(ProgramCommand("-sort"), appData.path());
  SorterControls window = WaitForSorter(first.id(), 30000);
  auto timed = [&](const std::string& arguments) {
    auto start = std::chrono::steady_clock::now();
    Process later(ProgramCommand(arguments), appData.path());
    later.WaitForExit(600000);
    return Seconds(start);
  };
  const double none = timed("-sort"), all = timed(args);
  WaitUntil([&] { return RowCount(window.files) == size_t(count); }, 60000);
  std::printf(
      "hand-over of %d files by one process: %.3f s, %.2f ms per file beyond a process "
      "that hands over none (%.3f s); the window shows %zu rows\n",
      count, all, (all - none) * 1000 / count, none, RowCount(window.files));
  Click(window.cancel);
  first.WaitForExit(30000);
  RemoveTree(folder);
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

void Rows(int count) {
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i)
    files.push_back("C:\\Music\\Incoming\\Some Artist - Some Title " + std::to_string(i) + ".mp3");
  TextTable texts = Texts();
  SIZE_T before = PeakWorkingSet();
  auto start = std::chrono::steady_clock::now();
  double shown = 0, handed = 0, empty = 0;
  DriveSorter(texts, files, [&] {
    SorterControls s = WaitForSorter(GetCurrentProcessId(), 600000);
    shown = Seconds(start);
    auto handStart = std::chrono::steady_clock::now();
    for (size_t i = 0; i < kHandedRows; ++i) {
      const std::string& file = files[i % files.size()];
      COPYDATASTRUCT data{0, DWORD(file.size() + 1), const_cast<char*>(file.c_str())};
      SendMessageA(s.window, WM_COPYDATA, 0, LPARAM(&data));
    }
    handed = Seconds(handStart);
    handStart = std::chrono::steady_clock::now();
    for (size_t i = 0; i < kHandedRows; ++i) SendMessageA(s.window, WM_NULL, 0, 0);
    empty = Seconds(handStart);
    Click(s.cancel);
  });
  std::printf(
      "rows %d: window shown with them after %.2f s (%.1f us/row); %d more handed over in "
      "%.2f s (%.1f us/row; an empty message sent the same way %.1f us); peak working set "
      "%.1f MiB (%.1f MiB before the window)\n",
      count, shown, shown * 1e6 / count, int(kHandedRows), handed, handed * 1e6 / kHandedRows,
      empty * 1e6 / kHandedRows, double(PeakWorkingSet()) / 1048576, double(before) / 1048576);
}
// The text of one cell of a list view in this process.
std::string CellText(HWND list, int row, int column) {
  char text[1024] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
  return text;
}

// The preview of count tagged files: how soon the first screen of targets shows, how long a
// keystroke in the pattern field takes, and how long until every row's marks are worked out,
// beside reading every file's tags once. The last file has the same target as the one before, so
// its mark shows when the comparison has passed every row.
void Preview(int count) {
  TempDir dir;
  std::vector<std::string> files = MakeSources(dir / "src", MakeTemplates(dir), count - 1);
  CreateDirectoryA((dir / "src\\sub").c_str(), nullptr);
  files.push_back(dir / "src\\sub\\" + FilePart(files.back()));
  CopyFileA(files[files.size() - 2].c_str(), files.back().c_str(), FALSE);
  auto readAll = std::chrono::steady_clock::now();
  for (const std::string& file : files) {
    TagInfo tags;
    ReadTags(file, &tags);
  }
  const double readSeconds = Seconds(readAll);

  TextTable texts = Texts();
  const SIZE_T before = PeakWorkingSet();
  double firstScreen = -1, complete = -1, completeAgain = -1, keyMax = 0, keySum = 0;
  const int keys = 20;
  DriveSorter(texts, files, [&] {
    SorterControls s = WaitForSorter(GetCurrentProcessId(), 600000);
    auto shown = std::chrono::steady_clock::now();
    const int perPage = int(SendMessageA(s.files, LVM_GETCOUNTPERPAGE, 0, 0));
    WaitUntil([&] { return !CellText(s.files, perPage - 1, 1).empty(); }, 60000);
    firstScreen = Seconds(shown);
    auto marked = [&] { return CellText(s.files, count - 1, 1).rfind("Same target", 0) == 0; };
    WaitUntil(marked, 3600000);
    complete = Seconds(shown);
    SendMessageA(s.pattern, EM_SETSEL, 0x7fff, 0x7fff);
    for (int i = 0; i < keys; ++i) {
      auto key = std::chrono::steady_clock::now();
      SendMessageA(s.pattern, WM_CHAR, WPARAM(i % 2 ? '$' : '.'), 1);
      double seconds = Seconds(key);
      keyMax = std::max(keyMax, seconds);
      keySum += seconds;
    }
    auto again = std::chrono::steady_clock::now();
    WaitUntil([&] { return !marked(); }, 60000);
    WaitUntil(marked, 3600000);
    completeAgain = Seconds(again);
    Click(s.cancel);
  });
  std::printf(
      "preview %d files: first screen of targets %.3f s after the window showed; "
      "keystroke in the pattern field %.1f ms on average, %.1f ms at most; every mark "
      "worked out %.2f s after the window showed, %.2f s after typing (reading every "
      "file's tags once: %.2f s, ratio %.2f); peak working set %.1f MiB (%.1f MiB "
      "before the window)\n",
      count, firstScreen, keySum * 1000 / keys, keyMax * 1000, complete, completeAgain, readSeconds,
      complete / readSeconds, double(PeakWorkingSet()) / 1048576, double(before) / 1048576);
}
void VerbCall(int count) {
  TempDir dir, appData;
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i)
    files.push_back(dir.CopyFixture("tagged.mp3", "f" + std::to_string(i) + ".mp3"));
  RemoveAllVerbs();
  RegisterVerbsForProgram();
  SetEnvironmentVariableA("APPDATA", appData.path().c_str());
  auto start = std::chrono::steady_clock::now();
  const bool called = InvokeVerb(kSortVerbKey, files);
  const double call = Seconds(start);
  SorterControls window;
  WaitUntil(
      [&] {
        HWND found = FindWindowA(nullptr, kSorterTitle);
        DWORD process = 0;
        if (found) GetWindowThreadProcessId(found, &process);
        if (found) window = WaitForSorter(process, 1000);
        return window && RowCount(window.files) == size_t(count);
      },
      300000);
  const double rows = Seconds(start);
  if (window) Click(window.cancel);
  WaitUntil([] { return !FindWindowA(nullptr, kSorterTitle); }, 30000);
  RemoveAllVerbs();
  std::printf(
      "verbcall %d files in one call%s: the call returned after %.2f s, all rows in after "
      "%.2f s\n",
      count, called ? "" : " (FAILED)", call, rows);
}
// One run of the program: seconds from its start and from the answer to its exit; -1 when it
// failed.
std::pair<double, double> ProgramRun(const std::vector<std::string>& files,
                                     const std::string& target, bool move,
                                     const std::string& appData) {
  // The first window after a while without one pays for Wine's desktop: one starts first.
  Process trivial(bench::TrivialGuiCommand(), appData);
  trivial.WaitForExit(60000);
  std::string args = "-sort";
  for (const std::string& file : files) args += " " + Quoted(file);
  auto start = std::chrono::steady_clock::now();
  Process sorter(ProgramCommand(args), appData);
  SorterControls s = WaitForSorter(sorter.id(), 60000);
  if (!s) return {-1, -1};
  SetText(s.pattern, target + "\\" + kTail);
  Click(s.sort);
  HWND question = WaitForMessageBox(sorter.id(), "Question", 60000);
  if (!question) return {-1, -1};
  auto answer = std::chrono::steady_clock::now();
  PostMessageA(question, WM_COMMAND, move ? IDYES : IDNO, 0);
  if (HWND report = WaitForMessageBox(sorter.id(), "Sort finished", 0)) {
    std::printf("  the run ended with a box: %s\n", MessageBoxText(report).substr(0, 200).c_str());
    AnswerMessageBox(report, IDOK);
  }
  if (sorter.WaitForExit(3600000) != 0) return {-1, -1};
  return {Seconds(start), Seconds(answer)};
}

// Undo in the configuration window: seconds from Yes to the box that says how it went.
double ProgramUndo(const std::string& appData) {
  Process configuration(ProgramCommand(""), appData);
  ConfigurationFound found = WaitForConfiguration(configuration.id(), 60000);
  if (!found) return -1;
  Click(found.undo);
  HWND question = WaitForMessageBox(configuration.id(), "Question", 60000);
  if (!question) return -1;
  auto start = std::chrono::steady_clock::now();
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  HWND report = WaitForMessageBox(configuration.id(), "Undo finished", 3600000);
  const double seconds = Seconds(start);
  if (report) AnswerMessageBox(report, IDOK);
  RequestClose(found.window);
  configuration.WaitForExit(60000);
  return report ? seconds : -1;
}

// T: and S: are two letters of one volume, T:\src under S: too (scripts/run_bench.sh).
void Program(int count, int rounds) {
  TempDir dir;
  if (!IsFolder("T:\\src\\") || !IsFolder("S:\\")) {
    std::printf("program: the drives T: and S: are not there (scripts/run_bench.sh makes them)\n");
    return;
  }
  const std::vector<std::string> templates = MakeTemplates(dir, true);
  for (bool ownLetter : {false, true}) {
    for (bool move : {false, true}) {
      std::vector<double> whole, sorts, undos;
      for (int round = 0; round < rounds; ++round) {
        TempDir appData;
        auto files = MakeSources("T:\\src", templates, count, true);
        if (ownLetter)
          for (std::string& file : files) file = "S:" + file.substr(6);  // T:\src\x -> S:\x
        RemoveTree("T:\\lib");
        const auto [total, sort] = ProgramRun(files, "T:\\lib", move, appData.path());
        if (move) undos.push_back(ProgramUndo(appData.path()) / sort);
        files = MakeSources("T:\\src", templates, count, true);
        RemoveTree("T:\\plain");
        const double plain = PlainLoop(files, "T:\\plain", move, true);
        whole.push_back(total);
        sorts.push_back(sort / plain);
        std::printf(
            "program %s %d files, sources %s, round %d: start to exit %.2f s, answer to "
            "exit %.2f s, plain loop %.2f s, ratio %.2f%s\n",
            move ? "move" : "copy", count, ownLetter ? "under S:" : "under T:", round + 1, total,
            sort, plain, sort / plain,
            move ? (", undo to the run " + std::to_string(undos.back())).c_str() : "");
        std::fflush(stdout);
      }
      std::printf(
          "program %s %d files, sources %s, %d rounds: median start to exit %.2f s, "
          "median ratio of the sort to the plain loop %.2f%s\n",
          move ? "move" : "copy", count, ownLetter ? "under S:" : "under T:", rounds,
          bench::Median(whole), bench::Median(sorts),
          move ? (", median undo to the run " + std::to_string(bench::Median(undos))).c_str() : "");
    }
  }
}
}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string mode = argc > 1 ? argv[1] : "";
  int count = argc > 2 ? std::atoi(argv[2]) : 0;
  if (mode == "sort" && count > 0)
    Sort(count, argc > 3 ? std::max(1, std::atoi(argv[3])) : 1);
  else if (mode == "handover" && count > 0)
    HandOver(count);
  else if (mode == "handfiles" && count > 0)
    HandFiles(count);
  else if (mode == "verbcall" && count > 0)
    VerbCall(count);
  else if (mode == "preview" && count > 1)
    Preview(count);
  else if (mode == "rows" && count > 0)
    Rows(count);
  else if (mode == "steps" && count > 0)
    Steps(count);
  else if (mode == "program" && count > 0)
    Program(count, argc > 3 ? std::max(1, std::atoi(argv[3])) : 1);
  else {
    std::fprintf(stderr,
                 "usage: sorter_bench sort N [ROUNDS] | handover N | handfiles N | verbcall N | "
                 "preview N | "
                 "rows N | steps N | program N [ROUNDS]\n");
    return 2;
  }
  std::fflush(stdout);
  return 0;
}
