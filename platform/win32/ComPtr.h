// Owns one COM interface pointer and releases it on every path; plus owners
// for a BSTR, a VARIANT and one COM or OLE initialisation of the calling
// thread.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <ole2.h>

#include <string>
#include <utility>

#include "platform/win32/ScopedHandle.h"

namespace tv {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // The address to receive a new pointer; whatever was held is released.
    Interface** Put() {
        Reset();
        return &pointer_;
    }
    void Reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

private:
    Interface* pointer_ = nullptr;
};

// A BSTR made from `text` or handed out by a call (through Put()).
class Bstr : public Win32Handle<BSTR, &SysFreeString> {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : UniqueHandle(SysAllocString(text)) {}
    std::u16string Text() const {
        if (!Get()) return {};
        return std::u16string(reinterpret_cast<const char16_t*>(Get()), SysStringLen(Get()));
    }
};

class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* Get() { return &value_; }
    const VARIANT& Value() const { return value_; }

private:
    VARIANT value_;
};

// One initialisation of the calling thread, held as its result and undone
// only when it took (a thread already set up in another mode keeps its own
// set-up untouched).
template <auto Uninitialize>
struct InitTraits {
    static HRESULT Empty() { return CO_E_NOTINITIALIZED; }
    static bool IsValid(HRESULT result) { return SUCCEEDED(result); }
    static void Close(HRESULT) { Uninitialize(); }
};

class ComSession : public UniqueHandle<HRESULT, InitTraits<&CoUninitialize>> {
public:
    explicit ComSession(DWORD mode) : UniqueHandle(CoInitializeEx(nullptr, mode)) {}
    HRESULT Result() const { return Get(); }
};

using OleSession = UniqueHandle<HRESULT, InitTraits<&OleUninitialize>>;

}  // namespace tv
