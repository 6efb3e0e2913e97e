#include <gtest/gtest.h>

#include <QTest>

#include "ui/file_field.h"
#include "ui/max_typed_length.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

FileDialogRequest sunDialog() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.defaultExtension = QStringLiteral("sun");
    request.filters = {QStringLiteral("Star files (*.sun)")};
    request.initialDir = QStringLiteral("../data");
    return request;
}

TEST(FileField, ChosenPathLessItsLastFourCharactersBecomesTheText) {
    test::Workspace ws(QStringLiteral("field-choose"));
    QDir().mkdir(QStringLiteral("data"));
    FileField field(QStringLiteral("starlog"), 8, sunDialog());
    const QString chosen = ws.file(QStringLiteral("data/alpha.sun"));
    setNextFileName(chosen, 1);
    QTest::mouseClick(&field, Qt::LeftButton);
    EXPECT_EQ(field.text(), ws.file(QStringLiteral("data/alpha")));
    EXPECT_EQ(field.choice().fileName, chosen);
    EXPECT_EQ(field.choice().filterIndex, 1);
    EXPECT_EQ(lastFileDialogRequest().defaultExtension, QStringLiteral("sun"));
    EXPECT_EQ(lastFileDialogRequest().initialDir, QStringLiteral("../data"));
    // The working folder stays; the dialog only remembers where it was.
    EXPECT_EQ(QDir::currentPath(), ws.path());
    // The text set from the dialog may be longer than what may be typed.
    EXPECT_GT(field.text().size(), 8);
}

TEST(FileField, HtmlNameKeepsATrailingDotAndFilterTwo) {
    test::Workspace ws(QStringLiteral("field-html"));
    FileField field(QStringLiteral("starlog"), 8, sunDialog());
    setNextFileName(ws.file(QStringLiteral("page.html")), 2);
    ASSERT_TRUE(field.choose());
    EXPECT_EQ(field.text(), ws.file(QStringLiteral("page.")));
    EXPECT_EQ(field.choice().filterIndex, 2);
}

TEST(FileDialogFolders, EachKindOpensWhereItsLastFileWasChosenAndTheWorkingFolderStays) {
    test::Workspace ws(QStringLiteral("field-folders"));
    QDir().mkpath(QStringLiteral("data"));
    QDir().mkpath(QStringLiteral("log"));
    QDir().mkpath(QStringLiteral("elsewhere/sectors"));
    const QString ini = ws.file(QStringLiteral("orrwin.ini"));
    setFileDialogFolders(ws.file(QStringLiteral("data")), ws.file(QStringLiteral("log")), ini);
    FileDialogRequest logs = sunDialog();
    logs.initialDir = QStringLiteral("../log");
    // First time: the folders start-up made.
    EXPECT_EQ(fileDialogStartFolder(sunDialog()), ws.file(QStringLiteral("data")));
    EXPECT_EQ(fileDialogStartFolder(logs), ws.file(QStringLiteral("log")));

    FileField field(QStringLiteral("starlog"), 8, sunDialog());
    setNextFileName(ws.file(QStringLiteral("elsewhere/sectors/beta.sun")));
    ASSERT_TRUE(field.choose());
    EXPECT_EQ(QDir::currentPath(), ws.path());
    EXPECT_EQ(fileDialogStartFolder(sunDialog()), ws.file(QStringLiteral("elsewhere/sectors")));
    EXPECT_EQ(fileDialogStartFolder(logs), ws.file(QStringLiteral("log")));  // the other kind keeps its own

    // Remembered across runs, in section "Settings".
    setFileDialogFolders(ws.file(QStringLiteral("data")), ws.file(QStringLiteral("log")), ini);
    EXPECT_EQ(fileDialogStartFolder(sunDialog()), ws.file(QStringLiteral("elsewhere/sectors")));
    EXPECT_NE(test::readText(ini).indexOf(QStringLiteral("[Settings]")), -1);
    // A remembered folder since removed is forgotten.
    QDir(ws.file(QStringLiteral("elsewhere"))).removeRecursively();
    setFileDialogFolders(ws.file(QStringLiteral("data")), ws.file(QStringLiteral("log")), ini);
    EXPECT_EQ(fileDialogStartFolder(sunDialog()), ws.file(QStringLiteral("data")));
    setFileDialogFolders(QString(), QString(), QString());
}

TEST(FileDialogFolders, TheHtmlFilterGivesHtmlToANameTypedWithoutExtension) {
    FileDialogRequest request = sunDialog();
    request.defaultExtension = QStringLiteral("log");
    request.filters = {QStringLiteral("Star log file (*.log)"), QStringLiteral("Html file (*.html)")};
    EXPECT_EQ(defaultSuffixFor(request, 1), QStringLiteral("log"));
    EXPECT_EQ(defaultSuffixFor(request, 2), QStringLiteral("html"));
    EXPECT_EQ(defaultSuffixFor(request, 3), QStringLiteral("log"));
    request.filters = {QStringLiteral("Anything")};
    EXPECT_EQ(defaultSuffixFor(request, 1), QStringLiteral("log"));
}

TEST(FileField, CancelChangesNothing) {
    test::Workspace ws(QStringLiteral("field-cancel"));
    FileField field(QStringLiteral("starlog"), 8, sunDialog());
    setNextFileName(ws.file(QStringLiteral("one.sun")));
    ASSERT_TRUE(field.choose());
    setNextFileDialogCancelled();
    EXPECT_FALSE(field.choose());
    EXPECT_EQ(field.text(), ws.file(QStringLiteral("one")));
    EXPECT_EQ(field.choice().fileName, ws.file(QStringLiteral("one.sun")));
}

TEST(FileField, PathOver255CharactersIsARangeErrorAndKeepsTheField) {
    test::Workspace ws(QStringLiteral("field-long"));
    FileField field(QStringLiteral("starlog"), 8, sunDialog());
    const QString exactly255 = QStringLiteral("/") + QString(250, QLatin1Char('a')) + QStringLiteral(".sun");
    ASSERT_EQ(exactly255.size(), 255);
    setNextFileName(exactly255);
    ASSERT_TRUE(field.choose());
    EXPECT_EQ(field.text().size(), 251);
    // Back in the test's folder: the dialog moved the current directory.
    QDir::setCurrent(ws.path());

    const QString tooLong = QStringLiteral("/") + QString(251, QLatin1Char('b')) + QStringLiteral(".sun");
    MessageCapture messages;
    setNextFileName(tooLong);
    QTest::mouseClick(&field, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Orrimar"));
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Range check error"));
    EXPECT_EQ(field.text().size(), 251);
    EXPECT_EQ(field.choice().fileName, exactly255);
    EXPECT_EQ(QDir::currentPath(), ws.path());
}

TEST(FileField, TypingStopsAtTheMaximumButDeletingALongerTextWorks) {
    QLineEdit field;
    limitTyping(&field, 8);
    field.show();
    QTest::keyClicks(&field, QStringLiteral("abcdefghijk"));
    EXPECT_EQ(field.text(), QStringLiteral("abcdefgh"));
    field.setText(QStringLiteral("/a/rather/long/path"));
    field.setCursorPosition(static_cast<int>(field.text().size()));
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), QStringLiteral("/a/rather/long/pat"));
    QTest::keyClick(&field, Qt::Key_X);
    EXPECT_EQ(field.text(), QStringLiteral("/a/rather/long/pat"));
}

TEST(FileField, PathLessExtensionOfShortTexts) {
    EXPECT_EQ(pathLessExtension(QStringLiteral("a.sun")), QStringLiteral("a"));
    EXPECT_EQ(pathLessExtension(QStringLiteral(".sun")), QString());
    EXPECT_EQ(pathLessExtension(QStringLiteral("ab")), QString());
}

}  // namespace
}  // namespace orrimar::ui
