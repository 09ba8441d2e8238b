#include "app/mode_runs.h"

#include "base/position.h"
#include "base/text_util.h"
#include "base/utf16.h"
#include "tags/save_copy_name.h"

namespace {
// A file of the edit run that could not be read or written, and why where that is known.
struct FileFault {
  std::string path, reason;
};

// The box's lines for the files: one file with its reason on the next line, several one per line,
// each followed by its reason.
std::string FaultLines(const TextTable& texts, const std::vector<FileFault>& faults) {
  constexpr size_t kListed = 20;
  if (faults.size() == 1)
    return "\r\n" + faults[0].path + (faults[0].reason.empty() ? "" : "\r\n" + faults[0].reason);
  std::string lines;
  for (size_t i = 0; i < faults.size() && i < kListed; ++i)
    lines += "\r\n" + faults[i].path + (faults[i].reason.empty() ? "" : ": " + faults[i].reason);
  if (faults.size() > kListed)
    lines += "\r\n" + FillIn(texts[kTextMoreNotPlaced], "%1", faults.size() - kListed);
  return lines;
}

void ShowFaults(const TextTable& texts, const EditRunSteps& steps, TextId what,
                const std::vector<FileFault>& faults) {
  if (!faults.empty()) steps.message(texts[kTextError], texts[what] + FaultLines(texts, faults));
}
}  // namespace

void RunEditMode(const Arguments& args, const TextTable& texts, const EditRunSteps& steps) {
  RunEditFiles(ModePaths(args), texts, steps);
}

void RunEditFiles(const std::vector<std::string>& paths, const TextTable& texts,
                  const EditRunSteps& steps) {
  STEP(DA3Rudi);
  std::vector<std::string> files;
  std::vector<TagInfo> records;
  std::vector<FileFault> unread, unwritten;
  for (const std::string& path : paths) {
    STEP(DA3Rudi);
    if (IsSaveCopyName(path)) continue;
    // A name that lost a character on its way here names no file: it is reported with the reason.
    if (HoldsUnpairedSurrogate(path)) {
      unread.push_back({path, texts[kTextNameUnreadable]});
      continue;
    }
    TagInfo record;
    if (!steps.read(path, record)) {
      unread.push_back({path, ""});
      continue;
    }
    files.push_back(path);
    records.push_back(std::move(record));
  }
  ShowFaults(texts, steps, kTextCouldNotRead, unread);
  auto write = [&](size_t file, const TagInfo& record) {
    STEP(DA3Rudi);
    std::string reason;
    if (steps.write(files[file], record, reason)) return true;
    unwritten.push_back({files[file], reason});
    return false;
  };
  if (files.size() >= 2 && steps.editTogether(records, files, write) != EditorEnd::kOneByOne) {
    ShowFaults(texts, steps, kTextCouldNotWrite, unwritten);
    return;
  }
  for (size_t file = 0; file < files.size(); ++file) {
    STEP(DA3Rudi);
    if (!steps.edit(records[file], files[file]) || write(file, records[file])) continue;
    ShowFaults(texts, steps, kTextCouldNotWrite, unwritten);
    unwritten.clear();
  }
}

std::vector<std::string> CollectSortFiles(const Arguments& args,
                                          const std::function<bool(const std::string&)>& isFile) {
  return CollectSortFiles(ModePaths(args), isFile);
}

std::vector<std::string> CollectSortFiles(std::vector<std::string> paths,
                                          const std::function<bool(const std::string&)>& isFile) {
  STEP(DA3Rudi);
  std::vector<std::string> files;
  for (std::string& path : paths)
    if (!IsSaveCopyName(path) && (HoldsUnpairedSurrogate(path) || isFile(path)))
      files.push_back(std::move(path));
  return files;
}
