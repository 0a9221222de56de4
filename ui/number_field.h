#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;

namespace zelmora::ui {

// Number fields are checked when a window stores them: characters of code 32 and below around
// the text are ignored, an empty field means 0, and text the parser does not take in full, or a
// value beyond the 64-bit float, is refused. A refused field is reported in an error box naming
// it (`name: "text" is not a number.`) and gets the focus; the result is then empty.
std::optional<double> ReadRealField(QLineEdit& field, const QString& name);
std::optional<std::int32_t> ReadIntegerField(QLineEdit& field, const QString& name);

} // namespace zelmora::ui
