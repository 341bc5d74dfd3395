#include "app/typing_limit.h"

#include <QLineEdit>

namespace zarame {

TypingLimit::TypingLimit(QLineEdit* field, int maximumLength)
    : QValidator(field), maximumLength_(maximumLength), current_(field->text()) {
    // The field changes its text before it asks the validator, so the text before an edit is
    // the one it last reported.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { current_ = text; });
}

QValidator::State TypingLimit::validate(QString& input, int&) const {
    const bool grows = input.size() > current_.size();
    return grows && input.size() > maximumLength_ ? Invalid : Acceptable;
}

}  // namespace zarame
