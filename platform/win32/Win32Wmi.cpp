#include "platform/win32/Win32Wmi.h"

#include <windows.h>
#include <wbemidl.h>

#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32TextCodec.h"

namespace tv {

namespace {

// {4590F811-1D3A-11D0-891F-00AA004B2E24}
const CLSID kWbemLocatorClass = {
    0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
// {DC12A687-737F-11CF-884D-00AA004B2E24}
const IID kWbemLocatorInterface = {
    0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};

std::wstring Widen(const std::string& text) { return WideFromAnsi(text); }

std::string Narrow(const wchar_t* text) { return text ? AnsiFromWide(text) : std::string(); }

WmiValue Convert(VARIANT& value) {
    switch (value.vt) {
    case VT_BSTR:
        return WmiValue::String(Narrow(value.bstrVal));
    case VT_I4:
    case VT_INT:
        return WmiValue::Int32(value.lVal);
    case VT_UI4:
    case VT_UINT:
        return WmiValue::UInt32(value.ulVal);
    case VT_I1:
    case VT_I2:
    case VT_UI1:
    case VT_UI2:
    case VT_BOOL: {
        // Narrower numbers as the 32-bit integer they stand for.
        Variant wide;
        if (FAILED(VariantChangeType(wide.Get(), &value, 0, VT_I4))) return {};
        return WmiValue::Int32(wide.Value().lVal);
    }
    default:
        return {};
    }
}

// How long one wait for the next object lasts before a stop request is
// looked at again.
constexpr long kNextWaitMs = 100;

HRESULT SetBlanket(IUnknown* proxy) {
    return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                             RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                             EOAC_NONE);
}

}  // namespace

void SetProcessComSecurity() {
    // Process-wide, and only the first call counts: so once, before any
    // thread could make a call that sets it implicitly.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

bool Win32Wmi::Query(const std::string& wql, const std::vector<std::string>& properties,
                     const std::function<bool(const WmiObject&)>& onObject,
                     const std::function<bool()>& stop) {
    ComSession com(COINIT_MULTITHREADED);

    // Declared after the session so they are released before it ends.
    ComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(kWbemLocatorClass, nullptr, CLSCTX_INPROC_SERVER,
                                kWbemLocatorInterface, reinterpret_cast<void**>(locator.Put()))) ||
        !locator)
        return false;

    Bstr space(L"ROOT\\CIMV2");
    ComPtr<IWbemServices> services;
    if (!space || FAILED(locator->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0,
                                                nullptr, nullptr, services.Put())) ||
        !services)
        return false;

    if (FAILED(SetBlanket(services.Get()))) return false;

    Bstr language(L"WQL");
    Bstr query(Widen(wql).c_str());
    ComPtr<IEnumWbemClassObject> objects;
    if (!language || !query ||
        FAILED(services->ExecQuery(language.Get(), query.Get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   objects.Put())) ||
        !objects)
        return false;
    // The enumerator is a proxy of its own: without the blanket its calls
    // would run at the process's default level.
    if (FAILED(SetBlanket(objects.Get()))) return false;

    std::vector<std::wstring> names;
    for (const std::string& name : properties) names.push_back(Widen(name));
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        HRESULT next = WBEM_S_TIMEDOUT;
        while (next == WBEM_S_TIMEDOUT) {
            if (stop && stop()) return false;
            next = objects->Next(kNextWaitMs, 1, object.Put(), &returned);
        }
        if (returned == 0 || !object || FAILED(next)) break;
        WmiObject read;
        for (size_t i = 0; i < names.size(); ++i) {
            Variant value;
            if (SUCCEEDED(object->Get(names[i].c_str(), 0, value.Get(), nullptr, nullptr)))
                read[properties[i]] = Convert(*value.Get());
            else
                read[properties[i]] = WmiValue{};
        }
        if (!onObject(read)) break;
    }
    return true;
}

}  // namespace tv
