#include "report/tables/sensitivity_table.h"

#include "project/number_forms.h"
#include "report/tables/result_text.h"

namespace zelmora {

namespace {

std::vector<std::string> Cells(const VariableResult& v) {
    return {
        FormatInteger(v.position, 0),  FormatInteger(v.variableId, 0), FormatInteger(v.row, 0),
        FormatInteger(v.setNumber, 0), ParameterSymbol(v.parameter),   FixedText(v.mean),
        FixedText(v.stdDev),           FixedText(v.reducedValue),      FixedText(v.reducedAngle, 2),
        FixedText(v.safetyFactor),     FixedText(v.sensitivity),       ShareText(v)};
}

} // namespace

TextTable SensitivityTable(const DerivedResults& results) {
    TextTable table{{"No.", "Variable", "Row", "Set", "Parameter", "Mean", "Std. dev.",
                     "Reduced value", "Reduced angle (°)", "Safety factor", "Sensitivity",
                     "Share (%)"},
                    {}};
    for (const VariableResult& v : ByShare(results)) {
        table.rows.push_back(Cells(v));
    }
    return table;
}

std::string TabSeparated(const TextTable& table) {
    std::string text;
    const auto addLine = [&text](const std::vector<std::string>& cells) {
        for (std::size_t k = 0; k < cells.size(); ++k) {
            text += (k > 0 ? "\t" : "") + cells[k];
        }
        text += '\n';
    };
    addLine(table.header);
    for (const std::vector<std::string>& row : table.rows) {
        addLine(row);
    }
    return text;
}

} // namespace zelmora
