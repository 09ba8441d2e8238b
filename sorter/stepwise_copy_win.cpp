#include "sorter/stepwise_copy_win.h"

#include <windows.h>

#include <atomic>

#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"

namespace {
constexpr DWORD kLookEveryMs = 30;  // how often the window is served while a file goes
// From this size on a file goes on a worker thread. A smaller one goes on the calling thread,
// which the platform's progress routine serves between steps where it calls it: starting a thread
// costs about as much as copying a small file (several times more under Wine).
constexpr std::uint64_t kWorkerFrom = 8 << 20;

// One copy or move on the worker thread; the counters are written there and read here.
struct Transfer {
  std::wstring source, target;
  bool move = false, replace = false;
  std::atomic<std::uint64_t> done{0}, total{0};
  std::atomic<bool> stop{false};
  BOOL cancel = FALSE;  // CopyFileExW's own flag, which it reads between its steps
  DWORD error = 0;
  // Set when the transfer runs on the calling thread: the progress routine serves the window.
  const WhileCopying* serve = nullptr;
  DWORD lastLook = 0;
};

DWORD CALLBACK Progress(LARGE_INTEGER total, LARGE_INTEGER done, LARGE_INTEGER, LARGE_INTEGER,
                        DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
  auto* transfer = static_cast<Transfer*>(data);
  transfer->total = std::uint64_t(total.QuadPart);
  transfer->done = std::uint64_t(done.QuadPart);
  if (transfer->serve && *transfer->serve && GetTickCount() - transfer->lastLook >= kLookEveryMs) {
    transfer->lastLook = GetTickCount();
    if (!(*transfer->serve)(transfer->move, transfer->done, transfer->total)) transfer->stop = true;
  }
  return transfer->stop ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

DWORD WINAPI Work(LPVOID data) {
  auto* transfer = static_cast<Transfer*>(data);
  const BOOL done =
      transfer->move
          ? MoveFileWithProgressW(transfer->source.c_str(), transfer->target.c_str(), Progress,
                                  transfer, MOVEFILE_COPY_ALLOWED)
          : CopyFileExW(transfer->source.c_str(), transfer->target.c_str(), Progress, transfer,
                        &transfer->cancel, transfer->replace ? 0 : COPY_FILE_FAIL_IF_EXISTS);
  transfer->error = done ? 0 : GetLastError();
  return 0;
}

// The size of a file, 0 when it cannot be had.
std::uint64_t SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Runs a large file's transfer on a worker thread and serves the window until it ends; after a
// stop the window is still served, its answers no longer looked at. A small file's, or one for
// which no thread can be had, runs here.
std::uint32_t Run(Transfer& transfer, const WhileCopying& whileCopying) {
  STEP(Sorter);
  KernelHandle worker(whileCopying && SizeOf(transfer.source) >= kWorkerFrom
                          ? CreateThread(nullptr, 0, Work, &transfer, 0, nullptr)
                          : nullptr);
  if (!worker) {
    transfer.serve = &whileCopying;
    transfer.lastLook = GetTickCount();
    Work(&transfer);
    return transfer.error;
  }
  const HANDLE handle = worker.get();
  while (MsgWaitForMultipleObjects(1, &handle, FALSE, kLookEveryMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
    STEP(Sorter);
    if (!whileCopying(transfer.move, transfer.done, transfer.total) && !transfer.stop) {
      transfer.stop = true;
      InterlockedExchange(reinterpret_cast<volatile LONG*>(&transfer.cancel), TRUE);
    }
  }
  return transfer.error;
}
}  // namespace

std::uint32_t CopyInSteps(const std::string& source, const std::string& target, bool replace,
                          const WhileCopying& whileCopying) {
  STEP(Sorter);
  Transfer transfer;
  transfer.source = Wide(source);
  transfer.target = Wide(target);
  transfer.replace = replace;
  const std::uint32_t error = Run(transfer, whileCopying);
  if (!transfer.stop) return error;
  // Stopped: whatever the platform left of a new target goes (a replaced one is whole: the copy
  // finished, or the platform removed what it had begun).
  if (error == 0 && !replace) DeleteFileW(transfer.target.c_str());
  return error == 0 && replace ? 0 : kErrorRequestAborted;
}

std::uint32_t MoveInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying) {
  STEP(Sorter);
  Transfer transfer;
  transfer.source = Wide(source);
  transfer.target = Wide(target);
  transfer.move = true;
  // A rename first: within one volume that is the whole move, and it takes no time.
  if (MoveFileExW(transfer.source.c_str(), transfer.target.c_str(), 0)) return 0;
  const DWORD renameError = GetLastError();
  if (renameError != ERROR_NOT_SAME_DEVICE) return renameError;
  const std::uint32_t error = Run(transfer, whileCopying);
  // A move that finished before the stop took effect stays done: its source is gone.
  return transfer.stop && error != 0 ? kErrorRequestAborted : error;
}
