#include "common/message_sink.h"

#include <cstdio>

namespace orrimar {
namespace {

class StderrSink final : public MessageSink {
public:
    void message(std::string_view title, std::string_view text) override {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                     static_cast<int>(text.size()), text.data());
    }
};

StderrSink defaultSink;
MessageSink* currentSink = &defaultSink;
constinit thread_local MessageSink* threadSink = nullptr;

}  // namespace

void setMessageSink(MessageSink* sink) { currentSink = sink != nullptr ? sink : &defaultSink; }

MessageSink& messageSink() { return threadSink != nullptr ? *threadSink : *currentSink; }

void reportError(std::string_view text) { messageSink().message("Error", text); }

ThreadMessageSink::ThreadMessageSink(MessageSink& sink) : previous_(threadSink) { threadSink = &sink; }

ThreadMessageSink::~ThreadMessageSink() { threadSink = previous_; }

}  // namespace orrimar
