#include "file_steps/last_sort_undo_win.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/text_util.h"
#include "base/wide_text_win.h"
#include "file_steps/record_file_win.h"
#include "file_steps/stepwise_copy_win.h"
#include "file_steps/undo_run.h"
#include "tags/save_copy_name.h"

namespace {
std::uint32_t Done(BOOL done) { return done ? 0 : GetLastError(); }

UndoFiles UndoFileSteps(HANDLE record) {
  return {
      .state = FileStateOf,
      .exists =
          [](const std::string& path) {
            return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
          },
      .isEmptyFolder =
          [](const std::string& folder) {
            const std::optional<std::vector<std::string>> names = NamesIn(folder);
            return names && names->empty();
          },
      // Back to another drive too, as the sort moves; never over a file.
      .moveFile =
          [](const std::string& from, const std::string& to) {
            STEP(Sorter);
            const std::uint32_t error = MoveInSteps(from, to, {});
            // A file kept aside was hidden; back in its place it is as it was.
            const DWORD attributes = GetFileAttributesW(Wide(to).c_str());
            if (error == 0 && IsSaveCopyName(from) && attributes != INVALID_FILE_ATTRIBUTES)
              SetFileAttributesW(Wide(to).c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_HIDDEN));
            return error;
          },
      .deleteFile = [](const std::string& path) { return Done(RemoveOwnFile(path)); },
      .makeFolder =
          [](const std::string& folder) {
            return Done(CreateDirectoryW(Wide(folder).c_str(), nullptr));
          },
      .removeFolder =
          [](const std::string& folder) { return Done(RemoveDirectoryW(Wide(folder).c_str())); },
      .removeLeftovers = RemoveLeftoverCopies,
      .markBack = [record](size_t n) { return AddToRecord(record, BackLine(n)); },
      .goOn = {},
      .systemMessage = SystemMessage,
  };
}

std::string Question(const TextTable& texts, const RunRecord& record) {
  const size_t files = record.Files();
  std::string question =
      FillIn(texts[files == 1 ? kTextUndoQuestionOne : kTextUndoQuestion], "%1", record.started);
  question = FillIn(question, "%2", texts[record.move ? kTextUndoMovedWord : kTextUndoCopiedWord]);
  return FillIn(question, "%3", files);
}
}  // namespace

UndoOffer OfferUndo(const TextTable& texts) {
  STEP(Sorter);
  const std::optional<LastSort> last = ReadLastSort();
  if (!last) return {false, texts[kTextUndoNothing], ""};
  if (last->record.undone) return {false, texts[kTextUndoAlready], ""};
  return {true, Question(texts, last->record), last->path};
}

std::string UndoSort(const TextTable& texts, const std::string& path) {
  STEP(Sorter);
  const OpenRecord open = OpenRecordToAdd(path);
  if (open.error == ERROR_SHARING_VIOLATION) return texts[kTextUndoBusy];
  if (!open.record || open.record->Files() == 0) return texts[kTextUndoNothing];
  if (open.record->undone) return texts[kTextUndoAlready];
  const UndoSummary summary = UndoRun(texts, *open.record, UndoFileSteps(open.file.get()));
  // An undo cut short is not marked: the steps it took back are, and the rest can follow.
  if (!summary.endedEarly) AddToRecord(open.file.get(), UndoneLine(RecordTime()));
  return UndoReportText(texts, summary);
}
