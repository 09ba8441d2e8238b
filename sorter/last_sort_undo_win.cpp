#include "sorter/last_sort_undo_win.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/text_util.h"
#include "base/system_message_win.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "sorter/sort_record_file_win.h"
#include "sorter/undo_run.h"
#include "tags/save_copy_name.h"

namespace {
std::uint32_t Done(BOOL done) { return done ? 0 : GetLastError(); }

UndoFiles UndoFileSteps() {
  return {
      .mark = FileMarkOf,
      .exists =
          [](const std::string& path) {
            return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
          },
      .isEmptyFolder =
          [](const std::string& folder) {
            const std::optional<std::vector<std::string>> names = NamesIn(folder);
            return names && names->empty();
          },
      // Back to another drive too; never over a file.
      .moveFile =
          [](const std::string& from, const std::string& to) {
            STEP(Sorter);
            const std::uint32_t error =
                Done(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_COPY_ALLOWED));
            // A file kept aside was hidden; back in its place it is as it was.
            const DWORD attributes = GetFileAttributesW(Wide(to).c_str());
            if (error == 0 && IsSaveCopyName(from) && attributes != INVALID_FILE_ATTRIBUTES)
              SetFileAttributesW(Wide(to).c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_HIDDEN));
            return error;
          },
      .deleteFile = [](const std::string& path) { return Done(DeleteFileW(Wide(path).c_str())); },
      .makeFolder =
          [](const std::string& folder) {
            return Done(CreateDirectoryW(Wide(folder).c_str(), nullptr));
          },
      .removeFolder =
          [](const std::string& folder) { return Done(RemoveDirectoryW(Wide(folder).c_str())); },
      .systemMessage = SystemMessage,
  };
}
}  // namespace

UndoOffer OfferUndo(const TextTable& texts) {
  STEP(Sorter);
  const std::optional<LastSort> last = ReadLastSort();
  if (!last || last->record.Files() == 0) return {false, texts[kTextUndoNothing]};
  if (last->record.undone) return {false, texts[kTextUndoAlready]};
  std::string question = FillIn(texts[kTextUndoQuestion], "%1", last->record.started);
  question =
      FillIn(question, "%2", texts[last->record.move ? kTextUndoMovedWord : kTextUndoCopiedWord]);
  return {true, FillIn(question, "%3", last->record.Files())};
}

std::string UndoLastSort(const TextTable& texts) {
  STEP(Sorter);
  const std::optional<LastSort> last = ReadLastSort();
  if (!last || last->record.Files() == 0) return texts[kTextUndoNothing];
  if (last->record.undone) return texts[kTextUndoAlready];
  // Recorded first: an undo cut short is not begun a second time over what it already did.
  MarkUndone(last->path);
  return UndoReportText(texts, UndoRun(texts, last->record, UndoFileSteps()));
}
