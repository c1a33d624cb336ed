#pragma once
// The one error type the program lets surface to the user ("Cannot open
// file ...", "Unable to write to ..."). The toolkit catches it around every
// event it dispatches and shows its message; nothing else catches it.
#include <stdexcept>
#include <string>

namespace vrk {

class Error : public std::runtime_error {
public:
    // `source` names what failed (a picture file) when the same failure may
    // come back every second and should be reported only once.
    explicit Error(const std::string& message, std::string source = {})
        : std::runtime_error(message), source_(std::move(source)) {}
    const std::string& source() const { return source_; }

private:
    std::string source_;
};

// Whoever reports errors by source: told when a source that may have failed
// before has worked again (a file written), so that its next failure is
// reported anew.
class ErrorSources {
public:
    virtual ~ErrorSources() = default;
    virtual void SourceRecovered(const std::string& source) = 0;
};

} // namespace vrk
