// Figures for the editor's start-up, printed, not judged:
//   editor_bench N   N times, alternately: DA3Zur.exe -edit with a tagged MP3 until its window is
//                    visible and filled (all controls, the 148 genres, the file's texts in the
//                    fields, the event loop answering), and the trivial GUI program until its
//                    window is visible; the median of each and the median of the ratios. The
//                    editor's time is also split at the moment its window became visible (the
//                    start-up before it: process, libraries, settings, tags; after it: controls).
//   editor_bench names N
//                    The preview of "Tags from file names" for N names: from a key typed in the
//                    pattern to the list repainted.
//   editor_bench album N
//                    N files of three formats handed over by the edit verb as Explorer does: from
//                    the call to the one editor filled, then one typed field saved into all of
//                    them until the process ends, against N single one-field saves back to back in
//                    this process; and the memory an editor for them holds, shown in this process.
//   editor_bench covers N FILES
//                    N times, alternately: the editor of an MP3 with a large JPEG front cover, of
//                    the same MP3 without it, and the trivial GUI program: from the start to the
//                    filled fields and to the cover shown. Then FILES MP3s with covers in one
//                    editor, all the same cover and each its own: from the verb call to the filled
//                    fields and to the shared cover or "(different covers)" shown; the memory that
//                    editor holds in this process.
#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/path_parts.h"
#include "configure/shell_verbs.h"
#include "editor/editor_window.h"
#include "editor/name_window.h"
#include "tags/tag_bridge.h"
#include "bench/bench_support.h"
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
  double cover = -1;                 // where asked for: the cover shown
};

EditorTimes EditorStart(const std::string& file, const std::string& appData,
                        bool waitForCover = false) {
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
  if (waitForCover && WaitUntil([&] { return !TextOf(editor[kCoverLine]).empty(); }, kWaitMs))
    times.cover = bench::Seconds(start);
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
// A JPEG of noise, width × width pixels, through the system's encoder.
std::string NoiseJpeg(UINT width) {
  IWICImagingFactory* factory = nullptr;
  IStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  std::vector<BYTE> pixels(size_t(width) * width * 3);
  unsigned seed = 1;
  for (BYTE& pixel : pixels) pixel = BYTE((seed = seed * 1103515245 + 12345) >> 16);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  std::string jpeg;
  HGLOBAL memory = nullptr;
  STATSTG stat{};
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
      SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, width)) &&
      SUCCEEDED(frame->SetPixelFormat(&format)) &&
      SUCCEEDED(frame->WritePixels(width, width * 3, UINT(pixels.size()), pixels.data())) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
      SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
      SUCCEEDED(GetHGlobalFromStream(stream, &memory)))
    jpeg.assign(static_cast<const char*>(GlobalLock(memory)), size_t(stat.cbSize.QuadPart));
  if (memory) GlobalUnlock(memory);
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, factory})
    if (object) object->Release();
  return jpeg;
}

bool GiveCover(const std::string& file, const std::string& cover) {
  return WriteTags(
             file, [](TagInfo&) {}, CoverChange{CoverChange::kSet, cover}) == 1;
}

void Covers(int runs, int count) {
  TempDir dir, appData;
  const std::string jpeg = NoiseJpeg(900);
  const std::string covered = dir.CopyFixture("tagged.mp3", "Covered Song.mp3"),
                    plain = dir.CopyFixture("tagged.mp3", "Plain Song.mp3");
  if (jpeg.empty() || !GiveCover(covered, jpeg)) {
    std::fprintf(stderr, "covers: the cover could not be made or saved\n");
    return;
  }
  TrivialStart(appData.path());
  EditorStart(covered, appData.path(), true);
  std::vector<double> fields, shown, without, trivial;
  for (int i = 0; i < runs; ++i) {
    trivial.push_back(TrivialStart(appData.path()));
    const EditorTimes with = EditorStart(covered, appData.path(), true);
    fields.push_back(with.filled);
    shown.push_back(with.cover);
    without.push_back(EditorStart(plain, appData.path()).filled);
  }
  std::printf(
      "covers over %d runs, a %zu KB JPEG: fields filled at %.1f ms with the cover, %.1f ms "
      "without (ratio %.2f); the cover shown at %.1f ms; trivial GUI %.1f ms\n",
      runs, jpeg.size() / 1024, bench::Median(fields) * 1000, bench::Median(without) * 1000,
      bench::Median(fields) / bench::Median(without), bench::Median(shown) * 1000,
      bench::Median(trivial) * 1000);
  std::fflush(stdout);

  // Many files: one cover shared, then each its own (the JPEG with a byte of its own at its end).
  RemoveAllVerbs();
  RegisterVerbsForProgram();
  SetEnvironmentVariableA("APPDATA", appData.path().c_str());
  for (bool shared : {true, false}) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
      files.push_back(
          dir.CopyFixture("tagged.mp3", (shared ? "s" : "d") + std::to_string(i) + ".mp3"));
      GiveCover(files.back(), shared ? jpeg : jpeg + char(i));
    }
    TrivialStart(appData.path());
    auto start = std::chrono::steady_clock::now();
    const bool called = InvokeVerb(kEditVerbKey, files);
    EditorWindowFound editor = WaitForEditor(ProcessShowing(kEditorTitle, 60000), 60000);
    const double filled = bench::Seconds(start);
    const bool decided =
        called && editor &&
        WaitUntil(
            [&] {
              return !TextOf(editor[kCoverLine]).empty() ||
                     TextOf(editor[kCoverBox]) == DefaultText(kTextDifferentCovers);
            },
            60000);
    const double cover = bench::Seconds(start);
    if (editor) PostMessageA(editor.window, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(editor.window); }, 30000);
    std::printf(
        "covers: %d files, %s: verb call to the filled fields %.2f s, to the cover %s %.2f s\n",
        count, shared ? "one cover shared" : "each its own cover", filled,
        decided ? (shared ? "shown" : "said to differ") : "NEVER DECIDED", cover);
    // The same files named on the command line (short names, in their folder): the program's own
    // part, without the verb's activation, which Wine's COM answers only after a second.
    std::string names = "-edit";
    for (const std::string& file : files) names += " " + FilePart(file);
    start = std::chrono::steady_clock::now();
    Process program(ProgramCommand(names), appData.path(), dir.path());
    editor = WaitForEditor(program.id(), 60000);
    std::printf("covers: %d files, %s: process start to the filled fields %.2f s\n", count,
                shared ? "one cover shared" : "each its own cover", bench::Seconds(start));
    if (editor) PostMessageA(editor.window, WM_CLOSE, 0, 0);
    program.WaitForExit(30000);
    std::fflush(stdout);
  }
  RemoveAllVerbs();
  // The memory an editor of those files holds here, its one decoded cover included.
  ProgramTables tables;
  FillDefaultTexts(tables.texts);
  FillGenreTable(tables.genres);
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i) files.push_back(dir / ("s" + std::to_string(i) + ".mp3"));
  // Where a covered file's reading goes: the same file without its cover, the fields alone, then
  // with the cover's summary.
  const std::string uncovered = dir.CopyFixture("tagged.mp3", "uncovered.mp3");
  for (int round = 0; round < 3; ++round) {
    auto start = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
      TagInfo record;
      ReadTags(round == 0 ? uncovered : file, &record, round == 2 ? &record.cover : nullptr);
    }
    std::printf("covers: reading %d files in this process, %s: %.2f s\n", count,
                round == 0   ? "without covers"
                : round == 1 ? "covered, the fields alone"
                             : "covered, with the cover's summary",
                bench::Seconds(start));
  }
  const SIZE_T before = WorkingSet();
  std::vector<TagInfo> records(files.size());
  for (size_t i = 0; i < files.size(); ++i) ReadTags(files[i], &records[i], &records[i].cover);
  SIZE_T open = 0;
  DriveWindow(
      [&] {
        EditTogether(
            tables, records, files, [](size_t, const EditedFields&) { return true; },
            ReadShownCover);
      },
      [&] {
        EditorWindowFound shown = WaitForEditor(GetCurrentProcessId(), 60000);
        WaitUntil([&] { return !TextOf(shown[kCoverLine]).empty(); }, 60000);
        open = WorkingSet();
        if (shown) Click(shown[kCancelButton]);
      });
  std::printf("covers: the editor of %d files with one cover shown holds %.1f MiB\n", count,
              double(open > before ? open - before : 0) / 1048576);
}
// The preview of "Tags from file names" for COUNT names in album folders: from a key typed in the
// pattern to the list repainted, for keys that keep it matching and keys that make it fail.
void NamesPreview(int count) {
  TextTable texts;
  FillDefaultTexts(texts);
  std::vector<std::string> files;
  for (int i = 0; i < count; ++i)
    files.push_back("C:\\Music\\Artist " + std::to_string(i % 40) + "\\Album " +
                    std::to_string(i / 12) + "\\" + std::to_string(i % 12 + 1) + " - Song " +
                    std::to_string(i) + ".mp3");
  std::vector<double> keys;
  DriveWindow([&] { AskTagsFromNames(nullptr, texts, files, "%ARTIST%\\%ALBUM%\\%TRACK%"); },
              [&] {
                HWND window = WaitForWindow(GetCurrentProcessId(), nullptr, kNamesTitle, 10000);
                HWND field = GetDlgItem(window, kFirstNamesControlId + kNamePatternField);
                SendMessageW(field, EM_SETSEL, 1000, 1000);
                // " - %TITLE%" typed and taken back, key by key, twice.
                const std::wstring typed = L" - %TITLE%";
                for (int round = 0; round < 2; ++round)
                  for (int step = 0; step < 2 * int(typed.size()); ++step) {
                    const WPARAM key = step < int(typed.size()) ? typed[size_t(step)] : VK_BACK;
                    auto start = std::chrono::steady_clock::now();
                    // Sent: it returns once the field changed and the list was redrawn.
                    SendMessageW(field, WM_CHAR, key, 1);
                    keys.push_back(bench::Seconds(start));
                  }
                PostMessageW(window, WM_CLOSE, 0, 0);
              });
  std::sort(keys.begin(), keys.end());
  std::printf(
      "names preview of %d files: keystroke to repainted list, median %.1f ms, slowest %.1f ms "
      "over %zu keys\n",
      count, bench::Median(keys) * 1000, keys.empty() ? 0.0 : keys.back() * 1000, keys.size());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "names") {
    NamesPreview(std::atoi(argv[2]));
    return 0;
  }
  if (argc > 3 && std::string(argv[1]) == "covers") {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Covers(std::atoi(argv[2]), std::atoi(argv[3]));
    return 0;
  }
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
