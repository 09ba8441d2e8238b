#include "app/verb_server_win.h"

#include <objbase.h>
#include <oleidl.h>

#include <memory>

#include "app/crash_handler_win.h"
#include "app/drop_list.h"
#include "base/code_page_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "configure/shell_verbs.h"

namespace {
// What the server has received so far. The verb objects share it with the server: Explorer may
// hold an object, and call it, after the server has stopped waiting.
struct Reception {
  bool created = false;  // an object was made: the classes are withdrawn
  std::optional<VerbCall> call;
};

// The files a data object carries as CF_HDROP, the form Explorer gives a selection of files in;
// none from a block that is not whole.
std::vector<std::string> DroppedFiles(IDataObject* data) {
  STEP(DA3Rudi);
  std::vector<std::string> files;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return files;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (const void* block = GlobalLock(medium.hGlobal)) {
      // A name that is no valid UTF-16 keeps its mark, so the run lists it with the reason, as it
      // does for such a name on the command line.
      if (auto names = DropListNames({static_cast<const char*>(block), size}, SystemCodePage()))
        files = std::move(*names);
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return files;
}

// The object Explorer makes for a verb: it accepts any drop of files and keeps them for the run
// that follows once the call has returned, so Explorer is never kept waiting.
class VerbTarget final : public IDropTarget {
 public:
  VerbTarget(Mode mode, std::shared_ptr<Reception> reception)
      : mode_(mode), reception_(std::move(reception)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDropTarget) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    const FaultsReportedHere reported;
    return Accept(effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    const FaultsReportedHere reported;
    return Accept(effect);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    STEP(DA3Rudi);
    const FaultsReportedHere reported;
    // One selection per process: a second drop, on this object or another, adds nothing.
    if (!reception_->call) reception_->call = VerbCall{mode_, DroppedFiles(data)};
    return Accept(effect);
  }

 private:
  static HRESULT Accept(DWORD* effect) {
    if (effect) *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  ~VerbTarget() = default;

  LONG references_ = 1;
  const Mode mode_;
  const std::shared_ptr<Reception> reception_;
};

// Makes the verb objects of one class; it lives on the stack of ReceiveVerbCall, which withdraws
// it before it goes.
class VerbFactory final : public IClassFactory {
 public:
  VerbFactory(Mode mode, std::shared_ptr<Reception> reception)
      : mode_(mode), reception_(std::move(reception)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    STEP(DA3Rudi);
    const FaultsReportedHere reported;
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // One object per process: a second activation that reaches this process before the classes
    // are withdrawn is refused, and COM starts another process for it.
    if (reception_->created) return CO_E_SERVER_STOPPING;
    reception_->created = true;
    auto* target = new VerbTarget(mode_, reception_);
    const HRESULT result = target->QueryInterface(iid, object);
    target->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  const Mode mode_;
  const std::shared_ptr<Reception> reception_;
};

// A class offered to COM until the offer goes.
class ClassOffer {
 public:
  ClassOffer(const char* verbClass, IClassFactory* factory) {
    CLSID id{};
    if (SUCCEEDED(CLSIDFromString(Wide(verbClass).c_str(), &id)) &&
        FAILED(CoRegisterClassObject(id, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie_)))
      cookie_ = 0;
  }
  ~ClassOffer() { Withdraw(); }
  ClassOffer(const ClassOffer&) = delete;
  ClassOffer& operator=(const ClassOffer&) = delete;
  void Withdraw() {
    if (cookie_) CoRevokeClassObject(cookie_);
    cookie_ = 0;
  }

 private:
  DWORD cookie_ = 0;
};

// COM's calls into this process arrive as window messages of the thread.
void DispatchCalls() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
}  // namespace

std::optional<VerbCall> ReceiveVerbCall(DWORD waitMs) {
  STEP(DA3Rudi);
  auto reception = std::make_shared<Reception>();
  VerbFactory edit(Mode::Edit, reception), sort(Mode::Sort, reception);
  ClassOffer editOffer(kEditVerbClass, &edit), sortOffer(kSortVerbClass, &sort);
  for (const DWORD start = GetTickCount(); !reception->call && GetTickCount() - start < waitMs;) {
    STEP(DA3Rudi);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    DispatchCalls();
    // Once one object is made, this process serves no other verb.
    if (reception->created) {
      editOffer.Withdraw();
      sortOffer.Withdraw();
    }
  }
  return reception->call;
}
