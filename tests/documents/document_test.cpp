#include "documents/document.h"

#include "common/ansi_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "support/well_formed.h"

using namespace orrimar::documents;
using orrimar::logtest::checkWellFormed;

TEST(Document, EscapesMarkupAndCleansBadBytes) {
    EXPECT_EQ(escapeHtml("<a href=\"x\">Tom & Jerry's</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
    // Controls other than tab and line feed are dropped.
    EXPECT_EQ(escapeHtml(std::string("a\x01"
                                     "b\rc\td\ne",
                                     9)),
              "abc\td\ne");
    // A stray continuation byte, a cut-short sequence and an overlong form
    // each become U+FFFD; valid multi-byte characters pass unchanged.
    EXPECT_EQ(escapeHtml("x\x80y"), "x\xEF\xBF\xBDy");
    EXPECT_EQ(escapeHtml("\xC3"), "\xEF\xBF\xBD");
    EXPECT_EQ(escapeHtml("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(escapeHtml("15 °C ± 3"), "15 °C ± 3");
}

TEST(Document, RecordTextFromTheAnsiCodePage) {
    EXPECT_EQ(orrimar::ansiToUtf8("Caf\xE9"), "Café");
    EXPECT_EQ(orrimar::ansiToUtf8("\x80 \x99"), "€ ™");
    EXPECT_EQ(orrimar::ansiToUtf8("\x81"), "\xC2\x81");  // undefined in the code page: its C1 code point
    EXPECT_EQ(orrimar::ansiToUtf8("\xFF"), "ÿ");
    EXPECT_EQ(displayWidth("°C±é"), 4U);
}

TEST(Document, PlainTextLayout) {
    std::ostringstream out;
    Document doc(out, DocFormat::Text, "Title");
    doc.heading("Section", 1);
    doc.keyValues({{"Mass", "1.00"}, {"Luminosity", "2 °C"}, {"Empty", ""}});
    doc.table({{"Id", Align::Right}, {"Name", Align::Left}}, {{"7", "Ab"}, {"12345", "Éclair"}, {"3"}});
    doc.heading("Sub", 2);
    doc.heading("Item", 3);
    doc.figure("<svg/>", "Caption only");
    doc.finish();
    EXPECT_EQ(out.str(),
              "Title\r\n=====\r\n\r\n"
              "Section\r\n-------\r\n"
              "Mass:       1.00\r\nLuminosity: 2 °C\r\nEmpty:\r\n\r\n"
              "   Id  Name\r\n-----  ------\r\n    7  Ab\r\n12345  Éclair\r\n    3\r\n\r\n"
              "Sub\r\n~~~\r\n"
              "Item\r\n"
              "Caption only\r\n\r\n");
}

TEST(Document, ParagraphsWrapAndStreamedTablesKeepTheirWidths) {
    std::ostringstream out;
    Document doc(out, DocFormat::Text, "T");
    std::string words;
    for (int i = 0; i < 30; ++i) words += "word" + std::to_string(i) + " ";
    doc.paragraph(words);
    doc.beginTable({{"A", Align::Right, 4}, {"B", Align::Left, 3}});
    doc.tableRow({"1", "x"});
    doc.tableRow({"123456", "y"});  // too long: pushes the row, loses nothing
    doc.endTable();
    doc.finish();
    const std::string text = out.str();
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        EXPECT_LE(end - start, 78U) << text.substr(start, end - start);
        start = end + 2;
    }
    EXPECT_NE(text.find("word29"), std::string::npos);
    EXPECT_NE(text.find("   A  B\r\n----  ---\r\n   1  x\r\n123456  y\r\n"), std::string::npos);
    // Every line end is CR LF.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r');
        }
    }
}

TEST(Document, HtmlIsOneWellFormedSelfContainedPage) {
    std::ostringstream out;
    Document doc(out, DocFormat::Html, "Sector <&> \"Rim\"");
    doc.heading("A & B", 1);
    doc.paragraph("1 < 2 > 0");
    doc.note("note's");
    doc.keyValues({{"K<", "V&"}});
    doc.table({{"N", Align::Right}}, {{"<b>"}});
    doc.figure("<svg xmlns=\"http://www.w3.org/2000/svg\"><circle r=\"1\" /></svg>", "Map & legend");
    doc.finish();
    const std::string page = out.str();
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_NE(page.find("<title>Sector &lt;&amp;&gt; &quot;Rim&quot;</title>"), std::string::npos);
    EXPECT_NE(page.find("<td class=\"r\">&lt;b&gt;</td>"), std::string::npos);
    EXPECT_NE(page.find("<circle r=\"1\" />"), std::string::npos);
    EXPECT_NE(page.find("<style>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http://", page.find("<body>")), page.find("http://www.w3.org/2000/svg"));
    EXPECT_EQ(page.find("<link"), std::string::npos);
}

TEST(Document, TableCallsOutOfOrderAreProgrammingErrors) {
    std::ostringstream out;
    Document doc(out, DocFormat::Text, "T");
    EXPECT_THROW(doc.tableRow({"x"}), std::logic_error);
    EXPECT_THROW(doc.endTable(), std::logic_error);
    doc.beginTable({{"A"}});
    EXPECT_THROW(doc.beginTable({{"B"}}), std::logic_error);
    // finish() closes an open table.
    doc.finish();
    EXPECT_EQ(checkWellFormed([] {
                  std::ostringstream html;
                  Document page(html, DocFormat::Html, "T");
                  page.beginTable({{"A"}});
                  page.tableRow({"1"});
                  page.finish();
                  return html.str();
              }()),
              "");
}

TEST(WellFormedCheck, CatchesBrokenPages) {
    EXPECT_NE(checkWellFormed("<!DOCTYPE html><html><p></html>"), "");
    EXPECT_NE(checkWellFormed("<!DOCTYPE html><html>a & b</html>"), "");
    EXPECT_NE(checkWellFormed("<!DOCTYPE html><html>a < b</html>"), "");
    EXPECT_NE(checkWellFormed("<!DOCTYPE html><html><br></html>"), "");
    EXPECT_NE(checkWellFormed("<!DOCTYPE html><html a=b></html>"), "");
    EXPECT_EQ(checkWellFormed("<!DOCTYPE html>\r\n<html><br /><p a=\"1\">x &amp; y</p></html>\r\n"), "");
}
