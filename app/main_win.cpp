// DA3Rudi, the program's entry: start-up, the choice of mode, and the end of the process.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <thread>
#include <commctrl.h>

#include <memory>

#include "app/command_line.h"
#include "app/crash_handler_win.h"
#include "app/mode_runs.h"
#include "app/verb_server_win.h"
#include "base/file_system_win.h"
#include "base/message_box_win.h"
#include "base/path_parts.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/wide_text_win.h"
#include "configure/configuration_window.h"
#include "editor/editor_window.h"
#include "settings/settings.h"
#include "file_steps/last_sort_undo_win.h"
#include "file_steps/record_file_win.h"
#include "sorter/sorter_window.h"
#include "tags/tag_bridge.h"

namespace {
// COM starts the program for a verb at once; the selection follows within moments.
constexpr DWORD kVerbCallWaitMs = 20000;

// Why a save failed, in the user's words: the save's own reasons, a file no longer there, the
// system's message, or that TagLib did not save the file as it should.
std::string SaveFailure(const TextTable& texts, unsigned long error) {
  switch (error) {
    case 0:
      return texts[kTextNotSavedAsMeant];
    case kErrorChangedWhileSaved:
      return texts[kTextChangedWhileSaved];
    case kErrorWouldLoseValues:
      return texts[kTextWouldLoseValues];
    case kErrorHoldsNoPicture:
      return texts[kTextHoldsNoPicture];
    case kErrorPictureTooLarge:
      return texts[kTextPictureTooLarge];
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return texts[kTextFileGone];
    default:
      return SystemMessage(error);
  }
}

EditRunSteps EditSteps(ProgramTables& tables) {
  // A file a sort moved and the editor saves becomes a new file: its sort's record hears of it.
  auto placed = std::make_shared<PlacedFiles>();
  return {
      .read = [](const std::string& path,
                 TagInfo& record) { return ReadTags(path, &record, &record.cover); },
      // Two to four at once: the files' reading waits on the disk as much as on a core.
      .readers = std::clamp(std::thread::hardware_concurrency(), 2u, 4u),
      .edit =
          [&](const TagInfo& record, const std::string& path, const EditedFields* typed) {
            return EditTags(tables, record, path, typed, ReadShownCover);
          },
      .editTogether =
          [&](const std::vector<TagInfo>& records, const std::vector<std::string>& paths,
              const WriteTypedFields& write) {
            return EditTogether(tables, records, paths, write, ReadShownCover);
          },
      // What was typed goes onto the file as it is at the write, not onto the reading the editor
      // showed: a field another program changed since stays as that program left it.
      .write =
          [&tables, placed](const std::string& path, const EditedFields& fields,
                            std::string& reason) {
            const std::optional<FileState> before =
                placed->Holds(path) ? FileStateOf(path) : std::nullopt;
            unsigned long error = 0;
            const int saved = WriteTags(
                path, [&](TagInfo& fresh) { CopyBack(fields, tables.genres, fresh); }, fields.cover,
                &error);
            if (!saved) reason = SaveFailure(tables.texts, error);
            if (const std::optional<FileState> after =
                    saved && before ? FileStateOf(path) : std::nullopt)
              placed->Saved(path, *before, *after);
            return saved;
          },
      .message = [](const std::string& title,
                    const std::string& text) { ShowMessage(nullptr, title, text); },
  };
}

bool IsFile(const std::string& path) { return bool(FileSize(path)); }

// The sort files with whole paths, made here, in the folder they were named in: a relative name
// handed to another sorter process would name a file in that process's folder.
std::vector<std::string> SortFilesOf(std::vector<std::string> paths) {
  STEP(DA3Rudi);
  for (std::string& path : paths) path = WholePath(path);
  return CollectSortFiles(std::move(paths), IsFile);
}

// A verb's files go the way the command line's do: the sort joins an open sorter window through
// the hand-over, the edit shows one editor after the other.
void RunVerbCall(ProgramTables& tables) {
  STEP(DA3Rudi);
  std::optional<VerbCall> call = ReceiveVerbCall(kVerbCallWaitMs);
  if (!call) return;
  if (call->mode == Mode::Edit) return RunEditFiles(call->files, tables.texts, EditSteps(tables));
  std::vector<std::string> files = SortFilesOf(std::move(call->files));
  // COM starts a server in a folder of its own choosing (the system folder on Windows), not in
  // the folder Explorer shows: the sorter starts from the folder of the selection, as it does
  // when started there from a command line.
  for (const std::string& file : files)
    if (!HoldsUnpairedSurrogate(file) && !FolderPart(file).empty()) {
      SetCurrentDirectoryW(Wide(FolderPart(file)).c_str());
      break;
    }
  RunSorter(tables.texts, files);
}

void RunMode(ProgramTables& tables, const Arguments& args) {
  STEP(DA3Rudi);
  switch (ChooseMode(args)) {
    case Mode::Configure: {
      // The undo takes back the record its question was about.
      std::string offered;
      ConfigurationWindow(tables, {.offer =
                                       [&] {
                                         const UndoOffer offer = OfferUndo(tables.texts);
                                         offered = offer.record;
                                         return std::pair{offer.possible, offer.text};
                                       },
                                   .undo = [&] { return UndoSort(tables.texts, offered); }});
      break;
    }
    case Mode::Edit:
      RunEditMode(args, tables.texts, EditSteps(tables));
      break;
    case Mode::Sort:
      RunSorter(tables.texts, SortFilesOf(ModePaths(args)));
      break;
    case Mode::Verb:
      RunVerbCall(tables);
      break;
  }
}
// COM catches a fault inside a call of the verb object and answers the caller with an error, so
// the process went on without the report. With its catching off, such a fault reaches the crash
// handler as one anywhere else does. Set before the process makes or takes any COM call.
void LetFaultsInComCallsThrough() {
  IGlobalOptions* options = nullptr;
  if (FAILED(CoCreateInstance(CLSID_GlobalOptions, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IGlobalOptions, reinterpret_cast<void**>(&options))))
    return;
  options->Set(COMGLB_EXCEPTION_HANDLING, COMGLB_EXCEPTION_DONOT_HANDLE_ANY);
  options->Release();
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STEP(DA3Rudi);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LetFaultsInComCallsThrough();
  STEP(DA3Rudi);
  // The command line as the user gave it, in UTF-8: a name that holds an unpaired surrogate keeps
  // its mark, so that it is reported rather than taken for another name.
  const std::string commandLine = Utf8Marked(GetCommandLineW());
  InstallCrashHandler(commandLine);
  STEP(DA3Rudi);
  const Arguments args(commandLine);
  {
    auto tables = std::make_unique<ProgramTables>();
    LoadSettings(*tables);
    RunMode(*tables, args);
  }
  STEP(DA3Rudi);
  // A process COM started for a verb leaves COM to the end of the process: Wine's CoUninitialize
  // there can wait forever for a call on the verb's object that this thread, no longer serving
  // its messages, would have to answer (seen after a second sort verb had handed its files over).
  if (ChooseMode(args) != Mode::Verb) CoUninitialize();
  ExitProcess(0);
}
