#include "ui/message_box_sink.h"

#include <QString>

#include "ui/message_seam.h"

namespace orrimar::ui {

void MessageBoxSink::message(std::string_view title, std::string_view text) {
    showMessage(nullptr, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace orrimar::ui
