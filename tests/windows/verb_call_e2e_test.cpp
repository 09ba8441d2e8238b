// The verbs as Explorer carries them out: the registration read back, the verb's class created
// out of process (DA3Zur.exe started by COM with -Embedding), and the whole selection dropped on
// it in one call as a data object with CF_HDROP.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <oleidl.h>
#include <shlobj.h>
#include <commctrl.h>

#include "base/wide_text_win.h"
#include "configure/shell_verbs.h"
#include "editor/editor_window.h"
#include "sorter/sorter_window.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
// A selection of files as Explorer hands it over: CF_HDROP in global memory, wide names.
class FileSelection final : public IDataObject {
 public:
  explicit FileSelection(std::vector<std::string> files) : files_(std::move(files)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IDataObject) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDataObject*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    std::wstring names;
    for (const std::string& file : files_) names += Wide(file) + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    *medium = {};
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    ++handedOut;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL)
               ? S_OK
               : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

  int handedOut = 0;

 private:
  std::vector<std::string> files_;
};

class VerbCall : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RemoveAllVerbs();
    // What Insert in DA3Zur.exe's configuration window writes.
    const std::wstring program = Wide(ProgramExe());
    RegisterDropTargetVerb("*", kEditVerbKey, "Edit ID3-tag", kEditVerbClass, program);
    RegisterDropTargetVerb("*", kSortVerbKey, "Sort by ID3-tag", kSortVerbClass, program);
    // The server COM starts inherits this process's environment.
    SetEnvironmentVariableA("APPDATA", appData_.path().c_str());
  }
  void TearDown() override {
    RemoveAllVerbs();
    CoUninitialize();
  }

  // Does as Explorer does for a verb: reads the class its registration names, creates it out of
  // process and drops the files on it. Windows finds per-user classes through HKEY_CLASSES_ROOT;
  // Wine's COM looks only at the machine-wide ones, so the per-user class is copied there first.
  void Invoke(const char* verb, const std::vector<std::string>& files) {
    const std::optional<std::string> verbClass = ReadUserVerb(verb).dropTargetClass;
    ASSERT_TRUE(verbClass) << verb << " names no class";
    const VerbClassKeys server = ReadUserVerbClass(*verbClass);
    ASSERT_TRUE(server.localServer) << *verbClass << " has no local server";
    const std::wstring machineClass = L"Software\\Classes\\CLSID\\" + Wide(*verbClass);
    const std::wstring command = Wide(*server.localServer);
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, (machineClass + L"\\LocalServer32").c_str(), nullptr,
                        REG_SZ, command.c_str(), DWORD((command.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
    CLSID id{};
    ASSERT_EQ(CLSIDFromString(Wide(*verbClass).c_str(), &id), S_OK);
    IDropTarget* target = nullptr;
    ASSERT_EQ(CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDropTarget,
                               reinterpret_cast<void**>(&target)),
              S_OK)
        << "the verb's class could not be created out of process";
    FileSelection selection(files);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(&selection, MK_LBUTTON, {0, 0}, &effect), S_OK);
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(&selection, 0, {0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(selection.handedOut, 1) << "the drop did not take the files";
    target->Release();
  }

  TempDir dir_, appData_;
};

// Every visible top-level window with the title, whichever process shows it.
std::vector<HWND> WindowsTitled(const char* title) {
  std::vector<HWND> found;
  for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, title); window;
       window = FindWindowExA(nullptr, window, nullptr, title))
    if (IsWindowVisible(window)) found.push_back(window);
  return found;
}

DWORD OwnerOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// Waits until the process has ended.
bool WaitForEnd(DWORD processId, DWORD timeoutMs) {
  const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  return !process || WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
}
}  // namespace

TEST_F(VerbCall, AThousandFilesInOneCallMakeOneSorterWindowAndASecondCallJoinsIt) {
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) {
    files.push_back(dir_ / ("f" + std::to_string(i) + ".mp3"));
    WriteFileBytes(files.back(), "");
  }
  Invoke(kSortVerbKey, files);
  HWND window = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (window = FindWindowA(nullptr, kSorterTitle)) != nullptr; }, 20000))
      << "no sorter window after the call";
  const DWORD first = OwnerOf(window);
  SorterControls s = WaitForSorter(first, 20000);
  ASSERT_TRUE(s);
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 1000u; }, 20000))
      << RowCount(s.files) << " rows";
  const std::vector<std::string> names = ListTexts(s.files);
  ASSERT_EQ(names.size(), 1000u);
  EXPECT_EQ(names.front(), "f0.mp3");
  EXPECT_EQ(names.back(), "f999.mp3");

  // A second call while the window is open: another process, whose files join this window.
  const std::vector<std::string> more = {dir_ / "f0.mp3", dir_ / "late.mp3"};
  WriteFileBytes(more[1], "");
  Invoke(kSortVerbKey, more);
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 1002u; }, 20000))
      << RowCount(s.files) << " rows";
  EXPECT_EQ(ListTexts(s.files).back(), "late.mp3");
  EXPECT_EQ(WindowsTitled(kSorterTitle).size(), 1u);

  PostMessageA(s.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(first, 10000)) << "the sorter did not end after its window closed";
  for (const std::string& file : files) ASSERT_TRUE(FileExists(file)) << file;
}

TEST_F(VerbCall, TheEditVerbShowsOneEditorAfterTheOtherForEveryFile) {
  const std::vector<std::string> files = {dir_.CopyFixture("tagged.mp3", "one.mp3"),
                                          dir_.CopyFixture("tagged.ogg", "two.ogg"),
                                          dir_.CopyFixture("tagged.flac", "three.flac")};
  Invoke(kEditVerbKey, files);
  DWORD process = 0;
  for (const char* name : {"one.mp3", "two.ogg", "three.flac"}) {
    SCOPED_TRACE(name);
    HWND window = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (window = FindWindowA(nullptr, kEditorTitle)) != nullptr; }, 20000))
        << "no editor";
    if (!process) process = OwnerOf(window);
    EXPECT_EQ(OwnerOf(window), process) << "another process shows this editor";
    EditorWindowFound editor = WaitForEditor(process, 10000);
    ASSERT_TRUE(editor);
    EXPECT_EQ(WindowsTitled(kEditorTitle).size(), 1u) << "more than one editor at a time";
    EXPECT_EQ(TextOf(editor[kStatusBar]), name);
    Click(editor[kCancelButton]);
    ASSERT_TRUE(WaitUntilClosed(editor.window, 10000));
  }
  EXPECT_TRUE(WaitForEnd(process, 10000)) << "the edit run did not end after the last file";
}
