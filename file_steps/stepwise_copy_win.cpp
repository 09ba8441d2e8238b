#include "file_steps/stepwise_copy_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "base/file_system_win.h"
#include "base/path_parts.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "tags/save_copy_name.h"

namespace {
constexpr DWORD kLookEveryMs = 30;  // how often the window is served while a file goes
// From this size on a file goes on a worker thread. A smaller one goes on the calling thread,
// which the platform's progress routine serves between steps where it calls it: starting a thread
// costs about as much as copying a small file (several times more under Wine).
constexpr std::uint64_t kWorkerFrom = 8 << 20;

// One copy on the worker thread; the counters are written there and read here.
struct Transfer {
  std::wstring source, target;
  bool moving = false;  // a move shows as one
  // The target is a copy under the program's own name; it is hidden while it is made (a large
  // file, which a forced end may find half made).
  bool ownName = false, hide = false;
  std::atomic<std::uint64_t> done{0}, total{0};
  std::atomic<bool> stop{false};
  // The platform has begun the target (it calls the progress routine only once it has): from
  // then on a target left after a failure is the copy's.
  std::atomic<bool> began{false};
  BOOL cancel = FALSE;  // CopyFileExW's own flag, which it reads between its steps
  DWORD error = 0;
  // Set when the transfer runs on the calling thread: the progress routine serves the window.
  const WhileCopying* serve = nullptr;
  DWORD lastLook = 0;
};

DWORD CALLBACK Progress(LARGE_INTEGER total, LARGE_INTEGER done, LARGE_INTEGER, LARGE_INTEGER,
                        DWORD, DWORD reason, HANDLE, HANDLE, LPVOID data) {
  auto* transfer = static_cast<Transfer*>(data);
  transfer->began = true;
  // The copy beside a target is hidden as soon as it exists, so that one left by a process that
  // ended meanwhile is out of the user's way until the next run removes it.
  if (reason == CALLBACK_STREAM_SWITCH && transfer->hide) {
    const DWORD attributes = GetFileAttributesW(transfer->target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesW(transfer->target.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
  transfer->total = std::uint64_t(total.QuadPart);
  transfer->done = std::uint64_t(done.QuadPart);
  if (transfer->serve && *transfer->serve && GetTickCount() - transfer->lastLook >= kLookEveryMs) {
    transfer->lastLook = GetTickCount();
    if (!(*transfer->serve)(transfer->moving, transfer->done, transfer->total))
      transfer->stop = true;
  }
  // A crash report stops the copy as Cancel does: the platform removes what it wrote.
  return transfer->stop || StepsHeld ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

// Whether a failed transfer made its target: the target is a hidden copy of the program's own
// name, or the platform had begun it, or a write failed (Wine 8's copy calls no progress routine
// at all). A failure to read the source or to take the target's name made nothing, and a file
// there is none of the copy's.
bool MadeTarget(const Transfer& transfer, DWORD error) {
  return transfer.ownName || transfer.began || error == ERROR_DISK_FULL ||
         error == ERROR_HANDLE_DISK_FULL || error == ERROR_WRITE_FAULT;
}

DWORD WINAPI Work(LPVOID data) {
  auto* transfer = static_cast<Transfer*>(data);
  const BOOL done = CopyFileExW(transfer->source.c_str(), transfer->target.c_str(), Progress,
                                transfer, &transfer->cancel, COPY_FILE_FAIL_IF_EXISTS);
  transfer->error = done ? 0 : GetLastError();
  // A crash report came up meanwhile: the run will never put the copy in place, so it goes here, as
  // a stopped copy does (Wine's copy does not stop halfway). A file the copy did not begin is none
  // of its own.
  if (StepsHeld && (transfer->error == 0 || MadeTarget(*transfer, transfer->error))) {
    RemoveOwnFile(Utf8Marked(transfer->target));
    transfer->error = kErrorRequestAborted;
  }
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
  const bool large = whileCopying && SizeOf(transfer.source) >= kWorkerFrom;
  transfer.hide = large && transfer.ownName;
  KernelHandle worker(large ? CreateThread(nullptr, 0, Work, &transfer, 0, nullptr) : nullptr);
  if (!worker) {
    transfer.serve = &whileCopying;
    transfer.lastLook = GetTickCount();
    Work(&transfer);
    return transfer.error;
  }
  const HANDLE handle = worker.get();
  while (MsgWaitForMultipleObjects(1, &handle, FALSE, kLookEveryMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
    STEP(Sorter);
    if (!whileCopying(transfer.moving, transfer.done, transfer.total) && !transfer.stop) {
      transfer.stop = true;
      InterlockedExchange(reinterpret_cast<volatile LONG*>(&transfer.cancel), TRUE);
    }
  }
  return transfer.error;
}

// Renames a file into the target's name, never over a file; where its state is asked for, through
// a handle that then gives it: the one open the step costs.
std::uint32_t RenameIntoPlace(const std::wstring& copy, const std::wstring& target,
                              std::optional<FileState>* placed) {
  STEP(Sorter);
  if (!placed) return MoveFileExW(copy.c_str(), target.c_str(), 0) ? 0 : GetLastError();
  const FileHandle file(CreateFileW(copy.c_str(), DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  if (!file) return GetLastError();
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->FileNameLength = DWORD(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  if (!SetFileInformationByHandle(file.get(), FileRenameInfo, rename, DWORD(buffer.size())))
    return GetLastError();
  *placed = FileStateOfHandle(file.get(), Utf8Marked(target));
  return 0;
}

// Puts a whole copy in the target's place after moving the file there aside (into the run's hidden
// set-aside folder); should the copy not take the name, the file goes back.
std::uint32_t PutInPlaceKeepingAside(const std::wstring& copy, const std::wstring& target,
                                     const std::wstring& aside, std::optional<FileState>* placed) {
  STEP(Sorter);
  if (!MoveFileExW(target.c_str(), aside.c_str(), 0)) return GetLastError();
  const std::uint32_t error = RenameIntoPlace(copy, target, placed);
  if (error != 0) MoveFileExW(aside.c_str(), target.c_str(), 0);
  return error;
}

// Copies source whole into a hidden copy beside target, then puts the copy in the target's place
// with one rename that never replaces a file (a file there is first moved to the aside name, where
// one is given). Until that rename the target's name is not touched: stopped, failed (a full
// disk, a dropped share) or ended by force, the file there stays as it was, and so does the
// source; the copy is removed (or, after a forced end, removed by the next run).
std::uint32_t CopyIntoPlace(const std::wstring& source, const std::wstring& target, bool moving,
                            const WhileCopying& whileCopying, const std::wstring& aside,
                            std::optional<FileState>* placed) {
  STEP(Sorter);
  Transfer transfer;
  transfer.source = source;
  transfer.moving = moving;
  transfer.ownName = true;
  const std::string targetName = Utf8Marked(target);
  std::uint32_t error = ERROR_FILE_EXISTS;
  // A name an earlier process of the same number left is passed over (the copy fails at once).
  for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    transfer.target = WidePath(SortCopyName(targetName, GetCurrentProcessId(), attempt));
    error = Run(transfer, whileCopying);
  }
  // Stopped, the copy goes even when it was whole before the stop took effect (Wine's copy, which
  // does not stop halfway, always is): the user asked for the file to stay where it was.
  if (transfer.stop) error = kErrorRequestAborted;
  if (error == 0) {
    STEP(Sorter);
    // The copy has the source's attributes (the platform's copy gave it them); one hidden while it
    // was made gets them again.
    if (transfer.hide) {
      const DWORD attributes = GetFileAttributesW(source.c_str());
      SetFileAttributesW(transfer.target.c_str(), attributes == INVALID_FILE_ATTRIBUTES
                                                      ? FILE_ATTRIBUTE_NORMAL
                                                      : attributes);
    }
    error = aside.empty() ? RenameIntoPlace(transfer.target, target, placed)
                          : PutInPlaceKeepingAside(transfer.target, target, aside, placed);
  }
  // A copy that did not begin (every name taken) is none of this run's.
  if (error != 0 && error != ERROR_FILE_EXISTS) RemoveOwnFile(Utf8Marked(transfer.target));
  return error;
}
}  // namespace

std::uint32_t CopyInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying, const std::string& aside,
                          std::optional<FileState>* placed) {
  STEP(Sorter);
  return CopyIntoPlace(WidePath(source), WidePath(target), false, whileCopying,
                       aside.empty() ? L"" : WidePath(aside), placed);
}

std::uint32_t MoveInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying, bool* renamed,
                          std::optional<FileState>* placed) {
  STEP(Sorter);
  if (renamed) *renamed = false;
  const std::wstring from = WidePath(source), to = WidePath(target);
  // Within one volume a rename is the whole move, and takes no time, whatever letters or names
  // the two paths go by (a subst letter, a mapped share); between volumes it is refused, at once
  // and copying nothing, and the move goes on as a copy. A volume with lasting file indexes keeps
  // the file's through the rename: its state is read only where the volume gives a moved file a
  // new one (FAT), not to cost every move an open.
  const std::uint32_t renameError =
      RenameIntoPlace(from, to, placed && !KeepsFileIndexes(target) ? placed : nullptr);
  if (renameError != ERROR_NOT_SAME_DEVICE) {
    if (renamed) *renamed = renameError == 0;
    return renameError;
  }
  // Across volumes the file is first copied whole beside the target and renamed into its name;
  // only then does the source go. A move never replaces a file.
  if (std::uint32_t error = CopyIntoPlace(from, to, true, whileCopying, L"", placed)) return error;
  STEP(Sorter);
  if (DeleteFileW(from.c_str())) return 0;
  // The source can't go (read-only, or held open): the move did not happen, and its copy goes.
  const DWORD error = GetLastError();
  RemoveOwnFile(target);
  if (placed) placed->reset();
  return error;
}

BOOL RemoveOwnFile(const std::string& path) {
  const std::wstring name = WidePath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(name.c_str());
}

void ShowFile(const std::string& path) {
  const std::wstring name = WidePath(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(name.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_HIDDEN));
}

std::string UnusedName(const std::function<std::string(int attempt)>& name) {
  for (int attempt = 0; attempt < 100; ++attempt)
    if (std::string unused = name(attempt);
        GetFileAttributesW(WidePath(unused).c_str()) == INVALID_FILE_ATTRIBUTES)
      return unused;
  return "";
}

void RemoveLeftoverCopies(const std::string& folder) {
  STEP(Sorter);
  for (const std::string& name :
       NamesIn(folder, "~DA3Zur-*.sorting*").value_or(std::vector<std::string>{})) {
    STEP(Sorter);
    const std::optional<unsigned long> writer = SortCopyProcess(name);
    if (!writer) continue;
    // A copy of a sort that still goes in another process is left to it; this process makes its
    // copies one at a time, and none is being made while it looks.
    const KernelHandle process(*writer == GetCurrentProcessId()
                                   ? nullptr
                                   : OpenProcess(SYNCHRONIZE, FALSE, DWORD(*writer)));
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) continue;
    RemoveOwnFile(folder + name);
  }
}
