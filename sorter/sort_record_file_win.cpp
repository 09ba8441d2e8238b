#include "sorter/sort_record_file_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "settings/settings.h"

namespace {
constexpr char kRecordPattern[] = "sort-*.txt";

std::string Now(const char* format) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, format, now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                now.wSecond);
  return text;
}

std::vector<std::string> RecordNames(const std::string& folder) {
  STEP(Sorter);
  return NamesIn(folder, kRecordPattern).value_or(std::vector<std::string>{});
}

bool WriteAll(HANDLE file, const std::string& text, bool flush = true) {
  DWORD written = 0;
  return WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
         written == text.size() && (!flush || FlushFileBuffers(file));
}

// A file the last run set aside (the one a copy replaced) is kept only for that run's undo: once
// another run begins, it goes to the Recycle Bin of its drive, or is deleted where there is none.
void ReleaseSetAside(const RunRecord& record) {
  STEP(Sorter);
  for (const RecordStep& step : record.steps) {
    if (step.kind != RecordStep::kSetAside || !FileSize(step.to)) continue;
    std::wstring name = Wide(step.to);
    name.push_back(L'\0');  // the list of names ends in two zeros
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = name.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&operation);
  }
}
}  // namespace

void RecordWriter::Begin(bool move) { move_ = move; }

void RecordWriter::Open() {
  STEP(Sorter);
  opened_ = true;
  const std::string folder = SettingsFolder();
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  if (std::optional<LastSort> last = ReadLastSort()) ReleaseSetAside(last->record);
  const std::string stamp = Now("%04u%02u%02u-%02u%02u%02u");
  for (unsigned attempt = 0; attempt < 100 && !file_; ++attempt)
    file_ = FileHandle(CreateFileW(Wide(folder + RecordName(stamp, attempt)).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
  if (file_ && !WriteAll(file_.get(), RecordHeader(Now("%04u-%02u-%02u %02u:%02u"), move_)))
    file_.reset();
  for (const std::string& old : RecordsToRemove(RecordNames(folder), kRecordsKept))
    DeleteFileW(Wide(folder + old).c_str());
}

void RecordWriter::Write(const RecordStep& step) {
  STEP(Sorter);
  if (!opened_) Open();
  if (!file_) return;
  // Each line is with the system before its step is done, so a crash or a forced end of the
  // process loses none. Having it on the disk itself costs as much as moving a file, so that is
  // asked for every kFlushEveryMs: a power cut loses at most the steps of that time, which the
  // file system itself keeps no longer than that.
  const bool flush = GetTickCount() - lastFlush_ >= kFlushEveryMs;
  if (flush) lastFlush_ = GetTickCount();
  WriteAll(file_.get(), RecordLine(step), flush);
}

RecordWriter::~RecordWriter() {
  if (file_) FlushFileBuffers(file_.get());
}

std::optional<LastSort> ReadLastSort() {
  STEP(Sorter);
  const std::string folder = SettingsFolder();
  const std::optional<std::string> newest = NewestRecord(RecordNames(folder));
  if (!newest) return std::nullopt;
  std::string bytes;
  if (!ReadFileUntil(folder + *newest, bytes, [](std::string_view) { return false; }))
    return std::nullopt;
  std::optional<RunRecord> record = ParseRecord(bytes);
  if (!record) return std::nullopt;
  return LastSort{folder + *newest, std::move(*record)};
}

std::optional<FileMark> FileMarkOf(const std::string& path) {
  if (std::optional<FileStamp> stamp = StampOf(path))
    return FileMark{stamp->size, stamp->lastWrite};
  return std::nullopt;
}

void MarkUndone(const std::string& path) {
  STEP(Sorter);
  const FileHandle file(CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) WriteAll(file.get(), UndoneLine(Now("%04u-%02u-%02u %02u:%02u")));
}
