// Figures for the editor's start-up, printed, not judged:
//   editor_bench N   N times, alternately: DA3Zur.exe -edit with a tagged MP3 until its window is
//                    visible and filled (all controls, the 148 genres, the file's texts in the
//                    fields, the event loop answering), and the trivial GUI program until its
//                    window is visible; the median of each and the median of the ratios. The
//                    editor's time is also split at the moment its window became visible (the
//                    start-up before it: process, libraries, settings, tags; after it: controls).
//   editor_bench album N
//                    N files of three formats handed over by the edit verb as Explorer does: from
//                    the call to the one editor filled, then one typed field saved into all of
//                    them until the process ends, against N single one-field saves back to back in
//                    this process; and the memory an editor for them holds, shown in this process.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "configure/shell_verbs.h"
#include "editor/editor_window.h"
#include "tags/tag_bridge.h"
#include "tests/bench/bench_support.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/verb_call_support.h"
#include "tests/support/win_test_support.h"
#include "tests/support/window_driver.h"

using namespace testing_win;

namespace {
constexpr int kWaitMs = 20000;

// Seconds from starting the trivial program until its window is visible; -1 when it never was.
double TrivialStart(const std::string& appData) {
  auto start = std::chrono::steady_clock::now();
  Process process(bench::TrivialGuiCommand("stay"), appData);
  HWND window = WaitForWindow(process.id(), "TrivialGui", bench::kTrivialTitle, kWaitMs);
  double seconds = bench::Seconds(start);
  if (!window) return -1;
  PostMessageA(window, WM_CLOSE, 0, 0);
  process.WaitForExit(kWaitMs);
  return seconds;
}

struct EditorTimes {
  double visible = -1, filled = -1;  // seconds from the start; -1 when it never happened
};

EditorTimes EditorStart(const std::string& file, const std::string& appData) {
  EditorTimes times;
  auto start = std::chrono::steady_clock::now();
  Process process(ProgramCommand("-edit \"" + file + "\""), appData);
  if (!WaitForWindow(process.id(), nullptr, kEditorTitle, kWaitMs)) return times;
  times.visible = bench::Seconds(start);
  EditorWindowFound editor = WaitForEditor(process.id(), kWaitMs);
  bool filled = editor && TextOf(editor[kTitleField]) == "Tagged Title" &&
                TextOf(editor[kArtistField]) == "Tagged Artist";
  double seconds = bench::Seconds(start);
  if (!filled) return times;
  times.filled = seconds;
  PostMessageA(editor.window, WM_CLOSE, 0, 0);  // the close box: the file stays as it is
  process.WaitForExit(kWaitMs);
  return times;
}

SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize;
}

void Album(int count) {
  TempDir dir, appData;
  std::vector<std::string> files, single;
  const char* kinds[] = {"mp3", "flac", "ogg"};
  for (int i = 0; i < count; ++i) {
    const std::string kind = kinds[i % 3];
    files.push_back(dir.CopyFixture("tagged." + kind, "a" + std::to_string(i) + "." + kind));
    single.push_back(dir.CopyFixture("tagged." + kind, "s" + std::to_string(i) + "." + kind));
  }
  RemoveAllVerbs();
  RegisterVerbsForProgram();
  SetEnvironmentVariableA("APPDATA", appData.path().c_str());
  // The first window after a while without one pays for Wine's desktop: one starts first.
  TrivialStart(appData.path());
  auto start = std::chrono::steady_clock::now();
  const bool called = InvokeVerb(kEditVerbKey, files);
  EditorWindowFound editor = WaitForEditor(ProcessShowing(kEditorTitle, 60000), 60000);
  const double filled = bench::Seconds(start);
  if (!called || !editor) {
    std::fprintf(stderr, "album: the editor never came (call %s)\n", called ? "made" : "failed");
    return;
  }
  Type(editor[kAlbumField], "Bench Album");
  start = std::chrono::steady_clock::now();
  Click(editor[kSaveButton]);
  WaitUntil([&] { return !IsWindow(editor.window); }, 600000);
  const double saved = bench::Seconds(start);
  RemoveAllVerbs();
  start = std::chrono::steady_clock::now();
  int failed = 0;
  for (const std::string& file : single) {
    TagInfo record;
    failed += !ReadTags(file, &record);
    record.album = "Bench Album";
    failed += !WriteTags(file, &record);
  }
  const double singles = bench::Seconds(start);
  // The memory one editor holds for the files: their records read and the window shown here (Wine
  // tells a process only its own working set).
  ProgramTables tables;
  FillDefaultTexts(tables.texts);
  FillGenreTable(tables.genres);
  const SIZE_T before = WorkingSet();
  std::vector<TagInfo> records(files.size());
  for (size_t i = 0; i < files.size(); ++i) ReadTags(files[i], &records[i]);
  SIZE_T open = 0;
  DriveWindow(
      [&] {
        EditTogether(tables, records, files, [](size_t, const EditedFields&) { return true; });
      },
      [&] {
        EditorWindowFound shown = WaitForEditor(GetCurrentProcessId(), 60000);
        open = WorkingSet();
        if (shown) Click(shown[kCancelButton]);
      });
  std::printf(
      "album %d files: verb call to the filled editor %.2f s; one field saved into all %.2f s, "
      "%d single saves back to back %.2f s (%d failed), ratio %.2f; the editor with the files' "
      "records holds %.1f MiB\n",
      count, filled, saved, count, singles, failed, saved / singles,
      double(open > before ? open - before : 0) / 1048576);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "album") {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the verb is called as Explorer calls it
    Album(std::atoi(argv[2]));
    return 0;
  }
  int runs = argc > 1 ? std::atoi(argv[1]) : 0;
  if (runs <= 0) {
    std::fprintf(stderr, "usage: editor_bench RUNS\n");
    return 2;
  }
  TempDir dir, appData;
  std::string file = dir.CopyFixture("tagged.mp3", "Tagged Song.mp3");
  TrivialStart(appData.path());  // one of each first, so both start with Wine's caches warm
  EditorStart(file, appData.path());

  std::vector<double> editor, visible, trivial, ratios;
  for (int i = 0; i < runs; ++i) {
    double plain = TrivialStart(appData.path());
    EditorTimes times = EditorStart(file, appData.path());
    double edit = times.filled;
    if (plain <= 0 || edit <= 0) {
      std::fprintf(stderr, "run %d: a window never appeared (trivial %.3f s, editor %.3f s)\n", i,
                   plain, edit);
      return 1;
    }
    trivial.push_back(plain);
    editor.push_back(edit);
    visible.push_back(times.visible);
    ratios.push_back(edit / plain);
    std::printf(
        "run %2d: editor %6.1f ms (visible at %6.1f ms), trivial GUI %6.1f ms, ratio %.2f\n", i + 1,
        edit * 1000, times.visible * 1000, plain * 1000, edit / plain);
  }
  std::printf(
      "editor start-up over %d runs (64-bit builds of both under Wine: 32-bit programs "
      "cannot run on this machine): editor median %.1f ms (visible at %.1f ms), trivial GUI "
      "median %.1f ms, median ratio %.2f\n",
      runs, bench::Median(editor) * 1000, bench::Median(visible) * 1000,
      bench::Median(trivial) * 1000, bench::Median(ratios));
  std::fflush(stdout);
  return 0;
}
