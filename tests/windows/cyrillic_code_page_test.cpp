// Under Wine's locale ru_RU.UTF-8 (CTest sets it for this program alone) Windows' ANSI code page
// is 1251, as on a Russian Windows: the shipped catalogs, which are UTF-8 with the mark, show
// exactly; a catalog and a preferences.ini without the mark are read in 1251, and a preference file
// whose texts all fit 1251 keeps its bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include "configure/configuration_window.h"
#include "settings/preference_file.h"
#include "settings/settings.h"
#include "tests/support/configure_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const std::string kKino = "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE";  // Кино, in 1251 CA E8 ED EE
const std::string kFrenchHintStart = "Si vous lancez ce programme pour la premi\xC3\xA8re fois";
}  // namespace

TEST(CyrillicCodePage, TheSystemHasIt) { ASSERT_EQ(GetACP(), 1251u) << "LANG=ru_RU.UTF-8 unset?"; }

TEST(CyrillicCodePage, TheShippedFrenchCatalogShowsExactly) {
  TextTable texts;
  ASSERT_EQ(LoadCatalog(SourcePath("catalogs/Francais.catalog"), texts), 1);
  EXPECT_EQ(texts[kTextFirstStartHint].rfind(kFrenchHintStart, 0), 0u)
      << texts[kTextFirstStartHint];
}

TEST(CyrillicCodePage, OlderFilesWithoutTheMarkAreReadInIt) {
  TempDir dir;
  WriteFileBytes(dir / "old.catalog", "Catalog\r\n\xCA\xE8\xED\xEE\r\n");
  TextTable texts;
  ASSERT_EQ(LoadCatalog(dir / "old.catalog", texts), 1);
  EXPECT_EQ(texts[0], kKino);

  const std::string older = "Language = \xCA\xE8\xED\xEE.catalog\r\nContextMenu = 1\r\n";
  WriteFileBytes(dir / "preferences.ini", older);
  PreferenceFile preferences;
  ASSERT_TRUE(preferences.OpenExisting(dir / "preferences.ini"));
  EXPECT_EQ(preferences.ReadString("Language", ""), kKino + ".catalog");
  preferences.WriteInteger("ContextMenu", 1);
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(dir / "preferences.ini"), older) << "every text fits 1251: no mark";

  // "première" does not fit 1251: the file takes the mark and UTF-8, and reads back exactly.
  ASSERT_TRUE(preferences.OpenExisting(dir / "preferences.ini"));
  preferences.WriteString("Language", "premi\xC3\xA8re.catalog");
  preferences.Close();
  EXPECT_EQ(ReadFileBytes(dir / "preferences.ini"),
            "\xEF\xBB\xBFLanguage = premi\xC3\xA8re.catalog\r\nContextMenu = 1\r\n");
  ASSERT_TRUE(preferences.OpenExisting(dir / "preferences.ini"));
  EXPECT_EQ(preferences.ReadString("Language", ""), "premi\xC3\xA8re.catalog");
}

TEST(CyrillicCodePage, TheProgramShowsTheFrenchCatalog) {
  TempDir appData;
  const std::string settings = appData / "Veltan's DA3Zur Tools\\";
  ASSERT_TRUE(CreateDirectoryA(settings.c_str(), nullptr));
  WriteFileBytes(settings + "preferences.ini", PreferenceBytes("Francais.catalog", 0));
  Process program(ProgramCommand(""), appData.path());
  ASSERT_TRUE(program.started());
  ConfigurationFound found = WaitForConfiguration(program.id());
  ASSERT_TRUE(found);
  const std::string hint = TextOf(found.hint);
  EXPECT_EQ(hint.rfind(kFrenchHintStart, 0), 0u) << hint;
  RequestClose(found.window);
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(settings + "preferences.ini"), PreferenceBytes("Francais.catalog", 0));
}
