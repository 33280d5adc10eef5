// Owns one COM interface pointer and releases it on every path; plus owners
// for a BSTR, a VARIANT and one COM initialisation of the calling thread.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

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

class Bstr {
public:
    explicit Bstr(const wchar_t* text) : text_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

private:
    BSTR text_;
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

// CoInitializeEx for the lifetime of this object; uninitialises only when
// the initialisation took (a thread already set up in another mode keeps
// its own set-up untouched).
class ComSession {
public:
    explicit ComSession(DWORD mode) : result_(CoInitializeEx(nullptr, mode)) {}
    ~ComSession() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace tv
