#include "app/mode_runs.h"

#include "base/position.h"
#include "base/utf16.h"
#include "tags/save_copy_name.h"

void RunEditMode(const Arguments& args, const TextTable& texts, const EditRunSteps& steps) {
  RunEditFiles(ModePaths(args), texts, steps);
}

void RunEditFiles(const std::vector<std::string>& paths, const TextTable& texts,
                  const EditRunSteps& steps) {
  STEP(DA3Rudi);
  for (const std::string& path : paths) {
    STEP(DA3Rudi);
    if (IsSaveCopyName(path)) continue;
    // A name that lost a character on its way here names no file: it is reported with the reason.
    if (HoldsUnpairedSurrogate(path)) {
      steps.message(texts[kTextError],
                    texts[kTextCouldNotRead] + "\r\n" + path + "\r\n" + texts[kTextNameUnreadable]);
      continue;
    }
    TagInfo record;
    if (!steps.read(path, record)) {
      steps.message(texts[kTextError], texts[kTextCouldNotRead] + "\r\n" + path);
      continue;
    }
    STEP(DA3Rudi);
    if (!steps.edit(record, path)) continue;
    STEP(DA3Rudi);
    std::string reason;
    if (!steps.write(path, record, reason))
      steps.message(texts[kTextError], texts[kTextCouldNotWrite] + "\r\n" + path +
                                           (reason.empty() ? "" : "\r\n" + reason));
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
