#include "app/mode_runs.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <optional>
#include <thread>

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
std::string FaultLines(const TextTable& texts, const std::vector<FileFault>& faults,
                       size_t listed = 20) {
  if (faults.size() == 1)
    return "\r\n" + faults[0].path + (faults[0].reason.empty() ? "" : "\r\n" + faults[0].reason);
  std::string lines;
  for (size_t i = 0; i < faults.size() && i < listed; ++i)
    lines += "\r\n" + faults[i].path + (faults[i].reason.empty() ? "" : ": " + faults[i].reason);
  if (faults.size() > listed)
    lines += "\r\n" + FillIn(texts[kTextMoreNotPlaced], "%1", faults.size() - listed);
  return lines;
}

void ShowFaults(const TextTable& texts, const EditRunSteps& steps, TextId what,
                const std::vector<FileFault>& faults) {
  if (!faults.empty()) steps.message(texts[kTextError], texts[what] + FaultLines(texts, faults));
}

// Each file's reading in its place, nothing where it could not be read; steps.readers files at a
// time, the next file going to whichever reader is free. A name that lost a character on its way
// here names no file and is not read.
std::vector<std::optional<TagInfo>> ReadAll(const std::vector<std::string>& paths,
                                            const EditRunSteps& steps) {
  std::vector<std::optional<TagInfo>> records(paths.size());
  std::atomic<size_t> next = 0;
  auto read = [&] {
    for (size_t file; (file = next++) < paths.size();) {
      STEP(DA3Rudi);
      TagInfo record;
      if (!HoldsUnpairedSurrogate(paths[file]) && steps.read(paths[file], record))
        records[file] = std::move(record);
    }
  };
  std::vector<std::thread> readers;
  for (unsigned more = 1; more < steps.readers && more < paths.size(); ++more)
    readers.emplace_back(read);
  read();
  for (std::thread& reader : readers) reader.join();
  return records;
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
  std::vector<std::string> named;
  std::ranges::copy_if(paths, std::back_inserter(named),
                       [](const std::string& path) { return !IsSaveCopyName(path); });
  std::vector<std::optional<TagInfo>> read = ReadAll(named, steps);
  for (size_t file = 0; file < named.size(); ++file) {
    if (HoldsUnpairedSurrogate(named[file])) {
      unread.push_back({named[file], texts[kTextNameUnreadable]});
    } else if (read[file]) {
      files.push_back(named[file]);
      records.push_back(std::move(*read[file]));
    } else {
      unread.push_back({named[file], ""});
    }
  }
  ShowFaults(texts, steps, kTextCouldNotRead, unread);
  size_t saved = 0;
  auto write = [&](size_t file, const EditedFields& fields) {
    STEP(DA3Rudi);
    std::string reason;
    if (steps.write(files[file], fields, reason)) return ++saved, true;
    unwritten.push_back({files[file], reason});
    return false;
  };
  EditorResult together;
  if (files.size() >= 2) {
    together = steps.editTogether(records, files, write);
    const size_t reached = saved + unwritten.size();
    if (together.end == EditorEnd::kSaved && reached < files.size()) {
      // Stopped between two files: the files not reached are unchanged, as are those that failed.
      for (size_t file = reached; file < files.size(); ++file)
        unwritten.push_back({files[file], ""});
      steps.message(texts[kTextError],
                    FillIn(FillIn(texts[kTextSaveStopped], "%1", saved), "%2", files.size()) +
                        FaultLines(texts, unwritten, 10));
      return;
    }
    if (together.end != EditorEnd::kOneByOne)
      return ShowFaults(texts, steps, kTextCouldNotWrite, unwritten);
  }
  const bool oneByOne = together.end == EditorEnd::kOneByOne;
  for (size_t file = 0; file < files.size(); ++file) {
    STEP(DA3Rudi);
    const EditedFields* typed = !oneByOne                  ? nullptr
                                : together.perFile.empty() ? &together.fields
                                                           : &together.perFile[file];
    const EditorResult result = steps.edit(records[file], files[file], typed);
    if (result.end != EditorEnd::kSaved || write(file, result.fields)) continue;
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
