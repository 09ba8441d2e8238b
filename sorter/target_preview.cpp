#include "sorter/target_preview.h"

#include <algorithm>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/utf16.h"
#include "sorter/target_path.h"

void TargetPreview::AddRow(std::string source) {
  albums_.reset();
  std::u16string folded = names_.Folded(source);
  // A row whose target this new row's file is, among the rows passed so far, is marked now.
  if (auto first = firstRowOf_.find(folded);
      first != firstRowOf_.end() && names_.Folded(rows_[first->second].source) != folded)
    rows_[first->second].targetIsSource = true;
  sources_.insert(std::move(folded));
  rows_.emplace_back();
  Row& row = rows_.back();
  row.nameUnreadable = HoldsUnpairedSurrogate(source);
  if (row.nameUnreadable) row.tagState = Tags::kUnreadable;
  row.source = std::move(source);
}

void TargetPreview::SetAlbum(bool takeAlong) { album_ = takeAlong; }

const AlbumTargets* TargetPreview::Albums() {
  if (sweep_ < rows_.size()) return nullptr;
  if (!albums_) {
    STEP(Sorter);
    albums_.emplace([this](const std::string& name) { return names_.Folded(name); });
    // A track goes where the preview shows it unless something stands in its way.
    for (size_t row = 0; row < rows_.size(); ++row)
      if (const std::string* target = Target(row))
        albums_->Track(rows_[row].source, Reason(row) ? nullptr : target);
  }
  return &*albums_;
}

std::optional<std::string> TargetPreview::AlbumTarget(size_t row) {
  const Row& r = rows_[row];
  if (!album_ || r.tagState != Tags::kUnreadable || r.nameUnreadable || !IsAlbumFile(r.source))
    return std::nullopt;
  const AlbumTargets* albums = Albums();
  if (!albums) return std::nullopt;
  const std::optional<std::string> folder = albums->FolderOf(FolderPart(r.source));
  if (!folder) return std::nullopt;
  return *folder + FilePart(r.source);
}

void TargetPreview::SetPattern(TargetPattern pattern) {
  STEP(Sorter);
  albums_.reset();
  pattern_ = std::move(pattern);
  for (Row& row : rows_) {
    row.target.reset();
    row.targetState.reset();
    row.sameAsEarlier = false;
    row.targetIsSource = false;
  }
  sweep_ = 0;
  firstRowOf_.clear();
}

std::optional<PreviewTask::Kind> TargetPreview::Need(size_t row) {
  if (rows_[row].tagState == Tags::kUnread) return PreviewTask::kReadTags;
  if (Target(row) && !rows_[row].targetState) return PreviewTask::kCheckTarget;
  return std::nullopt;
}

std::optional<PreviewTask> TargetPreview::NextTask(size_t first, size_t last) {
  STEP(Sorter);
  for (size_t row = first; row <= last && row < rows_.size(); ++row)
    if (auto kind = Need(row)) return PreviewTask{*kind, row};
  Sweep();
  if (sweep_ < rows_.size()) return PreviewTask{*Need(sweep_), sweep_};
  return std::nullopt;
}

void TargetPreview::SetTags(size_t row, std::optional<TagInfo> tags) {
  rows_[row].tagState = tags ? Tags::kRead : Tags::kUnreadable;
  if (tags) rows_[row].tags = std::move(*tags);
}

void TargetPreview::SetTargetState(size_t row, TargetState state) {
  rows_[row].targetState = state;
}

// Passes every row whose reading is done, in order, and compares its target with the rows before.
void TargetPreview::Sweep() {
  STEP(Sorter);
  for (; sweep_ < rows_.size() && !Need(sweep_); ++sweep_) {
    if (const std::string* target = Target(sweep_)) {
      Row& row = rows_[sweep_];
      std::u16string folded = names_.Folded(*target);
      row.targetIsSource = sources_.count(folded) && folded != names_.Folded(row.source);
      row.sameAsEarlier = !firstRowOf_.emplace(std::move(folded), sweep_).second;
    }
  }
}

const std::string* TargetPreview::Target(size_t row) {
  Row& r = rows_[row];
  if (r.tagState != Tags::kRead) return nullptr;
  if (!r.target) r.target = BuildTargetPath(pattern_, r.source, r.tags);
  return &*r.target;
}

std::optional<TextId> TargetPreview::Reason(size_t row) {
  const std::string* target = Target(row);
  if (!target) return std::nullopt;
  if (TargetTooLong(*target)) return kTextPathTooLong;
  if (rows_[row].targetIsSource) return kTextTargetIsSource;
  if (rows_[row].targetState == TargetState::kExists) return kTextTargetExists;
  if (rows_[row].sameAsEarlier) return kTextSameTarget;
  return std::nullopt;
}

std::string TargetPreview::Text(const TextTable& texts, size_t row) {
  if (rows_[row].nameUnreadable) return texts[kTextNameUnreadable];
  if (album_ && rows_[row].tagState == Tags::kUnreadable && IsAlbumFile(rows_[row].source)) {
    if (std::optional<std::string> target = AlbumTarget(row))
      return texts[kTextWithAlbum] + ": " + *target;
    const AlbumTargets* albums = Albums();
    if (!albums) return "";  // known once every row is read
    const auto& folders = albums->Folders();
    const std::string folder = FolderPart(rows_[row].source);
    if (std::find(folders.begin(), folders.end(), folder) != folders.end())
      return texts[kTextAlbumSplit];
  }
  if (rows_[row].tagState == Tags::kUnreadable) return texts[kTextTagsUnreadable];
  const std::string* target = Target(row);
  if (!target) return "";
  auto reason = Reason(row);
  return reason ? texts[*reason] + ": " + *target : *target;
}

bool TargetPreview::Marked(size_t row) {
  if (rows_[row].tagState == Tags::kUnreadable) return !AlbumTarget(row);
  return Reason(row).has_value();
}
