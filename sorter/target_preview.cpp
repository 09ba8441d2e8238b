#include "sorter/target_preview.h"

#include <algorithm>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/utf16.h"
#include "sorter/target_path.h"

void TargetPreview::AddRow(std::string source) {
  albums_.reset();
  albumSweep_ = 0;
  std::u16string folded = names_.Folded(source);
  // A row whose target this new row's file is, among the rows passed so far, is marked now.
  if (auto first = firstRowOf_.find(folded);
      first != firstRowOf_.end() && names_.Folded(rows_[first->second].source) != folded)
    rows_[first->second].targetIsSource = true;
  // An album file shown already becomes a row of its own.
  if (auto shown = albumFileRows_.find(folded); shown != albumFileRows_.end()) {
    albumFiles_.erase(albumFiles_.begin() + std::ptrdiff_t(shown->second));
    albumFileRows_.clear();
    for (size_t i = 0; i < albumFiles_.size(); ++i)
      albumFileRows_.emplace(names_.Folded(albumFiles_[i]), i);
  }
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
    albums_.emplace([this](const std::string& name) { return names_.Folded(name); }, userFolder_);
    // A track goes where the preview shows it unless something stands in its way.
    for (size_t row = 0; row < rows_.size(); ++row)
      if (const std::string* target = Target(row))
        albums_->Track(rows_[row].source, Reason(row) ? nullptr : target);
  }
  return &*albums_;
}

bool TargetPreview::IsAlbumRow(size_t row) const {
  if (!album_) return false;
  if (row >= rows_.size()) return true;
  const Row& r = rows_[row];
  return r.tagState == Tags::kUnreadable && !r.nameUnreadable && IsAlbumFile(r.source);
}

std::optional<AlbumTargets::Decision> TargetPreview::AlbumDecision(const std::string& file) {
  const AlbumTargets* albums = Albums();
  if (!albums) return std::nullopt;
  const std::string folder = FolderPart(file);
  const auto listed = listedFolders_.find(names_.Folded(folder));
  if (listed == listedFolders_.end()) return std::nullopt;
  AlbumTargets::Decision decision =
      albums->FolderOf(folder, [&]() -> const std::vector<std::string>& { return listed->second; });
  if (!decision.target) return decision;
  *decision.target += FilePart(file);
  const auto state = albumTargetStates_.find(names_.Folded(*decision.target));
  if (state != albumTargetStates_.end() && state->second == TargetState::kExists)
    return AlbumTargets::Decision{std::nullopt, kTextTargetExists};
  return decision;
}

std::optional<std::string> TargetPreview::AlbumTarget(size_t row) {
  if (!IsAlbumRow(row)) return std::nullopt;
  std::optional<AlbumTargets::Decision> decision = AlbumDecision(Source(row));
  if (!decision) return std::nullopt;
  return decision->target;
}

void TargetPreview::SetAlbumTargetState(size_t row, TargetState state) {
  if (std::optional<std::string> target = AlbumTarget(row))
    albumTargetStates_[names_.Folded(*target)] = state;
}

std::optional<size_t> TargetPreview::AlbumFileRow(const std::string& file) const {
  const auto shown = albumFileRows_.find(names_.Folded(file));
  if (!album_ || shown == albumFileRows_.end()) return std::nullopt;
  return rows_.size() + shown->second;
}

void TargetPreview::SetPattern(TargetPattern pattern) {
  STEP(Sorter);
  albums_.reset();
  albumSweep_ = 0;
  albumTargetStates_.clear();
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
  // Before the sweep can end, so that every album file is known once every row is.
  if (!toList_.empty()) return PreviewTask{PreviewTask::kListFolder, toList_.front()};
  Sweep();
  if (sweep_ < rows_.size()) return PreviewTask{*Need(sweep_), sweep_};
  // Then what is at the targets of the album files that go along.
  for (; album_ && albumSweep_ < Shown(); ++albumSweep_)
    if (std::optional<std::string> target = AlbumTarget(albumSweep_);
        target && !albumTargetStates_.count(names_.Folded(*target)))
      return PreviewTask{PreviewTask::kCheckAlbumTarget, albumSweep_};
  return std::nullopt;
}

void TargetPreview::SetTags(size_t row, std::optional<TagInfo> tags) {
  rows_[row].tagState = tags ? Tags::kRead : Tags::kUnreadable;
  if (!tags) return;
  rows_[row].tags = std::move(*tags);
  // A track's folder may hold album files that are no rows.
  if (listedFolders_.try_emplace(names_.Folded(FolderPart(rows_[row].source))).second)
    toList_.push_back(row);
}

void TargetPreview::SetFolderFiles(size_t row, const std::vector<std::string>& files) {
  STEP(Sorter);
  toList_.erase(std::remove(toList_.begin(), toList_.end(), row), toList_.end());
  listedFolders_[names_.Folded(FolderPart(rows_[row].source))] = files;
  for (const std::string& file : files) {
    if (!IsAlbumFile(file)) continue;
    std::u16string folded = names_.Folded(file);
    if (sources_.count(folded) ||
        !albumFileRows_.emplace(std::move(folded), albumFiles_.size()).second)
      continue;
    albumFiles_.push_back(file);
  }
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
  if (row >= rows_.size()) return nullptr;
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
  if (row < rows_.size() && rows_[row].nameUnreadable) return texts[kTextNameUnreadable];
  if (IsAlbumRow(row)) {
    if (!Albums()) return "";  // known once every row is read
    if (std::optional<AlbumTargets::Decision> decision = AlbumDecision(Source(row)))
      return decision->target ? texts[kTextWithAlbum] + ": " + *decision->target
                              : texts[decision->reason];
  }
  if (rows_[row].tagState == Tags::kUnreadable) return texts[kTextTagsUnreadable];
  const std::string* target = Target(row);
  if (!target) return "";
  auto reason = Reason(row);
  return reason ? texts[*reason] + ": " + *target : *target;
}

bool TargetPreview::Marked(size_t row) {
  if (IsAlbumRow(row)) {
    const std::optional<AlbumTargets::Decision> decision = AlbumDecision(Source(row));
    return !decision || !decision->target;
  }
  return rows_[row].tagState == Tags::kUnreadable || Reason(row).has_value();
}
