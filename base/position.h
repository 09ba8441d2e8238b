// CurrentPosition: the module and line of the last step the program began, for the crash report.
#pragma once
#include <cstdint>
#include <iterator>
#include <string_view>
#include <type_traits>

enum class Module : std::uint32_t {
  DA3Rudi = 0,
  TagLib = 1,
  Configure = 2,
  Editor = 3,
  Sorter = 4
};

// Bits 24-31: module number, bits 0-23: line. Each thread's own, written before every step the
// thread begins, so the crash handler reads the last step of the thread that faulted.
extern thread_local volatile std::uint32_t CurrentPosition;

// Set while the crash report is up: every thread's next step waits there until the process ends,
// so that no work goes on behind the box (a copy, a save, a run) only to be cut off by its answer.
extern volatile bool StepsHeld;
// Waits for the end of the process, unless this thread may go on stepping (the report's own).
void WaitAtStep();
// Lets this thread's steps go on while the others are held.
void LetThisThreadStepOn();

// Records the step at the given position, once steps are not held.
inline void BeginStep(std::uint32_t position) {
  if (StepsHeld) WaitAtStep();
  CurrentPosition = position;
}

// The source files that record steps, numbered from 1 in this order. A step's line is its file's
// number times kLinesPerFile plus its line in that file, so every line is unique and a report's
// "Line: 100094" reads back as line 94 of file 10 (window_kit/window_kit_win.cpp). New files go at
// the end, so that the numbers in reports already sent keep their meaning.
inline constexpr std::string_view kStepFiles[] = {
    "app/command_line.cpp",                    // 1
    "app/crash_handler_win.cpp",               // 2
    "app/crash_report.cpp",                    // 3
    "base/file_system_win.cpp",                // 4
    "app/main_win.cpp",                        // 5
    "base/message_box_win.cpp",                // 6
    "app/mode_runs.cpp",                       // 7
    "base/shell_open_win.cpp",                 // 8
    "base/text_util.cpp",                      // 9
    "window_kit/window_kit_win.cpp",           // 10
    "settings/catalog.cpp",                    // 11
    "settings/preference_file_win.cpp",        // 12
    "settings/preference_text.cpp",            // 13
    "settings/settings_folder.cpp",            // 14
    "settings/settings_win.cpp",               // 15
    "settings/text_table.cpp",                 // 16
    "tags/genre_table.cpp",                    // 17
    "tags/latin1.cpp",                         // 18, gone: its number stays taken
    "tags/save_copy_name.cpp",                 // 19
    "tags/tag_bridge_win.cpp",                 // 20
    "tags/taglib.h",                           // 21
    "editor/editor_fields.cpp",                // 22
    "editor/editor_window_win.cpp",            // 23
    "editor/format_duration.cpp",              // 24
    "configure/configuration_text.cpp",        // 25
    "configure/configuration_window_win.cpp",  // 26
    "configure/shell_verbs_win.cpp",           // 27
    "sorter/hand_over.cpp",                    // 28
    "sorter/sort_files_win.cpp",               // 29
    "sorter/sort_run.cpp",                     // 30
    "sorter/sorter_window_win.cpp",            // 31
    "sorter/target_path.cpp",                  // 32
    "sorter/target_preview.cpp",               // 33
    "tags/safe_save_win.cpp",                  // 34
    "tags/taglib_objects_win.cpp",             // 35
    "base/code_page_win.cpp",                  // 36
    "file_steps/stepwise_copy_win.cpp",        // 37
    "app/verb_server_win.cpp",                 // 38
    "sorter/tag_read_ahead_win.cpp",           // 39
    "file_steps/sort_record.cpp",              // 40
    "file_steps/undo_run.cpp",                 // 41
    "sorter/empty_folders.cpp",                // 42
    "file_steps/record_file_win.cpp",          // 43
    "file_steps/last_sort_undo_win.cpp",       // 44
    "sorter/album_files.cpp",                  // 45
    "file_steps/recorded_steps.cpp",           // 46
    "base/user_folders_win.cpp",               // 47
    "tags/value_lists_win.cpp",                // 48
    "tags/pictures_win.cpp",                   // 49
    "editor/name_window_win.cpp",              // 50
    "tags/track_totals_win.cpp",               // 51
    "editor/track_window_win.cpp",             // 52
};
inline constexpr std::uint32_t kLinesPerFile = 10000;

// The line a step on the given line of the given source file records. In a constant expression a
// file missing from kStepFiles, or a line past kLinesPerFile, stops the build.
constexpr std::uint32_t StepLineOf(std::string_view path, std::uint32_t line) {
  if (line >= kLinesPerFile) throw "a source file that records steps is too long";
  for (std::size_t i = 0; i < std::size(kStepFiles); ++i) {
    const std::string_view file = kStepFiles[i];
    if (path.size() >= file.size() && path.substr(path.size() - file.size()) == file &&
        (path.size() == file.size() || path[path.size() - file.size() - 1] == '/' ||
         path[path.size() - file.size() - 1] == '\\'))
      return std::uint32_t(i + 1) * kLinesPerFile + line;
  }
  throw "a source file that records steps is missing from kStepFiles";
}

// Records the step that begins on this line, in the module given as a value.
#define STEP_IN(module)                                  \
  BeginStep((static_cast<std::uint32_t>(module) << 24) | \
            std::integral_constant<std::uint32_t, StepLineOf(__FILE__, __LINE__)>::value)

// Records the step that begins on this line of the given module.
#define STEP(module) STEP_IN(Module::module)
