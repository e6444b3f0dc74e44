// Late binding to automation objects: created by programmatic identifier,
// members reached through IDispatch by name. Each object keeps COM
// initialised on this thread for as long as it lives.
#include "platform/win32/system_win32.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include "platform/error.h"
#include "platform/win32/wide.h"

namespace {

class DispatchObject : public AutomationObject {
public:
    DispatchObject(IDispatch* dispatch, bool uninitialize) : dispatch_(dispatch), uninitialize_(uninitialize) {}
    ~DispatchObject() override {
        dispatch_->Release();
        if (uninitialize_) CoUninitialize();
    }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    void SetProperty(const Text& name, bool value) override {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BOOL;
        argument.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&argument, &named, 1, 1};
        Invoke(name, DISPATCH_PROPERTYPUT, params);
    }

    void CallMethod(const Text& name, const Text& argumentText) override {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = SysAllocStringLen(Wide(argumentText), UINT(argumentText.size()));
        if (!argument.bstrVal) throw RuntimeError(err::OutOfMemory);
        DISPPARAMS params{&argument, nullptr, 1, 0};
        try {
            Invoke(name, DISPATCH_METHOD, params);
        } catch (...) {
            VariantClear(&argument);
            throw;
        }
        VariantClear(&argument);
    }

private:
    void Invoke(const Text& name, WORD kind, DISPPARAMS& params) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(Wide(name))};
        DISPID id = 0;
        if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
            throw RuntimeError(err::NoSuchMember);
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr =
            dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        if (FAILED(hr)) throw RuntimeError(err::Automation);
    }

    IDispatch* dispatch_;
    bool uninitialize_;
};

}  // namespace

std::unique_ptr<AutomationObject> Win32System::CreateObject(const Text& progId) {
    const bool uninitialize = SUCCEEDED(CoInitialize(nullptr));
    CLSID clsid{};
    IDispatch* dispatch = nullptr;
    if (FAILED(CLSIDFromProgID(Wide(progId), &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        if (uninitialize) CoUninitialize();
        throw RuntimeError(err::CantCreateObject);
    }
    try {
        return std::make_unique<DispatchObject>(dispatch, uninitialize);
    } catch (...) {
        dispatch->Release();
        if (uninitialize) CoUninitialize();
        throw;
    }
}
