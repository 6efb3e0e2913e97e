// A small document writer for logs and reports: the same content goes out
// either as plain text (CRLF line ends, tables aligned in columns) or as one
// self-contained HTML page (inline CSS, nothing fetched). The writer itself
// emits no script; a caller may add trusted markup through rawHtml (the
// sector atlas's filter box does).
//
// Every text handed to the writer is UTF-8 and is escaped on the way out;
// names read from records are in the Windows ANSI code page and go through
// ansiToUtf8() (common/ansi_text.h) first. The HTML is also well-formed XML
// (void elements are self-closed), so a strict XML reader accepts it.
//
// Output is streamed: nothing is kept but the current table's layout, so a
// report of a million rows needs no more memory than one of ten.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orrimar::documents {

enum class DocFormat { Text, Html };

// The line end of every file the engine writes.
inline constexpr std::string_view kLineEnd = "\r\n";

enum class Align { Left, Right };

struct Column {
    std::string title;
    Align align = Align::Left;
    // Text width of the column; 0 = the title's width. A longer cell pushes
    // the rest of its row to the right rather than being cut.
    std::size_t width = 0;
};

using KeyValues = std::vector<std::pair<std::string, std::string>>;

class Document {
public:
    // Writes the page head (HTML) or the title block (text) at once.
    Document(std::ostream& out, DocFormat format, std::string_view title);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocFormat format() const { return format_; }

    // level 1 = a section, 2 = a subsection, 3 = an item within it.
    void heading(std::string_view text, int level = 1);
    void paragraph(std::string_view text);
    // A remark set apart from the body (small, in italics in HTML).
    void note(std::string_view text);
    // "Key: value" lines with the values aligned in text.
    void keyValues(const KeyValues& items);

    // A streamed table: beginTable, any number of rows, endTable.
    void beginTable(std::vector<Column> columns);
    void tableRow(const std::vector<std::string>& cells);
    void endTable();
    // A whole table at once; column widths fit the widest cell.
    void table(std::vector<Column> columns, const std::vector<std::vector<std::string>>& rows);

    // A picture given as SVG markup (trusted, written as it is) with an
    // escaped caption. Plain text has no pictures: only the caption is kept.
    void figure(std::string_view svg, std::string_view caption);

    // A row of links (HTML) or their texts on one line (plain text). The
    // targets are relative paths made by the caller; both parts are escaped.
    void links(const std::vector<std::pair<std::string, std::string>>& targetsAndTexts);
    // Trusted HTML markup written as it is; plain text leaves it out.
    void rawHtml(std::string_view markup);

    // Closes the page. Must be called once, last.
    void finish();

private:
    void line(std::string_view text);
    std::string textRow(const std::vector<std::string>& cells) const;

    std::ostream& out_;
    DocFormat format_;
    std::vector<Column> columns_;
    bool inTable_ = false;
    bool finished_ = false;
};

// Text made safe for HTML element content and attribute values: & < > " '
// are replaced by entities, control characters other than tab and line
// feed are dropped and bytes that are not valid UTF-8 become U+FFFD.
std::string escapeHtml(std::string_view text);

// Width of UTF-8 text in characters (for aligning columns).
std::size_t displayWidth(std::string_view text);

}  // namespace orrimar::documents
