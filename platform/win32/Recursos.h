#pragma once
// RAII owners of the Windows handles and COM objects the facilities hold, and the
// UTF-16 conversions COM needs. Only platform/win32 includes this header.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace tavoran::win32 {

// A kernel handle closed with CloseHandle (both null and INVALID_HANDLE_VALUE mean none).
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) {
      Fechar();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Fechar(); }
  HANDLE get() const { return h_; }
  bool Valido() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  void Fechar() {
    if (Valido()) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// A COM interface pointer released when it goes out of scope.
template <class T>
class Com {
 public:
  Com() = default;
  Com(Com&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Com& operator=(Com&& o) noexcept {
    if (this != &o) {
      Liberar();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() { Liberar(); }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** Receber() {
    Liberar();
    return &p_;
  }
  void** ReceberVoid() { return reinterpret_cast<void**>(Receber()); }
  void Liberar() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// A registry key closed with RegCloseKey.
class ChaveAberta {
 public:
  ChaveAberta() = default;
  ChaveAberta(const ChaveAberta&) = delete;
  ChaveAberta& operator=(const ChaveAberta&) = delete;
  ~ChaveAberta() {
    if (h_) RegCloseKey(h_);
  }
  HKEY get() const { return h_; }
  HKEY* Receber() { return &h_; }

 private:
  HKEY h_ = nullptr;
};

// UTF-8 <-> UTF-16.
std::wstring Utf16(const std::string& utf8);
std::string Utf8(const wchar_t* texto, int tamanho = -1);

}  // namespace tavoran::win32
