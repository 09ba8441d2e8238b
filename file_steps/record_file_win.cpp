#include "file_steps/record_file_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/file_system_win.h"
#include "base/name_case_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "settings/settings.h"
#include "file_steps/stepwise_copy_win.h"
#include "file_steps/undo_run.h"

namespace {
constexpr char kRecordPattern[] = "sort-*.txt";

std::vector<std::string> RecordNames(const std::string& folder) {
  STEP(Sorter);
  return NamesIn(folder, kRecordPattern).value_or(std::vector<std::string>{});
}

std::optional<RunRecord> ReadRecord(const std::string& path) {
  std::string bytes;
  if (!ReadFileUntil(path, bytes, [](std::string_view) { return false; })) return std::nullopt;
  return ParseRecord(bytes);
}

}  // namespace

std::uint32_t ToRecycleBin(const std::string& path) {
  std::wstring name = Wide(path);
  name.push_back(L'\0');  // the list of names ends in two zeros
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = name.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI |
                     (HasRecycleBin(path) ? FOF_WANTNUKEWARNING : 0);
  return std::uint32_t(SHFileOperationW(&operation));
}

void PlacedFiles::Read() {
  STEP(Sorter);
  read_ = true;
  records_ = ReadSorts();
  for (size_t r = 0; r < records_.size(); ++r)
    for (size_t n = 0; n < records_[r].record.steps.size(); ++n)
      if (const RecordStep& step = records_[r].record.steps[n];
          step.kind == RecordStep::kMove && step.done && !step.back)
        moved_[FileSystemNameCase().Folded(step.to)].emplace_back(r, n);
}

bool PlacedFiles::Holds(const std::string& path) {
  if (!read_) Read();
  return moved_.count(FileSystemNameCase().Folded(WholePath(path))) > 0;
}

void PlacedFiles::Saved(const std::string& path, const FileState& before, const FileState& after) {
  STEP(Sorter);
  if (!read_) Read();
  const auto found = moved_.find(FileSystemNameCase().Folded(WholePath(path)));
  if (found == moved_.end() || before.identity.empty() || after == before) return;
  for (const auto& [r, n] : found->second) {
    RecordStep& step = records_[r].record.steps[n];
    if (!step.Left(before)) continue;
    // A record an undo or a sort holds now hears nothing: its undo then says where the file is.
    const OpenRecord open = OpenRecordToAdd(records_[r].path);
    if (open.record && AddToRecord(open.file.get(), SavedLine(n, after))) step.saved = after;
  }
}

std::string RecordTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute);
  return text;
}

void RecordWriter::Begin(bool move) { move_ = move; }

bool RecordWriter::Open() {
  STEP(Sorter);
  opened_ = true;
  const std::string folder = SettingsFolder();
  if (folder.empty()) return false;
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  path_ = folder + RecordName(NextRecordNumber(RecordNames(folder)));
  file_ = FileHandle(CreateFileW(Wide(path_).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file_ && !AddToRecord(file_.get(), RecordHeader(RecordTime(), move_))) file_.reset();
  return bool(file_);
}

namespace {
// Whether an undo (or another sort) has the record open to write to it now.
bool Held(const std::string& path) {
  const FileHandle probe(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

bool RecordWriter::Append(const std::string& text) {
  STEP(Sorter);
  if (!opened_) Open();
  if (!file_) return false;
  // Each line is with the system before its step is tried, so a crash or a forced end of the
  // process loses none. Having it on the disk itself costs as much as moving a file, so that is
  // asked for every kFlushEveryMs: a power cut loses at most the steps of that time, which the
  // file system itself keeps no longer than that.
  const bool flush = GetTickCount() - lastFlush_ >= kFlushEveryMs;
  if (flush) lastFlush_ = GetTickCount();
  return AddToRecord(file_.get(), text, flush);
}

void RecordWriter::FirstDone() {
  STEP(Sorter);
  const std::string folder = SettingsFolder();
  if (folder.empty()) return;
  std::vector<std::string> names;
  std::vector<EarlierRun> runs;
  for (const std::string& name : RecordNames(folder)) {
    const std::string path = folder + name;
    if (path == path_) continue;
    names.push_back(name);
    runs.push_back({ReadRecord(path), Held(path)});
  }
  const std::vector<bool> kept =
      ReleaseEarlierRuns(runs, {
                                   .state = FileStateOf,
                                   .release = [](const std::string& path) { ToRecycleBin(path); },
                                   .moveFile = RenameFile,
                                   .isEmptyFolder = IsEmptyFolder,
                                   .removeFolder = RemoveEmptyFolder,
                               });
  // The records beyond the newest few go, but for those whose files still wait.
  for (const std::string& old : RecordsToRemove(RecordNames(folder), kRecordsKept)) {
    const auto at = std::ranges::find(names, old);
    if (at != names.end() && kept[at - names.begin()]) continue;
    DeleteFileW(Wide(folder + old).c_str());
  }
}

RecordWriter::~RecordWriter() {
  if (file_) FlushFileBuffers(file_.get());
}

std::vector<LastSort> ReadSorts() {
  STEP(Sorter);
  const std::string folder = SettingsFolder();
  std::vector<LastSort> sorts;
  // A run that did nothing (every file in place, or refused) is none to undo.
  for (const std::string& name : RecordsNewestFirst(RecordNames(folder)))
    if (std::optional<RunRecord> record = ReadRecord(folder + name); record && record->Undoable())
      sorts.push_back({folder + name, std::move(*record)});
  return sorts;
}

OpenRecord OpenRecordToAdd(const std::string& path) {
  STEP(Sorter);
  OpenRecord open;
  open.file =
      FileHandle(CreateFileW(Wide(path).c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!open.file) {
    open.error = GetLastError();
    return open;
  }
  std::string bytes;
  if (!ReadRest(open.file.get(), bytes)) return open;
  open.record = ParseRecord(bytes);
  // A line cut short by a forced end is closed, so that what is added starts a line of its own.
  if (!bytes.empty() && bytes.back() != '\n' && !AddToRecord(open.file.get(), "\r\n"))
    open.record.reset();
  return open;
}

bool AddToRecord(HANDLE file, const std::string& text, bool flush) {
  DWORD written = 0;
  return WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
         written == text.size() && (!flush || FlushFileBuffers(file));
}
