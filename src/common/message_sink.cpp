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

}  // namespace

void setMessageSink(MessageSink* sink) { currentSink = sink != nullptr ? sink : &defaultSink; }

MessageSink& messageSink() { return *currentSink; }

void reportError(std::string_view text) { currentSink->message("Error", text); }

}  // namespace orrimar
