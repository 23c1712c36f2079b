#pragma once
// The user-interface thread's single-threaded COM apartment, entered for the whole run.

namespace tavoran {

class ApartamentoCom {
 public:
  ApartamentoCom();
  ApartamentoCom(const ApartamentoCom&) = delete;
  ApartamentoCom& operator=(const ApartamentoCom&) = delete;
  ~ApartamentoCom();

 private:
  bool iniciado_;
};

}  // namespace tavoran
