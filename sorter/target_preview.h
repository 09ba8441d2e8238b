// The sorter's preview: where each row's file will go under the current pattern, and what stands
// in its way. A plan worked out from the rows, their tags and what exists on disk, which the
// window feeds with what it reads; the targets come from BuildTargetPath, as in the run.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/name_case.h"
#include "sorter/album_files.h"
#include "settings/text_table.h"
#include "sorter/sort_run.h"
#include "sorter/target_path.h"
#include "tags/tag_info.h"

// One piece of reading the preview needs from the file system, for one row: its tags, what is at
// its target, or the files of its folder (for the album files that are no rows).
struct PreviewTask {
  // kCheckAlbumTarget: what is at the target of an album file shown (AlbumTarget).
  enum Kind { kReadTags, kCheckTarget, kListFolder, kCheckAlbumTarget } kind;
  size_t row;
};

class TargetPreview {
 public:
  // names: how the file system compares names, for the marks of targets taken by an earlier row.
  // userFolder: whether a folder is one the system names for the user (see AlbumTargets).
  explicit TargetPreview(const NameCase& names,
                         std::function<bool(const std::string&)> userFolder = {})
      : names_(names), userFolder_(std::move(userFolder)) {}
  // A row whose name holds an unpaired surrogate is read no further: its text gives the reason.
  void AddRow(std::string source);
  // The rows, which the run takes.
  size_t size() const { return rows_.size(); }
  // What the list shows: the rows, then, while albums go along, the album files of the rows'
  // folders that are no rows themselves.
  size_t Shown() const { return rows_.size() + (album_ ? albumFiles_.size() : 0); }
  // The file of a row shown.
  const std::string& Source(size_t row) const {
    return row < rows_.size() ? rows_[row].source : albumFiles_[row - rows_.size()];
  }
  // The row shown for an album file that is no row, if there is one.
  std::optional<size_t> AlbumFileRow(const std::string& file) const;

  // A new pattern: every target and mark is worked out again; the tags read so far are kept.
  void SetPattern(TargetPattern pattern);
  // Whether the album's other files go along: a row of such a file whose tags can't be read then
  // shows where it goes with its album, or why it stays, once every row is read.
  void SetAlbum(bool takeAlong);

  // The next reading to do: first for the rows first..last (those on screen), then for every row
  // in order. Nothing when the whole list is worked out.
  std::optional<PreviewTask> NextTask(size_t first, size_t last);
  // The tags of a row as read once (nothing when they can't be read).
  void SetTags(size_t row, std::optional<TagInfo> tags);
  // What is at the row's target now.
  void SetTargetState(size_t row, TargetState state);
  // The files in the row's folder, as whole paths.
  void SetFolderFiles(size_t row, const std::vector<std::string>& files);
  // Where the album file shown in the row goes, while it goes along; else nothing.
  std::optional<std::string> AlbumTarget(size_t row);
  // What is at that target now: an album file never replaces a file.
  void SetAlbumTargetState(size_t row, TargetState state);

  // The row's target, once its tags are read; nothing before or when they can't be read.
  const std::string* Target(size_t row);
  // The text of a row shown: nothing yet, that its name or tags can't be read, or its target,
  // behind the first reason that stands in its way (too long, another row's file, taken on disk,
  // taken by an earlier row). An album file shows where it goes with its album, or why it stays.
  std::string Text(const TextTable& texts, size_t row);
  // True when something stands in the way of the row's target.
  bool Marked(size_t row);
  // The rows before this one have every mark worked out.
  size_t Swept() const { return sweep_; }
  // Whether every row shown is worked out.
  bool Done() const { return sweep_ == rows_.size() && (!album_ || albumSweep_ >= Shown()); }

 private:
  enum class Tags { kUnread, kUnreadable, kRead };
  struct Row {
    std::string source;
    Tags tagState = Tags::kUnread;
    TagInfo tags;
    std::optional<std::string> target;       // for the current pattern
    std::optional<TargetState> targetState;  // for the current target
    bool sameAsEarlier = false;              // known once the sweep has passed the row
    bool targetIsSource = false;             // the target is another row's file: never replaced
    bool nameUnreadable = false;             // holds an unpaired surrogate
  };
  std::optional<PreviewTask::Kind> Need(size_t row);  // the reading a row still needs
  // Where the rows' tracks go, folder by folder, once every row is worked out; else nothing.
  const AlbumTargets* Albums();
  // Whether the row is an album file that goes with its album, or stays, when albums go along.
  bool IsAlbumRow(size_t row) const;
  // For an album file: where it goes, or why it stays; nothing until every row is worked out, or
  // when no track came from its folder.
  std::optional<AlbumTargets::Decision> AlbumDecision(const std::string& file);
  std::optional<TextId> Reason(size_t row);  // the first thing in the way of the target
  void Sweep();

  const NameCase& names_;
  std::function<bool(const std::string&)> userFolder_;
  TargetPattern pattern_;
  std::vector<Row> rows_;
  // Rows before sweep_ have their target compared with every earlier one; firstRowOf_ holds, for
  // each target seen (folded as Windows compares names), the first row that has it.
  size_t sweep_ = 0;
  std::unordered_map<std::u16string, size_t> firstRowOf_;
  std::unordered_set<std::u16string> sources_;  // every row's file, folded
  bool album_ = false;
  std::optional<AlbumTargets> albums_;  // worked out once all rows are, for the current pattern
  // The album files found in the rows' folders that are no rows, and every file of those folders
  // (by the folder's folded name); the rows whose folder is still to be listed.
  std::vector<std::string> albumFiles_;
  std::unordered_map<std::u16string, size_t> albumFileRows_;  // index in albumFiles_, by name
  std::unordered_map<std::u16string, std::vector<std::string>> listedFolders_;
  // What is at the album files' targets (folded); the shown rows before albumSweep_ need nothing
  // more.
  std::unordered_map<std::u16string, TargetState> albumTargetStates_;
  size_t albumSweep_ = 0;
  std::vector<size_t> toList_;
};
