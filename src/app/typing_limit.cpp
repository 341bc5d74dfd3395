#include "app/typing_limit.h"

#include <QLineEdit>

namespace zarame {

TypingLimit::TypingLimit(QLineEdit* field, int maximumLength)
    : QValidator(field), field_(field), maximumLength_(maximumLength) {}

QValidator::State TypingLimit::validate(QString& input, int&) const {
    // The field still holds the text before the edit.
    const bool grows = input.size() > field_->text().size();
    return grows && input.size() > maximumLength_ ? Invalid : Acceptable;
}

}  // namespace zarame
