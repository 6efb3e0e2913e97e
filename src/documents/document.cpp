#include "documents/document.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <stdexcept>

namespace orrimar::documents {

namespace {

// Paragraphs of plain text are wrapped to this width.
constexpr std::size_t kWrapWidth = 78;

// Gap between the columns of a text table.
constexpr std::string_view kColumnGap = "  ";

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

constexpr std::string_view kStyle =
    "body{font-family:Segoe UI,Helvetica,Arial,sans-serif;margin:2em auto;max-width:72em;"
    "padding:0 1em;color:#1d2330;background:#fbfbfd;line-height:1.4}"
    "h1{border-bottom:2px solid #2d4a7a;padding-bottom:.2em;color:#2d4a7a}"
    "h2{margin-top:1.6em;border-bottom:1px solid #c5cde0;color:#2d4a7a}"
    "h3{margin-top:1.2em;color:#34476b}"
    "h4{margin:1em 0 .3em;color:#34476b}"
    "table{border-collapse:collapse;margin:.4em 0 1em}"
    "th,td{padding:.15em .7em;text-align:left;vertical-align:top}"
    "table.grid th{background:#e4e9f4;border-bottom:1px solid #9aa7c4}"
    "table.grid tr:nth-child(even) td{background:#f0f3f9}"
    "table.kv th{font-weight:normal;color:#4a5570;white-space:nowrap}"
    ".r{text-align:right;font-variant-numeric:tabular-nums}"
    ".note{font-size:.9em;font-style:italic;color:#4a5570}"
    "figure{margin:1em 0}figcaption{font-size:.9em;color:#4a5570}"
    "svg{max-width:100%;height:auto;background:#0b1020}"
    ".nav{margin:.3em 0 1em}a{color:#2d5aa8}svg a:hover circle{stroke:#fff;stroke-width:2}"
    "input.filter{font-size:1em;padding:.3em .5em;width:36em;max-width:100%}";

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the
// bytes there are not one (stray continuation, overlong form, surrogate,
// beyond U+10FFFF, cut short).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0FU;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07U;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if ((byte & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte & 0x3FU);
    }
    if (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return length;
}

// Walks valid UTF-8, calling emit(sequence) for each character kept;
// controls other than tab and line feed are dropped, bad bytes replaced.
template <typename Emit>
void forEachCharacter(std::string_view text, Emit emit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = utf8SequenceLength(text, i);
        if (length == 0) {
            emit(kReplacement);
            ++i;
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        const bool control = length == 1 && (lead < 0x20 || lead == 0x7F) && lead != '\t' && lead != '\n';
        if (!control) emit(text.substr(i, length));
        i += length;
    }
}

// Plain text for one line of a text file: as escapeHtml without the
// entities, with tabs and line feeds turned into spaces.
std::string cleanLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCharacter(text, [&](std::string_view ch) {
        if (ch == "\t" || ch == "\n") {
            out += ' ';
        } else {
            out += ch;
        }
    });
    return out;
}

std::string padded(std::string_view text, std::size_t width, Align align) {
    const std::size_t have = displayWidth(text);
    if (have >= width) return std::string(text);
    const std::string fill(width - have, ' ');
    return align == Align::Right ? fill + std::string(text) : std::string(text) + fill;
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Greedy word wrap of one paragraph.
std::vector<std::string> wrapWords(std::string_view text, std::size_t width) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t currentWidth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        if (end == i) break;
        const std::string_view word = text.substr(i, end - i);
        const std::size_t wordWidth = displayWidth(word);
        if (!current.empty() && currentWidth + 1 + wordWidth > width) {
            lines.push_back(std::move(current));
            current.clear();
            currentWidth = 0;
        }
        if (!current.empty()) {
            current += ' ';
            ++currentWidth;
        }
        current += word;
        currentWidth += wordWidth;
        i = end;
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

}  // namespace

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    forEachCharacter(text, [&](std::string_view ch) {
        switch (ch.front()) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += ch; break;
        }
    });
    return out;
}

std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    }
    return width;
}

Document::Document(std::ostream& out, DocFormat format, std::string_view title) : out_(out), format_(format) {
    if (format_ == DocFormat::Html) {
        const std::string safeTitle = escapeHtml(title);
        line("<!DOCTYPE html>");
        line("<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">");
        line("<head>");
        line("<meta charset=\"utf-8\" />");
        line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />");
        line("<title>" + safeTitle + "</title>");
        line("<style>" + std::string(kStyle) + "</style>");
        line("</head>");
        line("<body>");
        line("<h1>" + safeTitle + "</h1>");
    } else {
        const std::string clean = cleanLine(title);
        line(clean);
        line(std::string(displayWidth(clean), '='));
        line("");
    }
}

void Document::line(std::string_view text) { out_ << text << kLineEnd; }

void Document::heading(std::string_view text, int level) {
    level = std::clamp(level, 1, 3);
    if (format_ == DocFormat::Html) {
        const std::string tag = "h" + std::to_string(level + 1);
        line("<" + tag + ">" + escapeHtml(text) + "</" + tag + ">");
        return;
    }
    const std::string clean = cleanLine(text);
    if (level == 3) {
        line(clean);
        return;
    }
    line(clean);
    line(std::string(displayWidth(clean), level == 1 ? '-' : '~'));
}

void Document::paragraph(std::string_view text) {
    if (format_ == DocFormat::Html) {
        line("<p>" + escapeHtml(text) + "</p>");
        return;
    }
    for (const std::string& wrapped : wrapWords(cleanLine(text), kWrapWidth)) line(wrapped);
    line("");
}

void Document::note(std::string_view text) {
    if (format_ == DocFormat::Html) {
        line("<p class=\"note\">" + escapeHtml(text) + "</p>");
        return;
    }
    paragraph(text);
}

void Document::keyValues(const KeyValues& items) {
    if (format_ == DocFormat::Html) {
        line("<table class=\"kv\">");
        for (const auto& [key, value] : items) {
            line("<tr><th>" + escapeHtml(key) + "</th><td>" + escapeHtml(value) + "</td></tr>");
        }
        line("</table>");
        return;
    }
    std::size_t keyWidth = 0;
    for (const auto& item : items) keyWidth = std::max(keyWidth, displayWidth(cleanLine(item.first)) + 1);
    for (const auto& [key, value] : items) {
        const std::string text = padded(cleanLine(key) + ":", keyWidth, Align::Left) + " " + cleanLine(value);
        line(trimRight(text));
    }
    line("");
}

std::string Document::textRow(const std::vector<std::string>& cells) const {
    std::string text;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c > 0) text += kColumnGap;
        const std::string cell = c < cells.size() ? cleanLine(cells[c]) : std::string();
        text += padded(cell, columns_[c].width, columns_[c].align);
    }
    return std::string(trimRight(text));
}

void Document::beginTable(std::vector<Column> columns) {
    if (inTable_) throw std::logic_error("beginTable inside a table");
    inTable_ = true;
    columns_ = std::move(columns);
    for (Column& column : columns_) column.width = std::max(column.width, displayWidth(cleanLine(column.title)));
    if (format_ == DocFormat::Html) {
        line("<table class=\"grid\">");
        std::string head = "<thead><tr>";
        for (const Column& column : columns_) {
            head += column.align == Align::Right ? "<th class=\"r\">" : "<th>";
            head += escapeHtml(column.title) + "</th>";
        }
        line(head + "</tr></thead>");
        line("<tbody>");
        return;
    }
    std::vector<std::string> titles;
    std::string rule;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        titles.push_back(columns_[c].title);
        if (c > 0) rule += kColumnGap;
        rule += std::string(columns_[c].width, '-');
    }
    line(textRow(titles));
    line(rule);
}

void Document::tableRow(const std::vector<std::string>& cells) {
    if (!inTable_) throw std::logic_error("tableRow outside a table");
    if (format_ == DocFormat::Html) {
        std::string row = "<tr>";
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            row += columns_[c].align == Align::Right ? "<td class=\"r\">" : "<td>";
            if (c < cells.size()) row += escapeHtml(cells[c]);
            row += "</td>";
        }
        line(row + "</tr>");
        return;
    }
    line(textRow(cells));
}

void Document::endTable() {
    if (!inTable_) throw std::logic_error("endTable outside a table");
    inTable_ = false;
    if (format_ == DocFormat::Html) {
        line("</tbody>");
        line("</table>");
    } else {
        line("");
    }
}

void Document::table(std::vector<Column> columns, const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < columns.size() && c < row.size(); ++c) {
            columns[c].width = std::max(columns[c].width, displayWidth(cleanLine(row[c])));
        }
    }
    beginTable(std::move(columns));
    for (const auto& row : rows) tableRow(row);
    endTable();
}

void Document::figure(std::string_view svg, std::string_view caption) {
    if (format_ == DocFormat::Html) {
        line("<figure>");
        line(svg);
        if (!caption.empty()) line("<figcaption>" + escapeHtml(caption) + "</figcaption>");
        line("</figure>");
        return;
    }
    if (!caption.empty()) paragraph(caption);
}

void Document::links(const std::vector<std::pair<std::string, std::string>>& targetsAndTexts) {
    if (targetsAndTexts.empty()) return;
    if (format_ == DocFormat::Html) {
        std::string row = "<p class=\"nav\">";
        for (std::size_t i = 0; i < targetsAndTexts.size(); ++i) {
            if (i > 0) row += " · ";
            row += "<a href=\"" + escapeHtml(targetsAndTexts[i].first) + "\">" + escapeHtml(targetsAndTexts[i].second) +
                   "</a>";
        }
        line(row + "</p>");
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < targetsAndTexts.size(); ++i) {
        if (i > 0) text += " | ";
        text += cleanLine(targetsAndTexts[i].second);
    }
    line(text);
    line("");
}

void Document::rawHtml(std::string_view markup) {
    if (format_ == DocFormat::Html) line(markup);
}

void Document::finish() {
    if (finished_) return;
    if (inTable_) endTable();
    finished_ = true;
    if (format_ == DocFormat::Html) {
        line("</body>");
        line("</html>");
    }
    out_.flush();
}

}  // namespace orrimar::documents
