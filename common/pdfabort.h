#pragma once

// The exception that ends an abandoned document output. It lives below the PDF writer so
// that RunGuarded (common/guarded.h) can end such an action silently.

#include <exception>

namespace kx::pdf {

// Thrown after a failing PDF operation has been reported: the output it belongs to is
// abandoned, its partial file removed, and the program goes on.
class PdfAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "PDF output abandoned"; }
};

}  // namespace kx::pdf
