#pragma once

#include <string_view>

namespace moltrevane {

// A message box with one OK button and no owner window; returns when dismissed.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::string_view title, std::string_view text) = 0;
};

}  // namespace moltrevane
