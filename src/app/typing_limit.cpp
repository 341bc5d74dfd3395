#include "app/typing_limit.h"

#include <QLineEdit>
#include <algorithm>

namespace zarame {

TypingLimit::TypingLimit(QLineEdit* field, int maximumLength)
    : QValidator(field), maximumLength_(maximumLength), current_(field->text()) {
    // The field changes its text before it asks the validator, so the text before an edit is
    // the one it last reported.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { current_ = text; });
}

void TypingLimit::ShowWhole(QLineEdit* field, const QString& text) {
    auto* limit = const_cast<TypingLimit*>(dynamic_cast<const TypingLimit*>(field->validator()));
    if (limit != nullptr) {
        limit->showingWhole_ = true;
    }
    field->setText(text);
    if (limit != nullptr) {
        limit->showingWhole_ = false;
    }
}

QValidator::State TypingLimit::validate(QString& input, int& position) const {
    if (showingWhole_) {
        return Acceptable;
    }
    const qsizetype excess = input.size() - std::max<qsizetype>(maximumLength_, current_.size());
    if (excess <= 0) {
        return Acceptable;  // within the limit, or a text set by the program that shrinks
    }
    // A paste or an input-method commit that would pass the limit keeps what fits, as a Windows
    // edit control does: the inserted text ends at the cursor, so its tail goes.
    qsizetype cut = std::min<qsizetype>(position, input.size()) - excess;
    if (cut < 0) {
        return Invalid;
    }
    qsizetype removed = excess;
    if (cut > 0 && input.at(cut - 1).isHighSurrogate()) {
        --cut;  // never keep half of a character
        ++removed;
    }
    input.remove(cut, removed);
    position = static_cast<int>(cut);
    return Acceptable;
}

}  // namespace zarame
