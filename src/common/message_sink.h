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
// The sink the calling thread reports to: its own when it has one, else
// the process-wide sink.
MessageSink& messageSink();

// Gives the calling thread a sink of its own while it lives: the sector
// loop's workers keep each cell's messages this way and hand them to the
// process-wide sink in loop order, so no two threads ever share one.
class ThreadMessageSink {
public:
    explicit ThreadMessageSink(MessageSink& sink);
    ~ThreadMessageSink();
    ThreadMessageSink(const ThreadMessageSink&) = delete;
    ThreadMessageSink& operator=(const ThreadMessageSink&) = delete;

private:
    MessageSink* previous_;
};

// Shorthand for the physical and consistency messages titled "Error".
void reportError(std::string_view text);

}  // namespace orrimar
