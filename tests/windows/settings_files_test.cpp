// The settings on disk: preferences.ini through PreferenceFile (the written bytes, a file only
// read, a read-only file, a folder in its place, several MiB), the settings folder from APPDATA,
// and catalogs next to the program that are huge, binary, marked with a byte-order mark or missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/file_system_win.h"
#include "base/win_handles.h"
#include "settings/preference_file.h"
#include "settings/settings.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const std::string kEnglishZero = "Language = \r\nContextMenu = 0\r\n";

FILETIME LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether this user is kept from writing a read-only file (an administrator, or root under Wine,
// is not).
bool ReadOnlyHolds(const std::string& path) {
  const FileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  return !probe;
}

TextTable Marked(const char* marker) {
  TextTable texts;
  texts.fill(marker);
  return texts;
}
}  // namespace

TEST(PreferenceFileOnDisk, WritesTheThirtyByteFileAndCutsWhatWasThere) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  WriteFileBytes(path, std::string(5000, 'x'));
  PreferenceFile preferences;
  ASSERT_TRUE(preferences.CreateNew(path));
  EXPECT_EQ(ReadFileBytes(path), "") << "CreateNew cuts the file at once";
  preferences.WriteString("Language", "");
  preferences.WriteInteger("ContextMenu", 0);
  EXPECT_EQ(ReadFileBytes(path), "") << "the content reaches the disk only at Close";
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), kEnglishZero);
  EXPECT_EQ(kEnglishZero.size(), 30u);

  // Negative numbers, and a second write of a key in other letter case keeping its place.
  ASSERT_TRUE(preferences.CreateNew(path));
  preferences.WriteString("Language", "Deutsch.catalog");
  preferences.WriteInteger("ContextMenu", -5);
  preferences.WriteString("LANGUAGE", "x.catalog");
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), "LANGUAGE = x.catalog\r\nContextMenu = -5\r\n");
}

// Windows refuses to create an existing hidden or system file anew unless the call asks for those
// attributes again; the file is rewritten with them, so it stays hidden and keeps being written.
TEST(PreferenceFileOnDisk, AHiddenSystemFileIsRewrittenAndKeepsItsAttributes) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  WriteFileBytes(path, "Language = Deutsch.catalog\r\nContextMenu = 1\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  PreferenceFile preferences;
  ASSERT_TRUE(preferences.CreateNew(path));
  preferences.WriteString("Language", "");
  preferences.WriteInteger("ContextMenu", 0);
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), kEnglishZero);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << attributes;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM) << attributes;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(PreferenceFileOnDisk, OnlyReadingLeavesEveryByteAndLetsOthersOnlyRead) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  // UTF-8 with its mark, blanks around the key, a comment, a group and stray bytes at the end.
  const std::string bytes =
      "\xEF\xBB\xBF  language\t= Fran\xC3\xA7"
      "ais.catalog  \n; hand made\r"
      "[Group]\nLanguage = grouped\r\n\r\n" +
      std::string(3, '\0') + "\t";
  WriteFileBytes(path, bytes);
  const FILETIME before = LastWrite(path);
  PreferenceFile preferences;
  ASSERT_TRUE(preferences.OpenExisting(path));
  EXPECT_EQ(preferences.ReadString("Language", "-"),
            "Fran\xE7"
            "ais.catalog");
  EXPECT_EQ(preferences.ReadInteger("ContextMenu", 7), 7);
  // While it is open, others may read the file but not write it.
  FileHandle reader(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_NE(reader.get(), INVALID_HANDLE_VALUE);
  reader.reset();
  FileHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(writer.get(), INVALID_HANDLE_VALUE);
  writer.reset();
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), bytes);
  const FILETIME after = LastWrite(path);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST(PreferenceFileOnDisk, ReadOnlyFileIsReadAndNeverChanged) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  const std::string stored = "Language = Deutsch.catalog\r\nContextMenu = 1\r\n";
  WriteFileBytes(path, stored);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  PreferenceFile preferences;
  EXPECT_TRUE(preferences.OpenExisting(path)) << "a read-only file opens for reading";
  EXPECT_EQ(preferences.ReadString("Language", ""), "Deutsch.catalog");
  EXPECT_EQ(preferences.ReadInteger("ContextMenu", 0), 1);
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), stored);
  EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);

  if (ReadOnlyHolds(path)) {
    EXPECT_FALSE(preferences.CreateNew(path));
    preferences.WriteString("Language", "");  // dropped
    preferences.WriteInteger("ContextMenu", 0);
    preferences.Close();
    EXPECT_EQ(ReadFileBytes(path), stored) << "a file that cannot be created stays as it was";
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Another program holds the file and lets others only read it: the same, whoever the user is.
  FileHandle holder(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(preferences.OpenExisting(path)) << "refused for writing, opened for reading";
  EXPECT_EQ(preferences.ReadString("Language", ""), "Deutsch.catalog");
  preferences.Close();
  EXPECT_FALSE(preferences.CreateNew(path));
  preferences.WriteString("Language", "");
  preferences.Close();
  holder.reset();
  EXPECT_EQ(ReadFileBytes(path), stored);
}

TEST(PreferenceFileOnDisk, AFolderInThePlaceOfTheFileGivesDefaultsAndStays) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  PreferenceFile preferences;
  EXPECT_FALSE(preferences.OpenExisting(path));
  EXPECT_EQ(preferences.ReadString("Language", "default"), "default");
  EXPECT_EQ(preferences.ReadInteger("ContextMenu", 3), 3);
  preferences.Close();
  EXPECT_FALSE(preferences.CreateNew(path));
  preferences.WriteString("Language", "x");
  preferences.Close();
  EXPECT_TRUE(IsDirectory(path));
}

TEST(PreferenceFileOnDisk, SeveralMebibytesAreReadWholeAndReplacedByTwoLines) {
  TempDir dir;
  const std::string path = dir / "preferences.ini";
  std::string big;
  std::mt19937 random(5);
  while (big.size() < 8u << 20) {
    big += "Key" + std::to_string(random()) + " = " + std::string(random() % 300, 'v') + "\r\n";
    if (random() % 64 == 0) big += std::string(200000, 'z') + "\n";
  }
  big += "ContextMenu = 12 at the very end\r\n[Later]\r\nLanguage = hidden\r\n";
  WriteFileBytes(path, big);
  PreferenceFile preferences;
  ASSERT_TRUE(preferences.OpenExisting(path));
  EXPECT_EQ(preferences.ReadInteger("ContextMenu", 0), 12);
  EXPECT_EQ(preferences.ReadString("Language", "none"), "none");
  preferences.Close();
  EXPECT_TRUE(ReadFileBytes(path) == big) << "only read: unchanged";

  ASSERT_TRUE(preferences.CreateNew(path));
  preferences.WriteString("Language", "");
  preferences.WriteInteger("ContextMenu", 0);
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(path), kEnglishZero);
}

class SettingsWithAppData : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD length = GetEnvironmentVariableA("APPDATA", nullptr, 0);
    if (length) {
      saved_.resize(length);
      saved_.resize(GetEnvironmentVariableA("APPDATA", saved_.data(), length));
    }
  }
  void TearDown() override {
    SetEnvironmentVariableA("APPDATA", saved_.empty() ? nullptr : saved_.c_str());
  }

  TempDir appData_;
  std::string saved_;
};

TEST_F(SettingsWithAppData, TrailingBackslashAndSlashesGiveTheSameFolderWhichIsCreated) {
  std::string plain = appData_.path();
  plain.pop_back();
  const std::string expected = plain + "\\Veltan's DA3Zur Tools\\";
  std::string slashed = plain;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  for (const std::string& value : {plain, plain + "\\", slashed, slashed + "/"}) {
    SetEnvironmentVariableA("APPDATA", value.c_str());
    EXPECT_EQ(SettingsFolder(), expected) << value;
  }

  ASSERT_FALSE(IsDirectory(expected));
  ProgramTables tables;
  tables.texts = Marked("stale");
  EXPECT_EQ(LoadSettings(tables), 1);
  EXPECT_TRUE(IsDirectory(expected)) << "the first start creates the settings folder";
  EXPECT_FALSE(FileExists(expected + "preferences.ini")) << "and writes no preference file";
  for (size_t i = 0; i < kTextCount; ++i) EXPECT_EQ(tables.texts[i], DefaultText(i)) << i;
  GenreTable genres;
  FillGenreTable(genres);
  EXPECT_EQ(tables.genres, genres);
}

TEST_F(SettingsWithAppData, UnsetOrEmptyMeansTheRootOfTheCurrentDrive) {
  SetEnvironmentVariableA("APPDATA", nullptr);
  EXPECT_EQ(SettingsFolder(), "\\Veltan's DA3Zur Tools\\");
  SetEnvironmentVariableA("APPDATA", "");
  EXPECT_EQ(SettingsFolder(), "\\Veltan's DA3Zur Tools\\");
}

TEST_F(SettingsWithAppData, OnlyTheLastLevelIsCreatedAndAMissingParentGivesDefaults) {
  const std::string missing = appData_ / "no such parent";
  SetEnvironmentVariableA("APPDATA", missing.c_str());
  ProgramTables tables;
  EXPECT_EQ(LoadSettings(tables), 1);
  EXPECT_FALSE(IsDirectory(missing));
  EXPECT_EQ(tables.texts[kTextError], "Error");
}

// Catalogs placed next to the test program, chosen through preferences.ini as a user would.
class CatalogBesideProgram : public SettingsWithAppData {
 protected:
  void TearDown() override {
    for (const std::string& path : written_) DeleteFileA(path.c_str());
    SettingsWithAppData::TearDown();
  }

  // Writes the catalog beside the program, stores its name as the language and loads the settings.
  ProgramTables LoadWith(const std::string& name, const std::string* bytes) {
    const std::string path = ProgramFolder() + name;
    if (bytes) {
      WriteFileBytes(path, *bytes);
      written_.push_back(path);
    }
    SetEnvironmentVariableA("APPDATA", appData_.path().c_str());
    const std::string folder = appData_ / "Veltan's DA3Zur Tools\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "preferences.ini", "Language = " + name + "\r\n");
    ProgramTables tables;
    tables.texts = Marked("stale");
    EXPECT_EQ(LoadSettings(tables), 1);
    return tables;
  }

  static void ExpectDefaults(const TextTable& texts) {
    for (size_t i = 0; i < kTextCount; ++i) EXPECT_EQ(texts[i], DefaultText(i)) << i;
  }

  const std::string tag_ = std::to_string(GetCurrentProcessId());
  std::vector<std::string> written_;
};

TEST_F(CatalogBesideProgram, LinesOfHundredThousandCharactersAreTakenWhole) {
  std::string bytes = "Catalog\r\n";
  for (size_t i = 0; i < kTextCount; ++i) bytes += std::string(100000, char('a' + i % 26)) + "\n";
  bytes += std::string(100000, '!') + "\r\n";  // a line after the last text is ignored
  ProgramTables tables = LoadWith("long" + tag_ + ".catalog", &bytes);
  for (size_t i = 0; i < kTextCount; ++i)
    EXPECT_TRUE(tables.texts[i] == std::string(100000, char('a' + i % 26))) << i;
}

TEST_F(CatalogBesideProgram, BinaryBytesEndLinesOnlyAtLineEndsAndNul) {
  std::string bytes = "Catalog\r\n";
  std::mt19937 random(3);
  for (int i = 0; i < 50000; ++i) bytes += char(random());
  ProgramTables tables = LoadWith("binary" + tag_ + ".catalog", &bytes);
  TextTable parsed = Marked("stale");
  ASSERT_TRUE(LoadCatalog(ProgramFolder() + "binary" + tag_ + ".catalog", parsed));
  EXPECT_EQ(tables.texts, parsed);
  for (const std::string& text : tables.texts)
    EXPECT_EQ(text.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
}

TEST_F(CatalogBesideProgram, ByteOrderMarkMissingFileAndFolderGiveTheDefaultsSilently) {
  const std::string bom =
      "\xEF\xBB\xBF"
      "Catalog\r\nBOM edit\r\n";
  ExpectDefaults(LoadWith("bom" + tag_ + ".catalog", &bom).texts);
  ExpectDefaults(LoadWith("missing" + tag_ + ".catalog", nullptr).texts);
  ExpectDefaults(LoadWith("", nullptr).texts);  // the program folder itself

  TextTable texts = Marked("kept");
  EXPECT_EQ(LoadCatalog(ProgramFolder() + "bom" + tag_ + ".catalog", texts), 0);
  EXPECT_EQ(LoadCatalog(ProgramFolder() + "missing" + tag_ + ".catalog", texts), 0);
  EXPECT_EQ(LoadCatalog(ProgramFolder(), texts), 0);
  EXPECT_EQ(LoadCatalog("", texts), 0);
  EXPECT_EQ(texts, Marked("kept")) << "a refused catalog leaves the table unchanged";
}

// The sorters that Explorer starts together each load the settings while another one holds
// preferences.ini open for reading and writing: every one of them gets the chosen language, in this
// process and in a program started meanwhile.
TEST_F(CatalogBesideProgram, PreferencesHeldByAnotherReaderStillGiveTheCatalog) {
  std::string bytes = "Catalog\r\n";
  for (size_t i = 0; i < kTextCount; ++i) bytes += "shared " + std::to_string(i) + "\r\n";
  ASSERT_EQ(LoadWith("shared" + tag_ + ".catalog", &bytes).texts[0], "shared 0");
  PreferenceFile holder;
  ASSERT_TRUE(holder.OpenExisting(appData_ / "Veltan's DA3Zur Tools\\preferences.ini"));
  ProgramTables tables;
  EXPECT_EQ(LoadSettings(tables), 1);
  EXPECT_EQ(tables.texts[0], "shared 0");

  const std::string missing = appData_ / "missing.mp3";
  Process program(ProgramCommand("-edit " + Quoted(missing)), appData_.path());
  ASSERT_TRUE(program.started());
  HWND box = WaitForMessageBox(program.id(), nullptr, 10000);
  ASSERT_NE(box, nullptr) << "no read-failure box appeared";
  EXPECT_TRUE(WaitUntil([&] { return TextOf(box) == "shared 38"; })) << TextOf(box);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program.WaitForExit(), 0);
  holder.Close();
}

namespace {
// A file of the given size that holds head and then a hole: it takes no room on the disk.
void WriteSparse(const std::string& path, const std::string& head, long long size) {
  WriteFileBytes(path, head);
  if (size <= static_cast<long long>(head.size())) return;
  const FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << path;
  DWORD ignored = 0;
  DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER end{};
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()))
      << path;
}
}  // namespace

// A catalog of 1.5 GB is read only as far as its texts; a preference file of 1.5 GB is read where
// memory allows and gives the defaults where it does not. The program starts and ends with exit
// code 0 either way, showing its box in the catalog's words.
TEST_F(CatalogBesideProgram, FilesOfOneAndAHalfGigabytesStartTheProgram) {
  constexpr long long kHuge = 1536LL << 20;
  const std::string name = "huge" + tag_ + ".catalog";
  std::string texts = "Catalog\r\n";
  for (size_t i = 0; i < kTextCount; ++i) texts += "huge " + std::to_string(i) + "\r\n";
  WriteSparse(ProgramFolder() + name, texts, kHuge);
  written_.push_back(ProgramFolder() + name);
  const std::string folder = appData_ / "Veltan's DA3Zur Tools\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string missing = appData_ / "missing.mp3";
  for (bool hugePreferences : {false, true}) {
    SCOPED_TRACE(hugePreferences ? "huge preferences.ini" : "huge catalog");
    WriteSparse(folder + "preferences.ini", "Language = " + name + "\r\n",
                hugePreferences ? kHuge : 0);
    Process program(ProgramCommand("-edit " + Quoted(missing)), appData_.path());
    ASSERT_TRUE(program.started());
    // A 64-bit process has the memory for the whole preference file; a 32-bit one may not, and
    // then shows the box in English.
    const bool englishAllowed = hugePreferences && sizeof(void*) == 4;
    HWND box = nullptr;
    WaitUntil(
        [&] {
          box = WaitForMessageBox(program.id(), "huge 38", 0);
          if (!box && englishAllowed) box = WaitForMessageBox(program.id(), "Error", 0);
          return box != nullptr;
        },
        60000);
    ASSERT_NE(box, nullptr) << "no read-failure box appeared";
    EXPECT_EQ(MessageBoxText(box),
              (TextOf(box) == "Error" ? "Couldn't read ID3 Tags of\r\n" : "huge 41\r\n") + missing);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(program.WaitForExit(60000), 0);
  }
  DeleteFileA((folder + "preferences.ini").c_str());
}
