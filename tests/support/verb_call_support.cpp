#include "tests/support/verb_call_support.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <oleidl.h>
#include <shlobj.h>

#include "base/wide_text_win.h"
#include "configure/shell_verbs.h"
#include "tests/support/configure_support.h"
#include "tests/support/win_test_support.h"

namespace testing_win {
namespace {
// A selection of files as Explorer hands it over: CF_HDROP in global memory, wide names.
class FileSelection final : public IDataObject {
 public:
  explicit FileSelection(std::vector<std::wstring> files, std::function<void()> meanwhile = {})
      : files_(std::move(files)), meanwhile_(std::move(meanwhile)) {}

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
    for (const std::wstring& file : files_) names += file + L'\0';
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
    if (meanwhile_) meanwhile_();
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
  std::vector<std::wstring> files_;
  std::function<void()> meanwhile_;
};

}  // namespace

void RegisterVerbsForProgram(const std::string& program) {
  RegisterDropTargetVerb("*", kEditVerbKey, "Edit ID3-tag", kEditVerbClass, Wide(program));
  RegisterDropTargetVerb("*", kSortVerbKey, "Sort by ID3-tag", kSortVerbClass, Wide(program));
}

bool InvokeVerb(const char* verb, const std::vector<std::string>& files) {
  std::vector<std::wstring> wide;
  for (const std::string& file : files) wide.push_back(Wide(file));
  return InvokeVerb(verb, wide);
}

namespace {
// The verb's object, made out of process from the class its registration names; null (with a
// failure added) when that does not work.
IDropTarget* VerbTarget(const char* verb) {
  const std::optional<std::string> verbClass = ReadUserVerb(verb).dropTargetClass;
  if (!verbClass) {
    ADD_FAILURE() << verb << " names no class";
    return nullptr;
  }
  const VerbClassKeys server = ReadUserVerbClass(*verbClass);
  if (!server.localServer) {
    ADD_FAILURE() << *verbClass << " has no local server";
    return nullptr;
  }
  const std::wstring machineClass = L"Software\\Classes\\CLSID\\" + Wide(*verbClass);
  const std::wstring command = Wide(*server.localServer);
  CLSID id{};
  IDropTarget* target = nullptr;
  if (RegSetKeyValueW(HKEY_LOCAL_MACHINE, (machineClass + L"\\LocalServer32").c_str(), nullptr,
                      REG_SZ, command.c_str(),
                      DWORD((command.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS ||
      CLSIDFromString(Wide(*verbClass).c_str(), &id) != S_OK ||
      CoCreateInstance(id, nullptr, CLSCTX_LOCAL_SERVER, IID_IDropTarget,
                       reinterpret_cast<void**>(&target)) != S_OK) {
    ADD_FAILURE() << "the class of " << verb << " could not be created out of process";
    return nullptr;
  }
  return target;
}
}  // namespace

bool InvokeVerb(const char* verb, const std::vector<std::wstring>& files) {
  IDropTarget* target = VerbTarget(verb);
  if (!target) return false;
  FileSelection selection(files);
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
  const bool entered = target->DragEnter(&selection, MK_LBUTTON, {0, 0}, &effect) == S_OK;
  effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
  const bool dropped = target->Drop(&selection, 0, {0, 0}, &effect) == S_OK;
  target->Release();
  EXPECT_TRUE(entered && dropped);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
  EXPECT_EQ(selection.handedOut, 1) << "the drop did not take the files";
  return entered && dropped && selection.handedOut == 1;
}

HRESULT DropWhile(const char* verb, const std::vector<std::string>& files,
                  const std::function<void()>& meanwhile) {
  IDropTarget* target = VerbTarget(verb);
  if (!target) return E_FAIL;
  std::vector<std::wstring> wide;
  for (const std::string& file : files) wide.push_back(Wide(file));
  FileSelection selection(wide, meanwhile);
  DWORD effect = DROPEFFECT_COPY;
  const HRESULT dropped = target->Drop(&selection, 0, {0, 0}, &effect);
  target->Release();
  // A process that ended in the middle of the call never let go of the selection: COM does so
  // now, while it lives.
  CoDisconnectObject(&selection, 0);
  return dropped;
}

DWORD ProcessShowing(const char* title, int timeoutMs) {
  HWND window = nullptr;
  DWORD process = 0;
  WaitUntil([&] { return (window = FindWindowA(nullptr, title)) != nullptr; }, timeoutMs);
  if (window) GetWindowThreadProcessId(window, &process);
  return process;
}

}  // namespace testing_win
