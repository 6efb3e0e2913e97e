// Shows the core's own messages ("Error 3 (luminosity)", ...) as message
// boxes with their titles; generation goes on once the box is closed.
#pragma once

#include "common/message_sink.h"

namespace orrimar::ui {

class MessageBoxSink : public MessageSink {
public:
    void message(std::string_view title, std::string_view text) override;
};

// Installs a MessageBoxSink as the process-wide sink for its lifetime.
class ScopedMessageBoxSink {
public:
    ScopedMessageBoxSink() { setMessageSink(&sink_); }
    ~ScopedMessageBoxSink() { setMessageSink(nullptr); }
    ScopedMessageBoxSink(const ScopedMessageBoxSink&) = delete;
    ScopedMessageBoxSink& operator=(const ScopedMessageBoxSink&) = delete;

private:
    MessageBoxSink sink_;
};

}  // namespace orrimar::ui
