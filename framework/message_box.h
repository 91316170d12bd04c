#pragma once

#include <string>

namespace tetrakon {

enum class MessageIcon { Error, Warning };

// A modal message box without owner window; Show returns once the user dismissed it.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void Show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
};

}  // namespace tetrakon
