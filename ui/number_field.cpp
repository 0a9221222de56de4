#include "ui/number_field.h"

#include "project/errors.h"
#include "project/number_forms.h"
#include "ui/message_boxes.h"

#include <QFile>
#include <QLineEdit>
#include <cmath>
#include <string_view>

namespace zelmora::ui {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> CheckedReal(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return 0.0;
    const ParsedReal parsed = ParseReal(text);
    if (parsed.errorPosition != 0 || !std::isfinite(parsed.value))
        return std::nullopt;
    try {
        return NarrowToDouble(parsed.value);
    } catch (const EOverflow&) {
        return std::nullopt;
    }
}

std::optional<std::int32_t> CheckedInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return 0;
    const ParsedInteger parsed = ParseInteger(text);
    if (parsed.errorPosition != 0)
        return std::nullopt;
    return parsed.value;
}

template <class Number>
std::optional<Number> ReadField(QLineEdit& field, const QString& name,
                                std::optional<Number> (*check)(std::string_view)) {
    const QByteArray bytes = QFile::encodeName(field.text());
    const std::optional<Number> value = check(std::string_view(bytes.constData(), bytes.size()));
    if (!value) {
        ShowMessage(MessageKind::Error,
                    QStringLiteral("%1: \"%2\" is not a number.").arg(name, field.text()));
        field.setFocus();
    }
    return value;
}

} // namespace

std::optional<double> ReadRealField(QLineEdit& field, const QString& name) {
    return ReadField<double>(field, name, CheckedReal);
}

std::optional<std::int32_t> ReadIntegerField(QLineEdit& field, const QString& name) {
    return ReadField<std::int32_t>(field, name, CheckedInteger);
}

} // namespace zelmora::ui
