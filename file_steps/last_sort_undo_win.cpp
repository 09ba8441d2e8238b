#include "file_steps/last_sort_undo_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/text_util.h"
#include "base/win_handles.h"
#include "base/wide_text_win.h"
#include "file_steps/record_file_win.h"
#include "file_steps/stepwise_copy_win.h"
#include "file_steps/undo_run.h"
#include "tags/save_copy_name.h"

namespace {

// The shell's progress window with its Cancel while undo goes. It runs on a thread of its own,
// so it answers while this one works; without it (no shell) undo goes on unseen.
class UndoProgress {
 public:
  UndoProgress(const std::string& title, HWND owner) {
    if (FAILED(CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IProgressDialog, reinterpret_cast<void**>(&dialog_)))) {
      dialog_ = nullptr;
      return;
    }
    dialog_->SetTitle(Wide(title).c_str());
    dialog_->StartProgressDialog(owner, nullptr, PROGDLG_NORMAL | PROGDLG_NOMINIMIZE, nullptr);
  }
  ~UndoProgress() {
    if (!dialog_) return;
    dialog_->StopProgressDialog();
    dialog_->Release();
  }
  UndoProgress(const UndoProgress&) = delete;
  UndoProgress& operator=(const UndoProgress&) = delete;

  // Shows how far undo is, every few tens of milliseconds (each time is a trip to the window's
  // thread); false once the user has pressed Cancel.
  bool GoOn(std::uint64_t done, std::uint64_t total) {
    if (!dialog_ || GetTickCount() - lastShown_ < kShowEveryMs) return true;
    lastShown_ = GetTickCount();
    dialog_->SetProgress64(done, total);
    return !Cancelled();
  }
  bool Cancelled() const { return dialog_ && dialog_->HasUserCancelled(); }

 private:
  static constexpr DWORD kShowEveryMs = 50;
  IProgressDialog* dialog_ = nullptr;
  DWORD lastShown_ = 0;
};

// Whether two files hold the same bytes; false when either cannot be read.
bool SameBytes(const std::string& a, const std::string& b) {
  std::string bytesA, bytesB;
  auto all = [](std::string_view) { return false; };
  return ReadFileUntil(a, bytesA, all) && ReadFileUntil(b, bytesB, all) && bytesA == bytesB;
}

std::uint32_t DiscardCopy(const std::string& copy, const std::string& original) {
  STEP(Sorter);
  if (HasRecycleBin(copy)) {
    const std::uint32_t error = ToRecycleBin(copy);
    // The shell may report a failure for a file it did move: the disk decides.
    return FileStateOf(copy) ? (error ? error : ERROR_ACCESS_DENIED) : 0;
  }
  if (!SameBytes(copy, original)) return kErrorCopyDiffers;
  return ErrorOf(RemoveOwnFile(copy));
}

UndoFiles UndoFileSteps(HANDLE record, UndoProgress& progress) {
  return {
      .state = FileStateOf,
      .exists =
          [](const std::string& path) {
            return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
          },
      .isEmptyFolder = IsEmptyFolder,
      // Back to another drive too, as the sort moves; never over a file.
      .moveFile =
          [&progress](const std::string& from, const std::string& to) {
            STEP(Sorter);
            // A large file going back to another drive stops at Cancel, and stays where it is.
            const std::uint32_t error = MoveInSteps(
                from, to,
                [&progress](bool, std::uint64_t, std::uint64_t) { return !progress.Cancelled(); });
            // A file earlier versions kept aside beside its target was hidden; back in its place
            // it is as it was.
            if (error == 0 && IsSetAsideName(from)) ShowFile(to);
            return error;
          },
      .discardCopy = DiscardCopy,
      .makeFolder =
          [](const std::string& folder) {
            return ErrorOf(CreateDirectoryW(Wide(folder).c_str(), nullptr));
          },
      .removeFolder = RemoveEmptyFolder,
      .removeLeftovers = RemoveLeftoverCopies,
      // On the disk itself with the undone line at the end.
      .markBack = [record](size_t n) { return AddToRecord(record, BackLine(n), false); },
      .goOn = [&progress](size_t done, size_t total) { return progress.GoOn(done, total); },
      .systemMessage = SystemMessage,
  };
}

// The undo on a worker thread, with its own progress window, while the calling window's thread
// goes on drawing it; the window takes no input meanwhile, as under a dialog.
struct UndoWork {
  const TextTable& texts;
  const RunRecord& record;
  HANDLE file;
  HWND owner;
  UndoSummary summary;

  static DWORD WINAPI Run(LPVOID data) {
    auto* work = static_cast<UndoWork*>(data);
    STEP(Sorter);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      UndoProgress progress(work->texts[kTextUndoButton], work->owner);
      work->summary = UndoRun(work->texts, work->record, UndoFileSteps(work->file, progress));
    }
    CoUninitialize();
    return 0;
  }

  void RunServingTheWindow() {
    const KernelHandle worker(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (!worker) return void(Run(this));
    const bool enabled = owner && !EnableWindow(owner, FALSE);
    const HANDLE handle = worker.get();
    bool quit = false;
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || message.message == WM_QUIT;
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    if (enabled) EnableWindow(owner, TRUE);
    if (quit) PostQuitMessage(0);  // for the window's own loop, after the undo
  }
};

std::string Question(const TextTable& texts, const RunRecord& record) {
  // The files of steps cut short count where the disk shows them placed, as undo will count them.
  size_t files = record.Files();
  for (const RecordStep& step : record.steps)
    if (step.CutShort() && !step.back && PlacedByStep(step, FileStateOf(step.to))) ++files;
  std::string question =
      FillIn(texts[files == 1 ? kTextUndoQuestionOne : kTextUndoQuestion], "%1", record.started);
  question = FillIn(question, "%2", texts[record.move ? kTextUndoMovedWord : kTextUndoCopiedWord]);
  return FillIn(question, "%3", files);
}
}  // namespace

UndoOffer OfferUndo(const TextTable& texts) {
  STEP(Sorter);
  // Run by run: the newest not undone yet, then, once it is, the one before.
  const std::vector<LastSort> sorts = ReadSorts();
  for (const LastSort& sort : sorts)
    if (!sort.record.undone) return {true, Question(texts, sort.record), sort.path};
  return {false, texts[sorts.empty() ? kTextUndoNothing : kTextUndoAlready], ""};
}

std::string UndoSort(const TextTable& texts, const std::string& path) {
  STEP(Sorter);
  const OpenRecord open = OpenRecordToAdd(path);
  if (open.error == ERROR_SHARING_VIOLATION) return texts[kTextUndoBusy];
  if (!open.record || !open.record->Undoable()) return texts[kTextUndoNothing];
  if (open.record->undone) return texts[kTextUndoAlready];
  // Said before the first step, so that a release never takes what an undo ended by force may
  // still have to put back.
  if (!AddToRecord(open.file.get(), UndoingLine(RecordTime())))
    return UndoReportText(
        texts,
        {.files = open.record->Files(), .endedEarly = true, .unrecorded = true, .notUndone = {}});
  UndoWork work{texts, *open.record, open.file.get(), GetActiveWindow(), {}};
  work.RunServingTheWindow();
  UndoSummary& summary = work.summary;
  // An undo cut short is not marked: the steps it took back are, and the rest can follow.
  if (!summary.endedEarly && !AddToRecord(open.file.get(), UndoneLine(RecordTime())))
    summary.endedEarly = summary.unrecorded = true;
  return UndoReportText(texts, summary);
}
