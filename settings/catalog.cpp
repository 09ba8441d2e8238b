#include "settings/catalog.h"

#include "base/position.h"

namespace {
// A catalog line ends at CR, LF or NUL; a LF right after a CR belongs to that CR.
bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// Walks a text line by line; past the end every line is empty.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  std::string_view Next() {
    size_t start = pos_;
    while (pos_ < text_.size() && !IsLineEnd(text_[pos_])) ++pos_;
    std::string_view line = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) {
      char end = text_[pos_++];
      if (end == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
    return line;
  }
  bool AtEnd() const { return pos_ >= text_.size(); }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};
}  // namespace

bool ParseCatalog(std::string_view bytes, TextTable& texts) {
  STEP(DA3Rudi);
  LineReader lines(bytes);
  if (lines.Next() != "Catalog") return false;
  for (size_t i = 0; i < kFirstAddedText; ++i) texts[i] = lines.Next();
  // Entries added later come from the lines of the catalog that hold text; a catalog written
  // before them may stop or end in empty lines, and those texts stay in English.
  for (size_t i = kFirstAddedText; i < kTextCount; ++i) {
    const std::string_view line = lines.Next();
    texts[i] = line.empty() ? DefaultText(i) : std::string(line);
  }
  return true;
}

bool CatalogLineCounter::Take(std::string_view bytes) {
  constexpr size_t kLinesUsed = 1 + kTextCount;
  for (char c : bytes) {
    if (lines_ >= kLinesUsed) break;
    const bool mergedLf = afterCr_ && c == '\n';
    afterCr_ = c == '\r';
    if (!mergedLf && IsLineEnd(c)) ++lines_;
  }
  return lines_ >= kLinesUsed;
}
