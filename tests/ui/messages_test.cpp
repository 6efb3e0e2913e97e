#include <gtest/gtest.h>

#include <QLabel>

#include "common/errors.h"
#include "common/message_sink.h"
#include "ui/about_box.h"
#include "ui/error_report.h"
#include "ui/message_box_sink.h"
#include "ui/message_seam.h"

namespace orrimar::ui {
namespace {

TEST(Messages, CoreMessagesShowAsErrorBoxesWhileTheSinkIsInstalled) {
    MessageCapture messages;
    {
        const ScopedMessageBoxSink sink;
        reportError("Error 3 (luminosity)");
    }
    reportError("after: goes to standard error, not to a box");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Error 3 (luminosity)"));
}

TEST(Messages, RuntimeErrorsCarryTheApplicationTitleRefusalsAreErrors) {
    MessageCapture messages;
    EXPECT_FALSE(guarded(nullptr, [] { throw RangeError(); }));
    EXPECT_FALSE(guarded(nullptr, [] { throw ioErrorFromErrno(ENOENT); }));
    EXPECT_FALSE(guarded(nullptr, [] { throw InputError("No log file chosen"); }));
    EXPECT_TRUE(guarded(nullptr, [] {}));
    ASSERT_EQ(messages.messages().size(), 3u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Orrimar"));
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Range check error"));
    EXPECT_EQ(messages.messages()[1].title, QStringLiteral("Orrimar"));
    EXPECT_TRUE(messages.messages()[1].text.startsWith(QStringLiteral("File not found")));
    EXPECT_EQ(messages.messages()[2].title, QStringLiteral("Error"));
}

TEST(Messages, AboutBoxNamesTheProgramAndVersion) {
    TAboutBox about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Orrimar for Windows")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Version  1.6")));
}

}  // namespace
}  // namespace orrimar::ui
