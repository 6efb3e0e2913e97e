// The system's own messages ("Error 3 (luminosity)", "** Error 4: orbit
// radius=0", ...). Generation reports them here and carries on; the desktop
// program shows each in a message box with its title, the CLI prints it.
#pragma once

#include <string_view>

namespace orrimar {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void message(std::string_view title, std::string_view text) = 0;
};

// The process-wide sink; null restores the default, which writes
// "title: text" lines to standard error.
void setMessageSink(MessageSink* sink);
MessageSink& messageSink();

// Shorthand for the physical and consistency messages titled "Error".
void reportError(std::string_view text);

}  // namespace orrimar
