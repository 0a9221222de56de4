#include "ui/set_names.h"

#include "analysis/methods/random_variables.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/shown_text.h"
#include "report/tables/result_text.h"
#include "study/study.h"

#include <algorithm>
#include <map>

namespace zelmora::ui {

namespace {

// Each named row's cell text in the given column, with the row it names.
std::map<std::string, int> NamedCells(const std::string& column) {
    std::map<std::string, int> cells;
    for (const auto& [row, name] : ProjectStudy.settings.setNames) {
        if (column == "Row") {
            cells[FormatInteger(row, 0)] = row;
            continue;
        }
        for (const int id : {row, row + SoilRowCount}) {
            const RandomVariable variable = VariableOf(State.SoilTable, id);
            VariableResult v;
            v.row = variable.row;
            v.setNumber = variable.setNumber;
            v.parameter = variable.friction ? Parameter::FrictionAngle : Parameter::Cohesion;
            cells[VariableLabel(v)] = row;
        }
    }
    return cells;
}

} // namespace

std::string SetNameSuffix(int row) {
    const auto& names = ProjectStudy.settings.setNames;
    const auto found = names.find(row);
    return found == names.end() || found->second.empty()
               ? ""
               : " (" + ShownText(found->second, std::string::npos) + ")";
}

TextTable WithSetNames(TextTable table) {
    for (const std::string column : {"Row", "Variable"}) {
        const auto header = std::find(table.header.begin(), table.header.end(), column);
        if (header == table.header.end()) {
            continue;
        }
        const auto index = static_cast<std::size_t>(header - table.header.begin());
        const std::map<std::string, int> named = NamedCells(column);
        for (std::vector<std::string>& row : table.rows) {
            if (const auto found = named.find(row[index]); found != named.end()) {
                row[index] += SetNameSuffix(found->second);
            }
        }
    }
    return table;
}

} // namespace zelmora::ui
