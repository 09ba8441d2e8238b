// The language catalogs shipped beside the program, and the English defaults: each loads whole, and
// every text fits the control that shows it, measured in the message font at 96 DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/wide_text_win.h"
#include "settings/settings.h"
#include "settings/text_table.h"
#include "tests/support/win_test_support.h"
#include "window_kit/window_kit_win.h"

using namespace testing_win;

namespace {
// Room a push button and a list header leave around their text. The button's is as Wine draws it:
// a caption of 137 pixels still fits a line of the 150 pixel buttons, one of 139 wraps.
// Upwards and downwards only the button's frame of 2 pixels is taken.
constexpr int kButtonMargin = 13, kButtonFrame = 2 * 2, kHeaderMargin = 12;
// A group box draws its caption over the frame line, clear of both corners.
constexpr int kFrameMargin = 20;

// Where a text is shown: the width for it and, for a control that wraps its text at word ends, the
// height all lines must fit; the other controls show one line.
constexpr int kOneLine = 0;
struct Place {
  size_t text;
  int width;
  int height;
  const char* control;
};

// The sizes are those of the windows' control tables.
const Place kPlaces[] = {
    {kTextAudioFrame, 280 - kFrameMargin, kOneLine, "editor: audio frame"},
    {kTextTagFrame, 280 - kFrameMargin, kOneLine, "editor: tag frame"},
    {kTextBitrate, 70, kOneLine, "editor: label"},
    {kTextSampleRate, 70, kOneLine, "editor: label"},
    {kTextChannels, 70, kOneLine, "editor: label"},
    {kTextLength, 70, kOneLine, "editor: label"},
    {kTextTitle, 70, kOneLine, "editor: label"},
    {kTextArtist, 70, kOneLine, "editor: label"},
    {kTextAlbum, 70, kOneLine, "editor: label"},
    {kTextYear, 70, kOneLine, "editor: label"},
    {kTextComment, 70, kOneLine, "editor: label"},
    {kTextTrack, 70, kOneLine, "editor: label"},
    {kTextGenre, 70, kOneLine, "editor: label"},
    {kTextVersionWarning, 260, 40, "editor: warning"},
    {kTextSave, 130 - kButtonMargin, kOneLine, "editor: Save button"},
    {kTextCancel, 130 - kButtonMargin, kOneLine, "editor: Cancel button"},
    {kTextCredit, 280, kOneLine, "editor: link"},
    {kTextSort, 135 - kButtonMargin, kOneLine, "sorter: Sort button"},
    {kTextCancel, 135 - kButtonMargin, kOneLine, "sorter: Cancel button"},
    {kTextMacroHeader, 80 - kHeaderMargin, kOneLine, "sorter: macro column"},
    {kTextDescriptionHeader, 190 - kHeaderMargin, kOneLine, "sorter: description column"},
    {kTextFileHeader, 120 - kHeaderMargin, kOneLine, "sorter: file column"},
    {kTextTargetHeader, 1000 - kHeaderMargin, kOneLine, "sorter: target column"},
    {kTextInsertVerbs, 150 - kButtonMargin, 50 - kButtonFrame, "configuration: insert button"},
    {kTextRemoveVerbs, 150 - kButtonMargin, 50 - kButtonFrame, "configuration: remove button"},
};

const char* const kShipped[] = {"Deutsch.catalog",  "Francais.catalog",   "Espanol.catalog",
                                "Italiano.catalog", "Nederlands.catalog", "Portugues.catalog"};

std::vector<std::string> CatalogFiles() { return NamesMatching(SourcePath("catalogs\\*.catalog")); }

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Measures texts as the controls draw them: the message font on a screen device context.
class Measure {
 public:
  Measure() : font_(CreateMessageFont()), screen_(GetDC(nullptr)) {
    before_ = SelectObject(screen_, font_.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen_, &metrics);
    lineHeight_ = metrics.tmHeight;
  }
  ~Measure() {
    SelectObject(screen_, before_);
    ReleaseDC(nullptr, screen_);
  }
  bool ready() const { return font_ && screen_ && lineHeight_ > 0; }
  int lineHeight() const { return lineHeight_; }

  // The widest line and the height of text wrapped at word ends within width.
  SIZE Wrapped(const std::string& text, int width) const {
    RECT rect{0, 0, width, 0};
    const std::wstring wide = Wide(text);
    DrawTextW(screen_, wide.c_str(), int(wide.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {rect.right - rect.left, rect.bottom - rect.top};
  }
  int Width(const std::string& text) const {
    SIZE extent{};
    const std::wstring wide = Wide(text);
    GetTextExtentPoint32W(screen_, wide.c_str(), int(wide.size()), &extent);
    return extent.cx;
  }

 private:
  FontHandle font_;
  HDC screen_;
  HGDIOBJ before_ = nullptr;
  int lineHeight_ = 0;
};

void ExpectTextsFit(const TextTable& texts, const std::string& language) {
  Measure measure;
  ASSERT_TRUE(measure.ready());
  for (const Place& place : kPlaces) {
    const std::string& text = texts[place.text];
    if (place.height == kOneLine) {
      EXPECT_LE(measure.Width(text), place.width)
          << language << ", " << place.control << ": \"" << text << "\" is wider than "
          << place.width << " pixels";
    } else {
      const SIZE wrapped = measure.Wrapped(text, place.width);
      EXPECT_LE(wrapped.cx, place.width) << language << ", " << place.control << ": \"" << text
                                         << "\" holds a word wider than the control";
      EXPECT_LE(wrapped.cy, place.height)
          << language << ", " << place.control << ": \"" << text << "\" needs "
          << wrapped.cy / measure.lineHeight() << " lines";
    }
  }
}
}  // namespace

TEST(Catalogs, TheShippedLanguagesAreAllThere) {
  const std::vector<std::string> files = CatalogFiles();
  for (const char* name : kShipped)
    EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
}

TEST(Catalogs, EachLoadsWholeInItsOwnWordsAndCodePage) {
  TextTable english;
  FillDefaultTexts(english);
  for (const std::string& name : CatalogFiles()) {
    SCOPED_TRACE(name);
    const std::string path = SourcePath("catalogs\\" + name);
    const std::string bytes = ReadFileBytes(path);
    // The byte-order mark and the exact header, every line ended by CR LF, and nothing past the
    // last text.
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF"
                          "Catalog\r\n",
                          0),
              0u);
    EXPECT_EQ(Replaced(bytes, "\r\n", "").find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(size_t(std::count(bytes.begin(), bytes.end(), '\n')), kTextCount + 1);
    EXPECT_EQ(bytes.back(), '\n');
    // UTF-8 throughout, so every system shows the same letters.
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(bytes)), bytes) << "not UTF-8";

    TextTable texts;
    ASSERT_EQ(LoadCatalog(path, texts), 1);
    for (size_t i = 0; i < kTextCount; ++i) {
      EXPECT_FALSE(texts[i].empty()) << i;
      if (texts[i].empty()) continue;
      EXPECT_NE(texts[i].front(), ' ') << i;
      EXPECT_NE(texts[i].back(), ' ') << i;
    }
    EXPECT_NE(texts[kTextEditVerb], english[kTextEditVerb]);
    EXPECT_NE(texts[kTextSortFinished], english[kTextSortFinished]) << "the sorter's texts too";
    // The hint names the insert button by its caption, after the break the window shows.
    EXPECT_NE(texts[kTextFirstStartHint].find("\\n\"" + texts[kTextInsertVerbs] + "\""),
              std::string::npos)
        << texts[kTextFirstStartHint];
    EXPECT_NE(texts[kTextCredit].find("Veltan"), std::string::npos) << texts[kTextCredit];
    // The end-of-run box fills these in.
    EXPECT_NE(texts[kTextPlacedCount].find("%1"), std::string::npos);
    EXPECT_NE(texts[kTextPlacedCount].find("%2"), std::string::npos);
    EXPECT_NE(texts[kTextMoreNotPlaced].find("%1"), std::string::npos);
  }
}

TEST(Catalogs, EveryTextFitsItsControlInEachLanguage) {
  TextTable english;
  FillDefaultTexts(english);
  ExpectTextsFit(english, "English");
  for (const std::string& name : CatalogFiles()) {
    TextTable texts;
    ASSERT_EQ(LoadCatalog(SourcePath("catalogs\\" + name), texts), 1) << name;
    ExpectTextsFit(texts, name);
  }
}

TEST(Catalogs, TheMeasureFindsTooLongTexts) {
  Measure measure;
  ASSERT_TRUE(measure.ready());
  EXPECT_GT(measure.Width("Abtastfrequenzangabe:"), 70);
  // The wrapping controls hold more than one line, so what decides is how many lines a text needs.
  EXPECT_GE(measure.Wrapped(DefaultText(kTextInsertVerbs), 150 - kButtonMargin).cy,
            2 * measure.lineHeight());
  EXPECT_GE(measure.Wrapped(DefaultText(kTextVersionWarning), 260).cy, 2 * measure.lineHeight());
  EXPECT_GT(measure.Wrapped(std::string(30, 'x') + " " + std::string(30, 'x'), 260).cy,
            measure.lineHeight());
}
