#include "report/html/html_table.h"

#include "report/markup_escape.h"

namespace zelmora {

namespace {

// A number that rounds to zero reads "0.0000", never "-0.0000".
std::string WithoutNegativeZero(const std::string& text) {
    if (text.size() < 2 || text[0] != '-' || text.find_first_not_of("0.", 1) != std::string::npos) {
        return text;
    }
    return text.substr(1);
}

std::string CellText(const std::string& cell) {
    const std::string text = WithoutNegativeZero(cell);
    std::string html;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         start = end + 1, end = text.find('\n', start)) {
        html += EscapeMarkup(text.substr(start, end - start)) + "<br>";
    }
    return html + EscapeMarkup(text.substr(start));
}

std::string Row(const std::vector<std::string>& cells, const std::vector<bool>& numeric,
                const char* tag) {
    std::string html = "<tr>";
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const bool right = k < numeric.size() && numeric[k];
        html += std::string("<") + tag + (right ? R"( class="n">)" : ">") + CellText(cells[k]) +
                "</" + tag + ">";
    }
    return html + "</tr>\n";
}

} // namespace

std::string HtmlTable(const TextTable& table, const std::vector<bool>& numeric) {
    std::string html =
        "<table>\n<thead>" + Row(table.header, numeric, "th") + "</thead>\n<tbody>\n";
    for (const std::vector<std::string>& row : table.rows) {
        html += Row(row, numeric, "td");
    }
    return html + "</tbody>\n</table>\n";
}

std::string FactsTable(const Facts& facts, const std::string& valueClass) {
    std::string html = "<table class=\"facts\">\n";
    for (const auto& [caption, value] : facts) {
        html += "<tr><th>" + EscapeMarkup(caption) + R"(</th><td class=")" + valueClass + R"(">)" +
                EscapeMarkup(WithoutNegativeZero(value)) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string FactsTable(const std::vector<SummaryLine>& lines, const std::string& valueClass) {
    Facts facts;
    for (const SummaryLine& line : lines) {
        facts.emplace_back(line.caption, line.value);
    }
    return FactsTable(facts, valueClass);
}

} // namespace zelmora
