#pragma once
// The one error type the program lets surface to the user ("Cannot open
// file ...", "Unable to write to ..."). The toolkit catches it around every
// event it dispatches and shows its message; nothing else catches it.
#include <stdexcept>
#include <string>

namespace vrk {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace vrk
